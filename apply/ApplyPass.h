#pragma once

#include "apply/ApplyReport.h"

#include <functional>
#include <string>

class RowStore;
struct ListRow;

// Told of each file the pass renamed, right after, with its old and new path
// (the row's entry already describes the file under the new one).
using RenamedFile = std::function<void(const ListRow& row, const std::string& oldPath, const std::string& newPath)>;

// Renames the file of every checked row, in list order, never replacing
// anything; a refusal is reported and the pass goes on. A renamed entry then
// describes its file under the new path; an entry whose file kept its name is
// left as it was. Check states are not touched. The list repaints once, at
// the end.
ApplyReport applyRenames(RowStore& rows, const RenamedFile& renamed = {});
