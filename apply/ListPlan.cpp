#include "apply/ListPlan.h"

#include "apply/DiskView.h"
#include "disk/MoveNoReplace.h"
#include "disk/RenameSession.h"
#include "listcore/RowStore.h"
#include "text/FileNames.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kNone = std::size_t(-1);

// Walks the rows for a plan: refused rows become refused steps, checked
// rows go to `take`.
template <typename Take>
void forEachRow(RowStore& rows, RenamePlan& plan, std::span<const RowRefusal> refusals, Take&& take)
{
    auto refusal = refusals.begin();
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        if (refusal != refusals.end() && refusal->rowIndex == row->RowIndex)
            plan.refuse(row->RowIndex, refusal++->reason);
        else if (isChecked(*row))
            take(row->RowIndex);
    }
}

// The requests put in working order, cycles broken; see resolvedPlan.
void addResolved(RenamePlan& plan, const std::vector<std::uint32_t>& requests, DiskView& disk)
{
    const PlanFiles& files = plan.files();
    const std::size_t count = requests.size();
    std::vector<std::uint64_t> oldKeys(count);
    std::vector<std::uint64_t> newKeys(count);
    for (std::size_t i = 0; i < count; ++i) {
        oldKeys[i] = disk.key(files.path(requests[i]));
        newKeys[i] = disk.key(files.newPath(requests[i]));
    }
    // The first request for a name takes part; so does only the first
    // request of a file listed twice.
    std::unordered_map<std::uint64_t, std::size_t> byOld;
    std::unordered_map<std::uint64_t, std::size_t> byNew;
    std::vector<bool> inGraph(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (byOld.count(oldKeys[i]) || byNew.count(newKeys[i]))
            continue;
        byOld.emplace(oldKeys[i], i);
        byNew.emplace(newKeys[i], i);
        inGraph[i] = true;
    }
    // waitsFor[i]: the request that moves away the file at i's new name;
    // freeing[i]: the request that waits for i to move away.
    std::vector<std::size_t> waitsFor(count, kNone);
    std::vector<std::size_t> freeing(count, kNone);
    for (std::size_t i = 0; i < count; ++i) {
        if (!inGraph[i])
            continue;
        const auto holder = byOld.find(newKeys[i]);
        if (holder != byOld.end() && holder->second != i) {
            waitsFor[i] = holder->second;
            freeing[holder->second] = i;
        }
    }

    // The later requests of a file listed twice, by the one that takes part.
    std::unordered_multimap<std::size_t, std::size_t> again;
    for (std::size_t i = 0; i < count; ++i) {
        if (const auto first = byOld.find(oldKeys[i]); !inGraph[i] && first != byOld.end())
            again.emplace(first->second, i);
    }

    std::vector<bool> scheduled(count, false);
    const auto add = [&](std::size_t i, bool waits) {
        scheduled[i] = true;
        plan.add(requests[i], waits ? PlanStep::Role::AfterAnother : PlanStep::Role::Plain);
    };
    // Chains, from the end whose new name nothing in the list holds. A file
    // listed twice has its later requests right after its first, so that
    // what waits for it to move waits for each of them: where the first
    // fails, a later one may move it.
    for (std::size_t head = 0; head < count; ++head) {
        if (!inGraph[head] || waitsFor[head] != kNone)
            continue;
        for (std::size_t i = head; i != kNone; i = freeing[i]) {
            add(i, i != head);
            const auto [first, last] = again.equal_range(i);
            std::vector<std::size_t> later;
            for (auto it = first; it != last; ++it)
                later.push_back(it->second);
            std::sort(later.begin(), later.end());
            for (const std::size_t j : later)
                add(j, false);
        }
    }
    // What is left of the graph are cycles: the first of each, in list
    // order, steps aside to a temporary name, the rest follow, and it comes
    // back to its new name last.
    for (std::size_t start = 0; start < count; ++start) {
        if (!inGraph[start] || scheduled[start])
            continue;
        scheduled[start] = true;
        plan.addCycleStep(requests[start], PlanStep::Role::ToTemporary, privateTemporaryName());
        for (std::size_t i = freeing[start]; i != start; i = freeing[i])
            add(i, true);
        plan.addCycleStep(requests[start], PlanStep::Role::FromTemporary);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!scheduled[i])
            add(i, false);
    }
}

} // namespace

std::size_t RowFiles::count() const
{
    return m_rows.rowCount();
}

std::string RowFiles::path(std::uint32_t file) const
{
    return m_rows.row(file).Data.path();
}

std::string RowFiles::newPath(std::uint32_t file) const
{
    return m_rows.row(file).Data.newPath();
}

std::string RowFiles::shownNewName(std::uint32_t file) const
{
    return m_rows.row(file).Data.newFileName();
}

const char* RowFiles::refusalOf(std::uint32_t file) const
{
    const FileEntry& entry = m_rows.row(file).Data;
    if (!entry.nameChanged())
        return nullptr;
    // Only the new name's last part can be empty, "." or ".."; the folder
    // and the extension cannot hold a NUL.
    const std::string_view name = entry.NewName();
    const std::string_view last = NameOfPath(name);
    if (last.size() + entry.FileExt().size() > 2 && name.find('\0') == std::string_view::npos)
        return nullptr;
    return refusalOfNewName(entry.newFileName());
}

bool RowFiles::keepsPath(std::uint32_t file) const
{
    // The new path is the file's own exactly where the proposal is its name.
    return !m_rows.row(file).Data.nameChanged();
}

void RowFiles::pathInto(std::uint32_t file, std::string& buffer) const
{
    m_rows.row(file).Data.pathInto(buffer);
}

void RowFiles::newPathInto(std::uint32_t file, std::string& buffer) const
{
    m_rows.row(file).Data.newPathInto(buffer);
}

void RowFiles::shownNewNameInto(std::uint32_t file, std::string& buffer) const
{
    m_rows.row(file).Data.newFileNameInto(buffer);
}

// A row's new path ends in its whole proposed name (see FileEntry::newPath).
std::string_view RowFiles::shownNewNameIn(std::uint32_t file, std::string_view newPath, std::string&) const
{
    const FileEntry& entry = m_rows.row(file).Data;
    return newPath.substr(newPath.size() - entry.NewName().size() - entry.FileExt().size());
}

std::string_view RowFiles::folderOf(std::uint32_t file, std::string&) const
{
    return m_rows.row(file).Data.FilePath();
}

// A new name without a slash stays in the file's folder.
std::string_view RowFiles::newFolderOf(std::uint32_t file, std::string& buffer) const
{
    const FileEntry& entry = m_rows.row(file).Data;
    if (entry.NewName().find('/') == std::string_view::npos)
        return entry.FilePath();
    return PlanFiles::newFolderOf(file, buffer);
}

RenamePlan listOrderPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals)
{
    RenamePlan plan(files);
    plan.reserve(rows.rowCount());
    forEachRow(rows, plan, refusals, [&](std::uint32_t row) { plan.add(row); });
    return plan;
}

RenamePlan resolvedPlan(RowStore& rows, const PlanFiles& files, std::span<const RowRefusal> refusals,
                        DiskView& disk)
{
    RenamePlan plan(files);
    std::vector<std::uint32_t> requests;
    forEachRow(rows, plan, refusals, [&](std::uint32_t row) {
        if (plan.kindOf(row) == PlanStep::Kind::Rename)
            requests.push_back(row);
        else
            plan.add(row);
    });
    addResolved(plan, requests, disk);
    return plan;
}

void addResolvedRequests(RenamePlan& plan, const std::vector<std::uint32_t>& requests, DiskView& disk)
{
    addResolved(plan, requests, disk);
}
