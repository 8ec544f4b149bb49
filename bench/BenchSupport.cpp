#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void throwErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

std::vector<std::function<void()>>& teardowns()
{
    static std::vector<std::function<void()>> list;
    return list;
}

// Counts the paint events of one widget while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) : m_watched(watched) { watched->installEventFilter(this); }
    ~PaintCounter() override { m_watched->removeEventFilter(this); }

    int count = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (object == m_watched && event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    QWidget* m_watched;
};

} // namespace

ScratchFolder::ScratchFolder()
{
    const char* base = std::getenv("TOLVEX_BENCH_DIR");
    std::string pattern = std::string(base && *base ? base : "/dev/shm") + "/XXXXXX";
    if (!mkdtemp(pattern.data()))
        throwErrno("mkdtemp " + pattern);
    m_base = pattern;
    m_path = pattern + '/';
    if (SampleFolderLength > m_path.size() + 1) {
        m_path += std::string(SampleFolderLength - m_path.size() - 1, 'a');
        if (::mkdir(m_path.c_str(), 0755) != 0)
            throwErrno("mkdir " + m_path);
        m_path += '/';
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_base, ignored);
}

std::string sampleName(std::size_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%07zu.jpg", index);
    return name;
}

std::vector<std::string> samplePaths(const std::string& folder, std::size_t count)
{
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        paths.push_back(folder + sampleName(i));
    return paths;
}

void createEmptyFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            throwErrno("create " + path);
        ::close(fd);
    }
}

void renameAll(const std::vector<std::string>& from, const std::vector<std::string>& to)
{
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (::renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0)
            throwErrno("rename " + from[i]);
    }
}

std::size_t residentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        throwErrno("/proc/self/statm");
    unsigned long size = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &size, &resident);
    std::fclose(statm);
    if (read != 2)
        throw std::runtime_error("cannot read /proc/self/statm");
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

bool paintNow(QAbstractScrollArea& view)
{
    PaintCounter counter(view.viewport());
    // Posted layout work and the window's update request come first; a view
    // that nothing marked dirty is painted on purpose.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    if (counter.count == 0)
        view.viewport()->repaint();
    return counter.count > 0;
}

void atTeardown(std::function<void()> teardown)
{
    teardowns().push_back(std::move(teardown));
}

void runTeardowns()
{
    auto& list = teardowns();
    while (!list.empty()) {
        auto teardown = std::move(list.back());
        list.pop_back();
        teardown();
    }
}

void statxAll(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        struct statx info;
        benchmark::DoNotOptimize(
            statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BTIME | STATX_ATIME | STATX_MTIME, &info));
        benchmark::DoNotOptimize(info);
    }
}
