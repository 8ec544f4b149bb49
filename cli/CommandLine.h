#pragma once

#include "runs/Invocation.h"

#include <string>
#include <variant>

// What the command line asked for: a run, the help or version text to
// print, or a usage error (exit status 2).
struct ShowText {
    std::string text;
};
struct UsageError {
    std::string message;
};
using ParsedCommandLine = std::variant<Invocation, ShowText, UsageError>;

// Reads the arguments as the bytes they are: file names and rule texts need
// not be UTF-8, and pass through unchanged.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv);
