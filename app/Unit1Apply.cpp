// "Apply Rename": renames the checked files on disk and says how it went.
#include "app/Unit1.h"

#include "app/UserDialogs.h"
#include "apply/ApplyPass.h"
#include "apply/ApplyReport.h"

namespace {

// No file name is longer than 255 bytes; a longer proposal is shown cut,
// so that a thousand of them do not make the details unwieldy.
constexpr std::size_t MaxDetailNameChars = 300;

} // namespace

void TForm1::BitBtn2Click()
{
    const ApplyReport report = applyRenames(VT->rows());
    dialogs().showMessage(this, QString::fromStdString(completionMessage(report)),
                          report.allRenamed() ? UserDialogs::Icon::None : UserDialogs::Icon::Warning,
                          QString::fromStdString(completionDetails(report, MaxDetailNameChars)));
}
