#pragma once

#include "filelist/FileIntake.h"

#include <functional>
#include <string>
#include <vector>

class TVirtualStringTree;

// Appends one checked row per path, in order, inside one update batch.
void appendFiles(TVirtualStringTree& list, const std::vector<std::string>& paths, EntryForm form);

// The same for a drop, which skips folders silently.
void appendDroppedFiles(TVirtualStringTree& list, const std::vector<std::string>& paths, EntryForm form);

// What "Check All", "Uncheck All" and "Reverse" do to every row; None when
// none of them is selected.
enum class CheckCommand { CheckAll, UncheckAll, Reverse, None };

// Sets every row's check state as the selected command says, asking which
// one is selected anew for each row.
void applyCheckCommand(TVirtualStringTree& list, const std::function<CheckCommand()>& selected);

// Gives every row its old name back as the proposed name.
void resetNames(TVirtualStringTree& list);

// Turns every entry into the form the "Include File Extension" box asks for,
// reading the box anew for each row.
void convertEntries(TVirtualStringTree& list, const std::function<EntryForm()>& form);
