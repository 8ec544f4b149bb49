#include "text/SubText.h"

#include "text/Utf8.h"

std::int64_t charLength(std::string_view text) noexcept
{
    return static_cast<std::int64_t>(utf8::charCount(text));
}

std::string SubText(std::string_view text, std::int64_t start, std::int64_t count)
{
    if (text.empty() || count <= 0)
        return {};
    if (start < 1)
        start = 1;
    // Every character takes at least one byte, so a position or count beyond
    // the byte size reaches past the end whatever the characters are.
    if (static_cast<std::uint64_t>(start - 1) >= text.size())
        return {};
    const std::size_t begin = utf8::skipChars(text, 0, static_cast<std::size_t>(start - 1));
    if (begin == text.size())
        return {};
    const std::size_t left = text.size() - begin;
    const std::size_t end = static_cast<std::uint64_t>(count) >= left
        ? text.size()
        : utf8::skipChars(text, begin, static_cast<std::size_t>(count));
    return std::string(text.substr(begin, end - begin));
}
