#pragma once

#include "disk/FileIdentity.h"
#include "disk/FileSystemRules.h"
#include "disk/FolderNames.h"

#include <memory>
#include <string>
#include <string_view>

// One folder of a run, opened when the run first names it and held by its
// descriptor from then on: whatever becomes of its path meanwhile, the
// run's renames in it reach the files the run saw there. What the run
// learns of the folder is kept here, once: its identity, its file system's
// rules, whether names can be added to it, and the names it holds.
//
// Where a run holds more folders than it may keep open (see Folders), a
// folder lets its descriptor go and opens its path again when next asked;
// a path that then names another folder is the folder replaced, and the
// folder stays closed.
class Folder {
public:
    // `path` ends in '/', or is empty for the working folder.
    explicit Folder(std::string path);
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::string& path() const noexcept { return m_path; }
    // Whether the folder could be opened when first named.
    bool exists() const noexcept { return m_identity.known(); }
    // The errno of the failure where it could not be, or where it was
    // replaced since (then ESTALE).
    int error() const noexcept { return m_error; }
    FileIdentity identity() const noexcept { return m_identity; }
    // The folder's descriptor, opened again if it was let go; -1 when the
    // folder is gone or replaced (see error()).
    int fd();
    bool isOpen() const noexcept { return m_fd >= 0; }
    void letGo();

    const FileSystemRules& rules() const noexcept { return m_rules; }
    // The one answer given in advance to whether names that differ in case
    // alone name one entry here.
    bool ignoresCase() const noexcept { return m_rules.ignoresCase(); }
    // A name as the folder tells names apart: folded (made in `buffer`)
    // where case is ignored, else as it is.
    std::string_view comparedName(std::string_view name, std::string& buffer) const;
    // Whether names can be added and removed here.
    bool writable();
    // Looks at the entry `name` holds here, without following a link;
    // false when there is none, or the folder is gone.
    bool look(std::string_view name, struct stat& status);
    // Whether `path` (a spelling of it) names this folder now.
    bool isAt(std::string_view path) const;

    // The file `name` held when the folder was read, where its reading is
    // still at hand and tells it (see FileSystemRules::listsInodes): a look
    // at it spared. Else a mark not known().
    FileMark listedMark(std::string_view name) const;

    // Its names, read when first asked, then kept in step with the run's
    // renames in it (noteRemoved, noteAdded).
    FolderNames& names();
    // Reads its names now, and hands each entry to `each` as the listing
    // gives it: whoever walks the folder and names() share one reading.
    // Where its names were read before, only `each` hears of this reading.
    // 0, or the errno where the folder could not be read to its end; names()
    // then reads it again when asked.
    int readNames(const FolderEntries& each);
    // Its names folded, for a change of case the kernel turned away: the
    // same as names() where case is known to be ignored; nullptr with the
    // errno in `error` when the folder cannot be read.
    FolderNames* foldedNames(int& error);
    // Whether the kernel has turned a change of case away here: then the
    // next ones go straight to the two steps, not asking it again.
    bool turnsCaseChangesAway() const noexcept { return m_turnsCaseChangesAway; }
    void noteCaseChangeTurnedAway() noexcept { m_turnsCaseChangesAway = true; }
    void noteRemoved(std::string_view name);
    void noteAdded(std::string_view name);
    void noteCaseChanged(std::string_view oldName, std::string_view newName);

private:
    // The folded names a rename here keeps in step, where there are any;
    // drops the names as read where case counts.
    FolderNames* foldedKeptInStep();

    std::string m_path;
    int m_fd = -1;
    int m_error = 0;
    FileIdentity m_identity;
    FileSystemRules m_rules;
    signed char m_writable = -1;  // -1: not asked yet
    bool m_turnsCaseChangesAway = false;
    std::unique_ptr<FolderNames> m_names;
    std::unique_ptr<FolderNames> m_folded;  // where case was not known to be ignored
    std::string m_lookedAt;  // look()'s name with its NUL, its room kept from look to look
};
