#pragma once

#include "app/Unit1.h"

#include <vector>

// The window's rows in list order, and copies of their entries.
inline std::vector<ListRow*> listRows(TForm1& window)
{
    std::vector<ListRow*> all;
    for (ListRow* row = window.VT->FirstRow(); row; row = window.VT->NextRow(row))
        all.push_back(row);
    return all;
}

inline std::vector<FileEntry> listEntries(TForm1& window)
{
    std::vector<FileEntry> all;
    for (ListRow* row : listRows(window))
        all.push_back(*window.VT->RowData(row));
    return all;
}
