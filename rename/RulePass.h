#pragma once

#include "rename/UpdateBatch.h"

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
//
// Works with any list offering BeginBatch, EndBatch, FirstRow, NextRow and
// RowData, whose rows answer IsChecked(row).
template <typename List, typename Step>
void runRulePass(List& list, Step&& step)
{
    UpdateBatch batch(list);
    for (auto* row = list.FirstRow(); row; row = list.NextRow(row)) {
        if (!IsChecked(*row))
            continue;
        auto& entry = *list.RowData(row);
        entry.NewName = step(std::as_const(*row), std::as_const(entry));
    }
}
