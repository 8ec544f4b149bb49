// Files dropped from the file manager onto the window join the list; the
// list itself takes no drops.
#include "app/Unit1.h"

#include "listcore/ListCommands.h"

#include <QDropEvent>
#include <QMimeData>

namespace {

const QString UriListType = QStringLiteral("text/uri-list");

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
    event->acceptProposedAction();
    const QByteArray uriList = event->mimeData()->data(UriListType);
    runCommand([&] { appendDroppedUriList(VT->rows(), {uriList.constData(), std::size_t(uriList.size())}); });
}
