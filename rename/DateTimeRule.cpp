#include "rename/DateTimeRule.h"

#include "listcore/FileEntry.h"
#include "listcore/ZeroPadded.h"

#include <QDate>
#include <QTime>

namespace {

// The entry's time text of that kind, as the list keeps it; empty for the
// current time.
std::string timeTextOf(DateTimeSource source, const FileEntry& entry)
{
    switch (source) {
    case DateTimeSource::CurrentTime:
        return {};
    case DateTimeSource::FileCreated:
        return entry.CreatedText();
    case DateTimeSource::FileModified:
        return entry.ModifiedText();
    case DateTimeSource::FileAccessed:
        return entry.AccessedText();
    }
    return {};
}

char upperAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

} // namespace

QDateTime chooseDateTime(DateTimeSource source, const FileEntry& entry,
                         const CurrentTimeClock& now, const FileTimeParser& parseFileTime)
{
    const std::string text = timeTextOf(source, entry);
    if (!text.empty()) {
        if (std::optional<QDateTime> fileTime = parseFileTime(text)) {
            if (fileTime->isValid()) {
                // The list shows file times to the second; so does the name.
                const QTime time = fileTime->time();
                fileTime->setTime(QTime(time.hour(), time.minute(), time.second()));
                return *fileTime;
            }
        }
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
        const char letter = upperAsciiLetter(pattern[pos]);
        std::size_t run = 1;
        while (pos + run < pattern.size() && upperAsciiLetter(pattern[pos + run]) == letter)
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
