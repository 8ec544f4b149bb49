#pragma once

#include <string>
#include <string_view>

// Unicode's normal forms C and D: é as one character, or as e followed by a
// combining acute accent. Two names that look the same may differ only so,
// and a file system keeps whichever it is given.
enum class NormalForm { Composed, Decomposed };

// The name in that form, with ICU; stray bytes stay where they are, and
// nothing joins across one.
std::string normalized(std::string_view name, NormalForm form);
