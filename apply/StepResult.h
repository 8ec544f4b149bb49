#pragma once

#include <functional>
#include <string>
#include <string_view>

struct PlanStep;

// What became of one step of a plan, or would become of it in a preview.
struct StepResult {
    enum class Outcome : unsigned char {
        Renamed,    // or would be
        Unchanged,  // no rename: the new path is the file's own, or nothing is left to do
        Failed,     // or would fail; the file keeps its name
        NotTried,   // the run had stopped before it
    };
    Outcome outcome = Outcome::Renamed;
    std::string reason;  // why it failed, or what else an unchanged step says
    std::string note{};  // of a rename made, what else the user should hear of
    // The step's paths as the run made them, good only while the result is
    // told: who hears of a million steps need not make them again. A
    // rename made or previewed always has them; a step refused before its
    // paths were made has none.
    std::string_view oldPath{};
    std::string_view newPath{};

    bool renamed() const noexcept { return outcome == Outcome::Renamed; }
    bool failed() const noexcept { return outcome == Outcome::Failed; }
};

// Why a run refuses a rename of a path an earlier rename of it moved away,
// or gave to another file: the file there is no longer the one meant.
inline constexpr const char* kMovedEarlier = "an earlier rename of the list moves this file first";
inline constexpr const char* kTakenEarlier = "an earlier rename of the list gives this name to another file first";
inline constexpr const char* kNoLongerOnDisk = "the file is no longer on disk";

// Hears of each step of a plan, in order, with what became of it.
using StepResults = std::function<void(const PlanStep& step, const StepResult& result)>;
