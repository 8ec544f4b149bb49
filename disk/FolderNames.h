#pragma once

#include "disk/NameSet.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What a folder's listing tells of one entry, without a call per entry.
enum class EntryKind : std::uint8_t {
    File,     // anything but a folder or a link
    Folder,
    Unknown,  // a link, or a file system that does not tell
};

// Hears of the entries of a folder as its listing gives them.
using FolderEntries = std::function<void(std::string_view name, EntryKind kind)>;

// Reads the folder folderFd stands for, once: `each` gets every entry but
// "." and "..". 0, or the errno when the folder could not be read to its
// end. Every listing of a folder in the program is made here.
int readFolder(int folderFd, const FolderEntries& each);

// The names one folder holds, from one reading of its listing: for questions
// about many files of a folder at once, which a single pass over the listing
// answers faster than a call to the file system for each file. Where the
// file system ignores case, names are kept and asked for folded, each with
// the spellings that fold to it. Whoever renames in the folder may keep the
// names in step (add, remove).
class FolderNames {
public:
    enum class Kind : std::uint8_t {
        Missing,
        File,     // anything but a folder or a link
        Folder,
        Unknown,  // a link, or a file system that does not tell: ask it
    };

    // Reads the folder folderFd stands for (none where it is -1), keeping
    // its names folded where `ignoresCase`; `error` gets the errno where it
    // could not be read. `each` hears of every entry of that one reading.
    FolderNames(int folderFd, bool ignoresCase, int* error = nullptr, const FolderEntries& each = {});

    bool ignoresCase() const noexcept { return m_ignoresCase; }

    // The index of the entry the name stands for, however it is spelled
    // where case is ignored, or NameSet::npos. Every index is below
    // indexCount(), and stays the entry's.
    std::size_t indexOf(std::string_view name) const;
    // The same for a name as the folder compares names (see
    // Folder::comparedName), where the caller has its mixedHash already.
    std::size_t indexOfCompared(std::string_view compared, std::uint64_t hash) const
    {
        return m_names.find(compared, hash);
    }
    std::size_t indexCount() const noexcept { return m_names.slotCount(); }
    // The inode number the reading gave for a plain file of that exact name,
    // where case counts; 0 for any other entry, or a name added since.
    std::uint64_t listedInode(std::string_view name) const;
    // What a name is where the folder lists it as no plain file: a Folder,
    // or Unknown; else File, for a plain file and a name the folder lacks
    // alike. It asks only the few entries that are no plain file.
    Kind kindUnlessFile(std::string_view name) const;

    // Whether the folder holds an entry spelled exactly so; where case is
    // ignored, another spelling of the name may be what the folder holds.
    bool spelledExactly(std::string_view name) const
    {
        return (m_ignoresCase ? m_spellings.find(name) : m_names.find(name)) != NameSet::npos;
    }
    // Where case is ignored, whether a change of case of oldName to newName
    // (folded: `folded`) would meet another entry: one spelled exactly
    // newName, or another spelling than oldName that folds alike.
    bool collides(std::string_view oldName, std::string_view newName, std::string_view folded) const;

    void add(std::string_view name);
    void remove(std::string_view name);
    // oldName became newName, which folds alike.
    void changeCase(std::string_view oldName, std::string_view newName);

private:
    std::string key(std::string_view name) const;

    NameSet m_names;       // where case is ignored, folded, each with its count of spellings
    NameSet m_otherKinds;  // the entries that are no plain file, each with its Kind
    NameSet m_spellings;   // the names as spelled, where case is ignored
    bool m_ignoresCase = false;
};
