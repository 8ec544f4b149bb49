#pragma once

#include <string>
#include <vector>

class RowStore;

// Appends one checked row per path, in order, inside one update batch. A
// drop skips folders silently.
void appendFiles(RowStore& rows, const std::vector<std::string>& paths);
void appendDroppedFiles(RowStore& rows, const std::vector<std::string>& paths);

// What "Check All", "Uncheck All" and "Reverse" do to every row.
enum class CheckCommand { CheckAll, UncheckAll, Reverse };

void applyCheckCommand(RowStore& rows, CheckCommand command);

// Gives every row its old name back as the proposed name.
void resetNames(RowStore& rows);
