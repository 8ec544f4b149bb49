#pragma once

#include "apply/DiskView.h"
#include "apply/PathSet.h"
#include "apply/RenameOutlook.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ListRow;

// The pass acted out before it runs, rename after rename in the order the
// pass makes them, on what the disk holds and what each earlier rename will
// have done to it: which files moved away, which names they took, which
// renames fail. Each step answers what the pass will do with it.
class PassSimulation {
public:
    // `rows`: how many renames are coming, when known, so that what they did
    // is kept without growing as they come.
    explicit PassSimulation(DiskView& disk, std::size_t rows = 0) : m_disk(disk) { m_paths.reserve(rows); }

    // A row of the list, as the list's pass takes it.
    RenameOutlook next(const ListRow& row);
    // One rename of oldPath to newPath; `newName` is what the outlook shows.
    // planned: as for PassRename; its file is there when an earlier step
    // put it there, or when the disk holds it and no earlier step moved it.
    RenameOutlook rename(const std::string& oldPath, const std::string& newPath, std::string newName,
                         bool planned = false);

private:
    // What earlier renames did at a path: kept by the entry's place where a
    // folder's reading lists it, else by the path's key.
    std::uint8_t marks(const DiskView::Look& look, std::uint64_t key) const;
    void mark(const DiskView::Look& look, std::uint64_t key, PathSet::Mark mark);

    DiskView& m_disk;
    std::vector<std::uint8_t> m_listedMarks;  // by listed place
    PathSet m_paths;                          // by key, for paths no reading lists
    std::string m_folded;  // a path's key, where its folder ignores case
};
