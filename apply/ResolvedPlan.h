#pragma once

#include "apply/RenamePass.h"

#include <cstddef>
#include <string>
#include <vector>

class DiskView;

// One rename a list asks for: the file at oldPath is to be named newPath.
struct RenameRequest {
    std::string oldPath;
    std::string newPath;
    std::size_t tag = 0;  // the caller's row
};

// The renames of a list put in an order in which each new name is free when
// its turn comes, instead of list order: in a chain a→b, b→c, b→c goes
// first; a cycle (a swap, or a→b, b→c, c→a) is broken by moving one of its
// files to a temporary name in its folder first, and from there to its new
// name last. Nothing is ever replaced: a request whose new name another
// request of the list claimed first, or that a file outside the list holds,
// keeps its place at the end of the plan and fails there.
struct ResolvedPlan {
    struct Step {
        PassRename rename;        // tag: the index of its request
        bool toTemporary = false;    // the first half of a broken cycle
        bool fromTemporary = false;  // the second half
        std::size_t waitsFor = 0;    // requests that must go before it, as the plan has them
    };
    std::vector<Step> steps;
    std::size_t cycles = 0;
};

// `disk` tells which folders ignore case, so that names are compared as the
// file system compares them.
ResolvedPlan resolveRenames(const std::vector<RenameRequest>& requests, DiskView& disk);
