#include "runs/RenameRun.h"

#include "apply/ApplyPass.h"
#include "apply/ApplyReport.h"
#include "apply/DiskView.h"
#include "apply/PassSimulation.h"
#include "apply/RenameOutlook.h"
#include "disk/FolderNames.h"
#include "disk/RenameSession.h"
#include "journal/Journal.h"
#include "listcore/FileIntake.h"
#include "listcore/FileNames.h"
#include "listcore/RowStore.h"
#include "photo/CaptureTime.h"
#include "runs/JournalRecorder.h"
#include "runs/JsonPlan.h"
#include "runs/Output.h"
#include "runs/ResolvedRun.h"
#include "runs/RowOrder.h"
#include "runs/RuleRun.h"
#include "runs/UndoRun.h"
#include "text/ErrorText.h"
#include "text/ReadNumber.h"

#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <unordered_map>
#include <sys/stat.h>

namespace {

const char* outcomeName(RenameOutlook::Kind kind)
{
    switch (kind) {
    case RenameOutlook::Kind::Unchecked:
    case RenameOutlook::Kind::Unchanged:
        return "unchanged";
    case RenameOutlook::Kind::Renames:
        return "renames";
    case RenameOutlook::Kind::Fails:
        break;
    }
    return "fails";
}

// The paths of the command line, then those of standard input, each ended
// by a NUL, as one block of bytes; an empty path is no path.
struct PathList {
    std::string bytes;

    template <typename Visit>
    void forEach(Visit&& visit) const
    {
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
            if (end > start)
                visit(std::string_view(bytes).substr(start, end - start));
            start = end + 1;
        }
    }
};

PathList pathsOf(const Invocation& run, std::FILE* in)
{
    PathList paths;
    for (const std::string& path : run.files)
        (paths.bytes += path) += '\0';
    if (!run.readNulSeparated)
        return paths;
    std::string& bytes = paths.bytes;
    constexpr std::size_t chunk = 1 << 16;
    for (std::size_t size = bytes.size();;) {
        bytes.resize(size + chunk);
        const std::size_t got = std::fread(bytes.data() + size, 1, chunk, in);
        size += got;
        if (got == 0) {
            bytes.resize(size);
            break;
        }
    }
    return paths;
}

// Whether the order or a rule of the run reads the files' own times.
bool readsFileTimes(const Invocation& run)
{
    const auto readsTimes = [](const CommandLineRule& rule) {
        const auto* date = std::get_if<AddDateTimeRule>(&rule);
        return date && date->source != DateTimeSource::CurrentTime && date->source != DateTimeSource::PictureTaken;
    };
    return run.order == RowOrder::Modified || std::any_of(run.rules.begin(), run.rules.end(), readsTimes);
}

// Takes the files in as the window's drop does: folders are skipped. Where
// many come from one folder and no rule needs their times, one reading of
// the folder tells what each name is, instead of a call for each file; the
// preview then reads nothing again.
void takeFiles(const Invocation& run, std::FILE* in, RowStore& rows, FolderNamesCache& folders)
{
    constexpr std::size_t manyFromOneFolder = 64;
    const PathList paths = pathsOf(run, in);
    std::unordered_map<std::string_view, std::size_t> perFolder;
    if (!readsFileTimes(run))
        paths.forEach([&](std::string_view path) { ++perFolder[FolderOfPath(path)]; });
    FileIntake intake(rows);
    std::string path;
    paths.forEach([&](std::string_view given) {
        path.assign(given);
        const std::string_view folder = FolderOfPath(path);
        const auto count = perFolder.find(folder);
        if (count == perFolder.end() || count->second < manyFromOneFolder) {
            intake.addDropped(path);
            return;
        }
        switch (folders.of(folder).kindUnlessFile(NameOfPath(path))) {
        case FolderNames::Kind::Missing:
        case FolderNames::Kind::File:
            intake.addLooked(path, {});
            break;
        case FolderNames::Kind::Folder:
            break;
        case FolderNames::Kind::Unknown:
            intake.addDropped(path);
            break;
        }
    });
}

// The files of a plan, each with the new name the plan gives it, whole; a
// folder is skipped as on the command line.
void takePlan(const std::vector<PlannedName>& plan, RowStore& rows)
{
    rows.setEntryForm(EntryForm::Joined);
    FileIntake intake(rows);
    for (const auto& [path, newName] : plan) {
        const std::size_t before = rows.rowCount();
        intake.addDropped(path);
        if (rows.rowCount() > before)
            rows.rowAt(before).Data.setNewName(newName);
    }
}

int preview(RowStore& rows, FolderNamesCache& folders, const std::vector<RowRefusal>& refusals, Output& output)
{
    ListedDisk disk(folders);
    PassSimulation simulation(disk, rows.rowCount());
    std::size_t renames = 0;
    std::size_t fails = 0;
    auto refusal = refusals.begin();
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (refusal != refusals.end() && refusal->rowIndex == row->RowIndex) {
            ++fails;
            output.outlook(row->Data.path(), row->Data.newFileName(), "fails", refusal++->reason);
            continue;
        }
        const RenameOutlook seen = simulation.next(*row);
        renames += seen.kind == RenameOutlook::Kind::Renames;
        fails += seen.kind == RenameOutlook::Kind::Fails;
        output.outlook(row->Data.path(), seen.newName, outcomeName(seen.kind), seen.reason);
    }
    const std::size_t unchanged = rows.rowCount() - renames - fails;
    output.summary(std::to_string(renames) + " of " + counted(rows.rowCount(), "file", "files")
                   + " would be renamed, " + std::to_string(fails) + " could not be"
                   + (unchanged ? ", " + std::to_string(unchanged) + " would stay as they are" : std::string())
                   + "; nothing was renamed (--apply renames them).");
    return fails == 0 ? AllDone : SomeFailed;
}

int apply(RowStore& rows, const Invocation& run, const std::vector<RowRefusal>& refusals, Output& output,
          std::FILE* errors)
{
    const std::unique_ptr<JournalRecorder> recorder = JournalRecorder::open(run.journal, output, errors);
    if (!recorder)
        return BadUsage;
    ApplyReport report = applyRenames(rows, recorder.get());
    for (const RowRefusal& refusal : refusals) {
        const FileEntry& entry = rows.row(refusal.rowIndex).Data;
        output.failed(entry.path(), entry.newFileName(), refusal.reason);
    }
    addRefusals(report, rows, refusals);
    const bool recorded = recorder->finish();
    std::string summary = "Rename Completed! " + std::to_string(report.renamedCount) + " of "
        + counted(report.checkedCount, "file", "files") + " renamed";
    if (!report.failures.empty())
        summary += ", " + std::to_string(report.failures.size()) + " could not be";
    if (report.unchangedCount)
        summary += ", " + std::to_string(report.unchangedCount) + " stayed as they were";
    if (report.notAttempted)
        summary += ", " + std::to_string(report.notAttempted) + " not tried";
    output.summary(summary + '.');
    if (!recorded)
        std::fprintf(errors,
                     "tolvex-rename: could not write the journal: %s; stopped before the next rename, %zu of "
                     "%zu files not tried\n",
                     recorder->journalError().c_str(), report.notAttempted, report.checkedCount);
    return report.allRenamed() && recorded && report.notAttempted == 0 ? AllDone : SomeFailed;
}

} // namespace

namespace {

int renameFiles(const Invocation& run, std::FILE* in, Output& output, std::FILE* errors)
{
    if (!run.undo.empty())
        return undoJournal(run, output, errors);

    RowStore rows;
    rows.setEntryForm(run.form);
    FolderNamesCache folders;
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
        refusals = runRules(rows, run.rules, &QDateTime::currentDateTime, &readCaptureTime);
    } catch (const EConvertError& error) {
        std::fprintf(errors, "tolvex-rename: %s\n", withFullStop(error.what()).c_str());
        return BadUsage;
    }
    if (run.resolve)
        return runResolved(rows, run, folders, refusals, output, errors);
    return run.apply ? apply(rows, run, refusals, output, errors) : preview(rows, folders, refusals, output);
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
