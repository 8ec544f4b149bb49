#pragma once

#include <string>
#include <system_error>

// The outcome of one rename on disk. A refusal of the file system is an
// ordinary outcome, never an exception: the apply pass goes on after it.
struct RenameResult {
    std::error_code error;  // empty when the file now has its new name
    std::string reason;     // the refusal in plain words; empty on success

    bool succeeded() const noexcept { return !error; }
};

// Renames oldPath to newPath (byte paths, relative ones to the working
// folder) and never replaces anything that stands at newPath, whatever the
// file system. A newPath byte-equal to oldPath is left alone and succeeds.
//
// A change of letter case only in the last component (ASCII letters and the
// simple case mapping of Unicode, on well-formed UTF-8) also works where the
// file system ignores case: it goes through a temporary name in the same
// folder, unless the folder already lists an entry spelled exactly like the
// new name (say a hard link of the same file), which is kept.
RenameResult renameNoReplace(const std::string& oldPath, const std::string& newPath);

// Every flagged rename of RenameNoReplace goes through this pointer, which
// holds ::renameat2 by default. Tests point it elsewhere to act like file
// systems that refuse RENAME_NOREPLACE (EINVAL, as NFS and many FUSE drivers
// do) or that ignore case (EEXIST for a change of case only).
using RenameAt2Function = int (*)(int oldDirFd, const char* oldPath,
                                  int newDirFd, const char* newPath, unsigned int flags);
extern RenameAt2Function renameAt2Hook;
