#include "text/FileNames.h"

#include <cstring>

namespace {

constexpr char folderSeparator = '/';

// Where the extension starts: the last dot with no '/' after it.
std::size_t extensionDot(std::string_view name)
{
    const void* dot = name.empty() ? nullptr : ::memrchr(name.data(), '.', name.size());
    if (!dot)
        return name.size();
    const std::size_t at = std::size_t(static_cast<const char*>(dot) - name.data());
    return ::memchr(name.data() + at, folderSeparator, name.size() - at) ? name.size() : at;
}

} // namespace

std::string_view ExtensionOfName(std::string_view name)
{
    return name.substr(extensionDot(name));
}

std::string_view StripExtension(std::string_view name)
{
    return name.substr(0, extensionDot(name));
}
