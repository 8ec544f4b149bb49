#include "listcore/FileIntake.h"

#include "text/FileNames.h"
#include "listcore/RowStore.h"

FileIntake::FileIntake(RowStore& rows)
    : m_rows(rows)
    , m_batch(rows)
{
    m_rows.SetNodeDataSize(int(sizeof(FileEntry)));
}

void FileIntake::addChosen(const std::string& path)
{
    append(path, lookUpFile(path).times);
}

void FileIntake::addDropped(const std::string& path)
{
    addLooked(path, lookUpFile(path));
}

void FileIntake::addLooked(std::string_view path, const FileLookup& lookup)
{
    if (!lookup.isFolder)
        append(path, lookup.times);
}

void FileIntake::append(std::string_view path, const FileTimes& times)
{
    const std::string_view folder = FolderOfPath(path);
    if (!m_folder || folder != *m_folder)
        m_folder = std::make_shared<const std::string>(folder);
    m_rows.AppendRow(m_folder, path.substr(folder.size()), times)->CheckState = csCheckedNormal;
}
