#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

namespace utf8 {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool isContinuation(unsigned char byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

// True when the 8 bytes at text[pos] are all ASCII; names are mostly ASCII,
// so whole words are stepped over at once.
bool eightAsciiBytesAt(std::string_view text, std::size_t pos) noexcept
{
    std::uint64_t word;
    std::memcpy(&word, text.data() + pos, sizeof word);
    return (word & kHighBits) == 0;
}

DecodedChar stray(unsigned char byte) noexcept
{
    return {byte, 1, false};
}

} // namespace

DecodedChar decodeMultiByteChar(std::string_view text, std::size_t pos) noexcept
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + pos;
    const std::size_t available = text.size() - pos;
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return {lead, 1, true};

    // The ranges of the second byte reject overlong forms (E0, F0), UTF-16
    // surrogates (ED) and code points above U+10FFFF (F4).
    std::size_t size;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    char32_t codePoint;
    if (lead < 0xC2) { // a continuation byte, or the overlong leads C0 and C1
        return stray(lead);
    } else if (lead < 0xE0) {
        size = 2;
        codePoint = lead & 0x1F;
    } else if (lead < 0xF0) {
        size = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            secondMin = 0xA0;
        else if (lead == 0xED)
            secondMax = 0x9F;
    } else if (lead < 0xF5) {
        size = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            secondMin = 0x90;
        else if (lead == 0xF4)
            secondMax = 0x8F;
    } else {
        return stray(lead);
    }

    if (available < size || bytes[1] < secondMin || bytes[1] > secondMax)
        return stray(lead);
    codePoint = (codePoint << 6) | (bytes[1] & 0x3F);
    for (std::size_t i = 2; i < size; ++i) {
        if (!isContinuation(bytes[i]))
            return stray(lead);
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    return {codePoint, size, true};
}

std::size_t multiByteCharSize(std::string_view text, std::size_t pos) noexcept
{
    // The two-byte form is by far the most common in names (Latin letters
    // with accents) and needs no range check beyond its lead byte.
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead >= 0xC2 && lead <= 0xDF)
        return pos + 1 < text.size() && isContinuation(static_cast<unsigned char>(text[pos + 1])) ? 2 : 1;
    return decodeMultiByteChar(text, pos).size;
}

bool isAscii(std::string_view text) noexcept
{
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        if (!eightAsciiBytesAt(text, pos))
            return false;
    }
    for (; pos < text.size(); ++pos) {
        if (static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
    }
    return true;
}

std::size_t charCount(std::string_view text) noexcept
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (pos + 8 <= text.size() && eightAsciiBytesAt(text, pos)) {
            pos += 8;
            count += 8;
        } else {
            pos += charSize(text, pos);
            ++count;
        }
    }
    return count;
}

std::size_t skipChars(std::string_view text, std::size_t from, std::size_t count) noexcept
{
    std::size_t pos = from;
    while (count > 0 && pos < text.size()) {
        if (count >= 8 && pos + 8 <= text.size() && eightAsciiBytesAt(text, pos)) {
            pos += 8;
            count -= 8;
        } else {
            pos += charSize(text, pos);
            --count;
        }
    }
    return pos < text.size() ? pos : text.size();
}

void appendChar(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

std::vector<std::string_view> splitChars(std::string_view text)
{
    std::vector<std::string_view> chars;
    chars.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t size = charSize(text, pos);
        chars.push_back(text.substr(pos, size));
        pos += size;
    }
    return chars;
}

std::size_t findStray(std::string_view text, std::size_t from) noexcept
{
    std::size_t pos = from;
    while (pos < text.size()) {
        if (pos + 8 <= text.size() && eightAsciiBytesAt(text, pos)) {
            pos += 8;
            continue;
        }
        const DecodedChar c = decodeChar(text, pos);
        if (!c.wellFormed)
            return pos;
        pos += c.size;
    }
    return text.size();
}

} // namespace utf8
