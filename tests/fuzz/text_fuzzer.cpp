// Numbers and names as texts. A number the program writes in its general form reads back: to
// the same double when fifteen significant digits express it, else to its fifteen-digit rounding
// (within fifteen digits for the largest doubles, whose rounding overflows); a typed text reads
// as a number or is refused, never half-read. Bytes read from a data file are written back
// unchanged, and a text the program agrees to write is the one that will be read back.
//
// Input: the first eight bytes as a double; the whole input as a typed text and as file bytes.
#include "fuzz_support.h"

#include "text_encoding.h"
#include "value.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace morvane;
using morvane::fuzzing::require;

namespace {

void checkWrittenNumber(double x) {
    const std::string text = FormatGeneral(x);
    require(!text.empty() && text.find_first_not_of("0123456789.-+E") == std::string::npos,
            "the general form uses digits, a period, a sign and E only");
    const auto back = ParseNumber(text);
    require(back.has_value(), "the general form of a finite number reads as a number");
    // The double nearest to x's decimal form with fifteen significant digits.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", x);
    const double fifteen = std::strtod(buffer, nullptr);
    if (fifteen == x)
        require(*back == x, "a number of at most fifteen digits reads back exactly");
    else if (std::isfinite(fifteen))
        require(*back == fifteen, "a longer number reads back as its fifteen-digit rounding");
    else
        require(std::fabs(*back - x) <= 1e-14 * std::fabs(x),
                "a number whose rounding overflows reads back to fifteen digits");
    if (x == std::floor(x) && std::fabs(x) < 1e15)
        require(text.find('.') == std::string::npos, "an integral value has no decimal point");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::bytesOf(data, size);
    double x = 0.0;
    if (size >= sizeof x && (std::memcpy(&x, data, sizeof x), std::isfinite(x)))
        checkWrittenNumber(x);
    if (const auto typed = ParseNumber(bytes)) {
        require(std::isfinite(*typed), "a text read as a number is finite");
        checkWrittenNumber(*typed);
    }

    const auto encodedAgain = Utf8ToWindows1252(Windows1252ToUtf8(bytes));
    require(encodedAgain.has_value(), "every text read from a file can be written again");
    require(*encodedAgain == bytes, "a text read from a file is written back byte for byte");
    // Taken as typed text: an encoding that succeeds must decode to that same text, or a
    // written file would hold something other than what the user saw.
    if (const auto encoded = Utf8ToWindows1252(bytes))
        require(Windows1252ToUtf8(*encoded) == bytes, "an encoded text decodes to itself");
    return 0;
}
