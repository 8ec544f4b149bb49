#pragma once

#include "runs/Invocation.h"

#include <cstdio>

class Output;

// Takes a journal's renames back, the last first, with the same rename that
// never replaces a file: a name taken meanwhile stays taken. A rename whose
// outcome the journal lacks (a crash came between) is looked up on disk.
// Without --apply it only shows what it would do.
int undoJournal(const Invocation& run, Output& output, std::FILE* errors);
