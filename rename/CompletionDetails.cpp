#include "rename/CompletionDetails.h"

#include "rename/ElidedMiddle.h"

std::string completionDetails(const ApplyReport& report, std::size_t maxNameChars)
{
    auto shown = [maxNameChars](const std::string& name) {
        return maxNameChars == 0 ? name : elidedMiddle(name, maxNameChars);
    };
    std::string details;
    for (const RenameFailure& failure : report.failures) {
        if (!details.empty())
            details += '\n';
        details += shown(failure.oldName) + " → " + shown(failure.newName) + ": " + failure.reason;
    }
    return details;
}
