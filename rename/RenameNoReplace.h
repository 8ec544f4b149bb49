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
// file system; see RenameSession, which this makes for the one rename. A
// pass of many renames uses one RenameSession instead, which reads a folder
// only once for all the changes of case in it.
RenameResult renameNoReplace(const std::string& oldPath, const std::string& newPath);

// Every flagged rename of the renaming code goes through this pointer, which
// holds ::renameat2 by default. Tests point it elsewhere to act like file
// systems that refuse RENAME_NOREPLACE (EINVAL, as NFS and many FUSE drivers
// do) or that ignore case (EEXIST for a change of case only).
using RenameAt2Function = int (*)(int oldDirFd, const char* oldPath,
                                  int newDirFd, const char* newPath, unsigned int flags);
extern RenameAt2Function renameAt2Hook;

// Likewise every hard link it makes goes through this pointer, which holds
// ::linkat; tests make it refuse (EPERM) as FAT and many FUSE drivers do.
using LinkAtFunction = int (*)(int oldDirFd, const char* oldPath,
                               int newDirFd, const char* newPath, int flags);
extern LinkAtFunction linkAtHook;
