#pragma once

#include "runs/ExitStatus.h"
#include "runs/Invocation.h"

#include <cstdio>

// Runs what the command line asked: takes the files in as the window does,
// runs the rules in order, then shows what Apply Rename would do or does it;
// or takes a journal's renames back. Reads standard input for -0; writes the
// result to `out` and errors to `errors`.
int runRename(const Invocation& run, std::FILE* in, std::FILE* out, std::FILE* errors);
