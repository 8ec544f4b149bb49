#pragma once

#include <string>

// tolvex-rename's completion for each shell, made from its table of
// options, so that no option is ever missing from it: every option with its
// first sentence, the words --sort, --case and the like take, and files
// where a value names one.
std::string bashCompletion();
std::string zshCompletion();
std::string fishCompletion();
