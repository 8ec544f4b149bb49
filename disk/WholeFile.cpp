#include "disk/WholeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::string> readWholeFile(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        error = path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    if (S_ISDIR(status.st_mode)) {
        error = path + ": is a folder, not a file";
        ::close(fd);
        return std::nullopt;
    }
    bytes.resize(S_ISREG(status.st_mode) ? std::size_t(status.st_size) : 0);
    std::size_t got = 0;
    for (ssize_t read = 1; read > 0;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2 + 4096);
        read = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (read < 0 && errno == EINTR)
            read = 1;
        else if (read > 0)
            got += std::size_t(read);
        else if (read < 0)
            error = path + ": " + std::strerror(errno);
    }
    ::close(fd);
    if (!error.empty())
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}
