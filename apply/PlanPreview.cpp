#include "apply/PlanPreview.h"

#include "apply/PassSimulation.h"
#include "apply/RenamePlan.h"

void previewPlan(const RenamePlan& plan, DiskView& disk, const StepResults& each)
{
    PassSimulation simulation(disk);
    std::string oldPath;
    std::string newPath;
    for (std::size_t index = 0; index < plan.steps().size(); ++index) {
        const PlanStep& step = plan.steps()[index];
        switch (step.kind) {
        case PlanStep::Kind::Refused:
            each(step, {StepResult::Outcome::Failed, std::string(plan.reason(index))});
            break;
        case PlanStep::Kind::Unchanged:
            each(step, {StepResult::Outcome::Unchanged, std::string(plan.reason(index))});
            break;
        case PlanStep::Kind::Rename: {
            StepResult result = simulation.rename(plan.oldPath(step, oldPath), plan.newPath(step, newPath), step.planned);
            result.note = plan.reason(index);
            result.oldPath = oldPath;
            result.newPath = newPath;
            each(step, result);
            break;
        }
        }
    }
}
