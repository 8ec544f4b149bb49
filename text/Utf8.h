#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// File names are bytes. Where the rules count characters, a character is one
// well-formed UTF-8 sequence, or else a single byte that does not start one
// (a "stray" byte). So every byte string splits into characters, no name is
// ever refused, and a rule never cuts a UTF-8 sequence in two.
namespace utf8 {

// One character as found in a text. For a stray byte `codePoint` holds the
// byte's value and `wellFormed` is false.
struct DecodedChar {
    char32_t codePoint;
    std::size_t size;
    bool wellFormed;
};

// Reads the character that starts at text[pos]; pos must be < text.size().
DecodedChar decodeMultiByteChar(std::string_view text, std::size_t pos) noexcept;
inline DecodedChar decodeChar(std::string_view text, std::size_t pos) noexcept
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    return lead < 0x80 ? DecodedChar{lead, 1, true} : decodeMultiByteChar(text, pos);
}

// Size in bytes of the character that starts at text[pos] (pos < size).
std::size_t multiByteCharSize(std::string_view text, std::size_t pos) noexcept;
inline std::size_t charSize(std::string_view text, std::size_t pos) noexcept
{
    return static_cast<unsigned char>(text[pos]) < 0x80 ? 1 : multiByteCharSize(text, pos);
}

bool isAscii(std::string_view text) noexcept;

std::size_t charCount(std::string_view text) noexcept;

// Byte offset reached by stepping over `count` characters from byte offset
// `from` (which must start a character); text.size() when the text ends first.
std::size_t skipChars(std::string_view text, std::size_t from, std::size_t count) noexcept;

// Byte offset at which the character with 0-based index n begins;
// text.size() when the text has n characters or fewer.
inline std::size_t byteOffsetOfChar(std::string_view text, std::size_t n) noexcept
{
    return skipChars(text, 0, n);
}

// Appends the UTF-8 form of a code point.
void appendChar(std::string& text, char32_t codePoint);

// The characters of a text, in order, as views into it.
std::vector<std::string_view> splitChars(std::string_view text);

// Byte offset of the first stray byte at or after `from`; text.size() when
// the rest is well-formed.
std::size_t findStray(std::string_view text, std::size_t from) noexcept;

// The text with each longest well-formed stretch changed by
// `change(out, stretch)`, which appends its result to `out`, and every stray
// byte kept where it was. Libraries that refuse bytes that are not UTF-8
// thus see characters only, and a name's bad bytes survive them.
template <typename Change>
std::string changeWellFormed(std::string_view text, Change&& change)
{
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t stray = findStray(text, pos);
        if (stray > pos)
            change(out, text.substr(pos, stray - pos));
        if (stray == text.size())
            break;
        out += text[stray];
        pos = stray + 1;
    }
    return out;
}

} // namespace utf8
