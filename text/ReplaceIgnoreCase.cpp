#include "text/ReplaceIgnoreCase.h"

#include "text/LetterCase.h"
#include "text/Utf8.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

// Both texts ASCII: a character is a byte and folding is A-Z only.
std::string replaceAscii(std::string_view text, std::string_view pattern,
                         std::string_view replacement)
{
    const auto foldedAt = [](std::string_view s, std::size_t i) {
        return foldAscii(static_cast<unsigned char>(s[i]));
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

// Folds the text as it goes; only where a character folds like the pattern's
// first one is the match followed further.
std::string replaceFolded(std::string_view text, std::string_view pattern,
                          std::string_view replacement, bool textIsAscii)
{
    // Reused between calls: a rule runs this once per name, over many names.
    thread_local std::vector<char32_t> foldedPattern;
    foldedPattern.clear();
    for (std::size_t pos = 0; pos < pattern.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(pattern, pos);
        foldedPattern.push_back(foldCase(c));
        pos += c.size;
    }
    // An ASCII text folds to ASCII only: a pattern folding outside it cannot match.
    if (textIsAscii && std::any_of(foldedPattern.begin(), foldedPattern.end(),
                                   [](char32_t c) { return c >= 0x80; }))
        return std::string(text);

    std::string result;
    std::size_t copiedUpTo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const utf8::DecodedChar first = utf8::decodeChar(text, pos);
        std::size_t matchEnd = pos + first.size;
        bool match = foldCase(first) == foldedPattern[0];
        for (std::size_t k = 1; match && k < foldedPattern.size(); ++k) {
            if (matchEnd == text.size()) {
                match = false;
                break;
            }
            const utf8::DecodedChar next = utf8::decodeChar(text, matchEnd);
            match = foldCase(next) == foldedPattern[k];
            matchEnd += next.size;
        }
        if (!match) {
            pos += first.size;
            continue;
        }
        result.append(text, copiedUpTo, pos - copiedUpTo);
        result.append(replacement);
        pos = matchEnd;
        copiedUpTo = matchEnd;
    }
    if (copiedUpTo == 0)
        return std::string(text);
    result.append(text, copiedUpTo);
    return result;
}

// A set of ASCII characters: true at each byte that folds like one of them.
struct AsciiSet {
    std::array<bool, 128> members{};
    // Upper-casing yields letters only, so a character outside ASCII can fold
    // into the set (dotless i to I) only when the set holds a letter.
    bool hasLetter = false;
};

AsciiSet makeAsciiSet(std::string_view set)
{
    AsciiSet result;
    for (char c : set) {
        const unsigned char folded = foldAscii(static_cast<unsigned char>(c));
        result.members[folded] = true;
        if (folded >= 'A' && folded <= 'Z') {
            result.members[folded + ('a' - 'A')] = true;
            result.hasLetter = true;
        }
    }
    return result;
}

// Removes in one walk what the character-by-character removal would remove.
// That holds as long as removing characters cannot join stray bytes into a new
// character, so this gives up (returns false) on the first stray byte.
bool removeAsciiSetInOneWalk(std::string_view text, const AsciiSet& set, std::string& result)
{
    result.resize(text.size());
    char* out = result.data();
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            if (!set.members[byte])
                *out++ = static_cast<char>(byte);
            ++pos;
            continue;
        }
        const utf8::DecodedChar c = utf8::decodeChar(text, pos);
        if (!c.wellFormed)
            return false;
        const char32_t folded = set.hasLetter ? QChar::toUpper(c.codePoint) : c.codePoint;
        if (folded >= 0x80 || !set.members[folded]) {
            text.copy(out, c.size, pos);
            out += c.size;
        }
        pos += c.size;
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
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
    const bool textIsAscii = utf8::isAscii(text);
    if (textIsAscii && utf8::isAscii(pattern))
        return replaceAscii(text, pattern, replacement);
    return replaceFolded(text, pattern, replacement, textIsAscii);
}

std::string RemoveEachChar(std::string_view text, std::string_view set)
{
    if (text.empty() || set.empty())
        return std::string(text);

    // A rule passes the same set for every name of the list.
    thread_local std::string lastSet;
    thread_local std::optional<AsciiSet> lastAsciiSet;
    if (set != lastSet) {
        lastSet.assign(set);
        lastAsciiSet.reset();
        if (utf8::isAscii(set))
            lastAsciiSet = makeAsciiSet(set);
    }
    if (lastAsciiSet) {
        std::string result;
        if (removeAsciiSetInOneWalk(text, *lastAsciiSet, result))
            return result;
    }

    std::string result(text);
    for (std::string_view c : utf8::splitChars(set))
        result = ReplaceAllIgnoreCase(result, c, {});
    return result;
}
