#pragma once

#include "apply/StepResult.h"

class DiskView;
class RenamePlan;

// The plan acted out on `disk` before it runs, step after step, each on
// what the steps before it will have done: `each` hears what the executor
// would make of every step.
void previewPlan(const RenamePlan& plan, DiskView& disk, const StepResults& each);
