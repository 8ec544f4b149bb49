#include "app/BusyWindow.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

// Half the time after which a stretch without events starts to show, so
// that one slow step (a rename on a network drive) still leaves room.
std::chrono::nanoseconds BusyWindow::s_interval = std::chrono::milliseconds(25);

BusyWindow::BusyWindow(QWidget& window, bool& closeAsked)
    : m_window(window)
    , m_closeAsked(closeAsked)
{
}

BusyWindow::~BusyWindow()
{
    if (!m_holding)
        return;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
}

void BusyWindow::handleEvents()
{
    if (!m_holding) {
        m_holding = true;
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_lastEvents = Clock::now();
}

bool BusyWindow::belongsToWindow(QObject* object) const
{
    if (auto* window = qobject_cast<QWindow*>(object))
        return window == m_window.windowHandle();
    // A shortcut's event goes to its action, whose parent is a widget of the
    // window.
    for (; object; object = object->parent()) {
        if (object->isWidgetType())
            return static_cast<QWidget*>(object)->window() == &m_window;
    }
    return false;
}

bool BusyWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::ContextMenu:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
    case QEvent::StatusTip:
        return belongsToWindow(watched);
    case QEvent::ShortcutOverride:
        // Taken, so that no shortcut fires: the key itself is then dropped.
        if (!belongsToWindow(watched))
            return false;
        event->accept();
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        // Dropped unaccepted: the drag's source is told that nothing can be
        // dropped here.
        if (!belongsToWindow(watched))
            return false;
        event->ignore();
        return true;
    case QEvent::Close:
        if (watched != &m_window)
            return false;
        event->ignore();
        m_closeAsked = true;
        return true;
    default:
        return false;
    }
}
