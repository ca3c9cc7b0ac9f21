#pragma once

#include <string>
#include <string_view>

namespace morvane {

// The text as a JSON string: quoted, with quotes, backslashes and control characters escaped.
// Bytes from 0x80 up pass through, so UTF-8 text stays UTF-8.
std::string JsonString(std::string_view text);

// The shortest decimal text that reads back as the same double; null when not finite.
std::string JsonNumber(double value);

} // namespace morvane
