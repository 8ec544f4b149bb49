#include "rename/ApplyPass.h"

#include <algorithm>

namespace {

// Enough to see what went wrong without a message box taller than the screen.
constexpr std::size_t kListedFailures = 20;

}  // namespace

std::string oldPathOf(const FileEntry& entry)
{
    return entry.FilePath + entry.FileName;
}

std::string newPathOf(const FileEntry& entry)
{
    return entry.FilePath + entry.NewName + entry.FileExt;
}

std::string completionMessage(const ApplyReport& report)
{
    std::string message = "Rename Completed!";
    if (report.allRenamed())
        return message;

    message += '\n' + std::to_string(report.failures.size()) + " of "
        + std::to_string(report.checkedCount)
        + (report.checkedCount == 1 ? " checked file" : " checked files")
        + " could not be renamed:";
    const std::size_t listed = std::min(report.failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i) {
        const RenameFailure& failure = report.failures[i];
        message += '\n' + failure.oldName + " → " + failure.newName + ": " + failure.reason;
    }
    if (report.failures.size() > listed)
        message += "\nand " + std::to_string(report.failures.size() - listed) + " more";
    return message;
}
