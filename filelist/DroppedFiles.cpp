#include "filelist/DroppedFiles.h"

#include <QList>

#include <optional>

#include <sys/stat.h>

namespace {

// The path of a file: URL, or nothing for any other URL. Accepts
// file:///path and file://localhost/path, as file managers write them.
std::optional<QByteArray> localPathOf(QByteArray url)
{
    static const QByteArray scheme = "file://";
    if (!url.startsWith(scheme))
        return std::nullopt;
    url.remove(0, scheme.size());
    const qsizetype slash = url.indexOf('/');
    if (slash < 0)
        return std::nullopt;
    const QByteArray host = url.left(slash);
    if (!host.isEmpty() && host != "localhost")
        return std::nullopt;
    QByteArray path = QByteArray::fromPercentEncoding(url.mid(slash));
    if (path.contains('\0'))
        return std::nullopt;
    return path;
}

} // namespace

std::vector<std::string> localPathsFromUriList(const QByteArray& uriList)
{
    std::vector<std::string> paths;
    for (QByteArray line : uriList.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (const std::optional<QByteArray> path = localPathOf(line))
            paths.push_back(path->toStdString());
    }
    return paths;
}

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
