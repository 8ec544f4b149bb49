#include "filelist/FileIntake.h"

#include "filelist/FileNames.h"
#include "filelist/FileTimes.h"

namespace {

void SetNames(FileEntry& entry, const std::string& path, EntryForm form)
{
    entry.FileName = NameOfPath(path);
    entry.FilePath = FolderOfPath(path);
    if (form == EntryForm::Split) {
        entry.OldName = StripExtension(entry.FileName);
        entry.FileExt = ExtensionOfName(entry.FileName);
    } else {
        entry.OldName = entry.FileName;
        entry.FileExt.clear();
    }
    entry.NewName = entry.OldName;
}

} // namespace

FileEntry makeFileEntry(const std::string& path, EntryForm form)
{
    FileEntry entry;
    SetNames(entry, path, form);
    ReadFileTimes(path, entry);
    return entry;
}

void retargetEntry(FileEntry& entry, const std::string& newPath, EntryForm form)
{
    SetNames(entry, newPath, form);
}

void joinExtension(FileEntry& entry)
{
    if (entry.FileExt.empty())
        return;
    entry.OldName += entry.FileExt;
    entry.NewName += entry.FileExt;
    entry.FileExt.clear();
}

void splitExtension(FileEntry& entry)
{
    entry.OldName = StripExtension(entry.FileName);
    entry.NewName = StripExtension(entry.NewName);
    entry.FileExt = ExtensionOfName(entry.FileName);
}
