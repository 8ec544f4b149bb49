#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

// Raised when a number box does not hold an integer.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the 32-bit integer a number box holds:
//   leading blanks (space only), one optional sign directly before the number,
//   then either decimal digits (-2147483648 to 2147483647) or a hexadecimal
//   number after $, x, X, 0x or 0X (up to FFFFFFFF, read as two's complement),
//   with nothing after the digits.
// Anything else throws EConvertError "'<text>' is not a valid integer value",
// naming the text exactly as given.
std::int32_t ReadNumber(std::string_view text);
