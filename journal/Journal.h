#pragma once

#include "apply/PlanRecorder.h"
#include "apply/RenamePlan.h"
#include "disk/FileIdentity.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The record of the renames one run makes, so that --undo can take them
// back. It is written ahead: each batch of renames is written and synced
// before the first of them is made, and each rename's outcome after it, so
// that after a crash or a power loss every rename on disk is in it; only the
// outcomes of the last batch may be missing, and --undo then asks the disk.
//
// One JSON object a line, in the form the preview's JSON lines take (see
// text/JsonLine.h), paths absolute:
//   {"journal":"tolvex-rename","version":3,"temporary_names":PREFIX}
//   {"step":N,"from":PATH,"to":PATH,"device":D,"inode":I,"folder":F,"to_folder":G,"role":ROLE}
//        rename N of the file D:I is about to be made, from the folder of
//        inode F to that of G; "to_folder" and "role" are left out where
//        they are F and "plain". Where inodes do not follow a file (see
//        FileMark), "inodes":"unstable" with "size" and "modified" (in
//        nanoseconds after the epoch) tell it instead.
//   {"done":N} or {"failed":N}
//        rename N was made, or failed and moved nothing
class JournalWriter : public PlanRecorder {
public:
    // Creates the journal, synced with its folder, for a run that names its
    // files relative to the working folder (the journal makes them
    // absolute, so that it undoes the same files from any folder); an
    // existing file is never overwritten. Nothing, and the reason in
    // `error`, when it cannot be made or the working folder cannot be told.
    static std::unique_ptr<JournalWriter> create(const std::string& path, std::string& error);

    ~JournalWriter() override;
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Records the renames about to be made, with the outcomes noted since
    // the last batch, and syncs them to disk; false when they could not be
    // written whole.
    bool beforeBatch(std::span<const RecordedStep> batch) override;
    // Notes the outcome, to be written with the next batch or at finish().
    bool afterStep(const PlanStep& step, const StepResult& result) override;
    // Writes and syncs the outcomes still to go; false when it could not.
    bool finish();

    // Why the journal could not be written, once it could not.
    const std::string& error() const { return m_error; }

private:
    JournalWriter(int fd, std::string path, std::string workingFolder);
    bool writeSynced(const std::string& text);
    // ,"key":"path" at `out`, with `path` made absolute from the working
    // folder; where it ends. Takes at most jsonTextBound(path.size()) and
    // the working folder's text beside the key and quotes.
    char* writePathField(char* out, std::string_view key, std::string_view path);

    int m_fd = -1;
    std::string m_journalPath;
    std::string m_workingFolderJson;  // as JSON text, written before every relative path
    // The last folder of a path written, and its JSON text: the files of a
    // folder come together, and its text is made once for them.
    std::string m_lastFolder;
    std::string m_lastFolderJson;
    std::string m_pending;        // outcome lines not yet written
    std::uint64_t m_next = 1;     // the number of the next intent
    std::uint64_t m_outcome = 1;  // the number of the next outcome
    std::string m_error;
};

// One rename of a journal, as far as the journal knows it.
struct JournalEntry {
    enum class Outcome { Done, Failed, Unknown };
    std::string oldPath;
    std::string newPath;
    Outcome outcome = Outcome::Done;
    PlanStep::Role role = PlanStep::Role::Plain;
    FileMark file;  // unknown in the first journals; without its device in the second
    // The inodes of the folders it was renamed from and to; 0 before the
    // third journals.
    std::uint64_t folder = 0;
    std::uint64_t newFolder = 0;
};

struct JournalContents {
    std::vector<JournalEntry> entries;  // in the order the renames were made
    std::string temporaryPrefix;        // the names the run's middle steps used
    bool cutOff = false;                // the last line was cut off and left out
};

// The renames a journal holds; nothing and the reason in `error` when it
// cannot be read or is not a journal. Journals of earlier versions of the
// program are read too: "I n inode old new" and "D n" or "F n" lines, or
// before that done renames only, "old new" a line, paths percent-encoded.
std::optional<JournalContents> readJournal(const std::string& path, std::string& error);

// The working folder as bytes, with a '/' at its end; empty when it cannot
// be told (it was removed, say).
std::string workingFolder();
