#pragma once

#include "cli/Invocation.h"

#include <cstdio>

// Exit statuses of tolvex-rename.
enum ExitStatus : int {
    AllDone = 0,      // every file renamed, or would be
    SomeFailed = 1,   // some kept their names, or would
    BadUsage = 2,     // a usage error or a bad number; nothing was renamed
};

// Runs what the command line asked: takes the files in as the window does,
// runs the rules in order, then shows what Apply Rename would do or does it;
// or takes a journal's renames back. Reads standard input for -0; writes the
// result to `out` and errors to `errors`.
int runRename(const Invocation& run, std::FILE* in, std::FILE* out, std::FILE* errors);
