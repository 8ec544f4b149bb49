#include "rename/DateTimeRule.h"

#include "filelist/FileEntry.h"

#include <QDate>
#include <QTime>

namespace {

const std::string* fileTimeText(DateTimeSource source, const FileEntry& entry)
{
    switch (source) {
    case DateTimeSource::CurrentTime:
        return nullptr;
    case DateTimeSource::FileCreated:
        return &entry.CreatedText;
    case DateTimeSource::FileModified:
        return &entry.ModifiedText;
    case DateTimeSource::FileAccessed:
        return &entry.AccessedText;
    }
    return nullptr;
}

char upperAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

void appendPadded(std::string& text, int value, std::size_t width)
{
    char digits[12];
    std::size_t count = 0;
    auto magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        text.push_back('-');
    if (width > count)
        text.append(width - count, '0');
    while (count > 0)
        text.push_back(digits[--count]);
}

} // namespace

QDateTime chooseDateTime(DateTimeSource source, const FileEntry& entry,
                         const CurrentTimeClock& now, const FileTimeParser& parseFileTime)
{
    const std::string* text = fileTimeText(source, entry);
    if (text && !text->empty()) {
        if (std::optional<QDateTime> fileTime = parseFileTime(*text)) {
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
            appendPadded(text, run <= 2 ? date.year() % 100 : date.year(), run);
            break;
        case 'M':
            appendPadded(text, afterHour ? clock.minute() : date.month(), run);
            break;
        case 'D':
            appendPadded(text, date.day(), run);
            break;
        case 'H':
            appendPadded(text, clock.hour(), run);
            break;
        case 'S':
            appendPadded(text, clock.second(), run);
            break;
        case 'Z':
            appendPadded(text, clock.msec(), run);
            break;
        default:
            text.append(pattern.substr(pos - run, run));
            break;
        }
        afterHour = letter == 'H';
    }
    return text;
}
