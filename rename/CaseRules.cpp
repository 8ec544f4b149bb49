#include "rename/CaseRules.h"

#include "rename/Text.h"
#include "rename/Utf8.h"

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
    if (result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - ('a' - 'A'));
    for (std::size_t i = firstSize; i < result.size(); ++i) {
        if (result[i] >= 'A' && result[i] <= 'Z')
            result[i] = static_cast<char>(result[i] + ('a' - 'A'));
    }
    return result;
}
