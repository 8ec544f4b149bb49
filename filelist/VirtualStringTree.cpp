#include "filelist/VirtualStringTree.h"

#include "filelist/VTDelegate.h"
#include "filelist/VTModel.h"

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
    case csMixedNormal: return csMixedPressed;
    default: return state;
    }
}

} // namespace

TVirtualStringTree::TVirtualStringTree(QWidget* parent)
    : QTableView(parent)
    , m_model(new VTModel(this))
    , m_delegate(new VTDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);

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

void TVirtualStringTree::BeginBatch()
{
    if (m_batchCount == 0 && isVisible())
        viewport()->setUpdatesEnabled(false);
    ++m_batchCount;
}

void TVirtualStringTree::EndBatch()
{
    if (m_batchCount == 0)
        return;
    if (--m_batchCount > 0)
        return;
    m_model->publish(true);
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

void TVirtualStringTree::SetNodeDataSize(int size)
{
    size = std::max(size, -1);
    if (size == m_nodeDataSize)
        return;
    const std::size_t count = m_rows.size();
    ClearRows();
    m_nodeDataSize = size;
    BeginBatch();
    for (std::size_t i = 0; i < count; ++i)
        AppendRow();
    EndBatch();
}

ListRow* TVirtualStringTree::AppendRow()
{
    ListRow& node = m_rows.append();
    if (m_batchCount == 0)
        m_model->publish(false);
    return &node;
}

FileEntry* TVirtualStringTree::RowData(ListRow* node) const
{
    if (!node)
        return nullptr;
    if (m_nodeDataSize <= 0)
        throw ListError("NodeDataSize not initialized.");
    return &node->Data;
}

ListRow* TVirtualStringTree::FirstRow()
{
    if (m_rows.empty())
        return nullptr;
    ListRow& node = m_rows.at(0);
    initialize(node);
    return &node;
}

ListRow* TVirtualStringTree::NextRow(ListRow* node)
{
    if (!node)
        return nullptr;
    const std::size_t next = std::size_t(node->RowIndex) + 1;
    if (next >= m_rows.size())
        return nullptr;
    ListRow& nextNode = m_rows.at(next);
    initialize(nextNode);
    return &nextNode;
}

void TVirtualStringTree::ClearRows()
{
    BeginBatch();
    m_pending = {};
    m_model->reset([this] { m_rows.clear(); });
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    EndBatch();
}

ListRow* TVirtualStringTree::visibleRow(int row)
{
    ListRow& node = m_rows.at(std::size_t(row));
    initialize(node);
    return &node;
}

void TVirtualStringTree::initialize(ListRow& node)
{
    if (node.Initialized)
        return;
    node.Initialized = true;
    InitStates states = 0;
    if (OnInitNode)
        OnInitNode(this, nullptr, &node, states);
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

void TVirtualStringTree::repaintRow(int row)
{
    const QModelIndex first = m_model->index(row, 0);
    if (first.isValid())
        Q_EMIT m_model->dataChanged(first, m_model->index(row, VTModel::ColumnCount - 1), {Qt::CheckStateRole});
}

void TVirtualStringTree::beginPendingCheck(int row)
{
    ListRow& node = m_rows.at(std::size_t(row));
    m_pending.row = row;
    m_pending.before = node.CheckState;
    m_pending.toCome = node.CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
    node.CheckState = pressedState(node.CheckState);
    repaintRow(row);
}

void TVirtualStringTree::endPendingCheck(bool commit)
{
    if (m_pending.row < 0)
        return;
    const int row = m_pending.row;
    if (std::size_t(row) < m_rows.size())
        m_rows.at(std::size_t(row)).CheckState = commit ? m_pending.toCome : m_pending.before;
    m_pending = {};
    repaintRow(row);
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
