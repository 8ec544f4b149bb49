#pragma once

#include <optional>
#include <string>
#include <string_view>

// A name as the shell would read it back, as GNU ls shows names in its
// shell-escape style: as it is when it holds only characters no shell
// treats apart; else in single quotes; and where it holds control
// characters or bytes that are not characters here, as $'…' with those
// written as escapes (\n, \t, \xHH). So no name in the output can look like
// two, or end a line. `utf8` tells whether the terminal's codeset shows
// UTF-8: otherwise every byte beyond ASCII is written as an escape.
std::string shellQuoted(std::string_view name, bool utf8);
// The same added to the end of `text`. Its first `plainBytes` bytes are
// known to stand as they are (see standsAsIs): only the rest is looked at.
void appendShellQuoted(std::string& text, std::string_view name, bool utf8, std::size_t plainBytes = 0);
// Whether a non-empty text stands in a shell word as it is, unquoted.
bool standsAsIs(std::string_view text, bool utf8);

// The name always in the $'…' form, with the same escapes.
std::string dollarQuoted(std::string_view name, bool utf8);
void appendDollarQuoted(std::string& text, std::string_view name, bool utf8);
// The bytes a $'…' word stands for, as bash reads it (\n, \t, \r, \e,
// \xHH, \NNN, \\, \' and the like); nothing when `word` is not one such word
// whole.
std::optional<std::string> dollarUnquoted(std::string_view word);
