#include "runs/RenameRun.h"

#include "apply/DiskView.h"
#include "apply/ListPlan.h"
#include "apply/PlanPreview.h"
#include "apply/PlanRun.h"
#include "disk/Folders.h"
#include "journal/Journal.h"
#include "journal/UndoPlan.h"
#include "listcore/RowStore.h"
#include "media/CaptureTime.h"
#include "media/HeldValues.h"
#include "runs/Output.h"
#include "runs/RowOrder.h"
#include "runs/RuleRun.h"
#include "runs/RunIntake.h"
#include "runs/RunReport.h"
#include "text/ErrorText.h"
#include "text/ReadNumber.h"

#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Shows what the plan would do, or does it: the one preview and the one
// apply of every kind of run.
int carryOut(RenamePlan& plan, const Invocation& run, Folders& folders, RunReport::Kind kind, Output& output,
             std::FILE* errors)
{
    RunReport report(plan, output, kind, run.resolve);
    if (!run.apply) {
        ListedDisk disk(folders);
        previewPlan(plan, disk, [&](const PlanStep& step, const StepResult& result) { report.previewed(step, result); });
        output.summary(report.summary(false));
        return report.allDone() ? AllDone : SomeFailed;
    }
    std::unique_ptr<JournalWriter> journal;
    if (!run.journal.empty()) {
        std::string error;
        if (!(journal = JournalWriter::create(run.journal, error))) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return BadUsage;
        }
    }
    const RunEnd end = executePlan(plan, folders, journal.get(), {},
                                   [&](const PlanStep& step, const StepResult& result) { report.applied(step, result); });
    const bool recorded = !journal || journal->finish();
    output.summary(report.summary(true));
    if (!recorded)
        std::fprintf(errors, "tolvex-rename: could not write the journal: %s; %s\n", journal->error().c_str(),
                     report.notTried() ? ("stopped before the next rename, " + std::to_string(report.notTried()) + " of "
                                          + std::to_string(report.files()) + " files not tried").c_str()
                                       : "the last outcomes are missing from it, and --undo asks the disk for them");
    return report.allDone() && recorded && !end.stopped ? AllDone : SomeFailed;
}

int undo(const Invocation& run, Folders& folders, Output& output, std::FILE* errors)
{
    std::string error;
    const std::optional<JournalContents> journal = readJournal(run.undo, error);
    if (!journal) {
        std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
        return BadUsage;
    }
    if (journal->cutOff)
        std::fprintf(errors, "tolvex-rename: %s: the last line was cut off; every whole rename before it is "
                             "taken back\n", run.undo.c_str());
    UndoPlan undo(*journal, folders);
    return carryOut(undo.plan(), run, folders, RunReport::Kind::Undo, output, errors);
}

int renameFiles(const Invocation& run, std::FILE* in, Output& output, std::FILE* errors)
{
    Folders folders;
    if (!run.undo.empty())
        return undo(run, folders, output, errors);

    RowStore rows;
    rows.setEntryForm(run.form);
    if (!run.fromJson.empty()) {
        std::string error;
        const std::optional<std::vector<PlannedName>> plan = readJsonPlan(run.fromJson, error);
        if (!plan) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return BadUsage;
        }
        takePlan(*plan, rows);
    } else {
        takeFiles(run, in, rows, folders);
    }
    sortRows(rows, run.order);
    std::vector<RowRefusal> refusals;
    try {
        refusals = runRules(rows, run.rules, &QDateTime::currentDateTime, &readCaptureTime, &readHeldValue);
    } catch (const EConvertError& error) {
        std::fprintf(errors, "tolvex-rename: %s\n", withFullStop(error.what()).c_str());
        return BadUsage;
    }
    const RowFiles files(rows);
    ListedDisk disk(folders);
    RenamePlan plan = run.resolve ? resolvedPlan(rows, files, refusals, disk) : listOrderPlan(rows, files, refusals);
    return carryOut(plan, run, folders, RunReport::Kind::Renames, output, errors);
}

} // namespace

int runRename(const Invocation& run, std::FILE* in, std::FILE* out, std::FILE* errors)
{
    Output output(out, {run.json, run.verbose, localeIsUtf8()});
    int status = renameFiles(run, in, output, errors);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(errors, "tolvex-rename: could not write the report: %s\n", std::strerror(errno));
        status = std::max(status, int(SomeFailed));
    }
    return status;
}
