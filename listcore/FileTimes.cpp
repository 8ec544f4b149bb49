#include "listcore/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

std::int64_t secondsOf(const struct statx& info, unsigned int field, const struct statx_timestamp& time)
{
    return info.stx_mask & field ? std::int64_t{time.tv_sec} : FileTimes::none;
}

bool statxAt(const std::string& path, int flags, struct statx& info)
{
    return statx(AT_FDCWD, path.c_str(), flags | AT_STATX_SYNC_AS_STAT,
                  STATX_TYPE | STATX_BTIME | STATX_ATIME | STATX_MTIME, &info) == 0;
}

} // namespace

FileLookup lookUpFile(const std::string& path)
{
    // A NUL would end the path early and name some other file.
    if (path.find('\0') != std::string::npos)
        return {};
    struct statx info {};
    if (!statxAt(path, 0, info) && !statxAt(path, AT_SYMLINK_NOFOLLOW, info))
        return {};
    FileLookup lookup;
    lookup.isFolder = (info.stx_mask & STATX_TYPE) && S_ISDIR(info.stx_mode);
    lookup.times = {secondsOf(info, STATX_BTIME, info.stx_btime),
                    secondsOf(info, STATX_ATIME, info.stx_atime),
                    secondsOf(info, STATX_MTIME, info.stx_mtime)};
    return lookup;
}
