#include "filelist/FileNames.h"

namespace {

constexpr char folderSeparator = '/';
constexpr const char* extensionDelimiters = "./";

// Position of the dot that starts the extension, or npos.
std::string::size_type extensionDot(const std::string& name)
{
    const auto at = name.find_last_of(extensionDelimiters);
    return at != std::string::npos && name[at] == '.' ? at : std::string::npos;
}

} // namespace

std::string NameOfPath(const std::string& path)
{
    const auto at = path.rfind(folderSeparator);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FolderOfPath(const std::string& path)
{
    const auto at = path.rfind(folderSeparator);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string ExtensionOfName(const std::string& name)
{
    const auto dot = extensionDot(name);
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string StripExtension(const std::string& name)
{
    const auto dot = extensionDot(name);
    return dot == std::string::npos ? name : name.substr(0, dot);
}
