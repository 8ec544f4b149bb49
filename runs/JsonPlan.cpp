#include "runs/JsonPlan.h"

#include "disk/WholeFile.h"
#include "text/JsonLine.h"

std::optional<std::vector<PlannedName>> readJsonPlan(const std::string& path, std::string& error)
{
    const std::optional<std::string> text = readWholeFile(path, error);
    if (!text)
        return std::nullopt;
    std::vector<PlannedName> plan;
    std::size_t number = 0;
    for (std::size_t pos = 0; pos < text->size(); pos = std::min(text->find('\n', pos), text->size()) + 1) {
        const std::string_view line = std::string_view(*text).substr(pos, text->find('\n', pos) - pos);
        ++number;
        // A line that is no object is a person's note, passed over; one that
        // begins as an object must be one.
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] != '{')
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
