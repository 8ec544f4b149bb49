#include "rename/ApplyPass.h"

#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"
#include "rename/ElidedMiddle.h"
#include "rename/RenameSession.h"

#include <algorithm>

namespace {

// Enough to see what went wrong without a message box taller than the screen.
constexpr std::size_t kListedFailures = 20;
// A proposed name may be far longer than any file system takes; a line
// shows its beginning and its end, which tell which file it is. The reasons
// are ours, but may quote a path.
constexpr std::size_t kShownNameChars = 80;
constexpr std::size_t kShownReasonChars = 160;

}  // namespace

std::string oldPathOf(const FileEntry& entry)
{
    std::string path(entry.FilePath());
    path += entry.FileName();
    return path;
}

std::string newPathOf(const FileEntry& entry)
{
    std::string path(entry.FilePath());
    path += entry.NewName();
    path += entry.FileExt();
    return path;
}

ApplyReport applyRenames(RowStore& rows, const RenamedFile& renamed, const BetweenRenames& between)
{
    UpdateBatch batch(rows);
    RenameSession session;
    ApplyReport report;
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (!isChecked(*row))
            continue;
        ++report.checkedCount;
        FileEntry& entry = *rows.RowData(row);
        const std::string newPath = newPathOf(entry);
        const std::string oldPath = oldPathOf(entry);
        const RenameResult result = session.rename(oldPath, newPath);
        if (result.succeeded()) {
            entry.retarget(newPath);
            if (renamed)
                renamed(*row, oldPath, newPath);
        } else {
            report.failures.push_back({std::string(entry.FileName()),
                                       std::string(entry.NewName()) + std::string(entry.FileExt()),
                                       result.reason});
        }
        if (between)
            between();
    }
    return report;
}

std::string completionSummary(const ApplyReport& report)
{
    std::string summary = "Rename Completed!";
    if (report.allRenamed())
        return summary;
    return summary + '\n' + std::to_string(report.failures.size()) + " of " + std::to_string(report.checkedCount)
        + (report.checkedCount == 1 ? " checked file" : " checked files") + " could not be renamed:";
}

std::string completionMessage(const ApplyReport& report)
{
    std::string message = completionSummary(report);
    if (report.allRenamed())
        return message;
    const std::size_t listed = std::min(report.failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i) {
        const RenameFailure& failure = report.failures[i];
        message += '\n' + elidedMiddle(failure.oldName, kShownNameChars) + " → "
            + elidedMiddle(failure.newName, kShownNameChars) + ": "
            + elidedMiddle(failure.reason, kShownReasonChars);
    }
    if (report.failures.size() > listed)
        message += "\nand " + std::to_string(report.failures.size() - listed) + " more";
    return message;
}
