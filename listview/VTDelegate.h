#pragma once

#include <QStyledItemDelegate>

class VTModel;

// Draws one cell: first lets the program fill the cell's background through
// OnBeforeCellPaint, then the stock check box, text and selection on top,
// the text in a colour that stays legible on that background.
class VTDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    VTDelegate(VTModel* model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    using QStyledItemDelegate::initStyleOption;

private:
    VTModel* m_model;
};
