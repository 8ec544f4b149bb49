#pragma once

#include <string>
#include <string_view>

// Replaces every occurrence of `pattern` in `text` by `replacement`, from left
// to right and without overlap, where the bytes are the same and the match
// starts and ends between characters (so a stray byte of the pattern never
// takes a piece of a character of the text). The replacement is put in as
// given and never searched; an empty pattern changes nothing.
std::string ReplaceAllExactly(std::string_view text, std::string_view pattern, std::string_view replacement);
