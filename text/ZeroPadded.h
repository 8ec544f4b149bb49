#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The decimal digits of value with zeros in front up to minDigits digits, a
// minus sign before them when negative (the sign does not count). A longer
// number is never cut. Every number the program writes goes through here:
// file times, serial numbers and date stamps.

// Writes at out, which has room for minDigits + 20 bytes; returns the end.
char* writeZeroPadded(char* out, std::int64_t value, std::size_t minDigits);
void appendZeroPadded(std::string& text, std::int64_t value, std::size_t minDigits);
