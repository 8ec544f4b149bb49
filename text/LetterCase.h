#pragma once

#include "text/Utf8.h"

#include <QChar>

#include <string>
#include <string_view>

// The program's one table of letter case. The rules change the case of the
// 26 ASCII letters only; telling names apart "ignoring case" (the replace
// rules, and the rename of a change of case) folds every character by the
// Unicode simple upper-case mapping, one character to exactly one.

inline char upperAscii(char c) noexcept
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

inline char lowerAscii(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

inline unsigned char foldAscii(unsigned char c) noexcept
{
    return static_cast<unsigned char>(upperAscii(static_cast<char>(c)));
}

// The text with its ASCII letters changed; every other byte, accented
// letters included, stays as it is, so the length never changes.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);

// A stray byte folds to a value of its own above every code point, so it
// never matches a character.
inline char32_t foldCase(const utf8::DecodedChar& c) noexcept
{
    constexpr char32_t strayBase = 0x110000;
    if (!c.wellFormed)
        return strayBase + c.codePoint;
    if (c.codePoint < 0x80)
        return foldAscii(static_cast<unsigned char>(c.codePoint));
    return QChar::toUpper(c.codePoint);
}

// Whether two names are the same letters, ignoring case.
inline bool sameIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    std::size_t i = 0;
    std::size_t j = 0;
    // ASCII, the most of most names, compares byte by byte.
    for (; i < a.size() && i < b.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80)
            break;
        if (foldAscii(x) != foldAscii(y))
            return false;
    }
    j = i;
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

// The name folded, again in UTF-8, to look names up ignoring case. A stray
// byte stays itself, marked by a 0xFF byte before it (0xFF never occurs in
// UTF-8), so it never meets a character.
std::string foldedName(std::string_view name);
