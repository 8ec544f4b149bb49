#pragma once

#include "apply/StepResult.h"

#include <cstdint>
#include <string>
#include <vector>

class Output;
class RenamePlan;
struct PlanStep;

// What a run tells of its plan: a line for each step, as Output writes
// them, and its one closing sentence, which counts files (or a journal's
// renames) rather than steps: a file is renamed when every step of it was.
class RunReport {
public:
    enum class Kind { Renames, Undo };

    RunReport(const RenamePlan& plan, Output& output, Kind kind, bool resolved);

    // A step as the preview acts it out, or as the executor made it.
    void previewed(const PlanStep& step, const StepResult& result);
    void applied(const PlanStep& step, const StepResult& result);

    std::string summary(bool applied) const;
    // Whether every file was (or would be) renamed or left as it was.
    bool allDone() const;
    std::size_t files() const;
    std::size_t notTried() const { return count(State::NotTried); }

private:
    // The worst that became of a file's steps so far.
    enum class State : std::uint8_t { None, Unchanged, Renamed, NotTried, Failed };
    void note(const PlanStep& step, const StepResult& result);
    std::size_t count(State state) const;
    // The step's old path, as the run made it or made here.
    std::string_view oldPathOf(const PlanStep& step, const StepResult& result);

    const RenamePlan& m_plan;
    Output& m_output;
    Kind m_kind;
    bool m_resolved;
    std::vector<State> m_files;
    std::size_t m_waiting = 0;
    // A step's texts, kept from step to step.
    std::string m_oldText;
    std::string m_newText;
};
