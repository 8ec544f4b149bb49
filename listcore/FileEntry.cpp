#include "listcore/FileEntry.h"

#include "text/FileNames.h"

FileEntry::FileEntry(SharedFolder folder, std::string_view fileName, EntryForm form, const FileTimes& times)
    : m_folder(std::move(folder))
    , m_fileName(fileName)
    , m_times(times)
    , m_form(form)
    , m_stemLength(std::uint32_t(StripExtension(m_fileName).size()))
{
}

FileEntry::FileEntry(std::string_view path, EntryForm form, const FileTimes& times)
    : FileEntry(std::make_shared<const std::string>(FolderOfPath(path)), NameOfPath(path), form, times)
{
}

std::string FileEntry::path() const
{
    std::string path;
    pathInto(path);
    return path;
}

std::string FileEntry::newFileName() const
{
    std::string name;
    newFileNameInto(name);
    return name;
}

std::string FileEntry::newPath() const
{
    std::string path;
    newPathInto(path);
    return path;
}

// Cleared and appended to rather than assigned: assign() allows for text
// that overlaps the string's own, and costs twice as much on these short
// paths, built several times for each file of a run.
void FileEntry::pathInto(std::string& text) const
{
    text.clear();
    text.append(FilePath()).append(m_fileName);
}

void FileEntry::newFileNameInto(std::string& text) const
{
    text.clear();
    text.append(NewName()).append(FileExt());
}

void FileEntry::newPathInto(std::string& text) const
{
    // A new name is relative to the file's folder, whatever it begins with:
    // "/x" after "dir/" is "dir//x", that is dir/x, and so after the working
    // folder too.
    text.clear();
    text.append(FilePath().empty() && NewName().starts_with('/') ? std::string_view("./") : FilePath());
    text.append(NewName()).append(FileExt());
}

void FileEntry::setNewName(std::string name)
{
    if (name == OldName()) {
        resetNewName();
        return;
    }
    m_newName = std::move(name);
    m_hasNewName = true;
}

void FileEntry::resetNewName()
{
    // Swapped out rather than cleared, so the memory goes back.
    std::string().swap(m_newName);
    m_hasNewName = false;
}

void FileEntry::setForm(EntryForm form)
{
    if (form == m_form)
        return;
    std::string proposed(NewName());
    if (form == EntryForm::Joined)
        proposed += FileExt();
    else
        proposed.resize(StripExtension(proposed).size());
    m_form = form;
    setNewName(std::move(proposed));
}

void FileEntry::retarget(std::string_view newPath)
{
    const std::string_view folder = FolderOfPath(newPath);
    // Most renames stay in their folder: keep sharing its text.
    if (folder != FilePath())
        m_folder = std::make_shared<const std::string>(folder);
    m_fileName = newPath.substr(folder.size());
    m_stemLength = std::uint32_t(StripExtension(m_fileName).size());
    resetNewName();
}
