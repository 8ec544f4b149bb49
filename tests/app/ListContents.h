#pragma once

#include "app/Unit1.h"

#include <vector>

// The window's rows in list order, and copies of their entries.
inline std::vector<PVirtualNode> ListRows(TForm1& window)
{
    std::vector<PVirtualNode> all;
    for (PVirtualNode row = window.VT->FirstRow(); row; row = window.VT->NextRow(row))
        all.push_back(row);
    return all;
}

inline std::vector<FileEntry> ListEntries(TForm1& window)
{
    std::vector<FileEntry> all;
    for (PVirtualNode row : ListRows(window))
        all.push_back(*window.VT->RowData(row));
    return all;
}
