#pragma once

#include "filelist/VirtualNode.h"

#include <cstddef>
#include <memory>
#include <vector>

// The rows of the list in appending order. Rows live in fixed-size chunks so
// that appending never moves a row: a row pointer stays valid until Clear().
class RowStore {
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    ListRow& append();
    ListRow& at(std::size_t index) { return m_chunks[index / ChunkSize][index % ChunkSize]; }
    const ListRow& at(std::size_t index) const { return m_chunks[index / ChunkSize][index % ChunkSize]; }
    void clear();

private:
    static constexpr std::size_t ChunkSize = 4096;
    std::vector<std::unique_ptr<ListRow[]>> m_chunks;
    std::size_t m_size = 0;
};
