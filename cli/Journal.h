#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The record of the renames one run made, written as they happen, so that
// --undo can take them back even after a crash. One line per rename: the old
// path, a blank, the new path, both percent-encoded so that any bytes fit.
class JournalWriter {
public:
    // Creates the journal; an existing file is never overwritten. Nothing
    // and the reason in `error` when it cannot be made.
    static std::optional<JournalWriter> create(const std::string& path, std::string& error);

    JournalWriter(JournalWriter&& other) noexcept;
    JournalWriter& operator=(JournalWriter&&) = delete;
    ~JournalWriter();

    // Appends one rename with a single write, straight to the file.
    bool record(const std::string& oldPath, const std::string& newPath);

private:
    explicit JournalWriter(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

using JournalEntry = std::pair<std::string, std::string>;  // old path, new path

// The renames a journal holds, in the order they were made; nothing and the
// reason in `error` when it cannot be read or is not a journal.
std::optional<std::vector<JournalEntry>> readJournal(const std::string& path, std::string& error);
