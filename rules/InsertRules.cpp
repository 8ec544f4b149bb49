#include "rules/InsertRules.h"

#include "text/Utf8.h"
#include "text/ZeroPadded.h"

namespace {
constexpr std::size_t kMaxPaddedWidth = 32;
}

std::string serialNumberText(std::int32_t start, std::int64_t rowIndex, std::string_view mask)
{
    std::size_t width = utf8::charCount(mask);
    if (width > kMaxPaddedWidth)
        width = 0;
    std::string text;
    appendZeroPadded(text, start + rowIndex, width);
    return text;
}
