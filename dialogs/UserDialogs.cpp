#include "dialogs/UserDialogs.h"

#include "dialogs/CentredMessageBox.h"
#include "dialogs/FileDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void UserDialogs::showMessage(QWidget* parent, const QString& text, Icon icon, const QString& details)
{
    const auto boxIcon = icon == Icon::Error     ? QMessageBox::Critical
                         : icon == Icon::Warning ? QMessageBox::Warning
                                                 : QMessageBox::NoIcon;
    CentredMessageBox box(boxIcon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

std::vector<std::string> UserDialogs::chooseFiles(QWidget* parent, const QString& preselect)
{
    std::vector<std::string> paths;
    {
        FileDialog dialog(parent);
        // The last choice's folder, with its first file's path in the name box.
        if (!preselect.isEmpty())
            dialog.setDirectory(QFileInfo(preselect).absolutePath());
        dialog.setNameBoxText(preselect);
        if (dialog.exec() == QDialog::Accepted)
            paths = dialog.takeChosenPaths();
    }
#ifdef __GLIBC__
    // A dialog that listed a big folder leaves tens of MiB of freed heap in
    // small pieces (the folder's model, the names it showed), which the C
    // library keeps resident: handed back now, before the rows take their
    // own memory.
    malloc_trim(0);
#endif
    return paths;
}

void UserDialogs::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
