#include "listview/VirtualStringTree.h"

#include "listview/VTDelegate.h"
#include "listview/VTModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

constexpr int RowHeight = 18;
constexpr int HeaderHeight = 17;
constexpr int ColumnWidth = 200;

TCheckState pressedState(TCheckState state)
{
    switch (state) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    default: return state;
    }
}

} // namespace

TVirtualStringTree::TVirtualStringTree(QWidget* parent)
    : QTableView(parent)
    , m_model(new VTModel(this, this))
    , m_delegate(new VTDelegate(m_model, this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    connect(m_model, &VTModel::batchStarted, this, &TVirtualStringTree::suspendPainting);
    connect(m_model, &VTModel::batchFinished, this, &TVirtualStringTree::resumePainting);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TVirtualStringTree::forgetRows);
    rows().setRowInitializer([this](ListRow& row) {
        if (VTEvents* handler = events())
            handler->OnInitNode(this, nullptr, &row);
    });

    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(RowHeight);
    rows->setDefaultSectionSize(RowHeight);

    QHeaderView* header = horizontalHeader();
    header->setFixedHeight(HeaderHeight);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < VTModel::ColumnCount; ++column)
        header->resizeSection(column, ColumnWidth);
}

TVirtualStringTree::~TVirtualStringTree() = default;

void TVirtualStringTree::setEvents(VTEvents* events)
{
    m_model->setEvents(events);
}

VTEvents* TVirtualStringTree::events() const
{
    return m_model->events();
}

RowStore& TVirtualStringTree::rows()
{
    return m_model->rows();
}

void TVirtualStringTree::suspendPainting()
{
    if (isVisible())
        viewport()->setUpdatesEnabled(false);
}

void TVirtualStringTree::resumePainting()
{
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

// After ClearRows no row is remembered, and the list is scrolled back to
// its top-left corner.
void TVirtualStringTree::forgetRows()
{
    m_pending = {};
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

ListRow* TVirtualStringTree::visibleRow(int row)
{
    return m_model->shownRow(row);
}

QRect TVirtualStringTree::checkBoxRect(int row) const
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    m_delegate->initStyleOption(&option, index);
    if (!(option.features & QStyleOptionViewItem::HasCheckIndicator))
        return {};
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void TVirtualStringTree::beginPendingCheck(int row)
{
    ListRow& node = *visibleRow(row);
    m_pending.row = row;
    m_pending.before = node.CheckState;
    m_pending.toCome = node.CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
    node.CheckState = pressedState(node.CheckState);
    m_model->checkChanged(row);
}

void TVirtualStringTree::endPendingCheck(bool commit)
{
    if (m_pending.row < 0)
        return;
    const int row = m_pending.row;
    if (std::size_t(row) < rows().rowCount())
        visibleRow(row)->CheckState = commit ? m_pending.toCome : m_pending.before;
    m_pending = {};
    m_model->checkChanged(row);
}

// A press on a check box holds it down; it does not move the selection or
// the focused row. Returns whether the press hit a check box.
bool TVirtualStringTree::pressCheckBoxAt(const QPoint& pos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.column() != 0)
        return false;
    if (visibleRow(index.row())->CheckType == ctNone || !checkBoxRect(index.row()).contains(pos))
        return false;
    endPendingCheck(false);
    setFocus(Qt::MouseFocusReason);
    beginPendingCheck(index.row());
    return true;
}

void TVirtualStringTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && pressCheckBoxAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TVirtualStringTree::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click is one more click on the box.
    if (event->button() == Qt::LeftButton && pressCheckBoxAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void TVirtualStringTree::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pending.row >= 0 && !m_pending.byKeyboard && event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const QModelIndex index = indexAt(pos);
        const bool overSameBox = index.isValid() && index.row() == m_pending.row && index.column() == 0
            && checkBoxRect(index.row()).contains(pos);
        endPendingCheck(overSameBox);
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void TVirtualStringTree::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pending.row >= 0 && !m_pending.byKeyboard) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TVirtualStringTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const QModelIndex current = currentIndex();
        if (!event->isAutoRepeat() && current.isValid() && visibleRow(current.row())->CheckType != ctNone) {
            endPendingCheck(false);
            beginPendingCheck(current.row());
            m_pending.byKeyboard = true;
        }
        event->accept();
        return;
    }
    if (m_pending.byKeyboard)
        endPendingCheck(false);
    QTableView::keyPressEvent(event);
}

void TVirtualStringTree::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_pending.byKeyboard) {
        endPendingCheck(currentIndex().row() == m_pending.row);
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}
