#pragma once

#include "filelist/FileEntry.h"
#include "rename/RenameNoReplace.h"
#include "rename/UpdateBatch.h"

#include <concepts>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

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

// The text that closes the pass: "Rename Completed!" alone when every checked
// file was renamed (or none was checked); otherwise that line, a count of
// the failures and one line per failure, at most twenty of them. UTF-8.
std::string completionMessage(const ApplyReport& report);

// What the apply pass needs of the list: rows in list order, each with a
// FileEntry, and an update batch.
template <typename List>
concept ApplyPassList = requires(List& list, decltype(list.FirstRow()) row) {
    list.BeginBatch();
    list.EndBatch();
    { list.NextRow(row) } -> std::convertible_to<decltype(list.FirstRow())>;
    { list.RowData(row) } -> std::convertible_to<FileEntry*>;
};

// Renames the file of every row that isChecked(row) accepts, in list order,
// never replacing anything; a refusal is reported and the pass goes on.
// After a rename retarget(entry, newPath) makes the entry describe the file
// under its new path; an entry whose file kept its name is left as it was.
// Check states are not touched. The list repaints once, at the end.
template <ApplyPassList List, typename IsChecked, typename Retarget>
    requires std::predicate<IsChecked&, decltype(std::declval<List&>().FirstRow())>
    && std::invocable<Retarget&, FileEntry&, const std::string&>
ApplyReport applyRenames(List& list, IsChecked isChecked, Retarget retarget)
{
    UpdateBatch batch(list);
    ApplyReport report;
    for (auto row = list.FirstRow(); row; row = list.NextRow(row)) {
        if (!isChecked(row))
            continue;
        ++report.checkedCount;
        FileEntry& entry = *list.RowData(row);
        const std::string newPath = newPathOf(entry);
        const RenameResult result = renameNoReplace(oldPathOf(entry), newPath);
        if (result.succeeded())
            retarget(entry, newPath);
        else
            report.failures.push_back({entry.FileName, entry.NewName + entry.FileExt, result.reason});
    }
    return report;
}
