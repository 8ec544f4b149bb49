#include "runs/RenameRun.h"

#include "apply/DeepestFirstPlan.h"
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
#include "runs/JournalHistory.h"
#include "runs/NameEditor.h"
#include "runs/Output.h"
#include "runs/RowOrder.h"
#include "runs/RuleRun.h"
#include "runs/RunIntake.h"
#include "runs/RunReport.h"
#include "runs/StateJournals.h"
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
    const auto journalFailed = [&](const char* where, const std::string& why, const std::string& consequence) {
        std::fprintf(errors, "tolvex-rename: could not write the journal%s: %s; %s\n", where, why.c_str(),
                     consequence.c_str());
    };
    std::unique_ptr<JournalWriter> journal;
    std::string journalPath = run.journal;
    // Every run that renames can be taken back, unless told otherwise; an
    // undo is taken back by running again what it undid.
    const bool inState = journalPath.empty() && !run.noJournal && kind == RunReport::Kind::Renames;
    if (inState) {
        std::string error;
        if ((journalPath = newStateJournal(error)).empty()) {
            journalFailed(" in the state folder", error, "nothing was renamed (--no-journal renames without one)");
            return SomeFailed;
        }
    }
    if (!journalPath.empty()) {
        std::string error;
        if (!(journal = JournalWriter::create(journalPath, error))) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return inState ? SomeFailed : BadUsage;
        }
    }
    std::size_t renamed = 0;
    const RunEnd end = executePlan(plan, folders, journal.get(), {}, [&](const PlanStep& step, const StepResult& result) {
        renamed += result.renamed() && step.role != PlanStep::Role::ToTemporary && step.role != PlanStep::Role::BackHome;
        report.applied(step, result);
    });
    const bool recorded = !journal || journal->finish();
    if (inState && recorded)
        noteRenamed(journalPath, renamed);
    output.summary(report.summary(true));
    if (!recorded)
        journalFailed("", journal->error(),
                      report.notTried() ? "stopped before the next rename, " + std::to_string(report.notTried()) + " of "
                                              + std::to_string(report.files()) + " files not tried"
                                        : "the last outcomes are missing from it, and --undo asks the disk for them");
    return report.allDone() && recorded && !end.stopped ? AllDone : SomeFailed;
}

int undo(const Invocation& run, Folders& folders, Output& output, std::FILE* errors)
{
    std::string error;
    const std::string path = run.undo == "last" ? lastJournal(error) : run.undo;
    const std::optional<JournalContents> journal = path.empty() ? std::nullopt : readJournal(path, error);
    if (!journal) {
        std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
        return BadUsage;
    }
    if (journal->cutOff)
        std::fprintf(errors, "tolvex-rename: %s: the last line was cut off; every whole rename before it is "
                             "taken back\n", path.c_str());
    UndoPlan undo(*journal, folders);
    const int status = carryOut(undo.plan(), run, folders, RunReport::Kind::Undo, output, errors);
    if (run.apply && status == AllDone)
        noteUndone(path);
    return status;
}

int renameFiles(const Invocation& run, std::FILE* in, Output& output, std::FILE* errors)
{
    Folders folders;
    if (!run.undo.empty())
        return undo(run, folders, output, errors);
    IntakeRefusals intakeRefusals;

    RowStore rows;
    rows.setEntryForm(run.form);
    if (!run.fromJson.empty()) {
        std::string error;
        const std::optional<std::vector<PlannedName>> plan = readJsonPlan(run.fromJson, error);
        if (!plan) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return BadUsage;
        }
        intakeRefusals = takePlan(*plan, rows, run.tree.folders);
    } else {
        intakeRefusals = takeFiles(run, in, rows, folders);
    }
    sortRows(rows, run.order, run.tree.walks());
    std::vector<RowRefusal> refusals = refusalsOf(rows, intakeRefusals);
    try {
        std::vector<RowRefusal> ruleRefusals =
            runRules(rows, run.rules, &QDateTime::currentDateTime, &readCaptureTime, &readHeldValue);
        refusals.insert(refusals.end(), std::make_move_iterator(ruleRefusals.begin()),
                        std::make_move_iterator(ruleRefusals.end()));
        std::inplace_merge(refusals.begin(), refusals.end() - std::ptrdiff_t(ruleRefusals.size()), refusals.end(),
                           [](const RowRefusal& a, const RowRefusal& b) { return a.rowIndex < b.rowIndex; });
    } catch (const EConvertError& error) {
        std::fprintf(errors, "tolvex-rename: %s\n", withFullStop(error.what()).c_str());
        return BadUsage;
    }
    if (run.edit) {
        if (const std::string error = editNames(rows); !error.empty()) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return BadUsage;
        }
    }
    const RowFiles files(rows);
    ListedDisk disk(folders);
    RenamePlan plan = run.tree.folders ? deepestFirstPlan(rows, files, refusals, run.resolve ? &disk : nullptr)
                      : run.resolve    ? resolvedPlan(rows, files, refusals, disk)
                                       : listOrderPlan(rows, files, refusals);
    return carryOut(plan, run, folders, RunReport::Kind::Renames, output, errors);
}

} // namespace

int runRename(const Invocation& run, std::FILE* in, std::FILE* out, std::FILE* errors)
{
    Output output(out, {run.json, run.verbose, localeIsUtf8()});
    int status = run.history ? showHistory(run.json, localeIsUtf8(), out, errors) : renameFiles(run, in, output, errors);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(errors, "tolvex-rename: could not write the report: %s\n", std::strerror(errno));
        status = std::max(status, int(SomeFailed));
    }
    return status;
}
