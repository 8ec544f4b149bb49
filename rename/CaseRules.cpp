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
    std::string result(name);
    const std::size_t firstSize = utf8::CharSize(name, 0);
    if (result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - ('a' - 'A'));
    for (std::size_t i = firstSize; i < result.size(); ++i) {
        if (result[i] >= 'A' && result[i] <= 'Z')
            result[i] = static_cast<char>(result[i] + ('a' - 'A'));
    }
    return result;
}
