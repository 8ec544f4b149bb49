#include "listview/VTDelegate.h"

#include "listview/VirtualStringTree.h"

#include <QPainter>

VTDelegate::VTDelegate(TVirtualStringTree* list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
}

void VTDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (VTEvents* events = m_list->events()) {
        QRect contentRect = option.rect;
        painter->save();
        events->OnBeforeCellPaint(m_list, painter, m_list->visibleRow(index.row()), index.column(), cpmPaint,
                                  option.rect, contentRect);
        painter->restore();
    }
    QStyledItemDelegate::paint(painter, option, index);
}
