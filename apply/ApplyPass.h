#pragma once

#include "apply/ApplyReport.h"
#include "apply/PlanRun.h"

class PlanRecorder;
class RowStore;

// Renames the file of every checked row, in list order, never replacing
// anything; a refusal is reported and the pass goes on (see executePlan). A
// row whose proposal is its file's own path is left alone and is no rename.
// A renamed entry then describes its file under the new path; an entry
// whose file kept its name is left as it was. Check states are not touched.
// The list repaints once, at the end.
ApplyReport applyRenames(RowStore& rows, PlanRecorder* recorder = nullptr, const BetweenRenames& between = {});
