#pragma once

#include <QByteArray>

#include <string>
#include <vector>

// The local files named by a drop's text/uri-list, in the order of the drop,
// as the exact bytes of their paths: file names need not be UTF-8, so the
// percent-encoded URLs are decoded to bytes, never through QString. Lines
// that are comments, not file URLs, or name another host are left out.
std::vector<std::string> localPathsFromUriList(const QByteArray& uriList);

// Whether the path names an existing folder, or a link to one.
bool isFolder(const std::string& path);
