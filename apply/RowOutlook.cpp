#include "apply/RowOutlook.h"

#include "apply/DiskView.h"
#include "apply/PassSimulation.h"
#include "disk/FolderNames.h"
#include "listcore/FileNames.h"
#include "listcore/RowStore.h"
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
        if (m_disk.folder(FolderOfPath(path)).rules.ignoresCase()) {
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

} // namespace

RenameOutlook outlookOfRow(const RowStore& rows, const ListRow& row)
{
    LookedUpDisk lookedUp;
    if (!isChecked(row) || !row.Data.nameChanged())
        return PassSimulation(lookedUp).next(row);
    if (const std::optional<std::vector<std::size_t>> met = rowsMeeting(rows, row, lookedUp)) {
        PassSimulation simulation(lookedUp);
        for (const std::size_t index : *met)
            simulation.next(rows.row(index));
        return simulation.next(row);
    }
    FolderNamesCache folders;
    ListedDisk listed(folders);
    PassSimulation simulation(listed, row.RowIndex + 1);
    for (std::size_t index = 0; index < row.RowIndex; ++index)
        simulation.next(rows.row(index));
    return simulation.next(row);
}
