#pragma once

#include "extrarules/CommandLineRule.h"
#include "runs/RowOrder.h"

#include <string>
#include <utility>

// The values of tolvex-rename's options, each read and checked when its
// option is read, so that a bad one fails before anything is looked at,
// files or none. Each throws CommandLineError naming the option.

// A number as a number box would hold it: the text, once it reads.
const std::string& number(const char* option, const std::string& text);
// prefix, suffix or a position.
PlacementChoice placementOf(const char* option, const std::string& where);
// "from:to", each side a number.
std::pair<std::string, std::string> rangeOf(const char* option, const std::string& text);
// A file the option names: never an empty text, which names no file.
const std::string& fileNamed(const char* option, const std::string& path);

std::string datePattern(const std::string& format);
DateTimeSource dateSource(const std::string& time);
UnicodeCase unicodeCase(const std::string& target);
NormalForm normalForm(const std::string& form);
// The pattern compiled and its replacement read (--regex, then --with).
PatternRule patternRule(const std::string& pattern, const std::string& replacement);
RowOrder rowOrder(const std::string& order);
