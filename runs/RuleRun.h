#pragma once

#include "extrarules/CommandLineRule.h"

#include <vector>

class RowStore;

// The rules of a run over its rows, in order, with the current time,
// capture times and the values files hold. A row a rule refuses keeps its file's name: it
// is unchecked, so that no later rule and no rename touches it, and its
// proposed name goes back to the file's own. The refusals come back in list
// order, at most one a row.
std::vector<RowRefusal> runRules(RowStore& rows, const std::vector<CommandLineRule>& rules,
                                 const CurrentTimeClock& now, const CaptureTimeReader& captureTime,
                                 const HeldValueReader& heldValue);
