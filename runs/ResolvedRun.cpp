#include "runs/ResolvedRun.h"

#include "apply/DiskView.h"
#include "apply/PassSimulation.h"
#include "apply/ResolvedPlan.h"
#include "disk/RenameSession.h"
#include "listcore/FileNames.h"
#include "listcore/RowStore.h"
#include "runs/ExitStatus.h"
#include "runs/JournalRecorder.h"
#include "runs/Output.h"

#include <algorithm>

namespace {

// What the plan does with a step, in words, for the preview.
std::string planNote(const ResolvedPlan::Step& step)
{
    if (step.toTemporary)
        return "to a temporary name first, to break a cycle";
    if (step.fromTemporary)
        return "from its temporary name, last of its cycle";
    if (step.waitsFor > 0)
        return "once the file at its new name has moved";
    return {};
}

// The rows' renames, and what is told of the rows that are none.
struct Requests {
    std::vector<RenameRequest> list;
    std::size_t unchanged = 0;
    std::size_t refused = 0;
};

Requests requestsOf(RowStore& rows, const std::vector<RowRefusal>& refusals, Output& output)
{
    Requests requests;
    auto refused = refusals.begin();
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        const FileEntry& entry = row->Data;
        std::string oldPath = entry.path();
        std::string newPath = entry.newPath();
        if (refused != refusals.end() && refused->rowIndex == row->RowIndex) {
            ++requests.refused;
            output.outlook(oldPath, entry.newFileName(), "fails", refused++->reason);
        } else if (const char* refusal = refusalOfNewName(newPath)) {
            ++requests.refused;
            output.outlook(oldPath, entry.newFileName(), "fails", refusal);
        } else if (oldPath == newPath) {
            ++requests.unchanged;
            output.outlook(oldPath, entry.newFileName(), "unchanged", {});
        } else {
            requests.list.push_back({std::move(oldPath), std::move(newPath), requests.list.size()});
        }
    }
    return requests;
}

} // namespace

int runResolved(RowStore& rows, const Invocation& run, FolderNamesCache& folders,
                const std::vector<RowRefusal>& refusals, Output& output, std::FILE* errors)
{
    Requests requests = requestsOf(rows, refusals, output);
    ListedDisk disk(folders);
    const ResolvedPlan plan = resolveRenames(requests.list, disk);
    const std::size_t total = rows.rowCount();
    // A request is renamed when each of its steps is.
    std::vector<bool> failed(requests.list.size(), false);
    std::vector<bool> done(requests.list.size(), false);

    if (!run.apply) {
        PassSimulation simulation(disk);
        std::size_t waiting = 0;
        for (const ResolvedPlan::Step& step : plan.steps) {
            const PassRename& rename = step.rename;
            const RenameOutlook seen =
                simulation.rename(rename.oldPath, rename.newPath, std::string(shownNewName(rename)), rename.planned);
            const bool fails = seen.kind == RenameOutlook::Kind::Fails;
            failed[rename.tag] = failed[rename.tag] || fails;
            waiting += step.waitsFor > 0 && !step.fromTemporary;
            output.outlook(rename.oldPath, seen.newName, fails ? "fails" : "renames", seen.reason, planNote(step));
        }
        const std::size_t fails = std::size_t(std::count(failed.begin(), failed.end(), true)) + requests.refused;
        output.summary(std::to_string(total - fails - requests.unchanged) + " of " + counted(total, "file", "files")
                       + " would be renamed, " + std::to_string(fails) + " could not be; "
                       + std::to_string(waiting) + " wait for another to move, " + counted(plan.cycles, "cycle", "cycles")
                       + " would go through a temporary name; nothing was renamed (--apply renames them).");
        return fails == 0 ? AllDone : SomeFailed;
    }

    const std::unique_ptr<JournalRecorder> recorder = JournalRecorder::open(run.journal, output, errors);
    if (!recorder)
        return BadUsage;
    RenamePass pass(recorder.get());
    std::vector<PassRename> batch;
    std::vector<const ResolvedPlan::Step*> stuck;  // cycles whose last step failed
    const auto runBatch = [&](std::vector<const ResolvedPlan::Step*>& steps) {
        batch.clear();
        for (const ResolvedPlan::Step* step : steps)
            batch.push_back(step->rename);
        std::size_t next = 0;
        pass.run(batch, [&](const PassRename& rename, const RenameResult& result) {
            const ResolvedPlan::Step& step = *steps[next++];
            if (!result.succeeded()) {
                failed[rename.tag] = true;
                if (step.fromTemporary && done[rename.tag])
                    stuck.push_back(&step);
            } else if (step.toTemporary) {
                done[rename.tag] = true;  // the file is at its temporary name
            }
        });
        steps.clear();
    };
    std::vector<const ResolvedPlan::Step*> steps;
    for (const ResolvedPlan::Step& step : plan.steps) {
        steps.push_back(&step);
        if (steps.size() == RenamePass::kBatchSize)
            runBatch(steps);
    }
    runBatch(steps);
    // A file that went to a temporary name and could not go on to its new
    // one goes back to its old name, if that is still free.
    std::vector<ResolvedPlan::Step> back;
    for (const ResolvedPlan::Step* step : stuck) {
        PassRename home{step->rename.oldPath, requests.list[step->rename.tag].oldPath, step->rename.tag};
        home.planned = true;
        back.push_back({std::move(home), false, true, 0});
    }
    for (const ResolvedPlan::Step& step : back)
        steps.push_back(&step);
    runBatch(steps);

    const bool recorded = recorder->finish();
    const std::size_t fails = std::size_t(std::count(failed.begin(), failed.end(), true)) + requests.refused;
    std::string summary = "Rename Completed! " + std::to_string(total - fails - requests.unchanged) + " of "
        + counted(total, "file", "files") + " renamed";
    if (fails)
        summary += ", " + std::to_string(fails) + " could not be";
    output.summary(summary + ", " + counted(plan.cycles, "cycle", "cycles") + " through a temporary name.");
    if (!recorded)
        std::fprintf(errors, "tolvex-rename: could not write the journal: %s; stopped before the next rename\n",
                     recorder->journalError().c_str());
    return fails == 0 && recorded && !pass.stopped() ? AllDone : SomeFailed;
}
