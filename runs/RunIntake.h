#pragma once

#include "runs/Invocation.h"
#include "runs/JsonPlan.h"

#include <cstdio>
#include <vector>

class Folders;
class RowStore;

// Takes the files of the command line and of standard input (-0) in as the
// window's drop does: folders are skipped. Where many come from one folder
// and no rule needs their times, one reading of the folder tells what each
// name is, instead of a call for each file; the preview then reads nothing
// again.
void takeFiles(const Invocation& run, std::FILE* in, RowStore& rows, Folders& folders);

// The files of a plan, each with the new name the plan gives it, whole; a
// folder is skipped as on the command line.
void takePlan(const std::vector<PlannedName>& plan, RowStore& rows);
