#pragma once

#include "listcore/EntryForm.h"
#include "listcore/ListRow.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// Told by the row store what a view of it must follow.
class RowStoreObserver {
public:
    virtual ~RowStoreObserver() = default;
    // The outermost update batch opened: nothing needs showing until it closes.
    virtual void batchOpened() = 0;
    // The outermost batch closed: rows appended in it are to be shown, and
    // any shown row may have changed.
    virtual void batchClosed() = 0;
    // A row was appended outside any batch.
    virtual void rowAppended() = 0;
    // Every row is about to go, and has gone.
    virtual void aboutToClear() = 0;
    virtual void cleared() = 0;
};

// The rows of the file list in appending order, each with its check state
// and its FileEntry, and the operations the list is worked with. Rows live
// in fixed-size chunks so that appending never moves a row: a row pointer
// stays valid until ClearRows().
//
// Changes to many rows go inside BeginBatch/EndBatch (see UpdateBatch.h): the
// observer hears of them once, when the outermost batch closes.
class RowStore {
public:
    RowStore();
    ~RowStore();
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    void setObserver(RowStoreObserver* observer) { m_observer = observer; }
    // Called once for each row the first time FirstRow or NextRow hands it
    // out, or a view shows it; it may set the row's CheckType.
    void setRowInitializer(std::function<void(ListRow&)> initializer) { m_initializer = std::move(initializer); }

    void BeginBatch();
    void EndBatch();
    int batchCount() const { return m_batchCount; }

    // The size of a row's data area; -1 until set. Setting another size
    // empties the list and makes as many blank rows again.
    int NodeDataSize() const { return m_nodeDataSize; }
    void SetNodeDataSize(int size);

    ListRow* AppendRow();
    // A row whose entry is made in place, in the list's form: an intake of
    // a million files makes no entry twice.
    ListRow* AppendRow(FileEntry::SharedFolder folder, std::string_view fileName, const FileTimes& times);
    // The row's entry; nullptr for no row. Throws ListError while the data
    // size is not set.
    FileEntry* RowData(ListRow* row) const;
    ListRow* FirstRow();
    ListRow* NextRow(ListRow* row);
    void ClearRows();

    std::size_t rowCount() const { return m_size; }
    // The row at a position, initialised first, as showing it needs.
    ListRow& rowAt(std::size_t index);
    // The row at a position as it is, for a look that is not a visit.
    const ListRow& row(std::size_t index) const { return at(index); }

    // The form every entry of the list is in, as "Include File Extension"
    // asks. Setting another form turns every entry into it, in one batch.
    EntryForm entryForm() const { return m_entryForm; }
    void setEntryForm(EntryForm form);

private:
    // A chunk is a block of 2 MiB, the size of a huge page, and a row is
    // built in it when appended: a million rows touch a few dozen pages
    // instead of thirty thousand.
    static constexpr std::size_t chunkBytes = std::size_t(2) << 20;
    static constexpr std::size_t chunkSize = chunkBytes / sizeof(ListRow);

    ListRow& at(std::size_t index) const { return m_chunks[index / chunkSize][index % chunkSize]; }
    // Where the next row is built, its chunk made first where needed.
    void* nextRowPlace();
    // Numbers the row just built, and tells of it.
    ListRow* appended(ListRow* row);
    void initialize(ListRow& row);
    // Every row and chunk gone, and no observer told.
    void release();

    std::vector<ListRow*> m_chunks;
    std::size_t m_size = 0;
    int m_nodeDataSize = -1;
    int m_batchCount = 0;
    EntryForm m_entryForm = EntryForm::Split;
    RowStoreObserver* m_observer = nullptr;
    std::function<void(ListRow&)> m_initializer;
};
