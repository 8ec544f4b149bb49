#include "journal/Journal.h"

#include "disk/MoveNoReplace.h"
#include "listcore/FileNames.h"
#include "text/HexDigit.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace {

constexpr std::string_view kHeaderV1 = "# tolvex-rename journal: old path, new path, percent-encoded";
constexpr std::string_view kHeaderV2 =
    "# tolvex-rename journal 2: I n inode old new before rename n, D n or F n after; paths percent-encoded";
constexpr std::string_view kTemporaryLine = "# temporary names ";

bool keptAsIs(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::strchr("/._-~+,=@:", c) != nullptr;
}

void appendEncoded(std::string& line, std::string_view bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
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
        if (i + 2 >= text.size() || hexDigitValue(text[i + 1]) < 0 || hexDigitValue(text[i + 2]) < 0)
            return std::nullopt;
        bytes += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
        i += 2;
    }
    return bytes;
}

template <typename Number>
std::optional<Number> numberOf(std::string_view text, int base = 10)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The blank-separated words of a line.
std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    for (std::size_t pos = 0; pos <= line.size();) {
        const std::size_t blank = std::min(line.find(' ', pos), line.size());
        words.push_back(line.substr(pos, blank - pos));
        pos = blank + 1;
    }
    return words;
}

std::string systemError(const std::string& path)
{
    return path + ": " + std::strerror(errno);
}

// The folder that holds a new file, synced, so that the file's name survives
// a power loss too.
bool syncFolderOf(const std::string& path)
{
    const std::string folder(FolderOfPath(path));
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

std::unique_ptr<JournalWriter> JournalWriter::create(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = systemError(path);
        return nullptr;
    }
    std::unique_ptr<JournalWriter> writer(new JournalWriter(fd, path));
    std::string header(kHeaderV2);
    header += '\n';
    header += kTemporaryLine;
    appendEncoded(header, temporaryNamePrefix());
    header += '\n';
    if (!writer->writeSynced(header) || !syncFolderOf(path)) {
        error = writer->m_error.empty() ? systemError(path) : writer->m_error;
        return nullptr;
    }
    return writer;
}

JournalWriter::JournalWriter(int fd, std::string path)
    : m_fd(fd)
    , m_path(std::move(path))
{
}

JournalWriter::~JournalWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool JournalWriter::writeSynced(const std::string& text)
{
    if (!m_error.empty())
        return false;
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t got = ::write(m_fd, text.data() + written, text.size() - written);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            m_error = got < 0 ? systemError(m_path) : m_path + ": nothing could be written";
            return false;
        }
        written += std::size_t(got);
    }
    if (::fdatasync(m_fd) != 0) {
        m_error = systemError(m_path);
        return false;
    }
    return true;
}

bool JournalWriter::intend(std::span<const Intent> batch)
{
    std::string text = std::move(m_pending);
    m_pending.clear();
    char inode[24];
    for (const Intent& intent : batch) {
        text += "I ";
        text += std::to_string(m_next++);
        text += ' ';
        const auto end = std::to_chars(inode, inode + sizeof inode, intent.inode, 16).ptr;
        text.append(inode, end);
        text += ' ';
        appendEncoded(text, intent.oldPath);
        text += ' ';
        appendEncoded(text, intent.newPath);
        text += '\n';
    }
    return writeSynced(text);
}

void JournalWriter::noteOutcome(bool done)
{
    m_pending += done ? "D " : "F ";
    m_pending += std::to_string(m_outcome++);
    m_pending += '\n';
}

bool JournalWriter::finish()
{
    if (m_pending.empty())
        return m_error.empty();
    std::string text = std::move(m_pending);
    m_pending.clear();
    return writeSynced(text);
}

std::optional<JournalContents> readJournal(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = systemError(path);
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    JournalContents journal;
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            journal.cutOff = true;  // a write the crash or a full disk cut short
            break;
        }
        lines.push_back(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
    }
    const bool v2 = !lines.empty() && lines.front() == kHeaderV2;
    if (lines.empty() || (!v2 && lines.front() != kHeaderV1)) {
        error = path + ": not a tolvex-rename journal";
        return std::nullopt;
    }
    std::unordered_map<std::uint64_t, std::size_t> byNumber;
    for (std::size_t index = 1; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        const auto bad = [&] {
            error = path + ": line " + std::to_string(index + 1) + " is not a rename";
            return std::nullopt;
        };
        if (line.starts_with(kTemporaryLine)) {
            const std::optional<std::string> prefix = decoded(line.substr(kTemporaryLine.size()));
            if (!prefix)
                return bad();
            journal.temporaryPrefix = *prefix;
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> words = wordsOf(line);
        if (!v2) {
            std::optional<std::string> oldPath = decoded(words[0]);
            std::optional<std::string> newPath = words.size() == 2 ? decoded(words[1]) : std::nullopt;
            if (!oldPath || !newPath)
                return bad();
            journal.entries.push_back({std::move(*oldPath), std::move(*newPath), 0, JournalEntry::Outcome::Done});
            continue;
        }
        const std::optional<std::uint64_t> number = words.size() >= 2 ? numberOf<std::uint64_t>(words[1])
                                                                     : std::nullopt;
        if (!number)
            return bad();
        if (words[0] == "I" && words.size() == 5) {
            std::optional<std::uint64_t> inode = numberOf<std::uint64_t>(words[2], 16);
            std::optional<std::string> oldPath = decoded(words[3]);
            std::optional<std::string> newPath = decoded(words[4]);
            if (!inode || !oldPath || !newPath || !byNumber.emplace(*number, journal.entries.size()).second)
                return bad();
            journal.entries.push_back(
                {std::move(*oldPath), std::move(*newPath), *inode, JournalEntry::Outcome::Unknown});
        } else if ((words[0] == "D" || words[0] == "F") && words.size() == 2) {
            const auto found = byNumber.find(*number);
            if (found == byNumber.end())
                return bad();
            journal.entries[found->second].outcome =
                words[0] == "D" ? JournalEntry::Outcome::Done : JournalEntry::Outcome::Failed;
        } else {
            return bad();
        }
    }
    return journal;
}
