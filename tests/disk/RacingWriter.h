#pragma once

// Another program at work in the folders while the apply pass runs. On a
// thread of its own it creates files at the names it is given, never over
// an existing one (O_CREAT | O_EXCL), and saves over the files at other
// names as editors do, by a rename that replaces. It keeps what it replaces
// (it swaps with RENAME_EXCHANGE, the old file landing in a folder of its
// own), so every file it met or wrote is still on disk somewhere: a file
// missing afterwards was lost by the pass.

#include <atomic>
#include <cstdio>  // renameat2, RENAME_EXCHANGE
#include <fcntl.h>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fixture {

class RacingWriter {
public:
    // keepFolder ends in '/' and is on the same file system as the names.
    RacingWriter(std::string keepFolder, std::vector<std::string> createAt,
                 std::vector<std::string> saveOverAt, unsigned seed)
        : m_keepFolder(std::move(keepFolder)), m_createAt(std::move(createAt)),
          m_saveOverAt(std::move(saveOverAt)), m_seed(seed)
    {
    }
    ~RacingWriter() { stop(); }
    RacingWriter(const RacingWriter&) = delete;
    RacingWriter& operator=(const RacingWriter&) = delete;

    // Returns once the writer is at work.
    void start()
    {
        m_thread = std::thread([this] { run(); });
        while (!m_running)
            std::this_thread::yield();
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // The content of every file it wrote; read it after stop().
    const std::vector<std::string>& contents() const { return m_contents; }

private:
    static constexpr int kMaxActs = 300;

    void run()
    {
        std::mt19937 random(m_seed);
        m_running = true;
        for (int act = 0; act < kMaxActs && !m_stop; ++act) {
            const std::string content = "written by another program, #" + std::to_string(act);
            const bool saveOver = !m_saveOverAt.empty() && random() % 2;
            const auto& names = saveOver ? m_saveOverAt : m_createAt;
            if (names.empty())
                break;
            const std::string& name = names[random() % names.size()];
            if (!saveOver) {
                if (writeNew(name, content))
                    m_contents.push_back(content);
                continue;
            }
            const std::string fresh = m_keepFolder + std::to_string(act);
            if (!writeNew(fresh, content))
                continue;
            m_contents.push_back(content);
            renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, name.c_str(), RENAME_EXCHANGE);
        }
    }

    static bool writeNew(const std::string& path, const std::string& content)
    {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool written = write(fd, content.data(), content.size()) == ssize_t(content.size());
        close(fd);
        return written;
    }

    std::string m_keepFolder;
    std::vector<std::string> m_createAt;
    std::vector<std::string> m_saveOverAt;
    unsigned m_seed;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::vector<std::string> m_contents;
};

}  // namespace fixture
