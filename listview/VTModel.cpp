#include "listview/VTModel.h"

VTModel::VTModel(TVirtualStringTree* list, QObject* parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
    m_rows.setObserver(this);
}

int VTModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int VTModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

ListRow* VTModel::shownRow(int row) const
{
    return &m_rows.rowAt(std::size_t(row));
}

QVariant VTModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    ListRow* row = shownRow(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        QString text;
        if (m_events)
            m_events->OnGetText(m_list, row, index.column(), ttNormal, text);
        return text;
    }
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        QString hint;
        if (m_events)
            m_events->OnGetHint(m_list, row, index.column(), hint);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    case Qt::CheckStateRole:
        if (index.column() != 0 || row->CheckType == ctNone)
            return {};
        return row->CheckState == csCheckedNormal || row->CheckState == csCheckedPressed ? Qt::Checked
                                                                                          : Qt::Unchecked;
    default:
        return {};
    }
}

QVariant VTModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const titles[ColumnCount] = {"File Name", "New File Name", "Full Path"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(titles[section]);
    return {};
}

Qt::ItemFlags VTModel::flags(const QModelIndex& index) const
{
    // Not ItemIsUserCheckable: the list handles its check boxes itself, with
    // press-and-release semantics the stock delegate does not have.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void VTModel::checkChanged(int row)
{
    const QModelIndex first = index(row, 0);
    if (first.isValid())
        Q_EMIT dataChanged(first, index(row, ColumnCount - 1), {Qt::CheckStateRole});
}

void VTModel::batchOpened()
{
    Q_EMIT batchStarted();
}

void VTModel::batchClosed()
{
    publish(true);
    Q_EMIT batchFinished();
}

void VTModel::rowAppended()
{
    publish(false);
}

void VTModel::aboutToClear()
{
    beginResetModel();
}

void VTModel::cleared()
{
    m_shown = 0;
    endResetModel();
}

// Brings the view up to date with the store in one update: rows appended
// since the last call are inserted, and every shown row is marked changed.
void VTModel::publish(bool rowsChanged)
{
    const int total = static_cast<int>(m_rows.rowCount());
    if (total > m_shown) {
        beginInsertRows({}, m_shown, total - 1);
        m_shown = total;
        endInsertRows();
    }
    if (rowsChanged && m_shown > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_shown - 1, ColumnCount - 1),
                           {Qt::DisplayRole, Qt::CheckStateRole});
}
