#include "rules/DateTimeRule.h"

#include "listcore/FileEntry.h"
#include "text/LetterCase.h"
#include "text/ZeroPadded.h"

#include <QDate>
#include <QTime>

namespace {

// The entry's time of that kind in seconds; none for the current time.
std::int64_t secondsOf(DateTimeSource source, const FileEntry& entry)
{
    switch (source) {
    case DateTimeSource::CurrentTime:
    case DateTimeSource::PictureTaken:
        return FileTimes::none;
    case DateTimeSource::FileCreated:
        return entry.times().created;
    case DateTimeSource::FileModified:
        return entry.times().modified;
    case DateTimeSource::FileAccessed:
        return entry.times().accessed;
    }
    return FileTimes::none;
}

} // namespace

QDateTime chooseDateTime(DateTimeSource source, const FileEntry& entry, const CurrentTimeClock& now)
{
    const std::int64_t seconds = secondsOf(source, entry);
    if (seconds != FileTimes::none) {
        const QDateTime fileTime = QDateTime::fromSecsSinceEpoch(seconds);
        if (fileTime.isValid())
            return fileTime;
    }
    return now();
}

std::string dateTimeText(const QDateTime& time, std::string_view pattern)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    std::string text;
    text.reserve(pattern.size());
    bool afterHour = false;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char letter = upperAscii(pattern[pos]);
        std::size_t run = 1;
        while (pos + run < pattern.size() && upperAscii(pattern[pos + run]) == letter)
            ++run;
        pos += run;

        switch (letter) {
        case 'Y':
            appendZeroPadded(text, run <= 2 ? date.year() % 100 : date.year(), run);
            break;
        case 'M':
            appendZeroPadded(text, afterHour ? clock.minute() : date.month(), run);
            break;
        case 'D':
            appendZeroPadded(text, date.day(), run);
            break;
        case 'H':
            appendZeroPadded(text, clock.hour(), run);
            break;
        case 'S':
            appendZeroPadded(text, clock.second(), run);
            break;
        case 'Z':
            appendZeroPadded(text, clock.msec(), run);
            break;
        default:
            text.append(pattern.substr(pos - run, run));
            break;
        }
        afterHour = letter == 'H';
    }
    return text;
}
