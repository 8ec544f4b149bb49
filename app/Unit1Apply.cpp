// "Apply Rename": renames the checked files on disk and says how it went.
#include "app/Unit1.h"

#include "app/BusyWindow.h"
#include "apply/ApplyPass.h"
#include "apply/ApplyReport.h"
#include "dialogs/UserDialogs.h"

namespace {

// No file name is longer than 255 bytes; a longer proposal is shown cut,
// so that a thousand of them do not make the details unwieldy.
constexpr std::size_t MaxDetailNameChars = 300;

} // namespace

// A long pass holds the window busy until the message: it repaints and
// answers the desktop between renames, but takes no input.
void TForm1::BitBtn2Click()
{
    ApplyReport report;
    {
        BusyWindow busy(*this, m_closeAsked);
        report = applyRenames(VT->rows(), {}, [&busy] { busy.keepAlive(); });
    }
    dialogs().showMessage(this, QString::fromStdString(completionMessage(report)),
                          report.allRenamed() ? UserDialogs::Icon::None : UserDialogs::Icon::Warning,
                          QString::fromStdString(completionDetails(report, MaxDetailNameChars)));
}
