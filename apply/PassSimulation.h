#pragma once

#include "apply/DiskView.h"
#include "apply/PathSet.h"
#include "apply/StepResult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A run's renames acted out before they are made, one after another in
// the order the run makes them, on what the disk holds and what each
// earlier rename will have done to it: which files moved away, which names
// they took, which renames fail. Each rename answers what the run will do
// with it.
class PassSimulation {
public:
    explicit PassSimulation(DiskView& disk) : m_disk(disk) {}

    // One rename of oldPath to newPath, whose new name the plan accepted.
    // planned: the rename knows which file is at oldPath (see PlanStep); its
    // file is there when an earlier rename put it there, or when the disk
    // holds it and no earlier rename moved it.
    StepResult rename(std::string_view oldPath, std::string_view newPath, bool planned = false);

private:
    // What earlier renames did at a path in `folder`: kept by the entry's
    // place where a folder's reading lists it, else by the path's key among
    // the folder's other such paths. A run's renames come folder by folder,
    // and a set of one folder's stays small and near.
    std::uint8_t marks(const DiskView::Look& look, Folder& folder);
    void mark(const DiskView::Look& look, Folder& folder, PathSet::Mark mark);
    PathSet& unlisted(Folder& folder);

    DiskView& m_disk;
    std::vector<std::uint8_t> m_listedMarks;  // by listed place
    std::unordered_map<const Folder*, PathSet> m_unlisted;
    const Folder* m_lastFolder = nullptr;
    PathSet* m_lastUnlisted = nullptr;
};
