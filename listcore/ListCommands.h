#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class RowStore;

// Called after each path an intake took, between two files: the window
// answers its events there while a big intake runs.
using BetweenFiles = std::function<void()>;

// Appends one checked row per path, in order, inside one update batch.
void appendFiles(RowStore& rows, const std::vector<std::string>& paths, const BetweenFiles& between = {});
// The same for the paths of a drop's text/uri-list (see UriList.h); a drop
// skips folders silently.
void appendDroppedUriList(RowStore& rows, std::string_view uriList, const BetweenFiles& between = {});

// What "Check All", "Uncheck All" and "Reverse" do to every row.
enum class CheckCommand { CheckAll, UncheckAll, Reverse };

void applyCheckCommand(RowStore& rows, CheckCommand command);

// Gives every row its old name back as the proposed name.
void resetNames(RowStore& rows);
