#include "apply/ApplyReport.h"

#include "text/ElidedMiddle.h"

#include <algorithm>

namespace {

// Enough to see what went wrong without a message box taller than the screen.
constexpr std::size_t kListedFailures = 20;
// A proposed name may be far longer than any file system takes; a line
// shows its beginning and its end, which tell which file it is. The reasons
// are ours, but may quote a path.
constexpr std::size_t kShownNameChars = 80;
constexpr std::size_t kShownReasonChars = 160;

std::string shortened(const std::string& text, std::size_t maxChars)
{
    return maxChars == 0 ? text : elidedMiddle(text, maxChars);
}

// "old → new: reason", each part cut to its most characters (0: whole).
std::string failureLine(const RenameFailure& failure, std::size_t maxNameChars, std::size_t maxReasonChars)
{
    return shortened(failure.oldName, maxNameChars) + " → " + shortened(failure.newName, maxNameChars) + ": "
        + shortened(failure.reason, maxReasonChars);
}

}  // namespace

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
    const std::size_t listed = std::min(report.failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i)
        message += '\n' + failureLine(report.failures[i], kShownNameChars, kShownReasonChars);
    if (report.failures.size() > listed)
        message += "\nand " + std::to_string(report.failures.size() - listed) + " more";
    return message;
}

std::string completionDetails(const ApplyReport& report, std::size_t maxNameChars)
{
    std::string details;
    for (const RenameFailure& failure : report.failures) {
        if (!details.empty())
            details += '\n';
        details += failureLine(failure, maxNameChars, 0);
    }
    return details;
}
