#include "apply/ApplyPass.h"

#include "apply/RenamePass.h"
#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"

#include <vector>

ApplyReport applyRenames(RowStore& rows, PassRecorder* recorder, const BetweenRenames& between)
{
    UpdateBatch batch(rows);
    ApplyReport report;
    RenamePass pass(recorder);
    std::vector<PassRename> steps;
    steps.reserve(RenamePass::kBatchSize);
    const auto run = [&] {
        pass.run(steps, [&](const PassRename& step, const RenameResult& result) {
            FileEntry& entry = *rows.RowData(&rows.rowAt(step.tag));
            if (step.kind == PassRename::Kind::Unchanged) {
                ++report.unchangedCount;
            } else if (result.succeeded()) {
                entry.retarget(step.newPath);
                ++report.renamedCount;
            } else {
                report.failures.push_back(
                    {step.tag, std::string(entry.FileName()), entry.newFileName(), result.reason});
            }
            if (between)
                between();
        });
        steps.clear();
    };
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (!isChecked(*row))
            continue;
        ++report.checkedCount;
        const FileEntry& entry = *rows.RowData(row);
        PassRename step{entry.path(), entry.newPath(), row->RowIndex};
        if ((step.refusal = refusalOfNewName(step.newPath)))
            step.kind = PassRename::Kind::Refused;
        else if (step.newPath == step.oldPath)
            step.kind = PassRename::Kind::Unchanged;
        steps.push_back(std::move(step));
        if (steps.size() == RenamePass::kBatchSize)
            run();
    }
    run();
    report.notAttempted = pass.notAttempted();
    return report;
}
