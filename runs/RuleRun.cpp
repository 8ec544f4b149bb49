#include "runs/RuleRun.h"

#include "listcore/RowStore.h"

#include <algorithm>
#include <iterator>

std::vector<RowRefusal> runRules(RowStore& rows, const std::vector<CommandLineRule>& rules,
                                 const CurrentTimeClock& now, const CaptureTimeReader& captureTime,
                                 const HeldValueReader& heldValue)
{
    std::vector<RowRefusal> refused;
    for (const CommandLineRule& rule : rules) {
        std::vector<RowRefusal> refusals = runCommandLineRule(rows, rule, now, captureTime, heldValue);
        if (refusals.empty())
            continue;
        for (const RowRefusal& refusal : refusals) {
            ListRow& row = rows.rowAt(refusal.rowIndex);
            row.CheckState = csUncheckedNormal;
            row.Data.resetNewName();
        }
        // Each pass refuses in list order, and only rows still checked.
        const std::size_t before = refused.size();
        std::move(refusals.begin(), refusals.end(), std::back_inserter(refused));
        std::inplace_merge(refused.begin(), refused.begin() + std::ptrdiff_t(before), refused.end(),
                           [](const RowRefusal& a, const RowRefusal& b) { return a.rowIndex < b.rowIndex; });
    }
    return refused;
}
