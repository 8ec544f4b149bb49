#include "apply/RowOutlook.h"

#include "apply/DiskView.h"
#include "apply/PlanPreview.h"
#include "apply/ListPlan.h"
#include "disk/Folder.h"
#include "disk/Folders.h"
#include "listcore/RowStore.h"
#include "text/FileNames.h"
#include "text/LetterCase.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Past these, the rows that meet a row's names are many or form a long
// chain, and acting out the whole list before it is the quicker way.
constexpr std::size_t kMaxMet = 4096;
constexpr int kMaxScans = 6;

// Whether an entry's pieces, joined, spell `path`, without joining them.
bool spells(std::string_view path, std::string_view folder, std::string_view name, std::string_view extension)
{
    return path.size() == folder.size() + name.size() + extension.size() && path.starts_with(folder)
        && path.substr(folder.size(), name.size()) == name && path.ends_with(extension);
}

// The paths a rename touches, as the rows before it may meet them: exactly,
// and folded too where the folder ignores case.
class Watched {
public:
    explicit Watched(DiskView& disk) : m_disk(disk) {}

    void add(const std::string& path)
    {
        if (std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end())
            return;
        m_paths.push_back(path);
        if (m_disk.folder(FolderOfPath(path)).ignoresCase()) {
            m_anyFolded = true;
            m_folded.push_back(foldedName(path));
        }
    }

    bool meets(const FileEntry& entry) const
    {
        for (const std::string& path : m_paths) {
            if (spells(path, entry.FilePath(), entry.FileName(), {})
                || spells(path, entry.FilePath(), entry.NewName(), entry.FileExt()))
                return true;
        }
        if (!m_anyFolded)
            return false;
        const std::string oldPath = foldedName(entry.path());
        const std::string newPath = foldedName(entry.newPath());
        return std::any_of(m_folded.begin(), m_folded.end(),
                           [&](const std::string& path) { return path == oldPath || path == newPath; });
    }

private:
    DiskView& m_disk;
    std::vector<std::string> m_paths;
    std::vector<std::string> m_folded;
    bool m_anyFolded = false;
};

// The rows before `row` whose renames can change what happens to it: those
// that meet its paths, and those that meet theirs; nothing when they are
// too many to tell this way.
std::optional<std::vector<std::size_t>> rowsMeeting(const RowStore& rows, const ListRow& row, DiskView& disk)
{
    Watched watched(disk);
    watched.add(row.Data.path());
    watched.add(row.Data.newPath());
    std::vector<bool> met(row.RowIndex);
    std::vector<std::size_t> found;
    int scans = 0;
    for (bool grew = true; grew;) {
        if (++scans > kMaxScans)
            return std::nullopt;
        grew = false;
        for (std::size_t index = 0; index < row.RowIndex; ++index) {
            const ListRow& earlier = rows.row(index);
            if (met[index] || !isChecked(earlier) || !earlier.Data.nameChanged() || !watched.meets(earlier.Data))
                continue;
            met[index] = true;
            found.push_back(index);
            watched.add(earlier.Data.path());
            watched.add(earlier.Data.newPath());
            grew = true;
            if (found.size() > kMaxMet)
                return std::nullopt;
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// What acting out the rows, then `row`, says of `row`.
RenameOutlook actedOut(const RowStore& rows, const std::vector<std::size_t>& before, const ListRow& row,
                       DiskView& disk)
{
    const RowFiles files(rows);
    RenamePlan plan(files);
    plan.reserve(before.size() + 1);
    for (const std::size_t index : before)
        plan.add(std::uint32_t(index));
    plan.add(row.RowIndex);
    RenameOutlook outlook{RenameOutlook::Kind::Unchanged, row.Data.newFileName(), {}};
    previewPlan(plan, disk, [&](const PlanStep& step, const StepResult& result) {
        if (step.file != row.RowIndex)
            return;
        outlook.kind = result.outcome == StepResult::Outcome::Renamed ? RenameOutlook::Kind::Renames
            : result.outcome == StepResult::Outcome::Failed          ? RenameOutlook::Kind::Fails
                                                                      : RenameOutlook::Kind::Unchanged;
        outlook.reason = result.reason;
    });
    return outlook;
}

} // namespace

RenameOutlook outlookOfRow(const RowStore& rows, const ListRow& row)
{
    if (!isChecked(row))
        return {RenameOutlook::Kind::Unchecked, row.Data.newFileName(), {}};
    Folders folders;
    LookedUpDisk lookedUp(folders);
    if (!row.Data.nameChanged())
        return actedOut(rows, {}, row, lookedUp);
    if (const std::optional<std::vector<std::size_t>> met = rowsMeeting(rows, row, lookedUp))
        return actedOut(rows, *met, row, lookedUp);
    std::vector<std::size_t> before;
    before.reserve(row.RowIndex);
    for (std::size_t index = 0; index < row.RowIndex; ++index) {
        if (isChecked(rows.row(index)))
            before.push_back(index);
    }
    ListedDisk listed(folders);
    return actedOut(rows, before, row, listed);
}
