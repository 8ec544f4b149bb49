#include "listcore/ListCommands.h"

#include "listcore/FileIntake.h"
#include "listcore/RowStore.h"
#include "listcore/UpdateBatch.h"
#include "listcore/UriList.h"

void appendFiles(RowStore& rows, const std::vector<std::string>& paths, const BetweenFiles& between)
{
    FileIntake intake(rows);
    for (const std::string& path : paths) {
        intake.addChosen(path);
        if (between)
            between();
    }
}

void appendDroppedUriList(RowStore& rows, std::string_view uriList, const BetweenFiles& between)
{
    FileIntake intake(rows);
    UriListReader reader(uriList);
    std::string path;
    while (reader.next(path)) {
        intake.addDropped(path);
        if (between)
            between();
    }
}

void applyCheckCommand(RowStore& rows, CheckCommand command)
{
    UpdateBatch batch(rows);
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        switch (command) {
        case CheckCommand::CheckAll:
            row->CheckState = csCheckedNormal;
            break;
        case CheckCommand::UncheckAll:
            row->CheckState = csUncheckedNormal;
            break;
        case CheckCommand::Reverse:
            row->CheckState = row->CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
            break;
        }
    }
}

void resetNames(RowStore& rows)
{
    UpdateBatch batch(rows);
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row))
        rows.RowData(row)->resetNewName();
}
