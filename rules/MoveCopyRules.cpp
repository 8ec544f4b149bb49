#include "rules/MoveCopyRules.h"

#include "text/SubText.h"
#include "text/Utf8.h"

#include <algorithm>

namespace {

std::int64_t rangeCount(std::int32_t from, std::int32_t to)
{
    return std::int64_t{to} - from + 1;
}

} // namespace

std::string copyRange(std::string_view name, std::int32_t from, std::int32_t to,
                      Placement destination, std::int32_t position)
{
    return ApplyPlacement(name, SubText(name, from, rangeCount(from, to)), destination, position);
}

std::string moveRange(std::string_view name, std::int32_t from, std::int32_t to,
                      Placement destination, std::int32_t position)
{
    const std::string piece = SubText(name, from, rangeCount(from, to));
    if (piece.empty())
        return std::string(name);

    // The piece spans characters a .. b (1-based) of the name; in bytes
    // pieceBegin .. pieceEnd.
    const std::int64_t a = std::max<std::int64_t>(from, 1);
    const std::size_t pieceBegin = utf8::byteOffsetOfChar(name, static_cast<std::size_t>(a - 1));
    const std::size_t pieceEnd = pieceBegin + piece.size();
    std::string rest(name.substr(0, pieceBegin));
    rest.append(name.substr(pieceEnd));

    std::size_t destinationInRest = 0;
    switch (destination) {
    case Placement::Prefix:
        destinationInRest = 0;
        break;
    case Placement::Suffix:
        destinationInRest = rest.size();
        break;
    case Placement::AtPosition: {
        // Behind the characters at positions 1 .. p that are not moved.
        const std::size_t split = utf8::byteOffsetOfChar(name, static_cast<std::size_t>(std::max(position, 0)));
        if (split <= pieceBegin)
            destinationInRest = split;
        else if (split <= pieceEnd)
            destinationInRest = pieceBegin;
        else
            destinationInRest = split - piece.size();
        break;
    }
    }

    std::string result;
    result.reserve(name.size());
    result.append(rest, 0, destinationInRest).append(piece).append(rest, destinationInRest);
    return result;
}
