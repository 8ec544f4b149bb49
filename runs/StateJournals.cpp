#include "runs/StateJournals.h"

#include "disk/FolderNames.h"
#include "journal/Journal.h"
#include "text/JsonLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kSuffix = ".journal";

std::string stateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/tolvex-rename/";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/state/tolvex-rename/";
}

// Makes the folder and those it is in; the last with mode 0700.
bool makeFolder(const std::string& folder, std::string& error)
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = part + ": " + std::strerror(errno);
            return false;
        }
    }
    struct stat status;
    const bool there = ::stat(folder.c_str(), &status) == 0;
    if (!there || !S_ISDIR(status.st_mode)) {
        error = folder + ": " + std::strerror(there ? ENOTDIR : errno);
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        error = folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string aboutOf(const std::string& journal)
{
    return journal.substr(0, journal.size() - kSuffix.size()) + ".about";
}

bool appendLine(const std::string& path, const std::string& line, int flags = 0)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | flags, 0600);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    return ::close(fd) == 0 && written;
}

// The journals' names in the folder, the oldest first.
std::vector<std::string> journalNames(const std::string& folder, int& error)
{
    std::vector<std::string> names;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return names;
    }
    error = readFolder(fd, [&](std::string_view name, EntryKind) {
        if (name.ends_with(kSuffix))
            names.emplace_back(name);
    });
    ::close(fd);
    std::sort(names.begin(), names.end());
    return names;
}

std::string timeName()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
    std::snprintf(text + size, sizeof text - size, ".%09ldZ", long(now.tv_nsec));
    return text;
}

// "2025-01-31 14:05:09" in local time from a journal's name.
std::string shownTime(const std::string& name)
{
    tm utc{};
    if (!strptime(name.c_str(), "%Y%m%dT%H%M%S", &utc))
        return name;
    const time_t when = timegm(&utc);
    tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace

std::string newStateJournal(std::string& error)
{
    const std::string folder = stateFolder();
    if (!makeFolder(folder, error))
        return {};
    int failed = 0;
    const std::vector<std::string> names = journalNames(folder, failed);
    for (std::size_t i = 0; i + kJournalsKept - 1 < names.size(); ++i) {
        ::unlink((folder + names[i]).c_str());
        ::unlink(aboutOf(folder + names[i]).c_str());
    }
    std::string journal;
    for (int attempt = 0; journal.empty() || ::access(journal.c_str(), F_OK) == 0; ++attempt)
        journal = folder + timeName() + (attempt ? "-" + std::to_string(attempt) : "") + std::string(kSuffix);
    std::string line = "{\"working_folder\":";
    std::string working = workingFolder();
    if (working.size() > 1)
        working.pop_back();
    appendJsonString(line, working);
    if (!appendLine(aboutOf(journal), line + "}\n", O_CREAT | O_EXCL)) {
        error = aboutOf(journal) + ": " + std::strerror(errno);
        return {};
    }
    return journal;
}

void noteRenamed(const std::string& journal, std::size_t renamed)
{
    if (renamed == 0) {
        ::unlink(journal.c_str());
        ::unlink(aboutOf(journal).c_str());
        return;
    }
    appendLine(aboutOf(journal), "{\"renamed\":" + std::to_string(renamed) + "}\n");
}

void noteUndone(const std::string& journal)
{
    if (journal.ends_with(kSuffix))
        appendLine(aboutOf(journal), "{\"undone\":true}\n");
}

std::optional<std::vector<StateJournal>> stateJournals(std::string& error)
{
    const std::string folder = stateFolder();
    int failed = 0;
    std::vector<std::string> names = journalNames(folder, failed);
    if (failed != 0 && failed != ENOENT) {
        error = folder + ": " + std::strerror(failed);
        return std::nullopt;
    }
    std::vector<StateJournal> journals;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        StateJournal journal;
        journal.path = folder + *name;
        journal.time = shownTime(*name);
        std::ifstream about(aboutOf(journal.path), std::ios::binary);
        for (std::string line; std::getline(about, line);) {
            const std::optional<JsonFields> fields = JsonFields::read(line);
            if (!fields)
                continue;
            if (const std::string* working = fields->find("working_folder"))
                journal.workingFolder = *working;
            if (const std::string* renamed = fields->find("renamed"))
                journal.renamed = std::strtoull(renamed->c_str(), nullptr, 10);
            journal.undone = journal.undone || fields->find("undone");
        }
        std::string unread;
        if (const auto contents = journal.renamed ? std::nullopt : readJournal(journal.path, unread))
            journal.renamed = std::count_if(contents->entries.begin(), contents->entries.end(),
                                            [](const JournalEntry& entry) { return entry.outcome != JournalEntry::Outcome::Failed; });
        journals.push_back(std::move(journal));
    }
    return journals;
}
