// "Apply Rename": renames the checked files on disk and says how it went.
#include "app/Unit1.h"

#include "app/UserDialogs.h"
#include "filelist/FileIntake.h"
#include "rename/ApplyPass.h"

#include <QCheckBox>

void TForm1::BitBtn2Click()
{
    // Every entry is in the form the box shows, so a renamed entry keeps it.
    const EntryForm form = cbInclude->isChecked() ? EntryForm::Joined : EntryForm::Split;
    const ApplyReport report = ApplyRenames(
        *VT, [](PVirtualNode row) { return IsChecked(*row); },
        [form](FileEntry& entry, const std::string& newPath) { RetargetEntry(entry, newPath, form); });
    Dialogs().ShowMessage(this, QString::fromStdString(CompletionMessage(report)),
                          report.allRenamed() ? UserDialogs::Icon::None : UserDialogs::Icon::Warning);
}
