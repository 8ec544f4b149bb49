#pragma once

// The system calls the renaming code makes through pointers, so that tests
// can make a file system act like another.

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

// And the plain rename of the last way round, which replaces what stands at
// newPath (only ever a placeholder of the renaming code's own); tests act
// as another program writing into that placeholder just before it.
using RenameAtFunction = int (*)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath);
extern RenameAtFunction renameAtHook;
