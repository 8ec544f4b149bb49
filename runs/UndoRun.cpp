#include "runs/UndoRun.h"

#include "apply/DiskView.h"
#include "apply/PassSimulation.h"
#include "apply/RenameOutlook.h"
#include "apply/RenamePass.h"
#include "disk/FolderListing.h"
#include "disk/FolderNames.h"
#include "journal/Journal.h"
#include "listcore/FileNames.h"
#include "runs/ExitStatus.h"
#include "runs/JournalRecorder.h"
#include "runs/Output.h"

#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One rename back, and what was found on the way to it.
struct UndoStep {
    PassRename rename;   // from where the file is now, to its old path
    std::string found;   // for a rename whose outcome the journal lacks
    bool possible = true;
};

std::uint64_t inodeAt(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// The disk as it will be when the undo reaches a rename: as it is now, but
// for what undoing the journal's later renames will have moved.
class DiskAsUndone {
public:
    explicit DiskAsUndone(FolderNamesCache& folders) : m_folders(folders) {}

    // The inode of the entry spelled exactly `path`; 0 when none is there.
    std::uint64_t inodeAt(const std::string& path)
    {
        if (const auto moved = m_moved.find(path); moved != m_moved.end())
            return moved->second;
        if (!m_folders.of(FolderOfPath(path)).spelledExactly(NameOfPath(path)))
            return 0;
        const std::uint64_t inode = ::inodeAt(path);
        return inode ? inode : std::uint64_t(-1);  // there, but its inode unknown
    }

    void move(const std::string& from, const std::string& to)
    {
        const std::uint64_t inode = inodeAt(from);
        m_moved[from] = 0;
        m_moved[to] = inode;
    }

private:
    FolderNamesCache& m_folders;
    std::map<std::string, std::uint64_t> m_moved;
};

// A file of the run under one of its temporary names in `folder`: the one
// with the inode, or the only one.
std::string temporaryHolding(const std::string& folder, const std::string& prefix, std::uint64_t inode,
                             DiskAsUndone& disk)
{
    if (prefix.empty())
        return {};
    std::vector<std::string> names;
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    readFolder(fd, [&](std::string_view name, EntryKind) {
        if (name.starts_with(prefix))
            names.emplace_back(name);
    });
    ::close(fd);
    std::erase_if(names, [&](const std::string& name) { return disk.inodeAt(folder + name) == 0; });
    for (const std::string& name : names) {
        if (inode != 0 && disk.inodeAt(folder + name) == inode)
            return folder + name;
    }
    return names.size() == 1 ? folder + names.front() : std::string();
}

// Where a rename the journal has no outcome for left the file, on the disk
// as the undo will find it.
UndoStep resolve(const JournalEntry& entry, const std::string& prefix, DiskAsUndone& disk)
{
    const std::uint64_t atNew = disk.inodeAt(entry.newPath);
    const std::uint64_t atOld = disk.inodeAt(entry.oldPath);
    const bool known = entry.inode != 0;
    if (atNew && (known ? atNew == entry.inode : !atOld))
        return {{entry.newPath, entry.oldPath}, "the journal lacks its outcome; found under the new name"};
    if (atOld && (!known || atOld == entry.inode))
        return {{entry.newPath, entry.oldPath}, "the journal lacks its outcome; it kept its old name", false};
    const std::string held = temporaryHolding(std::string(FolderOfPath(entry.oldPath)), prefix, entry.inode, disk);
    if (!held.empty())
        return {{held, entry.oldPath}, "the journal lacks its outcome; found under the temporary name " + held};
    if (atOld && atNew)
        return {{entry.newPath, entry.oldPath}, "the journal lacks its outcome; found under neither name, only "
                                                "other files under both; left as it is", false};
    return {{entry.newPath, entry.oldPath}, "the journal lacks its outcome; found under neither name"};
}

} // namespace

int undoJournal(const Invocation& run, Output& output, std::FILE* errors)
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

    FolderNamesCache folders;
    DiskAsUndone disk(folders);
    std::vector<UndoStep> steps;
    for (auto entry = journal->entries.rbegin(); entry != journal->entries.rend(); ++entry) {
        switch (entry->outcome) {
        case JournalEntry::Outcome::Failed:
            continue;
        case JournalEntry::Outcome::Done:
            steps.push_back({{entry->newPath, entry->oldPath}, {}});
            break;
        case JournalEntry::Outcome::Unknown:
            steps.push_back(resolve(*entry, journal->temporaryPrefix, disk));
            break;
        }
        if (steps.back().possible)
            disk.move(steps.back().rename.oldPath, steps.back().rename.newPath);
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].rename.tag = i;
        steps[i].rename.planned = true;  // the journal says which file is where
    }

    std::size_t failed = 0;
    std::size_t undone = 0;
    std::size_t kept = 0;
    if (!run.apply) {
        // Acted out in order, each step on what the ones before it did.
        ListedDisk disk(folders);
        PassSimulation simulation(disk);
        for (const UndoStep& step : steps) {
            const std::string newName(NameOfPath(step.rename.newPath));
            if (!step.possible) {
                ++kept;
                output.outlook(step.rename.oldPath, newName, "unchanged", step.found);
                continue;
            }
            const RenameOutlook seen = simulation.rename(step.rename.oldPath, step.rename.newPath, newName, true);
            failed += seen.kind == RenameOutlook::Kind::Fails;
            undone += seen.kind == RenameOutlook::Kind::Renames;
            output.outlook(step.rename.oldPath, newName,
                           seen.kind == RenameOutlook::Kind::Fails ? "fails" : "renames",
                           seen.reason.empty() ? step.found : seen.reason);
        }
        output.summary(std::to_string(undone) + " of " + std::to_string(steps.size() - kept)
                       + " renames would be undone"
                       + (failed ? ", " + std::to_string(failed) + " could not be." : std::string(".")));
        return failed == 0 ? AllDone : SomeFailed;
    }

    const std::unique_ptr<JournalRecorder> recorder = JournalRecorder::open(run.journal, output, errors);
    if (!recorder)
        return BadUsage;
    RenamePass pass(recorder.get());
    std::vector<PassRename> batch;
    const auto runBatch = [&] {
        pass.run(batch, [&](const PassRename& rename, const RenameResult& result) {
            const UndoStep& step = steps[rename.tag];
            if (!step.found.empty())
                output.note(rename.oldPath, step.found);
            ++(result.succeeded() ? undone : failed);
        });
        batch.clear();
    };
    for (const UndoStep& step : steps) {
        if (!step.possible) {
            ++kept;
            output.note(step.rename.oldPath, step.found);
            continue;
        }
        batch.push_back(step.rename);
        if (batch.size() == RenamePass::kBatchSize)
            runBatch();
    }
    runBatch();
    const bool recorded = recorder->finish();
    if (!recorded)
        std::fprintf(errors, "tolvex-rename: could not write the journal: %s; stopped before the next rename\n",
                     recorder->journalError().c_str());
    const std::size_t total = steps.size() - kept;
    output.summary(std::to_string(undone) + " of " + std::to_string(total) + " renames undone"
                   + (failed || pass.notAttempted()
                          ? ", " + std::to_string(total - undone) + " could not be."
                          : std::string(".")));
    return failed == 0 && recorded && !pass.stopped() ? AllDone : SomeFailed;
}
