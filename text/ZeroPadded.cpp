#include "text/ZeroPadded.h"

#include <algorithm>
#include <charconv>

char* writeZeroPadded(char* out, std::int64_t value, std::size_t minDigits)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                              : static_cast<std::uint64_t>(value);
    char digits[20];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto count = static_cast<std::size_t>(end - digits);
    if (value < 0)
        *out++ = '-';
    if (minDigits > count)
        out = std::fill_n(out, minDigits - count, '0');
    return std::copy(static_cast<const char*>(digits), end, out);
}

void appendZeroPadded(std::string& text, std::int64_t value, std::size_t minDigits)
{
    const std::size_t start = text.size();
    text.resize(start + minDigits + 21);
    char* end = writeZeroPadded(text.data() + start, value, minDigits);
    text.resize(static_cast<std::size_t>(end - text.data()));
}
