#include "rules/Placement.h"

#include "text/Utf8.h"

#include <algorithm>

std::string ApplyPlacement(std::string_view name, std::string_view piece, Placement mode,
                           std::int32_t position)
{
    std::size_t split = 0;
    switch (mode) {
    case Placement::Prefix:
        split = 0;
        break;
    case Placement::Suffix:
        split = name.size();
        break;
    case Placement::AtPosition:
        split = utf8::skipChars(name, 0, static_cast<std::size_t>(std::max(position, 0)));
        break;
    }
    std::string result;
    result.reserve(name.size() + piece.size());
    result.append(name.substr(0, split)).append(piece).append(name.substr(split));
    return result;
}
