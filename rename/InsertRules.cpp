#include "rename/InsertRules.h"

#include "rename/Utf8.h"

#include <algorithm>
#include <charconv>

namespace {
constexpr std::size_t kMaxPaddedWidth = 32;
}

std::string serialNumberText(std::int32_t start, std::int64_t rowIndex, std::string_view mask)
{
    const std::int64_t number = start + rowIndex;
    const std::uint64_t magnitude = number < 0 ? 0 - static_cast<std::uint64_t>(number)
                                               : static_cast<std::uint64_t>(number);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto digitCount = static_cast<std::size_t>(end - digits);

    std::size_t width = utf8::charCount(mask);
    if (width > kMaxPaddedWidth)
        width = 0;

    std::string text;
    text.reserve(1 + std::max(width, digitCount));
    if (number < 0)
        text.push_back('-');
    if (width > digitCount)
        text.append(width - digitCount, '0');
    text.append(digits, digitCount);
    return text;
}
