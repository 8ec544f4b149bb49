// Faults put in the way of tolvex-rename, run as the program it is, through
// LD_PRELOAD; nothing of this is in the program itself.
//
//   TOLVEX_FAULT_KILL_AT=N      the process is killed (SIGKILL) at its Nth
//                               rename call (renameat2 or renameat), before
//                               the call is made; N followed by "a": right
//                               after it was made
//   TOLVEX_FAULT_FULL=BYTES:PATH  writes to the file opened as PATH fail with
//                               ENOSPC once BYTES were written to it; the
//                               write that crosses the limit is cut short
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long renameCalls;
static int fullFd = -1;
static long long fullWritten;

static void killAtRename(int after)
{
    const char* at = getenv("TOLVEX_FAULT_KILL_AT");
    if (!at)
        return;
    char* end = NULL;
    const long target = strtol(at, &end, 10);
    const int wantAfter = end && *end == 'a';
    if (renameCalls == target && wantAfter == after)
        raise(SIGKILL);
}

static int (*real(const char* name))()
{
    return (int (*)())dlsym(RTLD_NEXT, name);
}

int renameat2(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, unsigned int flags)
{
    ++renameCalls;
    killAtRename(0);
    const int result =
        ((int (*)(int, const char*, int, const char*, unsigned))real("renameat2"))(oldDirFd, oldPath, newDirFd,
                                                                                 newPath, flags);
    const int error = errno;
    killAtRename(1);
    errno = error;
    return result;
}

int renameat(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath)
{
    ++renameCalls;
    killAtRename(0);
    const int result = ((int (*)(int, const char*, int, const char*))real("renameat"))(oldDirFd, oldPath, newDirFd,
                                                                                       newPath);
    const int error = errno;
    killAtRename(1);
    errno = error;
    return result;
}

static const char* fullPath(long long* limit)
{
    const char* full = getenv("TOLVEX_FAULT_FULL");
    const char* colon = full ? strchr(full, ':') : NULL;
    if (!colon)
        return NULL;
    *limit = atoll(full);
    return colon + 1;
}

static void watch(int fd, const char* path)
{
    long long limit = 0;
    const char* watched = fullPath(&limit);
    if (fd >= 0 && watched && strcmp(watched, path) == 0) {
        fullFd = fd;
        fullWritten = 0;
    }
}

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    const int fd = ((int (*)(const char*, int, mode_t))real("open"))(path, flags, mode);
    watch(fd, path);
    return fd;
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    const int fd = ((int (*)(const char*, int, mode_t))real("open64"))(path, flags, mode);
    watch(fd, path);
    return fd;
}

ssize_t write(int fd, const void* data, size_t size)
{
    ssize_t (*realWrite)(int, const void*, size_t) = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    if (fd != fullFd || fd < 0)
        return realWrite(fd, data, size);
    long long limit = 0;
    fullPath(&limit);
    if (fullWritten >= limit) {
        errno = ENOSPC;
        return -1;
    }
    if (fullWritten + (long long)size > limit)
        size = (size_t)(limit - fullWritten);
    const ssize_t written = realWrite(fd, data, size);
    if (written > 0)
        fullWritten += written;
    return written;
}
