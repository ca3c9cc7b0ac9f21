// The data file's single-byte code page and the program's UTF-8 texts: every byte string read
// from a file comes back unchanged when it is written again, and a text the program agrees to
// write is exactly the one that will be read back.
//
// Input: taken both as the bytes of a data file and as a text typed into the program.
#include "fuzz_support.h"

#include "text_encoding.h"

using namespace morvane;
using morvane::fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzzing::bytesOf(data, size);

    const std::string decoded = Windows1252ToUtf8(bytes);
    const auto encodedAgain = Utf8ToWindows1252(decoded);
    require(encodedAgain.has_value(), "every text read from a file can be written again");
    require(*encodedAgain == bytes, "a text read from a file is written back byte for byte");

    // Taken as typed text: an encoding that succeeds must decode to that same text, or a
    // written file would hold something other than what the user saw.
    if (const auto encoded = Utf8ToWindows1252(bytes))
        require(Windows1252ToUtf8(*encoded) == bytes, "an encoded text decodes to itself");
    return 0;
}
