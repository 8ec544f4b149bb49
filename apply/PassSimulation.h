#pragma once

#include "apply/PathSet.h"
#include "apply/RenameOutlook.h"

#include <string>
#include <string_view>

class DiskView;
struct ListRow;

// The pass acted out before it runs, rename after rename in the order the
// pass makes them, on what the disk holds and what each earlier rename will
// have done to it: which files moved away, which names they took, which
// renames fail. Each step answers what the pass will do with it.
class PassSimulation {
public:
    // `rows`: how many renames are coming, when known, so that what they did
    // is kept without growing as they come.
    explicit PassSimulation(DiskView& disk, std::size_t rows = 0) : m_disk(disk) { m_paths.reserve(2 * rows); }

    // A row of the list, as the list's pass takes it.
    RenameOutlook next(const ListRow& row);
    // One rename of oldPath to newPath; `newName` is what the outlook shows.
    // planned: as for PassRename; its file is there when an earlier step
    // put it there, or when the disk holds it and no earlier step moved it.
    RenameOutlook rename(const std::string& oldPath, const std::string& newPath, std::string newName,
                         bool planned = false);

private:
    DiskView& m_disk;
    PathSet m_paths;  // the files the simulated renames moved away, the names they gave files
    std::string m_folded;  // a path's key, where its folder ignores case
};
