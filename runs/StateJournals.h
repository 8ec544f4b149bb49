#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The journals --apply writes where --journal names none, so that any run
// can be taken back: in $XDG_STATE_HOME/tolvex-rename/ (by default
// ~/.local/state/tolvex-rename/, made with mode 0700), each named by the
// time of its run in UTC, 20250131T140509.123456789Z.journal, beside a file
// of what --history tells of it (NAME.about: JSON lines of the working
// folder, the count of files renamed, whether it was undone). The newest
// 100 are kept.
inline constexpr std::size_t kJournalsKept = 100;

// The path of a new journal, its .about begun and the oldest journals past
// the newest kJournalsKept - 1 removed; empty with the reason in `error`
// when the state folder cannot be made or written.
std::string newStateJournal(std::string& error);
// After its run: how many files it renamed. A journal of no rename is
// removed, so that --undo last never takes back nothing.
void noteRenamed(const std::string& journal, std::size_t renamed);
// After an undo of it made every rename back; a journal with no .about
// (one --journal named) is left as it is.
void noteUndone(const std::string& journal);

struct StateJournal {
    std::string path;
    std::string time;           // local time, "2025-01-31 14:05:09"
    std::string workingFolder;  // empty where unknown
    std::optional<std::size_t> renamed;  // unknown where its run was cut off
    bool undone = false;
};
// The state folder's journals, the newest first; nothing with the reason in
// `error` when the folder cannot be read.
std::optional<std::vector<StateJournal>> stateJournals(std::string& error);
