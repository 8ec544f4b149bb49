#include "apply/RenamePass.h"

#include <cerrno>

RenameResult RenamePass::rename(const PassRename& step)
{
    if (step.kind == PassRename::Kind::Unchanged)
        return {};
    if (step.kind == PassRename::Kind::Refused)
        return RenameResult::refusal(EINVAL, step.refusal);
    if (!step.planned && m_movedAway.contains(step.oldPath))
        return RenameResult::refusal(ENOENT, kMovedEarlier);
    if (!step.planned && m_placed.contains(step.oldPath))
        return RenameResult::refusal(EEXIST, kTakenEarlier);
    RenameResult result = m_session.rename(step.oldPath, step.newPath);
    if (result.succeeded()) {
        m_movedAway.insert(step.oldPath);
        m_placed.insert(step.newPath);
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
