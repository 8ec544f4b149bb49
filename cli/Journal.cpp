#include "cli/Journal.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {

constexpr std::string_view header = "# tolvex-rename journal: old path, new path, percent-encoded\n";

bool keptAsIs(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::strchr("/._-~+,=@:", c) != nullptr;
}

void appendEncoded(std::string& line, const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != 0 && keptAsIs(byte)) {
            line += c;
        } else {
            line += '%';
            line += hex[byte >> 4];
            line += hex[byte & 0xF];
        }
    }
}

std::optional<std::string> decoded(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1]))
            || !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
            return std::nullopt;
        bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
        i += 2;
    }
    return bytes;
}

} // namespace

std::optional<JournalWriter> JournalWriter::create(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    JournalWriter writer(fd);
    if (::write(fd, header.data(), header.size()) != ssize_t(header.size())) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return writer;
}

JournalWriter::JournalWriter(JournalWriter&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

JournalWriter::~JournalWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool JournalWriter::record(const std::string& oldPath, const std::string& newPath)
{
    std::string line;
    line.reserve(oldPath.size() + newPath.size() + 2);
    appendEncoded(line, oldPath);
    line += ' ';
    appendEncoded(line, newPath);
    line += '\n';
    return ::write(m_fd, line.data(), line.size()) == ssize_t(line.size());
}

std::optional<std::vector<JournalEntry>> readJournal(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<JournalEntry> entries;
    std::string line;
    bool first = true;
    while (std::getline(file, line)) {
        if (first && line + '\n' != header) {
            error = path + ": not a tolvex-rename journal";
            return std::nullopt;
        }
        first = false;
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t blank = line.find(' ');
        std::optional<std::string> oldPath = decoded(std::string_view(line).substr(0, blank));
        std::optional<std::string> newPath =
            blank == std::string::npos ? std::nullopt : decoded(std::string_view(line).substr(blank + 1));
        if (!oldPath || !newPath) {
            error = path + ": line " + std::to_string(entries.size() + 2) + " is not a rename";
            return std::nullopt;
        }
        entries.emplace_back(std::move(*oldPath), std::move(*newPath));
    }
    if (first) {
        error = path + ": not a tolvex-rename journal";
        return std::nullopt;
    }
    return entries;
}
