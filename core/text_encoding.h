#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Data files are single-byte Windows-1252 text; inside the program texts are UTF-8.

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined are kept as the
// control characters of the same number, so nothing read is ever lost.
std::string Windows1252ToUtf8(std::string_view bytes);

// Encodes UTF-8 text as Windows-1252, or nothing when a character has no place in that code
// page (or the text is not valid UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

} // namespace morvane
