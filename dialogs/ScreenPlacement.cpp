#include "dialogs/ScreenPlacement.h"

#include <QScreen>
#include <QWidget>

void placeOnScreen(QWidget* window, const QWidget* owner, int heightDivisor)
{
    const QScreen* screen = (owner ? owner : window)->screen();
    if (!screen)
        return;
    // move() places the frame, so the frame is what gets centred.
    const QRect monitor = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(monitor.left() + (monitor.width() - size.width()) / 2,
                 monitor.top() + (monitor.height() - size.height()) / heightDivisor);
}
