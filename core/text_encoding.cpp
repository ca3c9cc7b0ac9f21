#include "text_encoding.h"

#include "utf8.h"

#include <array>
#include <cstdint>

namespace morvane {

namespace {

// Unicode code points of bytes 0x80 to 0x9F; the undefined bytes map to themselves.
constexpr std::array<char32_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOfByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControlBlock[byte - 0x80];
    return byte;
}

std::optional<unsigned char> byteOfCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (std::size_t k = 0; k < kHighControlBlock.size(); ++k)
        if (kHighControlBlock[k] == cp)
            return static_cast<unsigned char>(0x80 + k);
    return std::nullopt;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        AppendUtf8(out, codePointOfByte(static_cast<unsigned char>(byte)));
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto cp = ReadUtf8CodePoint(text, i);
        if (!cp)
            return std::nullopt;
        auto byte = byteOfCodePoint(*cp);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

} // namespace morvane
