#pragma once

#include <compare>
#include <string_view>

// Natural order of two byte texts: runs of the digits 0 to 9 compare as the
// numbers they write (IMG_9 before IMG_10, of any length), every other byte
// as an unsigned byte, and a text before any longer text it begins. Texts
// that only differ in the leading zeros of their numbers (IMG_07, IMG_7)
// are then told apart byte by byte, so only equal texts compare equal.
std::strong_ordering naturalCompare(std::string_view a, std::string_view b);

// Plain byte order, every byte unsigned.
std::strong_ordering byteCompare(std::string_view a, std::string_view b);
