#pragma once

#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"

#include <string>
#include <utility>

// Runs one rule over the list: every checked row in list order, inside one
// update batch, so the list repaints once at the end — also when the step
// fails, which ends the pass at that row.
//
// The step gets the row and its entry and returns the new proposed name; it
// reads the rule's parameters itself, before computing anything, so a bad
// parameter fails at the first checked row with no name changed yet. The
// proposed name is the only field the pass writes.
template <typename Step>
void runRulePass(RowStore& rows, Step&& step)
{
    UpdateBatch batch(rows);
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (!isChecked(*row))
            continue;
        FileEntry& entry = *rows.RowData(row);
        entry.setNewName(step(std::as_const(*row), std::as_const(entry)));
    }
}
