#include "disk/SystemCalls.h"

#include <cstdio>  // renameat2
#include <fcntl.h>
#include <unistd.h>

namespace {

int systemRenameAt2(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath,
                    unsigned int flags)
{
    return ::renameat2(oldDirFd, oldPath, newDirFd, newPath, flags);
}

}  // namespace

RenameAt2Function renameAt2Hook = &systemRenameAt2;
LinkAtFunction linkAtHook = &::linkat;
RenameAtFunction renameAtHook = &::renameat;
