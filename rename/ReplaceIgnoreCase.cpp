#include "rename/ReplaceIgnoreCase.h"

#include "rename/Utf8.h"

#include <QChar>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Stray bytes fold to values above every code point, so a stray 0xFF never
// matches U+00FF.
constexpr char32_t kStrayBase = 0x110000;

inline unsigned char FoldAscii(unsigned char c) noexcept
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

inline char32_t Fold(const utf8::DecodedChar& c) noexcept
{
    if (!c.wellFormed)
        return kStrayBase + c.codePoint;
    if (c.codePoint < 0x80)
        return FoldAscii(static_cast<unsigned char>(c.codePoint));
    return QChar::toUpper(c.codePoint);
}

// The folded characters of a text and the byte offset of each; `offsets`
// has one more entry, the text's size, so that character i spans
// offsets[i] .. offsets[i + 1].
struct FoldedText {
    std::vector<char32_t> chars;
    std::vector<std::size_t> offsets;

    void Fill(std::string_view text)
    {
        chars.clear();
        offsets.clear();
        for (std::size_t pos = 0; pos < text.size();) {
            const utf8::DecodedChar c = utf8::DecodeChar(text, pos);
            chars.push_back(Fold(c));
            offsets.push_back(pos);
            pos += c.size;
        }
        offsets.push_back(text.size());
    }
};

// Both texts ASCII: a character is a byte and folding is A-Z only.
std::string ReplaceAscii(std::string_view text, std::string_view pattern,
                         std::string_view replacement)
{
    const auto foldedAt = [](std::string_view s, std::size_t i) {
        return FoldAscii(static_cast<unsigned char>(s[i]));
    };
    const std::size_t length = pattern.size();
    const unsigned char first = foldedAt(pattern, 0);

    std::string result;
    std::size_t copiedUpTo = 0;
    std::size_t pos = 0;
    while (pos + length <= text.size()) {
        bool match = foldedAt(text, pos) == first;
        for (std::size_t i = 1; match && i < length; ++i)
            match = foldedAt(text, pos + i) == foldedAt(pattern, i);
        if (!match) {
            ++pos;
            continue;
        }
        if (result.empty())
            result.reserve(text.size() + replacement.size());
        result.append(text, copiedUpTo, pos - copiedUpTo);
        result.append(replacement);
        pos += length;
        copiedUpTo = pos;
    }
    if (copiedUpTo == 0)
        return std::string(text);
    result.append(text, copiedUpTo);
    return result;
}

std::string ReplaceFolded(std::string_view text, std::string_view pattern,
                          std::string_view replacement)
{
    // Reused between calls: a rule runs this once per name, over many names.
    thread_local FoldedText foldedText;
    thread_local FoldedText foldedPattern;
    foldedText.Fill(text);
    foldedPattern.Fill(pattern);

    const std::vector<char32_t>& t = foldedText.chars;
    const std::vector<char32_t>& p = foldedPattern.chars;
    std::string result;
    std::size_t copiedUpTo = 0;
    std::size_t i = 0;
    while (i + p.size() <= t.size()) {
        bool match = true;
        for (std::size_t k = 0; match && k < p.size(); ++k)
            match = t[i + k] == p[k];
        if (!match) {
            ++i;
            continue;
        }
        const std::size_t matchBegin = foldedText.offsets[i];
        result.append(text, copiedUpTo, matchBegin - copiedUpTo);
        result.append(replacement);
        i += p.size();
        copiedUpTo = foldedText.offsets[i];
    }
    if (copiedUpTo == 0)
        return std::string(text);
    result.append(text, copiedUpTo);
    return result;
}

// For a set of ASCII characters: true at the folded value of each.
using AsciiSet = std::array<bool, 128>;

// Removes in one walk what the character-by-character removal would remove.
// That holds as long as removing characters cannot join stray bytes into a new
// character, so this gives up (returns false) on the first stray byte.
bool RemoveAsciiSetInOneWalk(std::string_view text, const AsciiSet& set, std::string& result)
{
    result.clear();
    result.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            if (!set[FoldAscii(byte)])
                result.push_back(static_cast<char>(byte));
            ++pos;
            continue;
        }
        const utf8::DecodedChar c = utf8::DecodeChar(text, pos);
        if (!c.wellFormed)
            return false;
        // A few letters outside ASCII fold into it (dotless i to I).
        const char32_t folded = QChar::toUpper(c.codePoint);
        if (folded >= 0x80 || !set[folded])
            result.append(text, pos, c.size);
        pos += c.size;
    }
    return true;
}

} // namespace

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view pattern,
                                 std::string_view replacement)
{
    // A character takes 1 to 4 bytes, so a pattern of more than four times the
    // text's bytes has more characters than the text and cannot match.
    if (pattern.empty() || pattern.size() > text.size() * 4)
        return std::string(text);
    if (utf8::IsAscii(pattern) && utf8::IsAscii(text))
        return ReplaceAscii(text, pattern, replacement);
    return ReplaceFolded(text, pattern, replacement);
}

std::string RemoveEachChar(std::string_view text, std::string_view set)
{
    if (text.empty() || set.empty())
        return std::string(text);
    if (utf8::IsAscii(set)) {
        AsciiSet asciiSet{};
        for (char c : set)
            asciiSet[FoldAscii(static_cast<unsigned char>(c))] = true;
        std::string result;
        if (RemoveAsciiSetInOneWalk(text, asciiSet, result))
            return result;
    }
    std::string result(text);
    for (std::string_view c : utf8::SplitChars(set))
        result = ReplaceAllIgnoreCase(result, c, {});
    return result;
}
