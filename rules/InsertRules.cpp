#include "rules/InsertRules.h"

#include "text/Utf8.h"
#include "text/ZeroPadded.h"

#include <algorithm>

namespace {

constexpr std::size_t kMaxPaddedWidth = 32;

std::size_t paddedWidth(std::string_view mask)
{
    const std::size_t width = utf8::charCount(mask);
    return width > kMaxPaddedWidth ? 0 : width;
}

} // namespace

std::string serialNumberText(std::int32_t start, std::int64_t rowIndex, std::string_view mask)
{
    std::string text;
    appendZeroPadded(text, start + rowIndex, paddedWidth(mask));
    return text;
}

std::string heldValueText(std::string_view value, std::string_view mask)
{
    constexpr std::string_view blanks(" \t\r\n\0", 5);
    const std::size_t first = value.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    value = value.substr(first, value.find_last_not_of(blanks) + 1 - first);
    const bool digitsAlone = std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::string text;
    if (digitsAlone && value.size() < paddedWidth(mask))
        text.assign(paddedWidth(mask) - value.size(), '0');
    text.append(value);
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '/' || c == '\0'; }, '_');
    return text;
}
