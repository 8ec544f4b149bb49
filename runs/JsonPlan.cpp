#include "runs/JsonPlan.h"

#include "text/JsonLine.h"

#include <cerrno>
#include <cstring>
#include <fstream>

std::optional<std::vector<PlannedName>> readJsonPlan(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<PlannedName> plan;
    std::string line;
    for (std::size_t number = 1; std::getline(file, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const std::optional<JsonFields> object = JsonFields::read(line);
        if (!object) {
            error = path + ": line " + std::to_string(number) + " is not a JSON object of the preview";
            return std::nullopt;
        }
        const std::string* named = object->find("file");
        const std::string* newName = object->find("new_name");
        if (!named || !newName)
            continue;
        if (named->empty()) {
            error = path + ": line " + std::to_string(number) + " names no file";
            return std::nullopt;
        }
        plan.emplace_back(*named, *newName);
    }
    return plan;
}
