// Random folders, random proposals, random check states, on file systems
// with and without RENAME_NOREPLACE, hard links and case, and in half of the
// cases another program writing at the same names meanwhile: whatever the
// apply pass makes of them, no file may be lost or replaced, and the list
// must say what happened.
//
// TOLVEX_NOTHING_LOST_CASES sets how many cases run (default: a quick fixed
// set), TOLVEX_NOTHING_LOST_SEED the first seed.

#include "apply/ApplyPass.h"
#include "apply/PlanRecorder.h"
#include "apply/RenamePlan.h"
#include "apply/StepResult.h"
#include "listcore/ListCommands.h"
#include "listcore/RowStore.h"
#include "tests/disk/DiskFixture.h"
#include "tests/disk/RacingWriter.h"

#include <QTest>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace {

using Random = std::mt19937;

struct DiskFile {
    std::string path;
    std::string content;
};

std::string canonical(const std::string& path)
{
    const auto slash = path.rfind('/');
    char resolved[PATH_MAX];
    if (!realpath(path.substr(0, slash + 1).c_str(), resolved))
        return path;
    return std::string(resolved) + '/' + path.substr(slash + 1);
}

// content -> canonical path of every regular file below root; a content
// found twice (a file copied instead of moved) shows as "copied" paths.
std::map<std::string, std::string> filesOnDisk(const QByteArray& root)
{
    std::map<std::string, std::string> files;
    for (const QByteArray& item : fixture::readTree(root)) {
        if (item.endsWith('/'))
            continue;
        const auto colon = item.indexOf(':');
        const std::string path = canonical((root + '/' + item.left(colon)).toStdString());
        const auto [at, added] = files.emplace(item.mid(colon + 1).toStdString(), path);
        if (!added)
            at->second = "copied to " + at->second + " and " + path;
    }
    return files;
}

// What the list held before the pass, row by row.
struct RowBefore {
    TCheckState state;
    FileEntry entry;
};

// The entry's names as a failure reports them.
std::string proposedWholeName(const FileEntry& entry)
{
    return std::string(entry.NewName()) + std::string(entry.FileExt());
}

template <typename T>
const T& pick(Random& random, const std::vector<T>& from)
{
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

bool chance(Random& random, double p)
{
    return std::bernoulli_distribution(p)(random);
}

std::string toggledCase(std::string name)
{
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    }
    if (name.starts_with("\xc3\xa9"))  // é -> É
        name[1] = '\x89';
    return name;
}

class Case {
public:
    Case(unsigned seed, const QByteArray& root) : m_random(seed), m_root(root.toStdString()) {}

    // Empty when every promise held, else what broke.
    std::string run();

private:
    void makeFolders();
    std::string proposeFor(const FileEntry& entry);
    std::string check(const std::vector<RowBefore>& before, RowStore& after, const ApplyReport& report,
                      const fixture::RacingWriter* writer);
    std::string checkNothingLost(const ApplyReport& report, const fixture::RacingWriter& writer);

    Random m_random;
    std::string m_root;
    std::vector<std::string> m_folders;  // relative, ending in '/'
    std::vector<DiskFile> m_files;
    std::map<std::string, std::string> m_initial;

    struct Move {
        std::string content, from, to;
    };
    std::map<std::size_t, Move> m_moves;  // by row
    std::string m_broken;
};

void Case::makeFolders()
{
    m_folders = {"top/", "top/sub/", "top/Sub/"};
    for (const std::string& folder : m_folders)
        mkdir((m_root + '/' + folder).c_str(), 0755);
    mkdir((m_root + "/keep").c_str(), 0755);  // the racing writer's

    const std::vector<std::string> stems{"a", "A", "b", "B", "c", "photo", "Photo", "\xc3\xa9t\xc3\xa9",
                                         "x\xff", "sub", "Sub", ".hidden"};
    const std::vector<std::string> extensions{"", ".txt", ".TXT", ".jpg"};
    const int count = std::uniform_int_distribution(1, 14)(m_random);
    for (int i = 0; i < count; ++i) {
        const std::string path =
            pick(m_random, m_folders) + pick(m_random, stems) + pick(m_random, extensions);
        const std::string full = m_root + '/' + path;
        struct stat status;
        if (lstat(full.c_str(), &status) == 0)
            continue;
        const std::string content = "file #" + std::to_string(i);
        const int fd = open(full.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            continue;
        if (write(fd, content.data(), content.size()) == ssize_t(content.size()))
            m_files.push_back({path, content});
        close(fd);
    }
}

std::string Case::proposeFor(const FileEntry& entry)
{
    const std::string own(entry.OldName());
    auto nameOfOther = [&] {
        const DiskFile& other = pick(m_random, m_files);
        std::string name = other.path.substr(other.path.rfind('/') + 1);
        if (!entry.FileExt().empty() && name.ends_with(entry.FileExt()))
            name.resize(name.size() - entry.FileExt().size());
        return name;
    };
    switch (std::uniform_int_distribution(0, 11)(m_random)) {
    case 0: return own;
    case 1:
    case 2: return nameOfOther();  // collisions, swaps and chains
    case 3: return toggledCase(own);
    case 4: return own + "-renamed";
    case 5: return "sub/" + own;
    case 6: return "../" + nameOfOther();
    case 7: return "nowhere/" + own;
    case 8: return {};
    case 9: return std::string(300, 'n');
    case 10: return "\xfe\xff" + own + "\xc3";
    default: return chance(m_random, 0.5) ? "." : "..";
    }
}

std::string Case::run()
{
    makeFolders();
    if (m_files.empty())
        return {};
    m_initial = filesOnDisk(QByteArray::fromStdString(m_root));

    // The list is made by the real intake, files in random order so that
    // chains run both ways, some twice, some not at all, and now and then a
    // file that went away after it was added.
    std::vector<std::string> paths;
    for (const DiskFile& file : m_files) {
        const int copies = chance(m_random, 0.15) ? 2 : chance(m_random, 0.9) ? 1 : 0;
        for (int i = 0; i < copies; ++i)
            paths.push_back(m_root + '/' + file.path);
    }
    if (chance(m_random, 0.2))
        paths.push_back(m_root + "/top/gone.txt");
    std::shuffle(paths.begin(), paths.end(), m_random);

    RowStore rows;
    rows.setEntryForm(chance(m_random, 0.5) ? EntryForm::Split : EntryForm::Joined);
    appendFiles(rows, paths);
    std::vector<RowBefore> before;
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
        FileEntry& entry = *rows.RowData(row);
        entry.setNewName(proposeFor(entry));
        row->CheckState = pick(m_random, std::vector{csCheckedNormal, csCheckedNormal, csUncheckedNormal,
                                                     csCheckedPressed});
        before.push_back({row->CheckState, entry});
    }

    // The writer creates files at every old and new name, and saves over
    // the old names where the pass never puts a placeholder: those that are
    // no one's new name, nor the name a change of case may have to move back
    // to. Saving over a placeholder in the instant between our check of it
    // and our rename is the one thing a file system without RENAME_NOREPLACE
    // and hard links leaves open.
    std::vector<std::string> oldPaths;
    std::vector<std::string> newPaths;
    std::set<std::string> placeholderPaths;
    for (const RowBefore& row : before) {
        oldPaths.push_back(row.entry.path());
        newPaths.push_back(row.entry.newPath());
        const auto [oldFolder, oldName] = fixture::splitLast(oldPaths.back().c_str());
        const auto [newFolder, newName] = fixture::splitLast(newPaths.back().c_str());
        placeholderPaths.insert(canonical(newPaths.back()));
        if (oldFolder == newFolder && fixture::sameIgnoringCase(oldName, newName))
            placeholderPaths.insert(canonical(oldPaths.back()));
    }
    std::vector<std::string> saveOverAt;
    for (const std::string& path : oldPaths) {
        if (!placeholderPaths.count(canonical(path)))
            saveOverAt.push_back(path);
    }
    std::vector<std::string> createAt = oldPaths;
    createAt.insert(createAt.end(), newPaths.begin(), newPaths.end());
    const bool racing = chance(m_random, 0.5);
    fixture::RacingWriter writer(m_root + "/keep/", createAt, saveOverAt, m_random());

    // Each rename as it happens: the file must be at its new name at once,
    // and (but for the writer) gone from its old one.
    struct Tracker : PlanRecorder {
        std::function<void(std::size_t row, const std::string& oldPath, const std::string& newPath)> renamed;
        std::map<std::size_t, std::pair<std::string, std::string>> paths;  // by row
        bool beforeBatch(std::span<const RecordedStep> batch) override
        {
            for (const RecordedStep& step : batch)
                paths[step.step.file] = {std::string(step.oldPath), std::string(step.newPath)};
            return true;
        }
        bool afterStep(const PlanStep& step, const StepResult& result) override
        {
            if (result.renamed())
                renamed(step.file, paths[step.file].first, paths[step.file].second);
            return true;
        }
    } track;
    track.renamed = [&](std::size_t row, const std::string& oldPath, const std::string& newPath) {
        const std::string content = fixture::readContent(QByteArray::fromStdString(newPath)).toStdString();
        struct stat status;
        if (!racing && oldPath != newPath && lstat(oldPath.c_str(), &status) == 0 && m_broken.empty())
            m_broken = "row " + std::to_string(row) + ": old name still there after " + newPath;
        m_moves[row] = {content, canonical(oldPath), canonical(newPath)};
    };

    using fixture::FileSystem;
    using fixture::HardLinks;
    const std::pair<FileSystem, HardLinks> fileSystems[] = {
        {FileSystem::Native, HardLinks::Made},
        {FileSystem::RefusesFlag, HardLinks::Made},     // link + unlink
        {FileSystem::RefusesFlag, HardLinks::Refused},  // rename over a placeholder
        {FileSystem::IgnoresCase, HardLinks::Made},
        {FileSystem::IgnoresCase, HardLinks::Refused},
    };
    const auto [fileSystem, hardLinks] = fileSystems[std::uniform_int_distribution(0, 4)(m_random)];
    fixture::StandInFileSystem standIn(fileSystem, {}, hardLinks);
    if (racing) {
        // A moment for the writer right after each link, in the middle of
        // the steps where a file once could be lost.
        fixture::g_afterLink = [] { std::this_thread::sleep_for(std::chrono::microseconds(20)); };
        writer.start();
    }
    const ApplyReport report = applyRenames(rows, &track);
    writer.stop();
    if (!m_broken.empty())
        return m_broken;
    return check(before, rows, report, racing ? &writer : nullptr);
}

std::string Case::check(const std::vector<RowBefore>& before, RowStore& after, const ApplyReport& report,
                        const fixture::RacingWriter* writer)
{
    // The files on disk are the files that were there, each at the place the
    // reported renames put it: nothing lost, replaced, copied or left behind.
    std::map<std::string, std::string> expected = m_initial;  // content -> canonical path
    std::map<std::string, std::size_t> lastMover;
    std::size_t nextFailure = 0;
    std::size_t checked = 0;
    const std::string missing = std::strerror(ENOENT);

    std::vector<const FileEntry*> entries;
    for (ListRow* row = after.FirstRow(); row; row = after.NextRow(row)) {
        const std::size_t index = row->RowIndex;
        const FileEntry& was = before[index].entry;
        const FileEntry& now = *after.RowData(row);
        entries.push_back(&now);
        const std::string where = "row " + std::to_string(index) + " (" + std::string(was.FileName()) + " -> "
            + proposedWholeName(was) + "): ";
        if (row->CheckState != before[index].state)
            return where + "check state changed";
        const bool unchanged = now.path() == was.path() && now.NewName() == was.NewName()
            && now.OldName() == was.OldName() && now.FileExt() == was.FileExt();

        if (before[index].state != csCheckedNormal) {
            if (!unchanged || m_moves.count(index))
                return where + "unchecked entry touched";
            continue;
        }
        ++checked;
        const std::string oldPath = canonical(was.path());
        const auto holder = std::find_if(expected.begin(), expected.end(),
                                         [&](const auto& file) { return file.second == oldPath; });

        if (was.path() == was.newPath() && !m_moves.count(index))
            continue;  // no rename, whether or not the file is still there
        if (const auto move = m_moves.find(index); move != m_moves.end()) {
            if (writer) {  // which file was at the old path, only the writer knows
                if (canonical(now.path()) != move->second.to || now.nameChanged())
                    return where + "entry does not name its new path";
                continue;
            }
            if (holder == expected.end() || holder->first != move->second.content)
                return where + "renamed a file that was not at its old path";
            if (move->second.from != oldPath)
                return where + "renamed from elsewhere";
            holder->second = move->second.to;
            lastMover[move->second.content] = index;
            if (canonical(now.path()) != move->second.to || now.nameChanged())
                return where + "entry does not name its renamed file";
            continue;
        }
        if (nextFailure >= report.failures.size())
            return where + "neither renamed nor reported";
        const RenameFailure& failure = report.failures[nextFailure++];
        if (failure.oldName != was.FileName() || failure.newName != proposedWholeName(was))
            return where + "failure reported under other names";
        if (!unchanged)
            return where + "failed entry changed";
        // An empty new name, "." and ".." are refused as such, whether or
        // not the file is there.
        const std::string newPath = was.newPath();
        const std::string_view newName = std::string_view(newPath).substr(newPath.rfind('/') + 1);
        const char* nameRefusal = newName.empty() ? "the new name is empty"
            : newName == "."                      ? "the new name \".\" stands for the folder itself"
            : newName == ".."                     ? "the new name \"..\" stands for the folder above"
                                                  : nullptr;
        if (nameRefusal && failure.reason != nameRefusal)
            return where + "reported as: " + failure.reason;
        // A missing file is reported as such, unless the new path is at
        // fault first (a file where a folder should be, a name too long).
        const bool newPathRefused = nameRefusal || failure.reason == std::strerror(ENOTDIR)
            || failure.reason == std::strerror(ENAMETOOLONG);
        const bool movedEarlier = failure.reason == kMovedEarlier;
        if (!writer && holder == expected.end() && failure.reason != missing && !movedEarlier && !newPathRefused)
            return where + "no file at the old path, yet: " + failure.reason;
    }
    if (nextFailure != report.failures.size() || checked != report.checkedCount)
        return "report does not add up";
    if (writer)
        return checkNothingLost(report, *writer);

    const std::map<std::string, std::string> actual = filesOnDisk(QByteArray::fromStdString(m_root));
    if (actual != expected) {
        std::string diff = "disk differs from what was reported:";
        for (const RenameFailure& failure : report.failures)
            diff += "\n  failed " + failure.oldName + " -> " + failure.newName + ": " + failure.reason;
        for (const auto& [content, path] : actual)
            diff += "\n  on disk " + content + " at " + path;
        for (const auto& [content, path] : expected)
            diff += "\n  expected " + content + " at " + path;
        return diff;
    }
    // A renamed entry names its file, unless a later row moved that file on.
    for (const auto& [content, index] : lastMover) {
        if (canonical(entries[index]->path()) != actual.at(content))
            return "row " + std::to_string(index) + " lost track of its file";
    }
    return {};
}

// With another program at work no place is certain, but every file that was
// there or that it wrote is still somewhere, no placeholder is left behind,
// and a file left under one of our private names is reported.
std::string Case::checkNothingLost(const ApplyReport& report, const fixture::RacingWriter& writer)
{
    std::set<std::string> onDisk;
    for (const QByteArray& item : fixture::readTree(QByteArray::fromStdString(m_root))) {
        if (item.endsWith('/'))
            continue;
        const auto colon = item.indexOf(':');
        const std::string path = item.left(colon).toStdString();
        const std::string content = item.mid(colon + 1).toStdString();
        if (content.empty())
            return "an empty file at " + path;
        const std::string name = path.substr(path.rfind('/') + 1);
        if (name.starts_with(".tolvex-rename-")
            && std::none_of(report.failures.begin(), report.failures.end(),
                            [&](const RenameFailure& f) { return f.reason.find(name) != std::string::npos; }))
            return "a file left unreported under " + path;
        onDisk.insert(content);
    }
    for (const auto& [content, path] : m_initial) {
        if (!onDisk.count(content))
            return "lost " + content + ", which was at " + path;
    }
    for (const std::string& content : writer.contents()) {
        if (!onDisk.count(content))
            return "lost the file " + content;
    }
    return {};
}

int envNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

}  // namespace

class TestNothingLost : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomPasses();
};

void TestNothingLost::randomPasses()
{
    const int cases = envNumber("TOLVEX_NOTHING_LOST_CASES", 1000);
    const int firstSeed = envNumber("TOLVEX_NOTHING_LOST_SEED", 1);
    // The folders stay from case to case, only the files go: removing
    // folders is what takes time on a busy disk.
    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    for (int i = 0; i < cases; ++i) {
        const unsigned seed = unsigned(firstSeed + i);
        nftw(scratch.root(), [](const char* path, const struct stat* status, int, FTW*) {
            return S_ISDIR(status->st_mode) ? 0 : unlink(path);
        }, 16, FTW_PHYS);
        const std::string broken = Case(seed, scratch.root()).run();
        QVERIFY2(broken.empty(), qPrintable(QString("seed %1: %2").arg(seed).arg(QString::fromStdString(broken))));
    }
    qInfo("%d random cases from seed %d", cases, firstSeed);
}

QTEST_GUILESS_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
