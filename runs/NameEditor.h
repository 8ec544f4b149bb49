#pragma once

#include <string>
#include <string_view>
#include <optional>

class RowStore;

// --edit: the proposed names of the rows to be renamed (the checked ones),
// one a line, in a temporary file opened in $VISUAL or $EDITOR (else vi),
// then taken back as the rows' new names, whole. Empty when they were;
// else why not, and no row has changed.
std::string editNames(RowStore& rows);

// A name as a line of that file holds it: as it is, but where no line could
// hold it or its end (a control character, a byte that is not UTF-8, a
// blank at either end, a beginning of "$'"), as the shell's $'…' with the
// escapes the output uses.
std::string editedLine(std::string_view name);
// The name a line of that file gives; nothing when it begins a $'…' it does
// not close.
std::optional<std::string> nameOfLine(std::string_view line);
