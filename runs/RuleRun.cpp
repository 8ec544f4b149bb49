#include "runs/RuleRun.h"

#include "apply/ApplyReport.h"
#include "listcore/RowStore.h"

#include <algorithm>
#include <iterator>

std::vector<RowRefusal> runRules(RowStore& rows, const std::vector<CommandLineRule>& rules,
                                 const CurrentTimeClock& now, const CaptureTimeReader& captureTime)
{
    std::vector<RowRefusal> refused;
    for (const CommandLineRule& rule : rules) {
        std::vector<RowRefusal> refusals = runCommandLineRule(rows, rule, now, captureTime);
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

void addRefusals(ApplyReport& report, const RowStore& rows, const std::vector<RowRefusal>& refusals)
{
    if (refusals.empty())
        return;
    std::vector<RenameFailure> failures;
    failures.reserve(refusals.size());
    for (const RowRefusal& refusal : refusals) {
        const FileEntry& entry = rows.row(refusal.rowIndex).Data;
        failures.push_back({refusal.rowIndex, std::string(entry.FileName()), entry.newFileName(), refusal.reason});
    }
    const std::size_t before = report.failures.size();
    std::move(failures.begin(), failures.end(), std::back_inserter(report.failures));
    std::inplace_merge(report.failures.begin(), report.failures.begin() + std::ptrdiff_t(before),
                       report.failures.end(),
                       [](const RenameFailure& a, const RenameFailure& b) { return a.rowIndex < b.rowIndex; });
    report.checkedCount += refusals.size();
}
