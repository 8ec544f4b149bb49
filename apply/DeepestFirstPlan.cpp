#include "apply/DeepestFirstPlan.h"

#include "apply/ListPlan.h"
#include "listcore/RowStore.h"

#include <algorithm>
#include <utility>
#include <vector>

std::size_t depthOf(std::string_view path)
{
    std::size_t depth = 0;
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        depth += !part.empty() && part != ".";
        start = end + 1;
    }
    return depth;
}

RenamePlan deepestFirstPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals,
                            DiskView* resolveOn)
{
    RenamePlan plan(files);
    plan.reserve(rows.rowCount());
    std::vector<std::pair<std::size_t, std::uint32_t>> byDepth;  // depth, row
    auto refusal = refusals.begin();
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (refusal != refusals.end() && refusal->rowIndex == row->RowIndex)
            plan.refuse(row->RowIndex, refusal++->reason);
        else if (isChecked(*row))
            byDepth.emplace_back(depthOf(row->Data.path()), row->RowIndex);
    }
    std::stable_sort(byDepth.begin(), byDepth.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::uint32_t> requests;
    for (auto level = byDepth.begin(); level != byDepth.end();) {
        const auto end = std::find_if(level, byDepth.end(), [&](const auto& item) { return item.first != level->first; });
        requests.clear();
        for (auto item = level; item != end; ++item) {
            if (resolveOn && plan.kindOf(item->second) == PlanStep::Kind::Rename)
                requests.push_back(item->second);
            else
                plan.add(item->second);
        }
        if (resolveOn)
            addResolvedRequests(plan, requests, *resolveOn);
        level = end;
    }
    return plan;
}
