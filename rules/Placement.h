#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Where a rule puts a piece of text into a name.
enum class Placement {
    Prefix,     // in front
    Suffix,     // at the end
    AtPosition, // after the first `position` characters
};

// The name with `piece` put in as `mode` says. `position` counts only for
// AtPosition: 0 or less puts the piece in front, the name's length or more
// at the end.
std::string ApplyPlacement(std::string_view name, std::string_view piece, Placement mode,
                           std::int32_t position = 0);
