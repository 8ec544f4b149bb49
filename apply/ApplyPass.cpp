#include "apply/ApplyPass.h"

#include "apply/ListPlan.h"
#include "disk/Folders.h"
#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"

ApplyReport applyRenames(RowStore& rows, PlanRecorder* recorder, const BetweenRenames& between)
{
    UpdateBatch batch(rows);
    const RowFiles files(rows);
    RenamePlan plan = listOrderPlan(rows, files);
    if (between)
        between();  // a million rows take a while to plan
    ApplyReport report;
    report.checkedCount = plan.steps().size();
    Folders folders;
    executePlan(plan, folders, recorder, between, [&](const PlanStep& step, const StepResult& result) {
        FileEntry& entry = *rows.RowData(&rows.rowAt(step.file));
        if (result.renamed())
            entry.retarget(result.newPath);
        else if (result.failed())
            report.failures.push_back({step.file, std::string(entry.FileName()), entry.newFileName(), result.reason});
    });
    return report;
}
