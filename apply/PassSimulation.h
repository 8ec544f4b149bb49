#pragma once

#include "apply/DiskView.h"
#include "apply/PathSet.h"
#include "apply/StepResult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A run's renames acted out before they are made, one after another in
// the order the run makes them, on what the disk holds and what each
// earlier rename will have done to it: which files moved away, which names
// they took, which renames fail. Each rename answers what the run will do
// with it.
class PassSimulation {
public:
    // `renames`: how many are coming, when known, so that what they did is
    // kept without growing as they come.
    explicit PassSimulation(DiskView& disk, std::size_t renames = 0) : m_disk(disk) { m_paths.reserve(renames); }

    // One rename of oldPath to newPath, whose new name the plan accepted.
    // planned: the rename knows which file is at oldPath (see PlanStep); its
    // file is there when an earlier rename put it there, or when the disk
    // holds it and no earlier rename moved it.
    StepResult rename(std::string_view oldPath, std::string_view newPath, bool planned = false);

private:
    // What earlier renames did at a path: kept by the entry's place where a
    // folder's reading lists it, else by the path's key.
    std::uint8_t marks(const DiskView::Look& look, std::uint64_t key) const;
    void mark(const DiskView::Look& look, std::uint64_t key, PathSet::Mark mark);

    DiskView& m_disk;
    std::vector<std::uint8_t> m_listedMarks;  // by listed place
    PathSet m_paths;                          // by key, for paths no reading lists
};
