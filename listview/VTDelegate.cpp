#include "listview/VTDelegate.h"

#include "listview/LegibleText.h"
#include "listview/VirtualStringTree.h"

#include <QImage>
#include <QPainter>

VTDelegate::VTDelegate(TVirtualStringTree* list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
}

void VTDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    VTEvents* events = m_list->events();
    if (!events) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    ListRow* row = m_list->visibleRow(index.row());

    // What the program fills the cell with decides the text colour: asked in
    // the measuring mode, on a one-pixel image nobody sees, it tells the
    // colour the text will stand on, so the text stays legible in any
    // palette, a dark one included.
    const QColor base = option.palette.color(QPalette::Base);
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.fill(base);
    {
        QPainter probePainter(&probe);
        const QRect pixel(0, 0, 1, 1);
        QRect content = pixel;
        events->OnBeforeCellPaint(m_list, &probePainter, row, index.column(), cpmGetContentMargin, pixel, content);
    }
    QStyleOptionViewItem shown = option;
    const QColor background = probe.pixelColor(0, 0);
    if (background != base)
        shown.palette.setColor(QPalette::Text, legibleTextColour(option.palette.color(QPalette::Text), background));

    QRect contentRect = option.rect;
    painter->save();
    events->OnBeforeCellPaint(m_list, painter, row, index.column(), cpmPaint, option.rect, contentRect);
    painter->restore();
    QStyledItemDelegate::paint(painter, shown, index);
}
