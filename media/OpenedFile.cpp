#include "media/OpenedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

OpenedFile::OpenedFile(const std::string& path)
{
    m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        m_error = std::strerror(errno);
        return;
    }
    struct stat status;
    if (fstat(m_fd, &status) != 0) {
        m_error = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        m_error = "not a regular file";
    } else if (status.st_size == 0) {
        m_error = "the file is empty";
    } else {
        m_size = std::size_t(status.st_size);
    }
}

const std::uint8_t* OpenedFile::data()
{
    if (!m_data && isOpen()) {
        void* data = mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, m_fd, 0);
        if (data == MAP_FAILED)
            m_error = std::strerror(errno);
        else
            m_data = static_cast<const std::uint8_t*>(data);
    }
    return m_data;
}

int OpenedFile::releaseDescriptor()
{
    if (m_data)
        munmap(const_cast<std::uint8_t*>(m_data), m_size);
    m_data = nullptr;
    m_error = "already handed on";
    return std::exchange(m_fd, -1);
}

OpenedFile::~OpenedFile()
{
    if (m_data)
        munmap(const_cast<std::uint8_t*>(m_data), m_size);
    if (m_fd >= 0)
        close(m_fd);
}
