#include "rules/CaseRules.h"

#include "text/LetterCase.h"
#include "text/Utf8.h"

std::string lowerCaseName(std::string_view name)
{
    return LowerAscii(name);
}

std::string upperCaseName(std::string_view name)
{
    return UpperAscii(name);
}

std::string titleCaseName(std::string_view name)
{
    if (name.empty())
        return {};
    std::string result(name);
    const std::size_t firstSize = utf8::charSize(name, 0);
    result[0] = upperAscii(result[0]);
    for (std::size_t i = firstSize; i < result.size(); ++i)
        result[i] = lowerAscii(result[i]);
    return result;
}
