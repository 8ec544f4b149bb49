#include "rename/RemovalRules.h"

#include "rename/ReplaceIgnoreCase.h"

std::string ReplaceText(std::string_view name, std::string_view match,
                        std::string_view replacement)
{
    return ReplaceAllIgnoreCase(name, match, replacement);
}

std::string RemoveChars(std::string_view name, std::string_view piece)
{
    return ReplaceAllIgnoreCase(name, piece, {});
}

std::string RemoveAllNumbers(std::string_view name)
{
    return RemoveEachChar(name, kDigitSet);
}

std::string RemoveAllSymbols(std::string_view name)
{
    return RemoveEachChar(name, kSymbolSet);
}
