#pragma once

#include "listcore/EntryForm.h"
#include "listcore/FileTimes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The record behind one row of the list. FilePath + FileName always names
// the file the user chose, with the bytes exactly as the file system gave
// them, whatever their encoding.
//
// A split entry keeps the extension apart in FileExt; a joined entry has it
// inside OldName and NewName, and FileExt is empty. Only what cannot be
// derived is stored, because a list may hold a million entries: OldName and
// FileExt are cut from FileName by the entry's form, NewName is kept only
// once a rule has made it differ from OldName, the folder is one text shared
// by the entries of that folder, and the times are numbers.
class FileEntry {
public:
    // A folder path ending in '/', shared by the entries of one folder.
    using SharedFolder = std::shared_ptr<const std::string>;

    // A blank entry, every text empty, as a new row holds it.
    FileEntry() = default;
    // The entry the intakes make for the file FilePath + FileName in the
    // given form: NewName equal to OldName.
    FileEntry(SharedFolder folder, std::string_view fileName, EntryForm form, const FileTimes& times = {});
    // The same from a whole path, the folder not shared with any other entry.
    FileEntry(std::string_view path, EntryForm form, const FileTimes& times = {});

    std::string_view FileName() const { return m_fileName; }
    std::string_view OldName() const
    {
        return std::string_view(m_fileName).substr(0, m_form == EntryForm::Split ? m_stemLength : m_fileName.size());
    }
    std::string_view NewName() const { return m_hasNewName ? std::string_view(m_newName) : OldName(); }
    std::string_view FilePath() const { return m_folder ? std::string_view(*m_folder) : std::string_view(); }
    std::string_view FileExt() const
    {
        return m_form == EntryForm::Split ? std::string_view(m_fileName).substr(m_stemLength) : std::string_view();
    }

    // The path of the file, the whole proposed name (NewName + FileExt), and
    // the path the proposal gives it: a '/' inside NewName reaches into a
    // folder relative to the entry's own.
    std::string path() const;
    std::string newFileName() const;
    std::string newPath() const;
    // The same made in `text`, whose room is kept from entry to entry.
    void pathInto(std::string& text) const;
    void newFileNameInto(std::string& text) const;
    void newPathInto(std::string& text) const;

    EntryForm form() const { return m_form; }
    const FileTimes& times() const { return m_times; }

    void setNewName(std::string name);
    // NewName := OldName.
    void resetNewName();
    void setTimes(const FileTimes& times) { m_times = times; }

    // The extension toggle for this entry. To Joined: FileExt goes back into
    // OldName and NewName. To Split: the extension is taken from FileName
    // again and cut from the proposed name, so a proposed name without a dot
    // keeps its whole text. An entry already in that form stays as it is.
    void setForm(EntryForm form);

    // After the entry's file was renamed to newPath: the entry becomes what
    // the intake would make for newPath in its form, keeping its times (a
    // rename does not change them).
    void retarget(std::string_view newPath);

    // Whether the proposed name differs from the current one, by even one
    // byte: such a row is tinted, and Apply Rename has work to do for it.
    bool nameChanged() const { return m_hasNewName; }

private:
    void setNames(SharedFolder folder, std::string_view fileName);

    SharedFolder m_folder;
    std::string m_fileName;
    std::string m_newName;  // only while m_hasNewName
    FileTimes m_times;
    EntryForm m_form = EntryForm::Split;
    bool m_hasNewName = false;
    // FileName without its extension is this long: rules read OldName of a
    // million entries, and the cut is found once.
    std::uint32_t m_stemLength = 0;
};
