#pragma once

#include <string>
#include <string_view>

// A name with its letter case folded, to tell names apart that differ in
// case alone: ASCII letters and the simple case mapping of Unicode on
// well-formed UTF-8. A stray byte stays itself, apart from every code point.
std::u32string foldedName(std::string_view name);
