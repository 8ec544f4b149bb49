#pragma once

// A list with the interface the apply pass is written against, standing in
// for the list widget, and a retarget that makes an entry follow its file.

#include "filelist/FileEntry.h"

#include <cstdint>
#include <deque>
#include <string>

namespace fixture {

enum CheckState : std::uint8_t { Unchecked, UncheckedPressed, Checked, CheckedPressed };

struct Node {
    std::uint32_t RowIndex = 0;
    CheckState State = Checked;
    FileEntry Data;
};

class List {
public:
    void BeginBatch()
    {
        ++openBatches;
        ++batchesBegun;
    }
    void EndBatch()
    {
        --openBatches;
        if (openBatches == 0)
            ++repaints;
    }
    Node* FirstRow() { return rows.empty() ? nullptr : &rows.front(); }
    Node* NextRow(Node* node)
    {
        const std::size_t next = node->RowIndex + 1;
        return next < rows.size() ? &rows[next] : nullptr;
    }
    FileEntry* RowData(Node* node) { return &node->Data; }

    void append(const FileEntry& entry, CheckState state = Checked)
    {
        rows.push_back({static_cast<std::uint32_t>(rows.size()), state, entry});
    }

    std::deque<Node> rows;
    int openBatches = 0;
    int batchesBegun = 0;
    int repaints = 0;
};

inline bool isChecked(const Node* node)
{
    return node->State == Checked;
}

// An entry as the intake makes it for `path`: split keeps the extension
// apart, joined keeps it in the names.
inline FileEntry entryFor(const std::string& path, bool split)
{
    FileEntry entry;
    const auto slash = path.rfind('/');
    entry.FilePath = path.substr(0, slash + 1);
    entry.FileName = path.substr(slash + 1);
    const auto dot = entry.FileName.rfind('.');
    if (split && dot != std::string::npos && dot > 0)
        entry.FileExt = entry.FileName.substr(dot);
    entry.OldName = entry.FileName.substr(0, entry.FileName.size() - entry.FileExt.size());
    entry.NewName = entry.OldName;
    entry.CreatedText = "created";
    entry.AccessedText = "accessed";
    entry.ModifiedText = "modified";
    return entry;
}

// The entry, made again for its new path in its own form, keeps its times.
inline void retarget(FileEntry& entry, const std::string& newPath)
{
    FileEntry renewed = entryFor(newPath, !entry.FileExt.empty());
    renewed.CreatedText = entry.CreatedText;
    renewed.AccessedText = entry.AccessedText;
    renewed.ModifiedText = entry.ModifiedText;
    entry = renewed;
}

}  // namespace fixture
