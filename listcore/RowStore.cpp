#include "listcore/RowStore.h"

#include "listcore/ListError.h"
#include "listcore/UpdateBatch.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

// A chunk's memory, aligned to its size so that the kernel can back it with
// one huge page. The list's first chunk keeps small pages: a short list
// stays small.
void* newChunk(std::size_t bytes, bool huge)
{
    void* mapped = ::mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    char* const start = static_cast<char*>(mapped);
    char* const aligned = start + (bytes - reinterpret_cast<std::uintptr_t>(start) % bytes) % bytes;
    if (aligned != start)
        ::munmap(start, std::size_t(aligned - start));
    ::munmap(aligned + bytes, std::size_t(start + 2 * bytes - (aligned + bytes)));
    if (huge)
        ::madvise(aligned, bytes, MADV_HUGEPAGE);
    return aligned;
}

} // namespace

RowStore::RowStore() = default;

RowStore::~RowStore()
{
    release();
}

void RowStore::release()
{
    for (std::size_t index = 0; index < m_size; ++index)
        at(index).~ListRow();
    for (ListRow* chunk : m_chunks)
        ::munmap(chunk, chunkBytes);
    m_chunks.clear();
    m_size = 0;
}

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
    return appended(new (nextRowPlace()) ListRow);
}

ListRow* RowStore::AppendRow(FileEntry::SharedFolder folder, std::string_view fileName, const FileTimes& times)
{
    return appended(new (nextRowPlace()) ListRow(std::move(folder), fileName, m_entryForm, times));
}

void* RowStore::nextRowPlace()
{
    if (m_size == m_chunks.size() * chunkSize) {
        if (m_chunks.size() == m_chunks.capacity())
            m_chunks.reserve(2 * m_chunks.size() + 1);
        m_chunks.push_back(static_cast<ListRow*>(newChunk(chunkBytes, !m_chunks.empty())));
    }
    return &at(m_size);
}

ListRow* RowStore::appended(ListRow* row)
{
    row->RowIndex = static_cast<std::uint32_t>(m_size);
    ++m_size;
    if (m_batchCount == 0 && m_observer)
        m_observer->rowAppended();
    return row;
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
    release();
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
