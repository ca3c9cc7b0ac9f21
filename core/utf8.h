#pragma once

// UTF-8, the program's inner text form: counting characters and reading and writing code points.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Whether a byte continues a character begun before it (10xxxxxx).
constexpr bool IsUtf8ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The number of characters of a text: its bytes that begin a character.
std::size_t Utf8CharacterCount(std::string_view text);

// The byte length of the first character of a text (1 for a stray continuation byte).
std::size_t Utf8FirstCharacterLength(std::string_view text);

// Reads the character at text[i] and moves i past the bytes read; nothing for a malformed
// sequence. Overlong forms and surrogates are malformed: a character has exactly one valid
// spelling, so a double quote or a less-than sign cannot hide inside a longer sequence.
std::optional<char32_t> ReadUtf8CodePoint(std::string_view text, std::size_t& i);

// Appends a code point below U+10000 in UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace morvane
