#include "listcore/RowStore.h"

#include "listcore/ListError.h"
#include "listcore/UpdateBatch.h"

#include <algorithm>

RowStore::RowStore() = default;
RowStore::~RowStore() = default;

void RowStore::BeginBatch()
{
    if (m_batchCount++ == 0 && m_observer)
        m_observer->batchOpened();
}

void RowStore::EndBatch()
{
    if (m_batchCount == 0)
        return;
    if (--m_batchCount == 0 && m_observer)
        m_observer->batchClosed();
}

void RowStore::SetNodeDataSize(int size)
{
    size = std::max(size, -1);
    if (size == m_nodeDataSize)
        return;
    const std::size_t count = m_size;
    UpdateBatch batch(*this);
    ClearRows();
    m_nodeDataSize = size;
    for (std::size_t i = 0; i < count; ++i)
        AppendRow();
}

ListRow* RowStore::AppendRow()
{
    if (m_size == m_chunks.size() * chunkSize)
        m_chunks.push_back(std::make_unique<ListRow[]>(chunkSize));
    ListRow& row = at(m_size);
    row.RowIndex = static_cast<std::uint32_t>(m_size);
    ++m_size;
    if (m_batchCount == 0 && m_observer)
        m_observer->rowAppended();
    return &row;
}

FileEntry* RowStore::RowData(ListRow* row) const
{
    if (!row)
        return nullptr;
    if (m_nodeDataSize <= 0)
        throw ListError("NodeDataSize not initialized.");
    return &row->Data;
}

ListRow* RowStore::FirstRow()
{
    return m_size == 0 ? nullptr : &rowAt(0);
}

ListRow* RowStore::NextRow(ListRow* row)
{
    if (!row)
        return nullptr;
    const std::size_t next = std::size_t(row->RowIndex) + 1;
    return next < m_size ? &rowAt(next) : nullptr;
}

void RowStore::ClearRows()
{
    UpdateBatch batch(*this);
    if (m_observer)
        m_observer->aboutToClear();
    m_chunks.clear();
    m_size = 0;
    if (m_observer)
        m_observer->cleared();
}

ListRow& RowStore::rowAt(std::size_t index)
{
    ListRow& row = at(index);
    initialize(row);
    return row;
}

void RowStore::initialize(ListRow& row)
{
    if (row.initialized)
        return;
    row.initialized = true;
    if (m_initializer)
        m_initializer(row);
}

void RowStore::setEntryForm(EntryForm form)
{
    if (form == m_entryForm)
        return;
    m_entryForm = form;
    UpdateBatch batch(*this);
    for (ListRow* row = FirstRow(); row; row = NextRow(row))
        RowData(row)->setForm(form);
}
