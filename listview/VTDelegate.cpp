#include "listview/VTDelegate.h"

#include "listview/CellCanvas.h"
#include "listview/LegibleText.h"
#include "listview/VTModel.h"

#include <QPainter>

VTDelegate::VTDelegate(VTModel* model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
{
}

void VTDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    VTEvents* events = m_model->events();
    if (!events) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    ListRow* row = m_model->shownRow(index.row());

    CellCanvas canvas(painter);
    QRect contentRect = option.rect;
    painter->save();
    events->OnBeforeCellPaint(m_model->list(), &canvas, row, index.column(), cpmPaint, option.rect, contentRect);
    painter->restore();

    // The text stays legible on what the program filled the cell with, in
    // any palette, a dark one included.
    QStyleOptionViewItem shown = option;
    const std::optional<QColor>& background = canvas.filledColor();
    if (background && *background != option.palette.color(QPalette::Base))
        shown.palette.setColor(QPalette::Text, legibleTextColour(option.palette.color(QPalette::Text), *background));
    QStyledItemDelegate::paint(painter, shown, index);
}
