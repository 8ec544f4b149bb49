// "Apply Rename": renames the checked files on disk and says how it went.
#include "app/Unit1.h"

#include "app/UserDialogs.h"
#include "rename/ApplyPass.h"

void TForm1::BitBtn2Click()
{
    const ApplyReport report = applyRenames(VT->rows());
    dialogs().showMessage(this, QString::fromStdString(completionMessage(report)),
                          report.allRenamed() ? UserDialogs::Icon::None : UserDialogs::Icon::Warning);
}
