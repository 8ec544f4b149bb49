#include "text/ReplaceExact.h"

#include "text/Utf8.h"

namespace {

// Whether `length` bytes from `from`, a character's start, end where a
// character ends.
bool endsBetweenChars(std::string_view text, std::size_t from, std::size_t length)
{
    std::size_t pos = from;
    while (pos < from + length)
        pos += utf8::charSize(text, pos);
    return pos == from + length;
}

} // namespace

std::string ReplaceAllExactly(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return std::string(text);
    std::string result;
    std::size_t copiedUpTo = 0;
    std::size_t pos = 0;  // always a character's start
    for (std::size_t found; (found = text.find(pattern, pos)) != std::string_view::npos;) {
        while (pos < found)
            pos += utf8::charSize(text, pos);
        if (pos != found)
            continue;
        if (!endsBetweenChars(text, found, pattern.size())) {
            pos += utf8::charSize(text, pos);
            continue;
        }
        result.append(text, copiedUpTo, found - copiedUpTo);
        result.append(replacement);
        pos = found + pattern.size();
        copiedUpTo = pos;
    }
    if (copiedUpTo == 0)
        return std::string(text);
    result.append(text, copiedUpTo);
    return result;
}
