// Files dropped from the file manager onto the window join the list; the
// list itself takes no drops.
#include "app/Unit1.h"

#include "app/BusyWindow.h"
#include "listcore/ListCommands.h"
#include "platform/XdndDropReader.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString UriListType = QStringLiteral("text/uri-list");

// What the person is told when a drop's data never came.
const char* lostDropMessage(XdndDropReader::Status status)
{
    switch (status) {
    case XdndDropReader::Status::SourceGone:
        return "The dropped files did not arrive: the program they came from closed before handing them over";
    case XdndDropReader::Status::TimedOut:
        return "The dropped files did not arrive: the program they came from stopped sending them";
    case XdndDropReader::Status::TooLarge:
        return "The dropped files did not arrive: the program they came from could not send so many at once. "
               "Drop them in smaller groups";
    case XdndDropReader::Status::Refused:
        return "The dropped files did not arrive: the program they came from would not hand them over";
    default:
        return "The dropped files did not arrive: the connection to the display failed";
    }
}

} // namespace

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    // Drops anywhere on the window reach the window itself: no control of
    // its own takes them (a text box would otherwise swallow a file's URL).
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);
    setAcceptDrops(true);
    // Watches for drops from other programs from now on, so that their
    // data can be read when one arrives.
    if (!m_dropReader && QGuiApplication::platformName() == QLatin1String("xcb"))
        m_dropReader = std::make_unique<XdndDropReader>();
}

bool TForm1::overFileList(const QPoint& pos) const
{
    return QRect(VT->mapTo(this, QPoint(0, 0)), VT->size()).contains(pos);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(UriListType))
        event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    // Qt takes a move as accepted after an accepted one, so every move over
    // the list is refused explicitly.
    if (overFileList(event->position().toPoint()) || !event->mimeData()->hasFormat(UriListType))
        event->ignore();
    else
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (overFileList(event->position().toPoint()) || !event->mimeData()->hasFormat(UriListType)) {
        event->ignore();
        return;
    }
    runCommand([&] {
        // A big drop holds the window busy while its data comes and while it
        // is taken in, with other drags kept away until it is done.
        const XdndDropReader::DropUnderway underway(m_dropReader.get());
        BusyWindow busy(*this, m_closeAsked);
        const auto keepAlive = [&busy] { busy.keepAlive(); };
        XdndDropReader::Result fromServer;
        if (m_dropReader)
            fromServer = m_dropReader->read(*event->mimeData(), UriListType.toLatin1(), keepAlive);
        if (fromServer.status != XdndDropReader::Status::NotXdnd
            && fromServer.status != XdndDropReader::Status::Received) {
            // The source is told that the drop failed, and the person sees
            // why once the drop has ended, not while the source waits for an
            // answer.
            event->ignore();
            const char* message = lostDropMessage(fromServer.status);
            QMetaObject::invokeMethod(this, [this, message] { showError(message); }, Qt::QueuedConnection);
            return;
        }
        event->acceptProposedAction();
        const QByteArray uriList = fromServer.status == XdndDropReader::Status::Received
                                       ? std::move(fromServer.data)
                                       : event->mimeData()->data(UriListType);
        appendDroppedUriList(VT->rows(), {uriList.constData(), std::size_t(uriList.size())}, keepAlive);
    });
}
