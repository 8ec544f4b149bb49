#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The position rules of the "Delete" page. Counts and positions are in
// characters; numbers outside the name are clamped, never an error.

// Without the first n characters; n of 0 or less changes nothing.
std::string removeFirst(std::string_view name, std::int32_t n);

// Without the last n characters; n of 0 or less changes nothing.
std::string removeLast(std::string_view name, std::int32_t n);

// Without the characters at positions from to to, as far as they exist.
// A range given backwards (to below from - 1) is read the other way round;
// from equal to to + 1 is an empty range.
std::string removeFromTo(std::string_view name, std::int32_t from, std::int32_t to);
