#include "text/ReadNumber.h"

#include "text/HexDigit.h"

#include <optional>
#include <string>

namespace {

// Hexadecimal digits up to the end, as a 32-bit two's-complement number.
std::optional<std::int32_t> readHex(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || value > 0x0FFFFFFFu)
            return std::nullopt;
        value = (value << 4) | unsigned(digit);
    }
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

// Decimal digits up to the end; the range is checked digit by digit, so
// nothing ever overflows however long the text is.
std::optional<std::int32_t> readDecimal(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    std::uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return negative ? static_cast<std::int32_t>(0u - value) : static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> Parse(std::string_view text)
{
    const std::size_t firstNonBlank = text.find_first_not_of(' ');
    if (firstNonBlank == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(firstNonBlank);

    bool negative = false;
    if (rest.front() == '-' || rest.front() == '+') {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }

    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X'))
        return readHex(rest.substr(1), negative);
    if (rest.starts_with("0x") || rest.starts_with("0X"))
        return readHex(rest.substr(2), negative);
    return readDecimal(rest, negative);
}

} // namespace

std::int32_t ReadNumber(std::string_view text)
{
    if (const std::optional<std::int32_t> value = Parse(text))
        return *value;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}
