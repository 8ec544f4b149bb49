#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <utility>

class Folder;
class Folders;

// The outcome of one rename on disk. A refusal of the file system is an
// ordinary outcome, never an exception: the apply pass goes on after it.
struct RenameResult {
    std::error_code error;  // empty when the file now has its new name
    std::string reason;     // the refusal in plain words; empty on success

    bool succeeded() const noexcept { return !error; }
    static RenameResult refusal(int error, std::string reason)
    {
        return {std::error_code(error, std::generic_category()), std::move(reason)};
    }
};

// Why a new path cannot be a file's new name, whatever the file system: its
// last component is empty, "." or ".." (the kernel would take these for the
// folder itself or the one above it), or it holds a NUL, which would end it
// early. Null when it can.
const char* refusalOfNewName(std::string_view path);

// The renames of one run, each in the folders of the run (see Folders): a
// name is looked up in the folder its path named when the run first named
// it. Each rename never replaces anything that stands at its new path,
// whatever the file system (see moveNoReplace); a newPath byte-equal to
// oldPath is left alone and succeeds.
//
// A change of letter case only in the last component (ASCII letters and the
// simple case mapping of Unicode, on well-formed UTF-8) also works where the
// file system ignores case: it goes through a temporary name in the same
// folder, unless the folder lists an entry spelled exactly like the new name
// (say a hard link of the same file), which is kept. A folder is read for
// that at most once per run, and what was read is kept in step with the
// session's renames, so a pass of many changes of case stays linear; once
// the kernel turned one away in a folder, the others there are not first
// offered to it.
class RenameSession {
public:
    explicit RenameSession(Folders& folders) : m_folders(folders) {}

    RenameResult rename(const std::string& oldPath, const std::string& newPath);
    // The same, where `from` and `to` are the folders the paths name, found
    // already.
    RenameResult rename(Folder& from, const std::string& oldPath, Folder& to, const std::string& newPath);

private:
    // The names end where their paths do, with a NUL.
    RenameResult renameCaseOnly(Folder& folder, std::string_view oldName, std::string_view newName);

    Folders& m_folders;
    std::string m_temporaryName;  // for the middle step of a change of case
};

// Why a folder of a run cannot be renamed in, in plain words.
std::string folderRefusal(const Folder& folder);
