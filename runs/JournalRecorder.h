#pragma once

#include "apply/RenamePass.h"
#include "journal/Journal.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class Output;

// What tolvex-rename hears of each rename of a pass: the journal gets each
// batch before it is made, with absolute paths, and each outcome after;
// the output gets each rename made.
class JournalRecorder : public PassRecorder {
public:
    // The recorder of a run whose journal goes to `path` (none when empty),
    // naming files by their paths made absolute from the working folder;
    // nullptr, with the reason told on `errors`, when the journal cannot be
    // made or the working folder cannot be told.
    static std::unique_ptr<JournalRecorder> open(const std::string& path, Output& output, std::FILE* errors);

    bool beforeBatch(std::span<const PassRename> batch) override;
    bool afterRename(const PassRename& rename, const RenameResult& result) override;

    // Ends the journal, if any; false when it could not all be written,
    // with the reason in journalError().
    bool finish();
    std::string journalError() const;

private:
    JournalRecorder(std::unique_ptr<JournalWriter> journal, Output& output, std::string workingFolder);

    std::unique_ptr<JournalWriter> m_journal;  // none: the renames are only shown
    Output& m_output;
    std::string m_workingFolder;
    std::vector<JournalWriter::Intent> m_intents;
};

// The working folder as bytes, with a '/' at its end; empty when it cannot
// be told (it was removed, say).
std::string workingFolder();

// The new name of a rename as the preview shows it: from the old name's
// folder on, so that a proposal reaching into a sub-folder shows it.
std::string_view shownNewName(const PassRename& rename);

// `path` made absolute from the folder it is relative to, as bytes: no
// symbolic link is resolved, so it names what `path` named.
std::string absolutePath(const std::string& folder, const std::string& path);
