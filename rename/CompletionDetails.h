#pragma once

#include "rename/ApplyPass.h"

#include <string>

// Every failure of the pass, one line each, with the names and reasons in
// full: the details beside completionMessage, which lists only a few, each
// shortened. Empty when every checked file was renamed. UTF-8.
std::string completionDetails(const ApplyReport& report);
