#pragma once

// What the benchmarks share: scratch folders on tmpfs filled with sample
// files, paths that name nothing, the resident memory of the process, and a
// way to wait until a list view has painted.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractScrollArea;

// The length of the folders the sample files are in, counting both '/'.
// It shows in the time a path takes to resolve and in the memory of a row.
inline constexpr std::size_t SampleFolderLength = 40;

// A folder of its own under $TOLVEX_BENCH_DIR (bench.sh points it into
// /dev/shm), else under /dev/shm; removed with everything in it. Its path is
// padded to SampleFolderLength with a subfolder where the base is short
// enough.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Ends in '/'.
    const std::string& Path() const { return m_path; }

private:
    std::string m_base;
    std::string m_path;
};

// "IMG_0001234.jpg" for 1234: the kind of name a camera writes.
std::string sampleName(std::size_t index);

// count paths of sample names in folder (which ends in '/').
std::vector<std::string> samplePaths(const std::string& folder, std::size_t count);

// A folder that does not exist: rows of files that are gone show empty
// times, which is all a list-only benchmark needs.
inline const std::string MissingFolder = "/tmp/" + std::string(SampleFolderLength - 6, 'a') + "/";

// Creates an empty file at every path; throws std::system_error on failure.
void createEmptyFiles(const std::vector<std::string>& paths);

// Renames every from[i] to to[i] without replacing; throws std::system_error
// on failure. Puts files back between rename benchmarks.
void renameAll(const std::vector<std::string>& from, const std::vector<std::string>& to);

// The bare baseline of both intakes: one statx per path asking for the
// three times, as the program's per-file step does.
void statxAll(const std::vector<std::string>& paths);

// The process's resident memory, from /proc/self/statm.
std::size_t residentBytes();

// Runs the event loop until the view's viewport has painted at least once,
// as it does before the window answers the next input. Whether it painted.
bool paintNow(QAbstractScrollArea& view);

// Objects shared by the benchmarks of one executable: made on first use,
// destroyed by runTeardowns() while the QApplication still exists.
void atTeardown(std::function<void()> teardown);
void runTeardowns();

template <typename T>
T& sharedFixture()
{
    static std::unique_ptr<T> object;
    if (!object) {
        object = std::make_unique<T>();
        atTeardown([] { object.reset(); });
    }
    return *object;
}
