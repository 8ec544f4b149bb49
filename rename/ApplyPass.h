#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class FileEntry;
class RowStore;
struct ListRow;

// One checked entry whose file kept its name, with the names as the user
// saw them (bytes as on disk) and the refusal in plain words.
struct RenameFailure {
    std::string oldName;
    std::string newName;
    std::string reason;
};

struct ApplyReport {
    std::size_t checkedCount = 0;
    std::vector<RenameFailure> failures;  // in list order

    bool allRenamed() const noexcept { return failures.empty(); }
};

// The file an entry stands for, and the path the rules propose for it. A '/'
// inside NewName reaches into a folder relative to the entry's own folder.
std::string oldPathOf(const FileEntry& entry);
std::string newPathOf(const FileEntry& entry);

// Told of each file the pass renamed, right after, with its old and new path
// (the row's entry already describes the file under the new one).
using RenamedFile = std::function<void(const ListRow& row, const std::string& oldPath, const std::string& newPath)>;

// Called after each checked row, between two renames and never during one:
// the window answers its events there while a long pass runs.
using BetweenRenames = std::function<void()>;

// Renames the file of every checked row, in list order, never replacing
// anything; a refusal is reported and the pass goes on. A renamed entry then
// describes its file under the new path; an entry whose file kept its name is
// left as it was. Check states are not touched. The list repaints once, at
// the end.
ApplyReport applyRenames(RowStore& rows, const RenamedFile& renamed = {}, const BetweenRenames& between = {});

// "Rename Completed!" alone when every checked file was renamed (or none was
// checked); otherwise that line and a count of the failures.
std::string completionSummary(const ApplyReport& report);

// The text that closes the pass in the window: the summary and one line per
// failure, at most twenty of them, each name shortened. UTF-8.
std::string completionMessage(const ApplyReport& report);
