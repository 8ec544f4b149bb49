#include "apply/PlanRun.h"

#include "apply/PathKey.h"
#include "apply/PathSet.h"
#include "apply/PlanRecorder.h"
#include "apply/RenamePlan.h"
#include "apply/StepResult.h"
#include "disk/Folder.h"
#include "disk/FolderLocks.h"
#include "disk/Folders.h"
#include "disk/RenameSession.h"
#include "text/FileNames.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// The steps of a run made, with what each did to the paths it touched.
class Executor {
public:
    Executor(RenamePlan& plan, Folders& folders, PlanRecorder* recorder)
        : m_plan(plan), m_folders(folders), m_recorder(recorder), m_session(folders)
    {
        // Made room for once: growing a table of millions in the middle of a
        // run would hold the window for longer than a rename.
        m_paths.reserve(2 * plan.steps().size());
        if (recorder)
            takeListedMarks();
    }

    // Records the batch's renames ahead of them; false when the record
    // could not be made.
    bool record(std::size_t first, std::size_t end);
    StepResult make(std::size_t index);
    // Back-home steps for files stuck at their temporary names; false when
    // there are none.
    bool addBackHomeSteps();

    // Ends the last batch and holds the folders of the next, [first, end).
    void startBatch(std::size_t first, std::size_t end);

private:
    void takeListedMarks();
    // The old and new path the record has of the step, or null where its
    // batch was not recorded.
    const std::string* recordedPaths(std::size_t index) const
    {
        const std::size_t at = index - m_batchFirst;
        return at < m_recorded.size() ? &m_batchPaths[2 * at] : nullptr;
    }
    // The folder of a spelling, found once while the same text comes again
    // from the rows, whose folder texts are shared by the files of a folder
    // and stay put while a batch is set up. A spelling made in `buffer` (the
    // folder of a path made there, so its start) is looked up every time.
    struct LastFolder {
        const char* data = nullptr;
        std::size_t size = 0;
        Folder* folder = nullptr;
    };
    Folder& folderOf(std::string_view spelling, const std::string& buffer, LastFolder& last);
    void prepareStep(std::size_t index);
    FileMark markAt(std::size_t index, Folder& folder, const std::string& path);
    std::uint64_t key(const Folder& folder, std::string_view name) { return pathKey(folder, folder.comparedName(name, m_key)); }

    RenamePlan& m_plan;
    Folders& m_folders;
    PlanRecorder* m_recorder;
    RenameSession m_session;
    PathSet m_paths;  // the paths renamed away, and those files were put at
    std::string m_key;
    std::string m_oldPath;
    std::string m_newPath;
    std::string m_nextPath;
    FolderLocks m_locks;
    std::size_t m_nextIndex = std::size_t(-1);  // the step m_nextOldKey is of
    std::uint64_t m_nextOldKey = 0;
    std::unordered_map<std::uint32_t, FileMark> m_atTemporary;  // files of cycles, as recorded
    std::vector<FileMark> m_recorded;  // by step of the batch, as the record has them
    std::vector<std::string> m_batchPaths;  // old and new of each, their room kept from batch to batch
    std::vector<ino_t> m_listed;  // by step, the file its old path held when its folder was read
    std::size_t m_batchFirst = 0;
    bool folderHolds(std::string_view spelling);
    std::unordered_map<std::string, bool> m_verdicts;  // of the batch's folders, by spelling
    std::string m_lastSpelling;
    int m_lastVerdict = -1;  // of m_lastSpelling; -1: none yet
    std::vector<std::uint32_t> m_stuck;  // files whose cycle's second half failed
    std::unordered_set<std::uint32_t> m_aside;  // files that went to their temporary names
    bool m_backHomeAdded = false;
};

// The files the run will rename, as the readings of their folders told
// them before the first rename: a look at each spared, where a reading
// tells (see Folder::listedMark). A rename in a folder may drop its
// reading, so they are taken now.
void Executor::takeListedMarks()
{
    std::string path;
    for (std::size_t index = 0; index < m_plan.steps().size(); ++index) {
        const PlanStep& step = m_plan.steps()[index];
        if (!step.renames() || step.fromTemporary())
            continue;
        m_plan.oldPath(step, path);
        const FileMark mark = m_folders.of(FolderOfPath(path)).listedMark(NameOfPath(path));
        if (!mark.known())
            continue;
        if (m_listed.empty())
            m_listed.resize(m_plan.steps().size());
        m_listed[index] = mark.identity.inode;
    }
}

FileMark Executor::markAt(std::size_t index, Folder& folder, const std::string& path)
{
    if (index < m_listed.size() && m_listed[index] != 0)
        return FileMark{{folder.identity().device, m_listed[index]}};
    struct stat status;
    return folder.look(NameOfPath(path), status) ? FileMark::of(status, folder.rules().stableInodes()) : FileMark();
}

// Whether the folder the run opened at `spelling` is still the one the path
// names, asked once a batch: a folder swapped meanwhile stops its renames.
bool Executor::folderHolds(std::string_view spelling)
{
    if (m_lastVerdict >= 0 && spelling == m_lastSpelling)
        return m_lastVerdict > 0;
    const auto [at, added] = m_verdicts.try_emplace(std::string(spelling), true);
    if (added) {
        const Folder& folder = m_folders.of(spelling);
        at->second = !folder.exists() || folder.isAt(spelling);
    }
    m_lastSpelling = at->first;
    m_lastVerdict = at->second;
    return at->second;
}

Folder& Executor::folderOf(std::string_view spelling, const std::string& buffer, LastFolder& last)
{
    if (last.folder && spelling.data() == last.data && spelling.size() == last.size)
        return *last.folder;
    Folder& folder = m_folders.of(spelling);
    last = spelling.data() == buffer.data() ? LastFolder() : LastFolder{spelling.data(), spelling.size(), &folder};
    return folder;
}

void Executor::startBatch(std::size_t first, std::size_t end)
{
    m_verdicts.clear();
    m_lastVerdict = -1;
    m_locks.release();
    std::string buffer;
    LastFolder lastOld;
    LastFolder lastNew;
    for (std::size_t index = first; index < end; ++index) {
        const PlanStep& step = m_plan.steps()[index];
        if (!step.renames())
            continue;
        m_locks.add(folderOf(m_plan.oldFolder(step, buffer), buffer, lastOld));
        m_locks.add(folderOf(m_plan.newFolder(step, buffer), buffer, lastNew));
    }
    m_locks.take();
}

bool Executor::record(std::size_t first, std::size_t end)
{
    std::vector<RecordedStep> batch;
    batch.reserve(end - first);
    m_batchFirst = first;
    m_recorded.assign(end - first, FileMark());
    if (m_batchPaths.size() < 2 * (end - first))
        m_batchPaths.resize(2 * (end - first));
    std::string buffer;
    LastFolder lastOld;
    LastFolder lastNew;
    for (std::size_t index = first; index < end; ++index) {
        const PlanStep& step = m_plan.steps()[index];
        if (!step.renames())
            continue;
        std::string& oldPath = m_batchPaths[2 * (index - first)];
        std::string& newPath = m_batchPaths[2 * (index - first) + 1];
        m_plan.oldPath(step, oldPath);
        m_plan.newPath(step, newPath);
        Folder& from = folderOf(m_plan.oldFolder(step, buffer), buffer, lastOld);
        const FileIdentity folder = from.identity();
        const FileIdentity newFolder = folderOf(m_plan.newFolder(step, buffer), buffer, lastNew).identity();
        // A file at a temporary name got there in an earlier step: it is not
        // there yet, but it is the same file.
        FileMark file;
        if (step.fromTemporary()) {
            const auto aside = m_atTemporary.find(step.file);
            file = aside == m_atTemporary.end() ? FileMark() : aside->second;
        } else {
            file = markAt(index, from, oldPath);
            if (step.role == PlanStep::Role::ToTemporary)
                m_atTemporary[step.file] = file;
        }
        m_recorded[index - first] = file;
        batch.push_back({step, oldPath, newPath, file, folder, newFolder});
    }
    return m_recorder->beforeBatch(batch);
}

StepResult Executor::make(std::size_t index)
{
    const PlanStep& step = m_plan.steps()[index];
    switch (step.kind) {
    case PlanStep::Kind::Refused:
        return {StepResult::Outcome::Failed, std::string(m_plan.reason(index))};
    case PlanStep::Kind::Unchanged:
        return {StepResult::Outcome::Unchanged, std::string(m_plan.reason(index))};
    case PlanStep::Kind::Rename:
        break;
    }
    // The paths the record has, which the step renames by; else made in
    // kept buffers: a run of a million renames allocates none for each.
    const std::string* recordedPaths = this->recordedPaths(index);
    if (!recordedPaths) {
        if (index == m_nextIndex)
            std::swap(m_oldPath, m_nextPath);  // made while the last step was told
        else
            m_plan.oldPath(step, m_oldPath);
        m_plan.newPath(step, m_newPath);
    }
    const std::string& oldPath = recordedPaths ? recordedPaths[0] : m_oldPath;
    const std::string& newPath = recordedPaths ? recordedPaths[1] : m_newPath;
    const std::string_view fromSpelling = FolderOfPath(oldPath);
    const std::string_view toSpelling = FolderOfPath(newPath);
    const std::string_view oldName = std::string_view(oldPath).substr(fromSpelling.size());
    const std::string_view newName = std::string_view(newPath).substr(toSpelling.size());
    for (const std::string_view folder : {fromSpelling, toSpelling}) {
        if (!folderHolds(folder))
            return {StepResult::Outcome::Failed, "the folder \"" + std::string(folder) + "\" was moved or replaced during the run"};
    }
    Folder& from = m_folders.of(fromSpelling);
    Folder& to = m_folders.of(toSpelling);
    // The file there must be the one the plan means (a journal taken back)
    // and the one the record has: another program may have put another
    // there since. (Where none is there, the rename says so.)
    const FileMark expected = m_plan.files().expected(step.file);
    const FileMark recorded = index - m_batchFirst < m_recorded.size() ? m_recorded[index - m_batchFirst] : FileMark();
    for (const FileMark& mark : {expected, recorded}) {
        struct stat status;
        if (mark.known() && from.look(oldName, status) && !mark.matches(status))
            return {StepResult::Outcome::Failed, "another file has taken its name since the run looked at it"};
        if (mark.known())
            break;  // one look tells for both
    }
    const std::uint64_t oldKey = index == m_nextIndex ? m_nextOldKey : key(from, oldName);
    const std::uint64_t newKey = key(to, newName);
    m_paths.prefetch(newKey);  // looked at after the rename
    const std::uint8_t marks = step.planned ? 0 : m_paths.marks(oldKey);
    if (marks & PathSet::MovedAway)
        return {StepResult::Outcome::Failed, kMovedEarlier};
    if (marks & PathSet::Placed)
        return {StepResult::Outcome::Failed, kTakenEarlier};
    RenameResult result = m_session.rename(from, oldPath, to, newPath);
    prepareStep(index + 1);
    std::string note(m_plan.reason(index));
    if (!result.succeeded()) {
        if (step.role == PlanStep::Role::FromTemporary
            && m_aside.count(step.file))
            m_stuck.push_back(step.file);
        return {StepResult::Outcome::Failed, std::move(result.reason), std::move(note), oldPath, newPath};
    }
    if (step.role == PlanStep::Role::ToTemporary)
        m_aside.insert(step.file);
    m_paths.mark(oldKey, PathSet::MovedAway);
    m_paths.mark(newKey, PathSet::Placed);
    return {StepResult::Outcome::Renamed, {}, std::move(note), oldPath, newPath};
}

// The key of the next step's old path, its slot asked for while this step's
// report and record are made.
void Executor::prepareStep(std::size_t index)
{
    if (index >= m_plan.steps().size() || !m_plan.steps()[index].renames())
        return;
    const std::string* recordedPaths = this->recordedPaths(index);
    if (!recordedPaths)
        m_plan.oldPath(m_plan.steps()[index], m_nextPath);
    const std::string_view path = recordedPaths ? recordedPaths[0] : m_nextPath;
    const std::string_view folder = FolderOfPath(path);
    m_nextOldKey = key(m_folders.of(folder), path.substr(folder.size()));
    m_nextIndex = index;
    m_paths.prefetch(m_nextOldKey);
}

bool Executor::addBackHomeSteps()
{
    if (m_backHomeAdded || m_stuck.empty())
        return false;
    m_backHomeAdded = true;
    for (const std::uint32_t file : m_stuck)
        m_plan.addCycleStep(file, PlanStep::Role::BackHome);
    return true;
}

} // namespace

RunEnd executePlan(RenamePlan& plan, Folders& folders, PlanRecorder* recorder, const BetweenRenames& between,
                   const StepResults& each)
{
    Executor executor(plan, folders, recorder);
    RunEnd end;
    for (std::size_t first = 0; first < plan.steps().size() || executor.addBackHomeSteps();) {
        const std::size_t last = std::min(first + kBatchSize, plan.steps().size());
        executor.startBatch(first, last);
        if (!end.stopped && recorder && !executor.record(first, last))
            end.stopped = true;
        for (std::size_t index = first; index < last; ++index) {
            const PlanStep& step = plan.steps()[index];
            if (end.stopped) {
                ++end.notTried;
                each(step, {StepResult::Outcome::NotTried, {}});
                continue;
            }
            const StepResult result = executor.make(index);
            each(step, result);
            if (recorder && step.renames() && !recorder->afterStep(step, result))
                end.stopped = true;
            if (between)
                between();
        }
        first = last;
    }
    return end;
}
