#include "rename/DateTimeRule.h"

#include "filelist/FileEntry.h"

#include <QDate>
#include <QTime>

namespace {

const std::string* FileTimeText(DateTimeSource source, const FileEntry& entry)
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

char UpperAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

void AppendPadded(std::string& text, int value, std::size_t width)
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

QDateTime ChooseDateTime(DateTimeSource source, const FileEntry& entry,
                         const CurrentTimeClock& now, const FileTimeParser& parseFileTime)
{
    const std::string* text = FileTimeText(source, entry);
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

std::string DateTimeText(const QDateTime& time, std::string_view pattern)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    std::string text;
    text.reserve(pattern.size());
    bool afterHour = false;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char letter = UpperAsciiLetter(pattern[pos]);
        std::size_t run = 1;
        while (pos + run < pattern.size() && UpperAsciiLetter(pattern[pos + run]) == letter)
            ++run;
        pos += run;

        switch (letter) {
        case 'Y':
            AppendPadded(text, run <= 2 ? date.year() % 100 : date.year(), run);
            break;
        case 'M':
            AppendPadded(text, afterHour ? clock.minute() : date.month(), run);
            break;
        case 'D':
            AppendPadded(text, date.day(), run);
            break;
        case 'H':
            AppendPadded(text, clock.hour(), run);
            break;
        case 'S':
            AppendPadded(text, clock.second(), run);
            break;
        case 'Z':
            AppendPadded(text, clock.msec(), run);
            break;
        default:
            text.append(pattern.substr(pos - run, run));
            break;
        }
        afterHour = letter == 'H';
    }
    return text;
}
