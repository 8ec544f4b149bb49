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
    const ApplyReport report = applyRenames(
        *VT, [](ListRow* row) { return IsChecked(*row); },
        [form](FileEntry& entry, const std::string& newPath) { retargetEntry(entry, newPath, form); });
    dialogs().showMessage(this, QString::fromStdString(completionMessage(report)),
                          report.allRenamed() ? UserDialogs::Icon::None : UserDialogs::Icon::Warning);
}
