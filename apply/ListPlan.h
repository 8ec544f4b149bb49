#pragma once

#include "apply/RenamePlan.h"
#include "listcore/RowRefusal.h"

#include <span>
#include <vector>

class DiskView;
class RowStore;

// The files of a list's rows, each known by its row's index: where its
// entry says it is, and where its proposed name puts it.
class RowFiles : public PlanFiles {
public:
    explicit RowFiles(const RowStore& rows) : m_rows(rows) {}

    std::size_t count() const override;
    std::string path(std::uint32_t file) const override;
    std::string newPath(std::uint32_t file) const override;
    std::string shownNewName(std::uint32_t file) const override;
    const char* refusalOf(std::uint32_t file) const override;
    bool keepsPath(std::uint32_t file) const override;
    void pathInto(std::uint32_t file, std::string& buffer) const override;
    void newPathInto(std::uint32_t file, std::string& buffer) const override;
    void shownNewNameInto(std::uint32_t file, std::string& buffer) const override;
    std::string_view shownNewNameIn(std::uint32_t file, std::string_view newPath, std::string& buffer) const override;
    std::string_view folderOf(std::uint32_t file, std::string& buffer) const override;
    std::string_view newFolderOf(std::uint32_t file, std::string& buffer) const override;

private:
    const RowStore& m_rows;
};

// The plans of a list, its files known by their rows (see RowFiles). Rows
// that are not checked have no step, but for those a rule refused, which
// keep their names and are told of with the rule's reason (`refusals`, in
// list order).

// Every rename in list order, as Apply Rename makes them.
RenamePlan listOrderPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals = {});

// The renames in an order in which each new name is free when its turn
// comes, instead of list order: in a chain a→b, b→c, b→c goes first; a
// cycle (a swap, or a→b, b→c, c→a) is broken by moving one of its files to
// a temporary name in its folder first, and from there to its new name
// last. Nothing is ever replaced: a rename whose new name another rename of
// the list claimed first, or that a file outside the list holds, keeps its
// place at the end of the plan and fails there. The steps that are no
// rename come first. `disk` tells which paths name one file (see
// DiskView::key).
RenamePlan resolvedPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals,
                        DiskView& disk);

// The renames of `requests` (rows whose kindOf() is a rename) added to the
// plan in the order resolvedPlan() gives them.
void addResolvedRequests(RenamePlan& plan, const std::vector<std::uint32_t>& requests, DiskView& disk);
