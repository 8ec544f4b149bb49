#pragma once

#include <QStyledItemDelegate>

class TVirtualStringTree;

// Draws one cell: first lets the program fill the cell's background through
// OnBeforeCellPaint, then the stock check box, text and selection on top.
class VTDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit VTDelegate(TVirtualStringTree* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    using QStyledItemDelegate::initStyleOption;

private:
    TVirtualStringTree* m_list;
};
