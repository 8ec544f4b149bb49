#include "journal/Journal.h"

#include "apply/StepResult.h"
#include "disk/MoveNoReplace.h"
#include "disk/WholeFile.h"
#include "text/FileNames.h"
#include "text/JsonLine.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace {

constexpr std::string_view kHeaderV1 = "# tolvex-rename journal: old path, new path, percent-encoded";
constexpr std::string_view kHeaderV2 =
    "# tolvex-rename journal 2: I n inode old new before rename n, D n or F n after; paths percent-encoded";
constexpr std::string_view kTemporaryLineV2 = "# temporary names ";

// By PlanStep::Role.
constexpr std::array<std::string_view, 5> kRoleNames{"plain", "after another", "to temporary", "from temporary",
                                                     "back home"};


template <typename Number>
std::optional<Number> numberOf(std::string_view text, int base = 10)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
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

constexpr std::size_t kLongestKey = 16;

// ,"key": (or {"key": where the object begins) in `field`, which ends after
// it; the keys are the journal's own short words. A field goes into the
// journal in one append: it writes several for each rename.
char* fieldStart(char* field, bool first, std::string_view key)
{
    assert(key.size() <= kLongestKey);
    key = key.substr(0, kLongestKey);
    *field++ = first ? '{' : ',';
    *field++ = '"';
    field = std::copy(key.begin(), key.end(), field);
    *field++ = '"';
    *field++ = ':';
    return field;
}

constexpr std::size_t kLongestNumberField = kLongestKey + 26;

// ,"key":number (or {"key":number) in `field`, which ends after it.
char* numberField(char* field, bool first, std::string_view key, std::uint64_t number)
{
    field = fieldStart(field, first, key);
    return std::to_chars(field, field + 20, number).ptr;
}

// ,"key":"text" in `field`, which ends after it; the text is one of the
// journal's own words.
char* textField(char* field, std::string_view key, std::string_view text)
{
    field = fieldStart(field, false, key);
    *field++ = '"';
    field = writeJsonText(field, text);
    *field++ = '"';
    return field;
}

// Room for every field of an intent but its paths: the keys, the numbers
// and the words.
constexpr std::size_t kLineFieldsRoom = 512;

// ,"key":number, or {"key":number where the object begins.
void appendField(std::string& text, std::string_view key, std::uint64_t number)
{
    char field[kLongestNumberField];
    text.append(field, numberField(field, text.empty() || text.back() == '\n', key, number));
}

void appendField(std::string& text, std::string_view key, std::string_view bytes)
{
    const std::size_t start = text.size();
    text.resize(start + kLongestKey + 8 + jsonTextBound(bytes.size()));
    text.resize(std::size_t(textField(text.data() + start, key, bytes) - text.data()));
}

std::string percentDecoded(std::string_view text)
{
    return QByteArray::fromPercentEncoding(QByteArray(text.data(), qsizetype(text.size()))).toStdString();
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

// A journal as its lines are read; a line that is no record says false.
struct Reading {
    JournalContents journal;
    std::unordered_map<std::uint64_t, std::size_t> byNumber;

    bool intent(std::uint64_t number, JournalEntry entry)
    {
        if (!byNumber.emplace(number, journal.entries.size()).second)
            return false;
        entry.outcome = JournalEntry::Outcome::Unknown;
        journal.entries.push_back(std::move(entry));
        return true;
    }
    bool outcome(std::uint64_t number, bool done)
    {
        const auto found = byNumber.find(number);
        if (found != byNumber.end())
            journal.entries[found->second].outcome = done ? JournalEntry::Outcome::Done : JournalEntry::Outcome::Failed;
        return found != byNumber.end();
    }
};

// "old new", percent-encoded: a rename made.
bool readV1(Reading& reading, std::string_view line)
{
    const std::vector<std::string_view> words = wordsOf(line);
    if (words.size() != 2)
        return false;
    JournalEntry& entry = reading.journal.entries.emplace_back();
    entry.oldPath = percentDecoded(words[0]);
    entry.newPath = percentDecoded(words[1]);
    return true;
}

// "I n inode old new" before rename n, "D n" or "F n" after it.
bool readV2(Reading& reading, std::string_view line)
{
    if (line.starts_with(kTemporaryLineV2)) {
        reading.journal.temporaryPrefix = percentDecoded(line.substr(kTemporaryLineV2.size()));
        return true;
    }
    const std::vector<std::string_view> words = wordsOf(line);
    const std::optional<std::uint64_t> number = words.size() >= 2 ? numberOf<std::uint64_t>(words[1]) : std::nullopt;
    const std::optional<std::uint64_t> inode = words.size() == 5 ? numberOf<std::uint64_t>(words[2], 16) : std::nullopt;
    if (number && inode && words[0] == "I") {
        JournalEntry entry;
        entry.oldPath = percentDecoded(words[3]);
        entry.newPath = percentDecoded(words[4]);
        entry.file.identity.inode = ino_t(*inode);
        return reading.intent(*number, std::move(entry));
    }
    return number && words.size() == 2 && (words[0] == "D" || words[0] == "F")
        && reading.outcome(*number, words[0] == "D");
}

bool readV3(Reading& reading, std::string_view line)
{
    const std::optional<JsonFields> fields = JsonFields::read(line);
    const auto number = [&](std::string_view key) -> std::optional<std::uint64_t> {
        const std::string* text = fields->find(key);
        return text ? numberOf<std::uint64_t>(*text) : std::nullopt;
    };
    if (!fields)
        return false;
    if (const std::string* prefix = fields->find("temporary_names")) {
        reading.journal.temporaryPrefix = *prefix;
        return true;
    }
    if (const auto done = number("done"))
        return reading.outcome(*done, true);
    if (const auto failed = number("failed"))
        return reading.outcome(*failed, false);
    const auto step = number("step");
    const auto inode = number("inode");
    const auto folder = number("folder");
    const std::string* from = fields->find("from");
    const std::string* to = fields->find("to");
    const std::string* role = fields->find("role");
    const auto roleIndex = role ? std::find(kRoleNames.begin(), kRoleNames.end(), *role) : kRoleNames.begin();
    if (!step || !inode || !folder || !from || !to || roleIndex == kRoleNames.end())
        return false;
    JournalEntry entry;
    entry.oldPath = *from;
    entry.newPath = *to;
    entry.role = PlanStep::Role(roleIndex - kRoleNames.begin());
    const std::string* inodes = fields->find("inodes");
    entry.file = {{dev_t(number("device").value_or(0)), ino_t(*inode)}, std::int64_t(number("size").value_or(0)),
                  std::int64_t(number("modified").value_or(0)), !inodes || *inodes != "unstable"};
    entry.folder = *folder;
    entry.newFolder = number("to_folder").value_or(*folder);
    return reading.intent(*step, std::move(entry));
}

using LineRead = bool (*)(Reading&, std::string_view);

// How the lines of a journal that begins with `header` are read.
LineRead readerFor(std::string_view header)
{
    if (header == kHeaderV1)
        return &readV1;
    if (header == kHeaderV2)
        return &readV2;
    const std::optional<JsonFields> fields = JsonFields::read(header);
    const std::string* name = fields ? fields->find("journal") : nullptr;
    return name && *name == "tolvex-rename" ? &readV3 : nullptr;
}

} // namespace

std::unique_ptr<JournalWriter> JournalWriter::create(const std::string& path, std::string& error)
{
    std::string here = workingFolder();
    if (here.empty()) {
        error = "the working folder cannot be told, so a journal could not name the files";
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = systemError(path);
        return nullptr;
    }
    std::unique_ptr<JournalWriter> writer(new JournalWriter(fd, path, std::move(here)));
    std::string header = R"({"journal":"tolvex-rename")";
    appendField(header, "version", 3);
    appendField(header, "temporary_names", temporaryNamePrefix());
    header += "}\n";
    if (!writer->writeSynced(header) || !syncFolderOf(path)) {
        error = writer->m_error.empty() ? systemError(path) : writer->m_error;
        writer.reset();
        ::unlink(path.c_str());
        return nullptr;
    }
    return writer;
}

JournalWriter::JournalWriter(int fd, std::string path, std::string workingFolder)
    : m_fd(fd)
    , m_journalPath(std::move(path))
{
    appendJsonText(m_workingFolderJson, workingFolder);
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
            m_error = got < 0 ? systemError(m_journalPath) : m_journalPath + ": nothing could be written";
            return false;
        }
        written += std::size_t(got);
    }
    if (::fdatasync(m_fd) != 0) {
        m_error = systemError(m_journalPath);
        return false;
    }
    return true;
}

bool JournalWriter::beforeBatch(std::span<const RecordedStep> batch)
{
    std::string text = std::move(m_pending);
    m_pending.clear();
    for (const RecordedStep& recorded : batch) {
        // Each line is written in place, in room enough for it, and then cut
        // to its size: a journal writes one for every rename.
        const std::size_t start = text.size();
        text.resize(start + kLineFieldsRoom + 2 * m_workingFolderJson.size()
                    + jsonTextBound(recorded.oldPath.size() + recorded.newPath.size()));
        char* out = numberField(text.data() + start, true, "step", m_next++);
        out = writePathField(out, "from", recorded.oldPath);
        out = writePathField(out, "to", recorded.newPath);
        out = numberField(out, false, "device", recorded.file.identity.device);
        out = numberField(out, false, "inode", recorded.file.identity.inode);
        if (!recorded.file.stableInodes) {
            out = numberField(out, false, "size", std::uint64_t(recorded.file.size));
            out = numberField(out, false, "modified", std::uint64_t(recorded.file.modified));
        }
        out = numberField(out, false, "folder", recorded.folder.inode);
        if (recorded.newFolder != recorded.folder)
            out = numberField(out, false, "to_folder", recorded.newFolder.inode);
        if (recorded.step.role != PlanStep::Role::Plain)
            out = textField(out, "role", kRoleNames[std::size_t(recorded.step.role)]);
        if (!recorded.file.stableInodes)
            out = textField(out, "inodes", "unstable");
        *out++ = '}';
        *out++ = '\n';
        text.resize(std::size_t(out - text.data()));
    }
    return writeSynced(text);
}

char* JournalWriter::writePathField(char* out, std::string_view key, std::string_view path)
{
    out = fieldStart(out, false, key);
    *out++ = '"';
    if (!path.starts_with('/'))
        out = std::copy(m_workingFolderJson.begin(), m_workingFolderJson.end(), out);
    // A folder ends at a '/', which no UTF-8 sequence holds: its text and
    // the name's are the path's text.
    const std::string_view folder = FolderOfPath(path);
    if (folder != m_lastFolder) {
        m_lastFolder = folder;
        m_lastFolderJson.clear();
        appendJsonText(m_lastFolderJson, folder);
    }
    out = std::copy(m_lastFolderJson.begin(), m_lastFolderJson.end(), out);
    out = writeJsonText(out, path.substr(folder.size()));
    *out++ = '"';
    return out;
}

bool JournalWriter::afterStep(const PlanStep&, const StepResult& result)
{
    appendField(m_pending, result.renamed() ? "done" : "failed", m_outcome++);
    m_pending += "}\n";
    return true;
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
    const std::optional<std::string> read = readWholeFile(path, error);
    if (!read)
        return std::nullopt;
    const std::string& text = *read;
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
    const LineRead readLine = lines.empty() ? nullptr : readerFor(lines.front());
    if (!readLine) {
        error = path + ": not a tolvex-rename journal";
        return std::nullopt;
    }
    Reading reading{std::move(journal), {}};
    const bool v3 = readLine == &readV3;
    for (std::size_t index = v3 ? 0 : 1; index < lines.size(); ++index) {
        const std::string_view line = lines[index];
        if (line.empty() || (!v3 && line.front() == '#' && !line.starts_with(kTemporaryLineV2)))
            continue;
        if (!readLine(reading, line)) {
            error = path + ": line " + std::to_string(index + 1) + " is not a rename";
            return std::nullopt;
        }
    }
    return std::move(reading.journal);
}

std::string workingFolder()
{
    std::string folder(256, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}
