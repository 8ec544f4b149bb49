#pragma once

#include <string>
#include <string_view>

// Replaces every occurrence of `pattern` in `text` by `replacement`, from left
// to right and without overlap, matching without regard to case.
//
// Both texts are folded character by character with the Unicode simple
// upper-case mapping (one character to exactly one character; a stray byte
// folds to itself), so é matches É and a position in the folded text is the
// same position in the text. Everything outside the matches is copied from
// the text as it is; the replacement is put in as given and never searched.
// An empty pattern, or one longer than the text, changes nothing.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view pattern,
                                 std::string_view replacement);

// Removes, one character of `set` after the other, every occurrence of that
// character in `text`, ignoring case as ReplaceAllIgnoreCase does.
std::string RemoveEachChar(std::string_view text, std::string_view set);
