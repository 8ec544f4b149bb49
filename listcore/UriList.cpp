#include "listcore/UriList.h"

#include "text/HexDigit.h"

#include <cstring>

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
    bytes.clear();
    while (!text.empty()) {
        const std::size_t percent = text.find('%');
        const std::string_view plain = text.substr(0, percent);
        if (std::memchr(plain.data(), '\0', plain.size()))
            return false;
        bytes.append(plain);
        if (percent == std::string_view::npos)
            break;
        text.remove_prefix(percent);
        const int high = text.size() > 2 ? hexDigitValue(text[1]) : -1;
        const int low = high < 0 ? -1 : hexDigitValue(text[2]);
        if (low < 0) {
            bytes.push_back('%');
            text.remove_prefix(1);
            continue;
        }
        if (high == 0 && low == 0)
            return false;
        bytes.push_back(static_cast<char>(high * 16 + low));
        text.remove_prefix(3);
    }
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
