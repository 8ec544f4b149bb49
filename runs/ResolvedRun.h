#pragma once

#include "rules/RuleCommand.h"
#include "runs/Invocation.h"

#include <cstdio>
#include <vector>

class FolderNamesCache;
class Output;
class RowStore;

// --resolve: the renames of the list made in an order in which each new
// name is free when its turn comes, cycles broken through a temporary name
// (see ResolvedPlan.h). Without --apply the plan is shown, step by step:
// which renames wait for others, which go through a temporary name. With
// it, every step goes into the journal.
// `refusals`: the rows the rules refused, which keep their names.
int runResolved(RowStore& rows, const Invocation& run, FolderNamesCache& folders,
                const std::vector<RowRefusal>& refusals, Output& output, std::FILE* errors);
