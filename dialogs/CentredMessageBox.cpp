#include "dialogs/CentredMessageBox.h"

#include "dialogs/ScreenPlacement.h"

void CentredMessageBox::showEvent(QShowEvent* event)
{
    // The box takes its final size only as it shows, so it is placed after.
    QMessageBox::showEvent(event);
    placeOnScreen(this, parentWidget(), 2);
}
