#include "filelist/RowStore.h"

ListRow& RowStore::append()
{
    if (m_size == m_chunks.size() * ChunkSize)
        m_chunks.push_back(std::make_unique<ListRow[]>(ChunkSize));
    ListRow& node = at(m_size);
    node.RowIndex = static_cast<std::uint32_t>(m_size);
    ++m_size;
    return node;
}

void RowStore::clear()
{
    m_chunks.clear();
    m_size = 0;
}
