#include "apply/RenameOutlook.h"

std::string outlookText(const RenameOutlook& outlook)
{
    switch (outlook.kind) {
    case RenameOutlook::Kind::Unchecked:
        return "Not checked: Apply Rename leaves this file as it is.";
    case RenameOutlook::Kind::Unchanged:
        return "The proposed name is the file's own: Apply Rename leaves it as it is.";
    case RenameOutlook::Kind::Renames:
        return "Apply Rename renames this file to \"" + outlook.newName + "\".";
    case RenameOutlook::Kind::Fails:
        break;
    }
    return "Apply Rename cannot rename this file to \"" + outlook.newName + "\": " + outlook.reason + ".";
}
