#pragma once

#include "disk/FileIdentity.h"

#include <span>
#include <string_view>

class RenamePlan;
struct PlanStep;
struct StepResult;

// One rename of a plan as a record of it needs it: where the file is, where
// it goes, and which file it is. The paths are good while the batch is told.
struct RecordedStep {
    const PlanStep& step;
    std::string_view oldPath;
    std::string_view newPath;
    FileMark file;        // unknown where the file could not be looked at
    FileIdentity folder;  // of the folder it is renamed from
    FileIdentity newFolder;
};

// Told of a run's renames as a journal needs to be: each batch before any
// rename of it is made, and the outcome of each after it. Steps that are no
// rename are never told of. Returning false stops the run before its next
// rename.
class PlanRecorder {
public:
    virtual ~PlanRecorder() = default;
    virtual bool beforeBatch(std::span<const RecordedStep> batch) = 0;
    virtual bool afterStep(const PlanStep& step, const StepResult& result) = 0;
};
