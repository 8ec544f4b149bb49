#pragma once

#include "rules/Placement.h"

#include <cstdint>
#include <string>
#include <string_view>

// The rules of the "Move/Copy" page. The range is characters `from` to `to`
// of the name as SubText(name, from, to - from + 1) cuts it: clamped to the
// name, empty when backwards or past the end.

// The name with a copy of the range put in at the destination.
std::string copyRange(std::string_view name, std::int32_t from, std::int32_t to,
                      Placement destination, std::int32_t position = 0);

// The range taken out of the name and put in at the destination. For
// AtPosition the destination is counted in the name as it was: the piece goes
// behind the characters at positions 1 to `position` that stay, so moving a
// range to a position inside it or right behind it changes nothing.
std::string moveRange(std::string_view name, std::int32_t from, std::int32_t to,
                      Placement destination, std::int32_t position = 0);
