#include "listcore/TimeTextFormat.h"

#include "text/ZeroPadded.h"

#include <QLocale>

#include <algorithm>

namespace {

// One piece of a Qt date or time format: a run of one field letter, or
// literal text (quoted or not).
struct FormatToken {
    QChar letter;     // null for literal text
    qsizetype count = 0;
    QString literal;
};

// Splits a Qt format string: runs of a letter from fieldLetters are fields;
// text between single quotes, a doubled quote and every other character are
// literal text.
std::vector<FormatToken> tokenize(const QString& format, QStringView fieldLetters)
{
    std::vector<FormatToken> tokens;
    auto appendLiteral = [&tokens](const QString& text) {
        if (!tokens.empty() && tokens.back().letter.isNull())
            tokens.back().literal += text;
        else
            tokens.push_back({QChar(), 0, text});
    };
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size;) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            if (i + 1 < size && format.at(i + 1) == u'\'') {
                appendLiteral(QStringLiteral("'"));
                i += 2;
                continue;
            }
            QString quoted;
            ++i;
            while (i < size) {
                if (format.at(i) == u'\'') {
                    if (i + 1 < size && format.at(i + 1) == u'\'') {
                        quoted += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                quoted += format.at(i++);
            }
            appendLiteral(quoted);
        } else if (fieldLetters.contains(c)) {
            qsizetype run = 1;
            while (i + run < size && format.at(i + run) == c)
                ++run;
            tokens.push_back({c, run, QString()});
            i += run;
        } else {
            appendLiteral(QString(c));
            ++i;
        }
    }
    return tokens;
}

char* copyText(char* out, const std::string& text)
{
    return std::copy(text.begin(), text.end(), out);
}

template<std::size_t N>
std::size_t longestOf(const std::array<std::string, N>& texts)
{
    std::size_t longest = 0;
    for (const std::string& text : texts)
        longest = std::max(longest, text.size());
    return longest;
}

bool hasLetterOrDigit(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.isLetterOrNumber(); });
}

} // namespace

TimeTextFormat::TimeTextFormat(const QLocale& locale)
{
    for (int month = 1; month <= 12; ++month) {
        m_shortMonthNames[month - 1] = locale.monthName(month, QLocale::ShortFormat).toStdString();
        m_longMonthNames[month - 1] = locale.monthName(month, QLocale::LongFormat).toStdString();
    }
    for (int weekday = 0; weekday < 7; ++weekday) {
        const int qtDay = weekday == 0 ? 7 : weekday; // Qt counts from Monday = 1
        m_shortDayNames[weekday] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
        m_longDayNames[weekday] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
    }
    compileDateFormat(locale.dateFormat(QLocale::ShortFormat));
    compileTimeFormat(locale.timeFormat(QLocale::LongFormat), locale);

    constexpr std::size_t widestNumber = 11; // "-2147483648"
    for (const DatePart& part : m_dateParts) {
        switch (part.field) {
        case Field::Literal: m_maxTextLength += part.literal.size(); break;
        case Field::ShortDayName: m_maxTextLength += longestOf(m_shortDayNames); break;
        case Field::LongDayName: m_maxTextLength += longestOf(m_longDayNames); break;
        case Field::ShortMonthName: m_maxTextLength += longestOf(m_shortMonthNames); break;
        case Field::LongMonthName: m_maxTextLength += longestOf(m_longMonthNames); break;
        default: m_maxTextLength += widestNumber; break;
        }
    }
    m_maxTextLength += 1 + std::max(m_morning.size(), m_afternoon.size()) + 1
                      + 3 * widestNumber + 2 * m_timeSeparator.size();
}

const TimeTextFormat& TimeTextFormat::system()
{
    static const TimeTextFormat format(QLocale::system());
    return format;
}

void TimeTextFormat::compileDateFormat(const QString& format)
{
    auto addLiteral = [this](const std::string& text) {
        if (!m_dateParts.empty() && m_dateParts.back().field == Field::Literal)
            m_dateParts.back().literal += text;
        else
            m_dateParts.push_back({Field::Literal, text});
    };
    static constexpr Field dayFields[] = {Field::Day, Field::DayTwoDigits,
                                          Field::ShortDayName, Field::LongDayName};
    static constexpr Field monthFields[] = {Field::Month, Field::MonthTwoDigits,
                                            Field::ShortMonthName, Field::LongMonthName};

    for (const FormatToken& token : tokenize(format, u"dMy")) {
        if (token.letter.isNull()) {
            addLiteral(token.literal.toStdString());
            continue;
        }
        // Like Qt, a run longer than a field's widest form starts a new field.
        for (qsizetype left = token.count; left > 0;) {
            if (token.letter == u'y') {
                if (left >= 4) {
                    m_dateParts.push_back({Field::YearFourDigits, {}});
                    left -= 4;
                } else if (left >= 2) {
                    m_dateParts.push_back({Field::YearTwoDigits, {}});
                    left -= 2;
                } else {
                    addLiteral("y");
                    left -= 1;
                }
            } else {
                const qsizetype width = std::min<qsizetype>(left, 4);
                const Field* fields = token.letter == u'd' ? dayFields : monthFields;
                m_dateParts.push_back({fields[width - 1], {}});
                left -= width;
            }
        }
    }
}

void TimeTextFormat::compileTimeFormat(const QString& format, const QLocale& locale)
{
    // Only the hour field, the separator after it and the designator field
    // are taken from the locale's time format; the rest of the layout is
    // fixed (seconds always shown, no time zone).
    const std::vector<FormatToken> tokens = tokenize(format, u"hHmsaAzt");
    std::size_t hour = tokens.size();
    std::size_t designator = tokens.size();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const QChar letter = tokens[i].letter;
        if (hour == tokens.size() && (letter == u'h' || letter == u'H'))
            hour = i;
        if (designator == tokens.size() && (letter == u'a' || letter == u'A'))
            designator = i;
    }
    if (hour == tokens.size())
        return;

    m_hourLeadingZero = tokens[hour].count >= 2;
    if (hour + 2 < tokens.size() && tokens[hour + 1].letter.isNull()
        && tokens[hour + 2].letter == u'm') {
        const QString& separator = tokens[hour + 1].literal;
        if (!separator.isEmpty() && !hasLetterOrDigit(separator))
            m_timeSeparator = separator.toStdString();
    }

    // In a Qt format 'h' counts to 12 only when the format shows a designator.
    if (designator == tokens.size() || tokens[hour].letter != u'h')
        return;
    const bool upper = tokens[designator].letter == u'A';
    const QString am = upper ? locale.amText().toUpper() : locale.amText().toLower();
    const QString pm = upper ? locale.pmText().toUpper() : locale.pmText().toLower();
    // Without two distinct designators the half of the day could not be read
    // back, so such a locale gets the 24-hour clock.
    if (am.isEmpty() || pm.isEmpty() || am == pm)
        return;
    m_twelveHourClock = true;
    m_designatorFirst = designator < hour;
    m_morning = am.toStdString();
    m_afternoon = pm.toStdString();
}

std::string TimeTextFormat::text(const std::tm& local) const
{
    // Written into a buffer on the stack, so the text costs one allocation.
    char onStack[128];
    if (m_maxTextLength <= sizeof onStack)
        return std::string(onStack, writeText(onStack, local));
    std::string onHeap(m_maxTextLength, '\0');
    onHeap.resize(writeText(onHeap.data(), local) - onHeap.data());
    return onHeap;
}

char* TimeTextFormat::writeText(char* out, const std::tm& local) const
{
    out = writeDate(out, local);
    if (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0) {
        *out++ = ' ';
        out = writeTime(out, local);
    }
    return out;
}

char* TimeTextFormat::writeDate(char* out, const std::tm& local) const
{
    const int year = local.tm_year + 1900;
    const int month = (local.tm_mon % 12 + 12) % 12;
    const int weekday = (local.tm_wday % 7 + 7) % 7;
    for (const DatePart& part : m_dateParts) {
        switch (part.field) {
        case Field::Literal: out = copyText(out, part.literal); break;
        case Field::Day: out = writeZeroPadded(out, local.tm_mday, 1); break;
        case Field::DayTwoDigits: out = writeZeroPadded(out, local.tm_mday, 2); break;
        case Field::ShortDayName: out = copyText(out, m_shortDayNames[weekday]); break;
        case Field::LongDayName: out = copyText(out, m_longDayNames[weekday]); break;
        case Field::Month: out = writeZeroPadded(out, month + 1, 1); break;
        case Field::MonthTwoDigits: out = writeZeroPadded(out, month + 1, 2); break;
        case Field::ShortMonthName: out = copyText(out, m_shortMonthNames[month]); break;
        case Field::LongMonthName: out = copyText(out, m_longMonthNames[month]); break;
        case Field::YearTwoDigits: out = writeZeroPadded(out, (year % 100 + 100) % 100, 2); break;
        case Field::YearFourDigits: out = writeZeroPadded(out, year, 4); break;
        }
    }
    return out;
}

char* TimeTextFormat::writeTime(char* out, const std::tm& local) const
{
    int hour = local.tm_hour;
    const std::string* designator = nullptr;
    if (m_twelveHourClock) {
        designator = hour < 12 ? &m_morning : &m_afternoon;
        hour %= 12;
        if (hour == 0)
            hour = 12;
        if (m_designatorFirst) {
            out = copyText(out, *designator);
            *out++ = ' ';
        }
    }
    out = writeZeroPadded(out, hour, m_hourLeadingZero ? 2 : 1);
    out = copyText(out, m_timeSeparator);
    out = writeZeroPadded(out, local.tm_min, 2);
    out = copyText(out, m_timeSeparator);
    out = writeZeroPadded(out, local.tm_sec, 2);
    if (designator && !m_designatorFirst) {
        *out++ = ' ';
        out = copyText(out, *designator);
    }
    return out;
}
