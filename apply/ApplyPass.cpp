#include "apply/ApplyPass.h"

#include "disk/RenameSession.h"
#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"

ApplyReport applyRenames(RowStore& rows, const RenamedFile& renamed)
{
    UpdateBatch batch(rows);
    RenameSession session;
    ApplyReport report;
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (!isChecked(*row))
            continue;
        ++report.checkedCount;
        FileEntry& entry = *rows.RowData(row);
        const std::string newPath = entry.newPath();
        const std::string oldPath = entry.path();
        const RenameResult result = session.rename(oldPath, newPath);
        if (result.succeeded()) {
            entry.retarget(newPath);
            if (renamed)
                renamed(*row, oldPath, newPath);
        } else {
            report.failures.push_back({std::string(entry.FileName()), entry.newFileName(), result.reason});
        }
    }
    return report;
}
