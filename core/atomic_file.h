#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Writes bytes to path through a temporary file in the same folder, renamed over the target
// only when everything was written and flushed. On failure the old file is untouched, the
// temporary file is removed, and the reason is returned; an empty result means success.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace morvane
