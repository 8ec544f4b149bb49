#pragma once

#include <string>
#include <string_view>

// A name as the *at calls take it: a path relative to the folder dirFd
// stands for (AT_FDCWD: the working folder).
struct PathAt {
    int dirFd;
    const char* path;
};

// What one move came to.
struct MoveOutcome {
    int error = 0;
    // The refusal in plain words where the words of the error alone do not
    // say it all; empty otherwise (a refusal is often only a step on the
    // way, whose words are never read).
    std::string reason;
    // The file did get the new name, but another file took the old name
    // meanwhile and keeps it; error is EBUSY.
    bool keptBoth = false;

    // The words of the error with `more` after them, or the reason itself.
    static MoveOutcome failure(int error, std::string_view more = {});
    std::string text() const;
};

// Moves `from` to `to` without ever replacing anything another program has
// at `to`, on any file system, by the first of these it allows:
//  - renameat2 with RENAME_NOREPLACE (through renameAt2Hook);
//  - a hard link at `to` (through linkAtHook), after which the old name is
//    moved to a private name and removed only if it still names the same
//    file; if another file took the old name meanwhile, both stay; where
//    inode numbers cannot tell (FUSE), the file moves to a private name
//    first and is linked from there;
//  - a name the file system could not hold is refused (FileSystemRules),
//    then `to` is reserved with an empty placeholder (O_CREAT | O_EXCL),
//    closed, and the file is renamed over it (through renameAtHook) unless
//    another program put something there meanwhile; a folder, which can
//    only ever take the place of an empty folder, is renamed directly.
MoveOutcome moveNoReplace(PathAt from, PathAt to);

// A name no other program uses: ".tolvex-rename-<process>-<random>".
std::string privateTemporaryName();
// What every such name of this process begins with.
std::string temporaryNamePrefix();
