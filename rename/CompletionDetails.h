#pragma once

#include "rename/ApplyPass.h"

#include <cstddef>
#include <string>

// Every failure of the pass, one line each: the details beside
// completionMessage, which lists only a few, each shortened. Names longer
// than maxNameChars characters are shortened in the middle (0: never).
// Empty when every checked file was renamed. UTF-8.
std::string completionDetails(const ApplyReport& report, std::size_t maxNameChars = 0);
