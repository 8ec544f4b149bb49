#include "filelist/ListCommands.h"

#include "filelist/DroppedFiles.h"
#include "filelist/VirtualStringTree.h"
#include "rename/UpdateBatch.h"

namespace {

// The one step both intakes take for each file.
void appendFile(TVirtualStringTree& list, const std::string& path, EntryForm form)
{
    ListRow* row = list.AppendRow();
    *list.RowData(row) = makeFileEntry(path, form);
    row->CheckState = csCheckedNormal;
}

} // namespace

void appendFiles(TVirtualStringTree& list, const std::vector<std::string>& paths, EntryForm form)
{
    UpdateBatch batch(list);
    list.SetNodeDataSize(int(sizeof(FileEntry)));
    for (const std::string& path : paths)
        appendFile(list, path, form);
}

void appendDroppedFiles(TVirtualStringTree& list, const std::vector<std::string>& paths, EntryForm form)
{
    UpdateBatch batch(list);
    list.SetNodeDataSize(int(sizeof(FileEntry)));
    for (const std::string& path : paths) {
        if (!isFolder(path))
            appendFile(list, path, form);
    }
}

void applyCheckCommand(TVirtualStringTree& list, const std::function<CheckCommand()>& selected)
{
    UpdateBatch batch(list);
    for (ListRow* row = list.FirstRow(); row; row = list.NextRow(row)) {
        switch (selected()) {
        case CheckCommand::CheckAll:
            row->CheckState = csCheckedNormal;
            break;
        case CheckCommand::UncheckAll:
            row->CheckState = csUncheckedNormal;
            break;
        case CheckCommand::Reverse:
            row->CheckState = row->CheckState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
            break;
        case CheckCommand::None:
            break;
        }
    }
}

void resetNames(TVirtualStringTree& list)
{
    UpdateBatch batch(list);
    for (ListRow* row = list.FirstRow(); row; row = list.NextRow(row)) {
        FileEntry& entry = *list.RowData(row);
        entry.NewName = entry.OldName;
    }
}

void convertEntries(TVirtualStringTree& list, const std::function<EntryForm()>& form)
{
    UpdateBatch batch(list);
    for (ListRow* row = list.FirstRow(); row; row = list.NextRow(row)) {
        FileEntry& entry = *list.RowData(row);
        if (form() == EntryForm::Joined)
            joinExtension(entry);
        else
            splitExtension(entry);
    }
}
