#include "apply/RenamePass.h"

#include <cerrno>

RenameResult RenamePass::rename(const PassRename& step)
{
    if (step.kind == PassRename::Kind::Unchanged)
        return {};
    if (step.kind == PassRename::Kind::Refused)
        return RenameResult::refusal(EINVAL, step.refusal);
    const std::uint64_t oldHash = PathSet::hashOf(step.oldPath);
    const std::uint8_t marks = step.planned ? 0 : m_paths.marks(oldHash);
    if (marks & PathSet::MovedAway)
        return RenameResult::refusal(ENOENT, kMovedEarlier);
    if (marks & PathSet::Placed)
        return RenameResult::refusal(EEXIST, kTakenEarlier);
    RenameResult result = m_session.rename(step.oldPath, step.newPath);
    if (result.succeeded()) {
        m_paths.mark(oldHash, PathSet::MovedAway);
        m_paths.mark(PathSet::hashOf(step.newPath), PathSet::Placed);
    }
    return result;
}

void RenamePass::run(std::span<const PassRename> batch, const Done& done)
{
    if (batch.empty())
        return;
    if (!m_stopped && m_recorder && !m_recorder->beforeBatch(batch))
        m_stopped = true;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (m_stopped) {
            m_notAttempted += batch.size() - i;
            return;
        }
        const RenameResult result = rename(batch[i]);
        done(batch[i], result);
        if (m_recorder && !m_recorder->afterRename(batch[i], result))
            m_stopped = true;
    }
}
