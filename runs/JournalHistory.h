#pragma once

#include <cstdio>
#include <string>

class Output;

// --history: the state folder's journals, the newest first, a line each:
// when, where, how many files, undone or not; in JSON with the journal's
// path too. The exit status.
int showHistory(bool json, bool utf8, std::FILE* out, std::FILE* errors);

// The journal "--undo last" names: the newest of the state folder not yet
// undone; empty with the reason in `error` when there is none.
std::string lastJournal(std::string& error);
