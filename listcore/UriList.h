#pragma once

#include <string>
#include <string_view>
#include <vector>

// The local files named by a drop's text/uri-list, in the order of the drop,
// as the exact bytes of their paths: file names need not be UTF-8, so the
// percent-encoded URLs are decoded to bytes, never through a Unicode string.
// Lines that are comments, not file URLs, or name another host are left
// out, and so is a path holding an encoded NUL, which names nothing.
std::vector<std::string> localPathsFromUriList(std::string_view uriList);
