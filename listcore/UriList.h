#pragma once

#include <string>
#include <string_view>

// The local files named by a drop's text/uri-list, in the order of the drop,
// as the exact bytes of their paths: file names need not be UTF-8, so the
// percent-encoded URLs are decoded to bytes, never through a Unicode string.
// Lines that are comments, not file URLs, or name another host are left
// out, and so is a path holding a NUL, which would name some other file.
//
// A drop may name a million files: the reader decodes one path at a time
// into the caller's buffer, so the list of paths is never held twice.
class UriListReader {
public:
    explicit UriListReader(std::string_view uriList) : m_rest(uriList) {}

    // The next local path, decoded into `path`; false after the last one.
    bool next(std::string& path);

private:
    std::string_view m_rest;
};
