#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Writes bytes to path through a temporary file in the same folder (".NAME.RANDOM.partial"),
// renamed over the target only when everything was written and flushed. A symbolic link is
// followed and the file it points to replaced; a file the user may not write is refused; a new
// file gets mode 0666 less the umask, a replaced one keeps its mode and, where the user may set
// it, its group. On failure the old file is untouched, the temporary file is removed, and the
// reason is returned; an empty result means success.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whether path names a temporary file of an interrupted save (".NAME.RANDOM.partial"), which is
// never to be read as data.
bool IsPartialSaveFile(const std::string& path);

} // namespace morvane
