#include "filelist/VTModel.h"

#include "filelist/VirtualStringTree.h"

VTModel::VTModel(TVirtualStringTree* list)
    : QAbstractTableModel(list)
    , m_list(list)
{
}

int VTModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int VTModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant VTModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    ListRow* node = m_list->visibleRow(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        QString text;
        if (m_list->OnGetText)
            m_list->OnGetText(m_list, node, index.column(), ttNormal, text);
        return text;
    }
    case Qt::CheckStateRole:
        if (index.column() != 0 || node->CheckType == ctNone)
            return {};
        switch (node->CheckState) {
        case csCheckedNormal:
        case csCheckedPressed:
            return Qt::Checked;
        case csMixedNormal:
        case csMixedPressed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
        }
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

void VTModel::publish(bool rowsChanged)
{
    const int total = static_cast<int>(m_list->rowCount());
    if (total > m_shown) {
        beginInsertRows({}, m_shown, total - 1);
        m_shown = total;
        endInsertRows();
    }
    if (rowsChanged && m_shown > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_shown - 1, ColumnCount - 1),
                           {Qt::DisplayRole, Qt::CheckStateRole});
}

void VTModel::reset(const std::function<void()>& clear)
{
    beginResetModel();
    clear();
    m_shown = 0;
    endResetModel();
}
