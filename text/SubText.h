#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

// The text operations every rule is built from. Positions are 1-based and
// count characters (see text/Utf8.h); no operation ever splits a character.

// A count that takes everything from a position up to the end of a text.
inline constexpr std::int64_t kToTheEnd = std::numeric_limits<std::int64_t>::max();

// Length of a text in characters.
std::int64_t charLength(std::string_view text) noexcept;

// Up to `count` characters beginning at the 1-based position `start`.
// A start below 1 counts as 1 without shortening the count; a start past the
// end, or a count of 0 or less, gives the empty text; the count is cut at the
// end of the text.
std::string SubText(std::string_view text, std::int64_t start, std::int64_t count);
