#include "runs/RowOrder.h"

#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"
#include "text/NaturalOrder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace {

using Compare = std::strong_ordering (*)(std::string_view, std::string_view);

// What a row is sorted by, kept side by side so that the sort does not walk
// the rows' chunks.
struct SortKey {
    std::string_view name;
    std::string_view folder;
    std::int64_t modified;
    std::uint32_t index;
};

std::strong_ordering byNames(const SortKey& a, const SortKey& b, Compare compare)
{
    if (const auto order = compare(a.name, b.name); order != 0)
        return order;
    return compare(a.folder, b.folder);
}

// A time the file system does not keep sorts after every kept one.
std::strong_ordering byModified(const SortKey& a, const SortKey& b)
{
    if (a.modified != b.modified) {
        if (a.modified == FileTimes::none || b.modified == FileTimes::none)
            return a.modified == FileTimes::none ? std::strong_ordering::greater : std::strong_ordering::less;
        return a.modified <=> b.modified;
    }
    return byNames(a, b, &naturalCompare);
}

std::strong_ordering compareKeys(const SortKey& a, const SortKey& b, RowOrder order)
{
    switch (order) {
    case RowOrder::Given:
        break;
    case RowOrder::Natural:
        return byNames(a, b, &naturalCompare);
    case RowOrder::Name:
        return byNames(a, b, &byteCompare);
    case RowOrder::Modified:
        return byModified(a, b);
    }
    return std::strong_ordering::equal;
}

// Row i takes the row that stood at order[i], following each cycle of the
// permutation with one row held aside, so that no row is copied.
void permute(RowStore& rows, const std::vector<std::uint32_t>& order)
{
    std::vector<bool> placed(order.size());
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || order[start] == start)
            continue;
        ListRow held = std::move(rows.rowAt(start));
        std::size_t to = start;
        for (std::size_t from = order[to]; from != start; to = from, from = order[to]) {
            rows.rowAt(to) = std::move(rows.rowAt(from));
            placed[to] = true;
        }
        rows.rowAt(to) = std::move(held);
        placed[to] = true;
    }
    for (std::size_t index = 0; index < order.size(); ++index)
        rows.rowAt(index).RowIndex = std::uint32_t(index);
}

} // namespace

void sortRows(RowStore& rows, RowOrder order, bool byFolder)
{
    if (order == RowOrder::Given || rows.rowCount() < 2)
        return;
    UpdateBatch batch(rows);
    // The names side by side in one block: the sort reads them far more
    // often than anything else, and the rows are spread over many chunks.
    std::size_t bytes = 0;
    for (std::size_t index = 0; index < rows.rowCount(); ++index)
        bytes += rows.row(index).Data.FileName().size();
    std::string names;
    names.reserve(bytes);
    std::vector<SortKey> keys;
    keys.reserve(rows.rowCount());
    for (std::size_t index = 0; index < rows.rowCount(); ++index) {
        const FileEntry& entry = rows.row(index).Data;
        const std::size_t at = names.size();
        names.append(entry.FileName());
        keys.push_back({std::string_view(names).substr(at), entry.FilePath(), entry.times().modified,
                        std::uint32_t(index)});
    }
    const auto sort = [order](auto begin, auto end) {
        std::stable_sort(begin, end, [order](const SortKey& a, const SortKey& b) { return compareKeys(a, b, order) < 0; });
    };
    if (!byFolder) {
        sort(keys.begin(), keys.end());
    } else {
        for (auto begin = keys.begin(); begin != keys.end();) {
            const auto end = std::find_if(begin, keys.end(), [&](const SortKey& key) { return key.folder != begin->folder; });
            sort(begin, end);
            begin = end;
        }
    }
    std::vector<std::uint32_t> positions;
    positions.reserve(keys.size());
    for (const SortKey& key : keys)
        positions.push_back(key.index);
    // The keys look into the rows, which move now.
    std::vector<SortKey>().swap(keys);
    permute(rows, positions);
}
