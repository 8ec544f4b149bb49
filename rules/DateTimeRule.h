#pragma once

#include "rules/Placement.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct FileEntry;

// Which time "Add DateTime" inserts; the order of the "Type" list, which
// ends before PictureTaken: only tolvex-rename reads pictures.
enum class DateTimeSource {
    CurrentTime,
    FileCreated,
    FileModified,
    FileAccessed,
    PictureTaken,
};

// The layouts of the "Format" list, in its order.
inline constexpr std::array<std::string_view, 8> kDateTimePatterns = {
    "MMDDYY",   "MMDDYYYY", "DDMMYY",         "DDMMYYYY",
    "YYMMDD",   "YYYYMMDD", "YYYYMMDDHHMMSS", "YYYYMMDDHHMMSSZZZ",
};

using CurrentTimeClock = std::function<QDateTime()>;

// A picture's own time of capture, as its camera's clock showed it, or why
// the file has none.
struct CaptureTime {
    QDateTime time;       // invalid when there is none
    std::string missing;  // then why, in plain words
};
// Reads the capture time of the file at a path; the rules only ask.
using CaptureTimeReader = std::function<CaptureTime(const std::string& path)>;

// The time to insert for one entry: the entry's file time of that kind, in
// local time as the list shows it (whole seconds), or the clock's current
// time when the entry keeps no such time. Not for PictureTaken, which never
// stands in for a time a picture lacks.
QDateTime chooseDateTime(DateTimeSource source, const FileEntry& entry, const CurrentTimeClock& now);

// `time` written in a layout of the "Format" list: each run of one letter is a
// field written as a number with as many digits as the run is long (Y year,
// the last two digits for YY; M month, or minutes right after an hour field;
// D day; H hour on the 24-hour clock; S seconds; Z milliseconds), letters in
// any case, nothing between the fields.
std::string dateTimeText(const QDateTime& time, std::string_view pattern);

inline std::string addDateTime(std::string_view name, const QDateTime& time,
                               std::string_view pattern, Placement mode,
                               std::int32_t position = 0)
{
    return ApplyPlacement(name, dateTimeText(time, pattern), mode, position);
}
