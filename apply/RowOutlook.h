#pragma once

#include "apply/RenameOutlook.h"

struct ListRow;
class RowStore;

// The outlook of one row, worked out when asked: by acting out the pass on
// the rows before it that meet its names (and those that meet theirs), and
// on a look at the disk for each of their paths. For a tooltip.
RenameOutlook outlookOfRow(const RowStore& rows, const ListRow& row);
