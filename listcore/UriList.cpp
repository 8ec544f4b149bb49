#include "listcore/UriList.h"

#include <QByteArray>

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

// "%XY" becomes the byte XY; a '%' not followed by two hex digits stays.
// False for a text holding a NUL, raw or encoded.
bool percentDecode(std::string_view text, std::string& bytes)
{
    const QByteArray decoded = QByteArray::fromPercentEncoding(QByteArray(text.data(), qsizetype(text.size())));
    if (decoded.contains('\0'))
        return false;
    bytes.assign(decoded.constData(), std::size_t(decoded.size()));
    return true;
}

// The path of a file: URL, decoded into `path`; false for any other URL.
// Accepts file:///path and file://localhost/path, as file managers write them.
bool localPathOf(std::string_view url, std::string& path)
{
    constexpr std::string_view scheme = "file://";
    if (!url.starts_with(scheme))
        return false;
    url.remove_prefix(scheme.size());
    const std::size_t slash = url.find('/');
    if (slash == std::string_view::npos)
        return false;
    const std::string_view host = url.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return false;
    return percentDecode(url.substr(slash), path);
}

} // namespace

bool UriListReader::next(std::string& path)
{
    while (!m_rest.empty()) {
        const std::size_t end = m_rest.find('\n');
        const std::string_view line = trimmed(m_rest.substr(0, end));
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
        if (!line.empty() && line.front() != '#' && localPathOf(line, path))
            return true;
    }
    return false;
}
