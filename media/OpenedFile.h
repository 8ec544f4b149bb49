#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened to read what it holds, and mapped into memory on the first
// ask for its bytes, for as long as it is read. Opened without blocking, so that a named pipe in the list cannot
// hang the run: anything but a regular file with some bytes is refused, and
// error() says why. The path never reaches a media library, which could
// take "-" for standard input or a name like "http://..." for an address.
class OpenedFile {
public:
    explicit OpenedFile(const std::string& path);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    bool isOpen() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }
    // The descriptor, for a reader that closes it itself; the file no
    // longer holds it then, nor its bytes.
    int releaseDescriptor();
    std::size_t size() const { return m_size; }
    // The bytes, mapped now if not yet; null, with error() set, if they
    // cannot be.
    const std::uint8_t* data();

private:
    int m_fd = -1;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::string m_error;
};
