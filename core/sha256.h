#pragma once

#include <string>
#include <string_view>

namespace morvane {

// The SHA-256 digest (FIPS 180-4) of the bytes as 64 lower-case hexadecimal digits, as
// sha256sum prints it, so a data file kept in the register can be matched to a file on disk.
std::string Sha256Hex(std::string_view bytes);

} // namespace morvane
