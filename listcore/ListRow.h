#pragma once

#include "listcore/FileEntry.h"

#include <cstdint>
#include <string_view>
#include <utility>

enum TCheckState : std::uint8_t {
    csUncheckedNormal,
    csUncheckedPressed,
    csCheckedNormal,
    csCheckedPressed,
};

enum TCheckType : std::uint8_t {
    ctNone = 0,      // no check box
    ctCheckBox = 2,  // a check box of two states
};

// One row of the list. The program reads RowIndex and CheckState and writes
// CheckState and CheckType directly; such writes show at the next repaint.
struct ListRow {
    ListRow() = default;
    ListRow(FileEntry::SharedFolder folder, std::string_view fileName, EntryForm form, const FileTimes& times)
        : Data(std::move(folder), fileName, form, times)
    {
    }

    std::uint32_t RowIndex = 0;
    TCheckState CheckState = csUncheckedNormal;
    TCheckType CheckType = ctNone;
    bool initialized = false;  // the list has raised OnInitNode for it
    FileEntry Data;            // the row's data area
};

// Whether rules and the apply pass work on the row: checked, and not held
// down by the user at this moment.
inline bool isChecked(const ListRow& row)
{
    return row.CheckState == csCheckedNormal;
}
