#include "rename/CompletionDetails.h"

std::string completionDetails(const ApplyReport& report)
{
    std::string details;
    for (const RenameFailure& failure : report.failures) {
        if (!details.empty())
            details += '\n';
        details += failure.oldName + " → " + failure.newName + ": " + failure.reason;
    }
    return details;
}
