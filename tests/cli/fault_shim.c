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
//   TOLVEX_FAULT_UNSYNCED=PATH  counts the renames and links made while what
//                               was written to PATH is not yet synced, and the
//                               syncs of it; told on standard error at exit
//   TOLVEX_FAULT_SWAP_AT=N:FOLDER:TARGET  before the Nth rename call, FOLDER
//                               is moved aside and a link to TARGET takes its
//                               name
//   TOLVEX_FAULT_REPLACE_AT=N:FILE  before the Nth rename call, FILE is moved
//                               to FILE.aside and a new file takes its name
//   TOLVEX_FAULT_PLACEHOLDER=NAME  another program writes into the empty file
//                               the program reserves NAME with, right after
//                               it is made
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
static int watchedFd = -1;
static int unsyncedWrites;
static long unsyncedRenames;
static long syncs;

static void __attribute__((destructor)) tellSyncs(void)
{
    if (getenv("TOLVEX_FAULT_UNSYNCED"))
        fprintf(stderr, "tolvex-fault: %ld renames unsynced, %ld syncs\n", unsyncedRenames, syncs);
}

// Before a rename or link: counted where the watched file has writes not
// yet synced, and the folder swapped for a link at the chosen call.
static void beforeMove(void)
{
    if (unsyncedWrites)
        ++unsyncedRenames;
    const char* swap = getenv("TOLVEX_FAULT_SWAP_AT");
    char folder[4096], target[4096];
    long at = 0;
    if (swap && sscanf(swap, "%ld:%4095[^:]:%4095s", &at, folder, target) == 3 && at == renameCalls) {
        char moved[4200];
        snprintf(moved, sizeof moved, "%s.moved", folder);
        if (rename(folder, moved) != 0 || symlink(target, folder) != 0)
            fprintf(stderr, "tolvex-fault: could not swap %s\n", folder);
    }
    const char* replace = getenv("TOLVEX_FAULT_REPLACE_AT");
    if (replace && sscanf(replace, "%ld:%4095s", &at, folder) == 2 && at == renameCalls) {
        char aside[4200];
        snprintf(aside, sizeof aside, "%s.aside", folder);
        FILE* other = rename(folder, aside) == 0 ? fopen(folder, "wx") : NULL;
        if (!other || fputs("other", other) < 0 || fclose(other) != 0)
            fprintf(stderr, "tolvex-fault: could not replace %s\n", folder);
    }
}

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
    beforeMove();
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
    beforeMove();
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
    const char* unsynced = getenv("TOLVEX_FAULT_UNSYNCED");
    if (fd >= 0 && unsynced && strcmp(unsynced, path) == 0)
        watchedFd = fd;
}

int linkat(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, int flags)
{
    beforeMove();
    return ((int (*)(int, const char*, int, const char*, int))real("linkat"))(oldDirFd, oldPath, newDirFd, newPath,
                                                                             flags);
}

int fdatasync(int fd)
{
    const int result = ((int (*)(int))real("fdatasync"))(fd);
    if (fd == watchedFd && result == 0) {
        unsyncedWrites = 0;
        ++syncs;
    }
    return result;
}

int fsync(int fd)
{
    const int result = ((int (*)(int))real("fsync"))(fd);
    if (fd == watchedFd && result == 0) {
        unsyncedWrites = 0;
        ++syncs;
    }
    return result;
}

int openat(int dirFd, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    const int fd = ((int (*)(int, const char*, int, mode_t))real("openat"))(dirFd, path, flags, mode);
    // A reserved name: made empty, for its owner alone.
    const char* reserved = getenv("TOLVEX_FAULT_PLACEHOLDER");
    const char* name = strrchr(path, '/') ? strrchr(path, '/') + 1 : path;
    if (fd >= 0 && reserved && strcmp(reserved, name) == 0 && (flags & O_CREAT) && (flags & O_EXCL) && mode == 0) {
        const int other = ((int (*)(int, const char*, int, mode_t))real("openat"))(dirFd, path, O_WRONLY, 0);
        if (other >= 0) {
            ((ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write"))(other, "saved", 5);
            close(other);
        }
    }
    return fd;
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
    if (fd == watchedFd && size > 0)
        unsyncedWrites = 1;
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
