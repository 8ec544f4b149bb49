#include "runs/RunReport.h"

#include "apply/RenamePlan.h"
#include "runs/Output.h"

#include <algorithm>

namespace {

// What the plan does with a step, in words, for the preview.
std::string_view roleNote(PlanStep::Role role)
{
    switch (role) {
    case PlanStep::Role::ToTemporary:
        return "to a temporary name first, to break a cycle";
    case PlanStep::Role::FromTemporary:
        return "from its temporary name, last of its cycle";
    case PlanStep::Role::AfterAnother:
        return "once the file at its new name has moved";
    case PlanStep::Role::Plain:
    case PlanStep::Role::BackHome:
        break;
    }
    return {};
}

} // namespace

RunReport::RunReport(const RenamePlan& plan, Output& output, Kind kind, bool resolved)
    : m_plan(plan)
    , m_output(output)
    , m_kind(kind)
    , m_resolved(resolved)
    , m_files(plan.files().count(), State::None)
{
}

void RunReport::note(const PlanStep& step, const StepResult& result)
{
    // By outcome: Renamed, Unchanged, Failed, NotTried.
    constexpr State kStates[] = {State::Renamed, State::Unchanged, State::Failed, State::NotTried};
    m_files[step.file] = std::max(m_files[step.file], kStates[int(result.outcome)]);
    m_waiting += step.role == PlanStep::Role::AfterAnother;
}

std::string_view RunReport::oldPathOf(const PlanStep& step, const StepResult& result)
{
    return result.oldPath.empty() ? m_plan.oldPath(step, m_oldText) : result.oldPath;
}

void RunReport::previewed(const PlanStep& step, const StepResult& result)
{
    note(step, result);
    m_output.previewed(oldPathOf(step, result), m_plan.shownNewName(step, m_newText, result.newPath), result.outcome,
                       result.reason.empty() ? result.note : result.reason, roleNote(step.role));
}

void RunReport::applied(const PlanStep& step, const StepResult& result)
{
    note(step, result);
    // Most applies tell only what went wrong: no path is made for the rest.
    if (result.outcome == StepResult::Outcome::NotTried
        || (!m_output.tellsEveryFile() && result.reason.empty() && result.note.empty() && !result.failed()))
        return;
    const std::string_view oldPath = oldPathOf(step, result);
    switch (result.outcome) {
    case StepResult::Outcome::Renamed:
        m_output.renamed(oldPath, result.newPath);
        break;
    case StepResult::Outcome::Unchanged:
        if (result.reason.empty())
            m_output.unchanged(oldPath);
        else
            m_output.note(oldPath, result.reason);
        return;
    case StepResult::Outcome::Failed:
        if (!result.note.empty())
            m_output.note(oldPath, result.note);
        m_output.failed(oldPath, m_plan.shownNewName(step, m_newText), result.reason);
        return;
    case StepResult::Outcome::NotTried:
        return;
    }
    if (!result.note.empty())
        m_output.note(oldPath, result.note);
}

std::size_t RunReport::count(State state) const
{
    return std::size_t(std::count(m_files.begin(), m_files.end(), state));
}

std::size_t RunReport::files() const
{
    return m_files.size() - count(State::None);
}

bool RunReport::allDone() const
{
    return count(State::Failed) == 0 && count(State::NotTried) == 0;
}

std::string RunReport::summary(bool applied) const
{
    const bool undo = m_kind == Kind::Undo;
    const std::size_t renamed = count(State::Renamed);
    const std::size_t failed = count(State::Failed);
    const std::size_t unchanged = count(State::Unchanged);
    const std::size_t notTried = count(State::NotTried);
    const std::string files = undo ? counted(this->files(), "rename", "renames") : counted(this->files(), "file", "files");
    const char* done = undo ? "undone" : "renamed";
    const std::string cycles = counted(m_plan.cycles(), "cycle", "cycles");
    std::string text;
    if (!applied) {
        text = std::to_string(renamed) + " of " + files + " would be " + done + ", " + std::to_string(failed)
            + " could not be";
        if (unchanged)
            text += ", " + std::to_string(unchanged) + " would stay as they are";
        if (m_resolved)
            text += "; " + std::to_string(m_waiting) + " wait for another to move, " + cycles
                + " would go through a temporary name";
        return text + "; nothing was renamed (--apply renames them).";
    }
    text = std::string(undo ? "Undo Completed! " : "Rename Completed! ") + std::to_string(renamed) + " of " + files
        + ' ' + done;
    if (failed)
        text += ", " + std::to_string(failed) + " could not be";
    if (unchanged)
        text += ", " + std::to_string(unchanged) + " stayed as they were";
    if (notTried)
        text += ", " + std::to_string(notTried) + " not tried";
    if (m_resolved)
        text += ", " + cycles + " through a temporary name";
    return text + '.';
}
