#include "listcore/UriList.h"

#include <optional>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%XY" becomes the byte XY; a '%' not followed by two hex digits stays.
// Nothing for a path holding a NUL, which would end it early.
std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]);
            const int low = high < 0 ? -1 : hexValue(text[i + 2]);
            if (low >= 0) {
                c = static_cast<char>(high * 16 + low);
                i += 2;
            }
        }
        if (c == '\0')
            return std::nullopt;
        bytes.push_back(c);
    }
    return bytes;
}

// The path of a file: URL, or nothing for any other URL. Accepts
// file:///path and file://localhost/path, as file managers write them.
std::optional<std::string> localPathOf(std::string_view url)
{
    constexpr std::string_view scheme = "file://";
    if (!url.starts_with(scheme))
        return std::nullopt;
    url.remove_prefix(scheme.size());
    const std::size_t slash = url.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = url.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return std::nullopt;
    return percentDecoded(url.substr(slash));
}

} // namespace

std::vector<std::string> localPathsFromUriList(std::string_view uriList)
{
    std::vector<std::string> paths;
    while (!uriList.empty()) {
        const std::size_t end = uriList.find('\n');
        const std::string_view line = trimmed(uriList.substr(0, end));
        uriList.remove_prefix(end == std::string_view::npos ? uriList.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (std::optional<std::string> path = localPathOf(line))
            paths.push_back(std::move(*path));
    }
    return paths;
}
