#pragma once

#include "rules/Placement.h"

#include <cstdint>
#include <string>
#include <string_view>

// The rules of the "Add" page, apart from the date (DateTimeRule.h).

inline std::string addCharacters(std::string_view name, std::string_view characters,
                                 Placement mode, std::int32_t position = 0)
{
    return ApplyPlacement(name, characters, mode, position);
}

// The serial number of the row at 0-based `rowIndex` in the whole list:
// start + rowIndex in decimal, its digits padded with zeros to as many as the
// mask has characters (what they are does not matter), a minus sign in front
// of the padded digits when negative. A mask of more than 32 characters pads
// nothing; a longer number is never cut.
std::string serialNumberText(std::int32_t start, std::int64_t rowIndex, std::string_view mask);

inline std::string addSerialNumber(std::string_view name, std::int32_t start,
                                   std::int64_t rowIndex, std::string_view mask,
                                   Placement mode, std::int32_t position = 0)
{
    return ApplyPlacement(name, serialNumberText(start, rowIndex, mask), mode, position);
}
