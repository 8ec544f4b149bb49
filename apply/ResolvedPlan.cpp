#include "apply/ResolvedPlan.h"

#include "apply/DiskView.h"
#include "disk/MoveNoReplace.h"
#include "listcore/FileNames.h"

#include <unordered_map>

namespace {

constexpr std::size_t kNone = std::size_t(-1);

} // namespace

ResolvedPlan resolveRenames(const std::vector<RenameRequest>& requests, DiskView& disk)
{
    const std::size_t count = requests.size();
    std::vector<std::string> oldKeys(count);
    std::vector<std::string> newKeys(count);
    std::unordered_map<std::string_view, std::size_t> byOld;
    std::unordered_map<std::string_view, std::size_t> byNew;
    std::vector<bool> inGraph(count, false);
    std::string folded;
    for (std::size_t i = 0; i < count; ++i) {
        oldKeys[i] = disk.key(requests[i].oldPath, folded);
        newKeys[i] = disk.key(requests[i].newPath, folded);
    }
    // The first request for a name takes part; so does only the first
    // request of a file listed twice.
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

    ResolvedPlan plan;
    std::vector<bool> scheduled(count, false);
    const auto add = [&](std::size_t i, std::size_t waiting) {
        scheduled[i] = true;
        plan.steps.push_back({{requests[i].oldPath, requests[i].newPath, i}, false, false, waiting});
    };
    // Chains, from the end whose new name nothing in the list holds.
    for (std::size_t head = 0; head < count; ++head) {
        if (!inGraph[head] || waitsFor[head] != kNone)
            continue;
        std::size_t waiting = 0;
        for (std::size_t i = head; i != kNone; i = freeing[i])
            add(i, waiting++);
    }
    // What is left of the graph are cycles: the first of each, in list
    // order, steps aside to a temporary name, the rest follow, and it comes
    // back to its new name last.
    for (std::size_t start = 0; start < count; ++start) {
        if (!inGraph[start] || scheduled[start])
            continue;
        ++plan.cycles;
        const RenameRequest& first = requests[start];
        const std::string temporary = std::string(FolderOfPath(first.oldPath)) + privateTemporaryName();
        scheduled[start] = true;
        plan.steps.push_back({{first.oldPath, temporary, start}, true, false, 0});
        std::size_t waiting = 1;
        for (std::size_t i = freeing[start]; i != start; i = freeing[i])
            add(i, waiting++);
        PassRename back{temporary, first.newPath, start};
        back.planned = true;
        plan.steps.push_back({std::move(back), false, true, waiting});
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!scheduled[i])
            add(i, 0);
    }
    return plan;
}
