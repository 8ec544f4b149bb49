#pragma once

#include <QString>

#include <array>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

class QLocale;

// The layout of the file-time texts the list keeps: the locale's short date,
// then, unless the time of day is exactly midnight, one blank and the time
// as hour, separator, two-digit minutes, separator, two-digit seconds, with
// the morning or afternoon designator in a 12-hour locale.
//
// The locale is read once, when the format is built; writing a text is then
// plain byte work over a broken-down time, because the intake writes three
// texts for every file it takes in.
class TimeTextFormat {
public:
    explicit TimeTextFormat(const QLocale& locale);

    // Built on first use from the user's locale (QLocale::system(), which
    // honours LC_ALL, then LC_TIME, then LANG). Qt reads the environment
    // once per process, so later changes to it are not seen here either.
    static const TimeTextFormat& system();

    // The text of a local time; only the calendar fields, tm_wday and the
    // time of day are read.
    std::string text(const std::tm& local) const;

private:
    enum class Field {
        Literal,
        Day,
        DayTwoDigits,
        ShortDayName,
        LongDayName,
        Month,
        MonthTwoDigits,
        ShortMonthName,
        LongMonthName,
        YearTwoDigits,
        YearFourDigits,
    };
    struct DatePart {
        Field field;
        std::string literal;
    };

    void compileDateFormat(const QString& format);
    void compileTimeFormat(const QString& format, const QLocale& locale);
    char* writeText(char* out, const std::tm& local) const;
    char* writeDate(char* out, const std::tm& local) const;
    char* writeTime(char* out, const std::tm& local) const;

    std::vector<DatePart> m_dateParts;
    std::array<std::string, 12> m_shortMonthNames;
    std::array<std::string, 12> m_longMonthNames;
    std::array<std::string, 7> m_shortDayNames;  // Sunday first, as tm_wday
    std::array<std::string, 7> m_longDayNames;

    std::string m_timeSeparator = ":";
    bool m_hourLeadingZero = true;
    bool m_twelveHourClock = false;
    bool m_designatorFirst = false;
    std::string m_morning;
    std::string m_afternoon;
    std::size_t m_maxTextLength = 0;  // room enough for any text of this format
};
