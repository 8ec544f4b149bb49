#pragma once

#include "apply/RenamePass.h"
#include "journal/Journal.h"

#include <memory>
#include <string>
#include <string_view>

class Output;

// What tolvex-rename hears of each rename of a pass: the journal gets each
// batch before it is made, with absolute paths, and each outcome after;
// the output gets each rename made.
class JournalRecorder : public PassRecorder {
public:
    // `journal` may be null: the renames are then only shown.
    JournalRecorder(JournalWriter* journal, Output& output, std::string workingFolder);

    bool beforeBatch(std::span<const PassRename> batch) override;
    bool afterRename(const PassRename& rename, const RenameResult& result) override;

private:
    JournalWriter* m_journal;
    Output& m_output;
    std::string m_workingFolder;
    std::vector<JournalWriter::Intent> m_intents;
};

// The working folder as bytes, with a '/' at its end; empty when it cannot
// be told (it was removed, say).
std::string workingFolder();

// The journal a run writes at `path` (none when empty), naming files by
// their paths made absolute from `workingFolder`; nullptr and the reason
// in `error` when it cannot be made, or the working folder is unknown.
std::unique_ptr<JournalWriter> openJournal(const std::string& path, const std::string& workingFolder,
                                           std::string& error, bool& failed);

// The new name of a rename as the preview shows it: from the old name's
// folder on, so that a proposal reaching into a sub-folder shows it.
std::string_view shownNewName(const PassRename& rename);

// `path` made absolute from the folder it is relative to, as bytes: no
// symbolic link is resolved, so it names what `path` named.
std::string absolutePath(const std::string& folder, const std::string& path);
