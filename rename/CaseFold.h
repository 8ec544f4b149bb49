#pragma once

#include "rename/Utf8.h"

#include <QChar>

#include <string_view>

// The one meaning of "the same letter, ignoring case" in the program: both
// the replace rules and the rename of a change of case only go by it.
// Characters fold by the Unicode simple upper-case mapping, one character to
// exactly one; a stray byte folds to a value of its own above every code
// point, so it never matches a character.
inline unsigned char foldAscii(unsigned char c) noexcept
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

inline char32_t foldCase(const utf8::DecodedChar& c) noexcept
{
    constexpr char32_t strayBase = 0x110000;
    if (!c.wellFormed)
        return strayBase + c.codePoint;
    if (c.codePoint < 0x80)
        return foldAscii(static_cast<unsigned char>(c.codePoint));
    return QChar::toUpper(c.codePoint);
}

// Whether two names are the same letters, ignoring case: a change of case
// only, where the file system ignores case, names the same file.
inline bool sameIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const utf8::DecodedChar x = utf8::decodeChar(a, i);
        const utf8::DecodedChar y = utf8::decodeChar(b, j);
        if (foldCase(x) != foldCase(y))
            return false;
        i += x.size;
        j += y.size;
    }
    return i == a.size() && j == b.size();
}
