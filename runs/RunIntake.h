#pragma once

#include "runs/Invocation.h"
#include "runs/JsonPlan.h"

#include "listcore/RowRefusal.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

class Folders;
class RowStore;

// The rows the intake took in only to tell why they cannot be renamed (a
// folder given without -R or --dirs, one the walk could not read): each
// comes unchecked, and keeps its reason here by its path.
using IntakeRefusals = std::unordered_map<std::string, std::string>;

// Takes the files of the command line and of standard input (-0) in as the
// window's drop does, but for folders: walked with -R, taken as rows of
// their own with --dirs, else reported. Where many come from one folder and
// no rule needs their times, one reading of the folder tells what each name
// is, instead of a call for each file; the preview then reads nothing
// again.
IntakeRefusals takeFiles(const Invocation& run, std::FILE* in, RowStore& rows, Folders& folders);

// The files of a plan, each with the new name the plan gives it, whole; a
// folder is a row with --dirs, else reported as on the command line.
IntakeRefusals takePlan(const std::vector<PlannedName>& plan, RowStore& rows, bool folders = false);

// The refusals of the intake in list order, the rows sorted as they will be
// renamed.
std::vector<RowRefusal> refusalsOf(RowStore& rows, const IntakeRefusals& refusals);

// Why a folder given without -R or --dirs keeps its name.
inline constexpr const char* kFolderGiven = "is a folder: -R renames what it holds, --dirs renames it too";
