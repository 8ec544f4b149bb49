#include "filelist/FileTimes.h"

#include <QDate>

#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>

void ReadFileTimes(const std::string& path, FileEntry& entry)
{
    entry.CreatedText.clear();
    entry.AccessedText.clear();
    entry.ModifiedText.clear();

    // A NUL would end the path early and name some other file.
    if (path.find('\0') != std::string::npos)
        return;
    struct statx info {};
    if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT,
              STATX_BTIME | STATX_ATIME | STATX_MTIME, &info) != 0)
        return;

    // A file's times often fall in the same second (a file written once and
    // not read since); such a text is copied rather than made again.
    const TimeTextFormat& format = TimeTextFormat::system();
    const std::string* previousText = nullptr;
    std::int64_t previousTime = 0;
    auto fill = [&](std::string& text, const struct statx_timestamp& time) {
        if (previousText && time.tv_sec == previousTime) {
            text = *previousText;
        } else {
            text = FileTimeToText(static_cast<std::time_t>(time.tv_sec), format);
            previousTime = time.tv_sec;
        }
        previousText = &text;
    };
    if (info.stx_mask & STATX_BTIME)
        fill(entry.CreatedText, info.stx_btime);
    if (info.stx_mask & STATX_ATIME)
        fill(entry.AccessedText, info.stx_atime);
    if (info.stx_mask & STATX_MTIME)
        fill(entry.ModifiedText, info.stx_mtime);
}

std::string FileTimeToText(std::time_t time, const TimeTextFormat& format)
{
    std::tm local {};
    if (!localtime_r(&time, &local))
        return {};
    return format.text(local);
}

std::optional<QDateTime> fileTimeFromText(const std::string& text)
{
    return fileTimeFromText(text, TimeTextFormat::system(), QDate::currentDate().year());
}

std::optional<QDateTime> fileTimeFromText(const std::string& text,
                                          const TimeTextFormat& format, int currentYear)
{
    return format.parse(text, currentYear);
}
