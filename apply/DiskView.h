#pragma once

#include "disk/FileSystemRules.h"

#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>

class FolderNames;
class FolderNamesCache;

// What a preview of renames asks of the disk as it is before any of them:
// about folders, and whether a name is taken in one. Two ways to answer:
// from one reading of each folder (a whole list), or from a look at each
// path asked about (a few rows).
class DiskView {
public:
    struct Folder {
        bool exists = false;
        bool writable = false;  // names can be added and removed here
        dev_t device = 0;
        FileSystemRules rules;
    };

    virtual ~DiskView() = default;
    // `path` ends in '/' or is empty for the working folder.
    const Folder& folder(std::string_view path);
    // A path as the file system tells it from others: its folder as spelled,
    // and its name folded where the folder ignores case. That is the path
    // itself where case counts; else the key is made in `folded`.
    std::string_view key(std::string_view path, std::string& folded);
    static constexpr std::size_t npos = std::size_t(-1);
    // What the disk says of a name in a folder: whether it holds an entry by
    // that name, spelled in any way the file system takes for it; and where
    // a reading of the folder lists it, the entry's place among all the
    // entries read, which stays its own (below listedCount()); else npos.
    struct Look {
        bool held = false;
        std::size_t listed = npos;
    };
    virtual Look look(std::string_view folder, std::string_view name) = 0;
    virtual std::size_t listedCount() const { return 0; }
    // Whether the folder lists an entry spelled exactly so.
    virtual bool spelledExactly(std::string_view folder, std::string_view name) = 0;

private:
    std::unordered_map<std::string, Folder> m_folders;
    std::string m_lastPath;
    const Folder* m_last = nullptr;
};

// Answers from one reading of each folder, kept in `folders`.
class ListedDisk : public DiskView {
public:
    explicit ListedDisk(FolderNamesCache& folders) : m_folders(folders) {}
    Look look(std::string_view folder, std::string_view name) override;
    std::size_t listedCount() const override { return m_listedCount; }
    bool spelledExactly(std::string_view folder, std::string_view name) override;

private:
    FolderNamesCache& m_folders;
    // Where each folder's entries start among all those read.
    std::unordered_map<const FolderNames*, std::size_t> m_firstPlace;
    std::size_t m_listedCount = 0;
    const FolderNames* m_lastNames = nullptr;
    std::size_t m_lastFirst = 0;
};

// Answers with a call to the file system for each path asked about.
class LookedUpDisk : public DiskView {
public:
    Look look(std::string_view folder, std::string_view name) override;
    bool spelledExactly(std::string_view folder, std::string_view name) override;
};
