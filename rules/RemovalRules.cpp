#include "rules/RemovalRules.h"

#include "text/ReplaceExact.h"
#include "text/ReplaceIgnoreCase.h"

std::string replaceText(std::string_view name, std::string_view match,
                        std::string_view replacement)
{
    return ReplaceAllIgnoreCase(name, match, replacement);
}

std::string removeChars(std::string_view name, std::string_view piece)
{
    return ReplaceAllIgnoreCase(name, piece, {});
}

std::string replaceTextExactly(std::string_view name, std::string_view match, std::string_view replacement)
{
    return ReplaceAllExactly(name, match, replacement);
}

std::string removeCharsExactly(std::string_view name, std::string_view piece)
{
    return ReplaceAllExactly(name, piece, {});
}

std::string removeAllNumbers(std::string_view name)
{
    return RemoveEachChar(name, kDigitSet);
}

std::string removeAllSymbols(std::string_view name)
{
    return RemoveEachChar(name, kSymbolSet);
}
