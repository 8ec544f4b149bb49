#include "text/FileNames.h"

#include <cstring>

namespace {

constexpr char folderSeparator = '/';

// Where the last '/' is, or npos; memrchr looks at many bytes a step, and a
// run asks this of each path many times.
std::size_t lastSeparator(std::string_view path)
{
    const void* at = path.empty() ? nullptr : ::memrchr(path.data(), folderSeparator, path.size());
    return at ? std::size_t(static_cast<const char*>(at) - path.data()) : std::string_view::npos;
}

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

std::string_view NameOfPath(std::string_view path)
{
    const auto at = lastSeparator(path);
    return at == std::string_view::npos ? path : path.substr(at + 1);
}

std::string_view FolderOfPath(std::string_view path)
{
    const auto at = lastSeparator(path);
    return at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1);
}

std::string_view ExtensionOfName(std::string_view name)
{
    return name.substr(extensionDot(name));
}

std::string_view StripExtension(std::string_view name)
{
    return name.substr(0, extensionDot(name));
}
