#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text itself when it has at most maxChars characters (see Utf8.h: a
// stray byte counts as one); else its beginning and end around "…", maxChars
// characters in all, never cutting a UTF-8 sequence.
std::string elidedMiddle(std::string_view text, std::size_t maxChars);
