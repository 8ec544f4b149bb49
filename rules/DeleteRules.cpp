#include "rules/DeleteRules.h"

#include "text/SubText.h"
#include "text/Utf8.h"

#include <algorithm>
#include <utility>

std::string removeFirst(std::string_view name, std::int32_t n)
{
    return SubText(name, std::int64_t{n} + 1, kToTheEnd);
}

std::string removeLast(std::string_view name, std::int32_t n)
{
    // Most names are ASCII, where the characters can be counted from the end.
    if (utf8::isAscii(name)) {
        if (n <= 0)
            return std::string(name);
        return std::string(name.substr(0, name.size() - std::min<std::size_t>(name.size(), std::size_t(n))));
    }
    return SubText(name, 0, charLength(name) - n);
}

std::string removeFromTo(std::string_view name, std::int32_t from, std::int32_t to)
{
    // Taken literally, a backwards range would repeat the characters between
    // the two positions; the user meant the same range written the other way.
    if (std::int64_t{to} < std::int64_t{from} - 1)
        std::swap(from, to);
    return SubText(name, 0, std::int64_t{from} - 1) + SubText(name, std::int64_t{to} + 1, kToTheEnd);
}
