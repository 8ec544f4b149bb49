#pragma once

#include "apply/RenamePlan.h"
#include "listcore/RowRefusal.h"

#include <span>
#include <string_view>

class DiskView;
class RowStore;

// The plan of a list that holds folders as well as files (--dirs): every
// rename of a deeper path before any of a shallower one, so that a folder
// is renamed after everything in it and every path stays valid while the
// run goes on; and so that an undo, taking the renames back last first,
// brings each folder's name back before what it holds. Within one depth,
// list order, or resolved as resolvedPlan() does when `resolveOn` is given.
// The refused rows come first.
RenamePlan deepestFirstPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals,
                            DiskView* resolveOn);

// How many folders deep a path lies: its parts, "." and empty ones not
// counted.
std::size_t depthOf(std::string_view path);
