#include "rename/CaseRules.h"

#include "rename/Text.h"
#include "rename/Utf8.h"

std::string LowerCaseName(std::string_view name)
{
    return LowerAscii(name);
}

std::string UpperCaseName(std::string_view name)
{
    return UpperAscii(name);
}

std::string TitleCaseName(std::string_view name)
{
    if (name.empty())
        return {};
    const std::size_t firstSize = utf8::CharSize(name, 0);
    return UpperAscii(name.substr(0, firstSize)) + LowerAscii(name.substr(firstSize));
}
