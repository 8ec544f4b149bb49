#pragma once

#include "apply/FolderMoves.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class Folder;
class FolderNames;
class Folders;

// What a preview of renames asks of the disk as it is before any of them:
// about folders (each one Folder of the run), and whether a name is taken
// in one. Two ways to answer: from one reading of each folder (a whole
// list), or from a look at each path asked about (a few rows).
class DiskView {
public:
    explicit DiskView(Folders& folders) : m_folders(folders) {}
    virtual ~DiskView() = default;

    // `path` ends in '/' or is empty for the working folder.
    Folder& folder(std::string_view path);
    // A path as the file system tells it from others, hashed for a PathSet:
    // its folder's identity and its name, folded where the folder ignores
    // case; so two spellings of one path have one key.
    std::uint64_t key(std::string_view path);

    static constexpr std::size_t npos = std::size_t(-1);
    // What the disk says of a name in a folder: whether it holds an entry by
    // that name, spelled in any way the file system takes for it; and where
    // a reading of the folder lists it, the entry's place among all the
    // entries read, which stays its own (below listedCount()); else npos.
    // With the path's key (see key()): the name is hashed once for both.
    // `folder`: the entry is known to be a folder.
    struct Look {
        bool held = false;
        std::size_t listed = npos;
        std::uint64_t key = 0;
        bool folder = false;
    };
    Look look(Folder& folder, std::string_view name);
    virtual std::size_t listedCount() const { return 0; }
    // Whether the folder lists an entry spelled exactly so.
    bool spelledExactly(std::string_view folder, std::string_view name);
    // A rename acted out moved the folder at oldPath to newPath: what is
    // asked below newPath from now on is looked for below oldPath, where the
    // disk still has it.
    void folderMoved(std::string_view oldPath, std::string_view newPath);

protected:
    // What the disk says of `name` in `folder` (held and listed), `compared`
    // being the name as the folder compares names and `hash` its mixedHash.
    virtual Look lookUp(Folder& folder, std::string_view name, std::string_view compared, std::uint64_t hash) = 0;

    Folders& m_folders;

private:
    std::string m_compared;
    FolderMoves m_moves;
};

// Answers from one reading of each folder.
class ListedDisk : public DiskView {
public:
    using DiskView::DiskView;
    std::size_t listedCount() const override { return m_listedCount; }

protected:
    Look lookUp(Folder& folder, std::string_view name, std::string_view compared, std::uint64_t hash) override;

private:
    // Where each folder's entries start among all those read.
    std::unordered_map<const FolderNames*, std::size_t> m_firstPlace;
    std::size_t m_listedCount = 0;
    const FolderNames* m_lastNames = nullptr;
    std::size_t m_lastFirst = 0;
};

// Answers with a call to the file system for each path asked about.
class LookedUpDisk : public DiskView {
public:
    using DiskView::DiskView;

protected:
    Look lookUp(Folder& folder, std::string_view name, std::string_view compared, std::uint64_t hash) override;
};
