#include "Version.h"
#include "app/Unit1.h"
#include "icons/Icons.h"
#include "platform/WaylandDecorations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    leaveDecorationsToCompositor();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex File Renamer"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVEX_VERSION));
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(TOLVEX_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    TForm1 form;
    form.show();
    return QApplication::exec();
}
