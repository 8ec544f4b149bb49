#pragma once

#include <string>
#include <string_view>

// A name with its letter case folded (foldCase, CaseFold.h), to tell names
// apart that differ in case alone, the result again in UTF-8. A stray byte stays itself,
// marked by a 0xFF byte before it (0xFF never occurs in UTF-8), so it never
// meets a character.
std::string foldedName(std::string_view name);
