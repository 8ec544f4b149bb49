#include "apply/ApplyPass.h"

#include "apply/RenamePass.h"
#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"

#include <vector>

ApplyReport applyRenames(RowStore& rows, PassRecorder* recorder)
{
    UpdateBatch batch(rows);
    ApplyReport report;
    RenamePass pass(recorder);
    std::vector<PassRename> renames;
    renames.reserve(RenamePass::kBatchSize);
    const auto fail = [&report](std::size_t row, const FileEntry& entry, std::string reason) {
        report.failures.push_back({row, std::string(entry.FileName()), entry.newFileName(), std::move(reason)});
    };
    const auto run = [&] {
        pass.run(renames, [&](const PassRename& rename, const RenameResult& result) {
            FileEntry& entry = *rows.RowData(&rows.rowAt(rename.tag));
            if (result.succeeded()) {
                entry.retarget(rename.newPath);
                ++report.renamedCount;
            } else {
                fail(rename.tag, entry, result.reason);
            }
        });
        renames.clear();
    };
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (!isChecked(*row))
            continue;
        ++report.checkedCount;
        const FileEntry& entry = *rows.RowData(row);
        std::string newPath = entry.newPath();
        if (const char* refusal = refusalOfNewName(newPath)) {
            run();  // so that the failures stay in list order
            fail(row->RowIndex, entry, refusal);
            continue;
        }
        std::string oldPath = entry.path();
        if (newPath == oldPath) {
            ++report.unchangedCount;
            continue;
        }
        renames.push_back({std::move(oldPath), std::move(newPath), row->RowIndex});
        if (renames.size() == RenamePass::kBatchSize)
            run();
    }
    run();
    report.notAttempted = pass.notAttempted();
    return report;
}
