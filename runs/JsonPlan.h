#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A plan of renames a script or a person edited, in the JSON lines the
// preview prints (--json): each object with "file" and "new_name" is one
// row, its new name whole and relative to the file's folder; objects
// without them (the summary) and their other fields are passed over, and so
// are lines that are no object (a person's notes). Strings are read back to
// the very bytes --json wrote, \udcXX escapes included. Nothing, and the
// reason naming the line, when a line that begins as an object is not one.
using PlannedName = std::pair<std::string, std::string>;  // file, new name
std::optional<std::vector<PlannedName>> readJsonPlan(const std::string& path, std::string& error);
