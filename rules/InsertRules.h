#pragma once

#include "rules/Placement.h"

#include <cstdint>
#include <functional>
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

// A value a file holds, read for tolvex-rename's --tag: a field of its audio
// tags or a key of its picture data, or why it has none.
struct HeldValue {
    std::string text;
    std::string missing;  // when it has none: why, in plain words
};
// Reads the value of a field (as --tag names it) of the file at a path; the
// rules only ask.
using HeldValueReader = std::function<HeldValue(const std::string& path, const std::string& field)>;

// The text a held value puts into a name: without the blanks around it, a
// number of digits alone padded with zeros as a serial number's mask pads,
// and every '/' and NUL, which no file name can hold, as '_'. Empty when
// only blanks were held.
std::string heldValueText(std::string_view value, std::string_view mask);
