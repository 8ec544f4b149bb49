#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The record of the renames one run makes, so that --undo can take them
// back. It is written ahead: each batch of renames is written and synced
// before the first of them is made, and each rename's outcome after it, so
// that after a crash or a power loss every rename on disk is in it; only the
// outcomes of the last batch may be missing, and --undo then asks the disk.
//
// One line a record, paths absolute and percent-encoded so that any bytes
// fit:
//   I <n> <inode> <old path> <new path>   rename n is about to be made
//   D <n>                                 rename n was made
//   F <n>                                 rename n failed; nothing moved
class JournalWriter {
public:
    struct Intent {
        std::uint64_t inode = 0;  // of the file at the old path; 0 when unknown
        std::string oldPath;
        std::string newPath;
    };

    // Creates the journal, synced with its folder; an existing file is never
    // overwritten. Nothing, and the reason in `error`, when it cannot be made.
    static std::unique_ptr<JournalWriter> create(const std::string& path, std::string& error);

    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Records the renames about to be made, with the outcomes noted since
    // the last call, and syncs them to disk. Their numbers follow on from
    // the last batch's. False when they could not be written whole.
    bool intend(std::span<const Intent> batch);
    // The outcome of a rename of the last batch, in order; written with the
    // next batch or at finish().
    void noteOutcome(bool done);
    // Writes and syncs the outcomes still to go; false when it could not.
    bool finish();

    // Why the journal could not be written, once it could not.
    const std::string& error() const { return m_error; }

private:
    explicit JournalWriter(int fd, std::string path);
    bool writeSynced(const std::string& text);

    int m_fd = -1;
    std::string m_path;
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
    std::uint64_t inode = 0;
    Outcome outcome = Outcome::Done;
};

struct JournalContents {
    std::vector<JournalEntry> entries;  // in the order the renames were made
    std::string temporaryPrefix;        // the names the run's middle steps used
    bool cutOff = false;                // the last line was cut off and left out
};

// The renames a journal holds; nothing and the reason in `error` when it
// cannot be read or is not a journal. A journal of an earlier version of
// the program lists done renames only, "old new" a line.
std::optional<JournalContents> readJournal(const std::string& path, std::string& error);
