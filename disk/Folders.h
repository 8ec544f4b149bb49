#pragma once

#include "disk/FileIdentity.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class Folder;

// The folders of one run, each opened once: every spelling of a folder
// ("", "./", "sub/../") leads to the one Folder its identity names, so that
// a file is the same file however its path was written. Folders that do not
// exist are kept by their spelling. Past half the descriptors the process
// may hold, the folders let theirs go, to open them again when next asked.
class Folders {
public:
    Folders();
    ~Folders();
    Folders(const Folders&) = delete;
    Folders& operator=(const Folders&) = delete;

    // The folder `path` names; it ends in '/', or is empty for the working
    // folder.
    Folder& of(std::string_view path);

private:
    // The folder at a path that named none when first asked, where an earlier
    // rename of the run (a folder's name brought back) has put one there
    // since; else `missing`.
    Folder* cameSince(const std::string& path, Folder* missing);

    std::unordered_map<std::string, Folder*> m_bySpelling;
    std::map<FileIdentity, std::unique_ptr<Folder>> m_byIdentity;
    std::unordered_map<std::string, std::unique_ptr<Folder>> m_missing;
    std::size_t m_openAtMost = 0;
    std::size_t m_opened = 0;  // since the folders last let their descriptors go
    std::string m_lastPath;
    Folder* m_last = nullptr;
};
