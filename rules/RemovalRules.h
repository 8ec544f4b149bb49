#pragma once

#include <array>
#include <string>
#include <string_view>

// The rules of the "Replace" page and the text rules of the "Delete" page.
// All of them but the two exact ones match without regard to case, and none
// can fail.

inline constexpr std::string_view kDigitSet = "0123456789";
// Blank, full stop, low line and the usual punctuation; not the apostrophe,
// semicolon, equals sign, double quote or backslash.
inline constexpr std::string_view kSymbolSet = ".-~:,[]{}-+-@#$%^&*()!`|<>?/ __ ";

// Every occurrence of `match`, in any case, becomes `replacement` as typed.
std::string replaceText(std::string_view name, std::string_view match,
                        std::string_view replacement);

// Every occurrence of `piece` as a whole, in any case, is removed.
std::string removeChars(std::string_view name, std::string_view piece);

// The same two rules matching case exactly, for tolvex-rename's --match-case.
std::string replaceTextExactly(std::string_view name, std::string_view match, std::string_view replacement);
std::string removeCharsExactly(std::string_view name, std::string_view piece);

std::string removeAllNumbers(std::string_view name);
std::string removeAllSymbols(std::string_view name);

// "Remove All Non Characters" is the two rules above run one after the other,
// each as a pass of its own over the list.
using NameStep = std::string (*)(std::string_view);
inline constexpr std::array<NameStep, 2> kRemoveAllNonCharactersPasses = {
    &removeAllNumbers, &removeAllSymbols};
