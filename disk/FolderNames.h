#pragma once

#include "disk/NameSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// The names one folder holds, from one reading of its listing: for questions
// about many files of a folder at once, which a single pass over the listing
// answers faster than a call to the file system for each file. Where the
// file system ignores case, names are kept and asked for folded.
class FolderNames {
public:
    enum class Kind : std::uint8_t {
        Missing,
        File,     // anything but a folder or a link
        Folder,
        Unknown,  // a link, or a file system that does not tell: ask it
    };

    explicit FolderNames(const std::string& folder);

    bool exists() const noexcept { return m_exists; }
    bool ignoresCase() const noexcept { return m_ignoresCase; }
    std::size_t size() const noexcept { return m_names.size(); }

    // The name as it is looked up: folded where case is ignored.
    std::string key(std::string_view name) const;
    // The index of the entry spelled `key`, or NameSet::npos.
    std::size_t find(std::string_view key) const { return m_names.find(key); }
    // The index of the entry the name stands for, however it is spelled
    // where case is ignored, or NameSet::npos. Every index is below
    // indexCount(), and stays the entry's.
    std::size_t indexOf(std::string_view name) const;
    std::size_t indexCount() const noexcept { return m_names.slotCount(); }
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

private:
    NameSet m_names;
    NameSet m_otherKinds;  // the entries that are no plain file, each with its Kind
    NameSet m_spellings;  // the names as spelled, where case is ignored
    bool m_exists = false;
    bool m_ignoresCase = false;
};

// The folders read so far, each once.
class FolderNamesCache {
public:
    FolderNames& of(std::string_view folder);

private:
    std::unordered_map<std::string, std::unique_ptr<FolderNames>> m_folders;
    std::string m_lastPath;
    FolderNames* m_last = nullptr;
};
