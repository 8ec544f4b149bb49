#pragma once

#include "apply/StepResult.h"

#include <cstddef>
#include <functional>

class Folders;
class PlanRecorder;
class RenamePlan;

// Called after each step, between two renames and never during one: the
// window answers its events there while a long run goes on.
using BetweenRenames = std::function<void()>;

struct RunEnd {
    bool stopped = false;      // the recorder stopped the run
    std::size_t notTried = 0;  // steps it did not come to
};

// Makes the plan's renames, batch after batch, in order, in the run's
// folders, never replacing anything (see RenameSession). A rename of a path
// the run has renamed away already, or given to another file, is refused
// unless the step is planned: the file there is no longer the one meant. A
// file left at its temporary name (its cycle's second half failed) goes
// back to its own name at the end, in steps added to the plan. `each`
// hears of every step with its result, `recorder` (when given) records the
// renames ahead of them, and `between` is called after each step.
RunEnd executePlan(RenamePlan& plan, Folders& folders, PlanRecorder* recorder, const BetweenRenames& between,
                   const StepResults& each);

// Enough renames to a batch that syncing a journal once per batch costs
// little beside them.
inline constexpr std::size_t kBatchSize = 1024;
