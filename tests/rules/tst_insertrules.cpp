#include "listcore/FileEntry.h"
#include "rules/DateTimeRule.h"
#include "rules/InsertRules.h"
#include "rules/MoveCopyRules.h"
#include "text/SubText.h"

#include "tests/text/ByteText.h"

#include <QtTest>

class InsertRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placement_data();
    void placement();
    void serialNumber_data();
    void serialNumber();
    void serialNumbersAsPrefix();
    void heldValueText_data();
    void heldValueText();
    void dateTimeText_data();
    void dateTimeText();
    void chooseDateTime_data();
    void chooseDateTime();
    void copyMove_data();
    void copyMove();
    void moveAgreesWithCopyThenCut();
};

void InsertRulesTest::placement_data()
{
    QTest::addColumn<Placement>("mode");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray name("abcdef");
    QTest::newRow("prefix") << Placement::Prefix << 3 << name << QByteArray("X") << QByteArray("Xabcdef");
    QTest::newRow("suffix") << Placement::Suffix << 3 << name << QByteArray("X") << QByteArray("abcdefX");
    QTest::newRow("at 0") << Placement::AtPosition << 0 << name << QByteArray("X") << QByteArray("Xabcdef");
    QTest::newRow("at 1") << Placement::AtPosition << 1 << name << QByteArray("X") << QByteArray("aXbcdef");
    QTest::newRow("at 2") << Placement::AtPosition << 2 << name << QByteArray("X") << QByteArray("abXcdef");
    QTest::newRow("at 6") << Placement::AtPosition << 6 << name << QByteArray("X") << QByteArray("abcdefX");
    QTest::newRow("at 99") << Placement::AtPosition << 99 << name << QByteArray("X") << QByteArray("abcdefX");
    QTest::newRow("at -5") << Placement::AtPosition << -5 << name << QByteArray("X") << QByteArray("Xabcdef");
    QTest::newRow("at smallest") << Placement::AtPosition << kMin << name << QByteArray("X") << QByteArray("Xabcdef");
    QTest::newRow("at largest") << Placement::AtPosition << kMax << name << QByteArray("X") << QByteArray("abcdefX");
    QTest::newRow("empty piece at 3") << Placement::AtPosition << 3 << name << QByteArray() << name;
    QTest::newRow("empty piece prefix") << Placement::Prefix << 0 << name << QByteArray() << name;
    QTest::newRow("empty name") << Placement::AtPosition << 3 << QByteArray() << QByteArray("X") << QByteArray("X");
    QTest::newRow("after é") << Placement::AtPosition << 1 << QByteArray("été") << QByteArray("X")
                             << QByteArray("éXté");
    QTest::newRow("after two characters") << Placement::AtPosition << 2 << QByteArray("été") << QByteArray("ü")
                                          << QByteArray("étüé");
    QTest::newRow("after stray byte") << Placement::AtPosition << 1 << QByteArray("\xFF" "b") << QByteArray("X")
                                      << QByteArray("\xFF" "Xb");
}

void InsertRulesTest::placement()
{
    QFETCH(Placement, mode);
    QFETCH(int, position);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, piece);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(ApplyPlacement(S(name), S(piece), mode, position)), expected);
    QCOMPARE(B(::addCharacters(S(name), S(piece), mode, position)), expected);
}

void InsertRulesTest::serialNumber_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<qint64>("row");
    QTest::addColumn<QByteArray>("mask");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("first row") << 1 << 0LL << QByteArray("0000") << QByteArray("0001");
    QTest::newRow("any mask characters") << 1 << 41LL << QByteArray("ab#") << QByteArray("042");
    QTest::newRow("mask counts characters") << 5 << 0LL << QByteArray("éé") << QByteArray("05");
    QTest::newRow("empty mask 9") << 9 << 0LL << QByteArray() << QByteArray("9");
    QTest::newRow("empty mask 10") << 9 << 1LL << QByteArray() << QByteArray("10");
    QTest::newRow("empty mask 11") << 9 << 2LL << QByteArray() << QByteArray("11");
    QTest::newRow("empty mask 0") << 0 << 0LL << QByteArray() << QByteArray("0");
    QTest::newRow("one-character mask 9") << 9 << 0LL << QByteArray("0") << QByteArray("9");
    QTest::newRow("one-character mask 10") << 10 << 0LL << QByteArray("0") << QByteArray("10");
    QTest::newRow("one-character mask 11") << 11 << 0LL << QByteArray("0") << QByteArray("11");
    QTest::newRow("two-character mask 9") << 9 << 0LL << QByteArray("00") << QByteArray("09");
    QTest::newRow("never cut") << 100 << 0LL << QByteArray("00") << QByteArray("100");
    QTest::newRow("32 characters pad")
        << 5 << 0LL << QByteArray(32, '0') << QByteArray(31, '0') + "5";
    QTest::newRow("33 characters do not pad") << 5 << 0LL << QByteArray(33, '0') << QByteArray("5");
    QTest::newRow("negative padded after sign") << -5 << 0LL << QByteArray("0000") << QByteArray("-0005");
    QTest::newRow("negative unpadded") << -5 << 0LL << QByteArray() << QByteArray("-5");
    QTest::newRow("negative to zero") << -5 << 5LL << QByteArray("00") << QByteArray("00");
    QTest::newRow("smallest start") << kMin << 0LL << QByteArray() << QByteArray("-2147483648");
    QTest::newRow("beyond 32 bits") << kMax << 10LL << QByteArray("0000") << QByteArray("2147483657");
}

void InsertRulesTest::serialNumber()
{
    QFETCH(int, start);
    QFETCH(qint64, row);
    QFETCH(QByteArray, mask);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(::serialNumberText(start, row, S(mask))), expected);
}

void InsertRulesTest::serialNumbersAsPrefix()
{
    const char* expected[] = {"0001abc", "0002abc", "0003abc", "0004abc"};
    for (int row = 0; row < 4; ++row)
        QCOMPARE(B(::addSerialNumber("abc", 1, row, "0000", Placement::Prefix)), QByteArray(expected[row]));
    QCOMPARE(B(::addSerialNumber("abc", 7, 0, "", Placement::AtPosition, 1)), QByteArray("a7bc"));
}

void InsertRulesTest::heldValueText_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("mask");
    QTest::addColumn<QByteArray>("expected");  // empty: refused as blank

    QTest::newRow("slashes and NULs") << QByteArray("AC/DC\0live", 10) << QByteArray() << QByteArray("AC_DC_live");
    QTest::newRow("blanks and padding around") << QByteArray(" \tT.N.T.\0\0 ", 12) << QByteArray("00")
                                               << QByteArray("T.N.T.");
    QTest::newRow("blanks alone") << QByteArray(" \0 ", 3) << QByteArray() << QByteArray();
    QTest::newRow("a track padded to the mask") << QByteArray(" 7") << QByteArray("00") << QByteArray("07");
    QTest::newRow("a number longer than the mask") << QByteArray("123") << QByteArray("00") << QByteArray("123");
    QTest::newRow("no number: not padded") << QByteArray("7b") << QByteArray("000") << QByteArray("7b");
}

void InsertRulesTest::heldValueText()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, mask);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(::heldValueText(S(value), S(mask))), expected);
}

void InsertRulesTest::dateTimeText_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("expected");

    const QDateTime morning(QDate(2016, 3, 7), QTime(9, 5, 4, 321));
    const QDateTime evening(QDate(2016, 3, 7), QTime(21, 5, 4, 9));
    const struct {
        const char* pattern;
        const char* morning;
        const char* evening;
    } table[] = {
        {"MMDDYY", "030716", "030716"},
        {"MMDDYYYY", "03072016", "03072016"},
        {"DDMMYY", "070316", "070316"},
        {"DDMMYYYY", "07032016", "07032016"},
        {"YYMMDD", "160307", "160307"},
        {"YYYYMMDD", "20160307", "20160307"},
        {"YYYYMMDDHHMMSS", "20160307090504", "20160307210504"},
        {"YYYYMMDDHHMMSSZZZ", "20160307090504321", "20160307210504009"},
    };
    for (const auto& row : table) {
        QTest::addRow("%s morning", row.pattern) << morning << QByteArray(row.pattern) << QByteArray(row.morning);
        QTest::addRow("%s evening", row.pattern) << evening << QByteArray(row.pattern) << QByteArray(row.evening);
    }
    QTest::newRow("lower-case letters") << evening << QByteArray("yyyymmddhhmmss") << QByteArray("20160307210504");
    QTest::newRow("year 2000 short") << QDateTime(QDate(2000, 12, 31), QTime(0, 0)) << QByteArray("YYMMDD")
                                     << QByteArray("001231");
}

void InsertRulesTest::dateTimeText()
{
    QFETCH(QDateTime, time);
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(::dateTimeText(time, S(pattern))), expected);
}

// The entry keeps its times as seconds; the rule takes the one it names, in
// local time, whatever the list's locale would write of it.
void InsertRulesTest::chooseDateTime_data()
{
    QTest::addColumn<DateTimeSource>("source");
    QTest::addColumn<QDateTime>("modified");  // invalid: the file system keeps none
    QTest::addColumn<QDateTime>("expected");  // invalid: the clock's "now"

    const QDateTime created(QDate(2001, 1, 1), QTime(1, 1, 1));
    const QDateTime modified(QDate(2002, 2, 2), QTime(14, 2, 2));
    const QDateTime accessed(QDate(2003, 3, 3), QTime(3, 3, 3));
    QTest::newRow("current time") << DateTimeSource::CurrentTime << modified << QDateTime();
    QTest::newRow("created") << DateTimeSource::FileCreated << modified << created;
    QTest::newRow("modified") << DateTimeSource::FileModified << modified << modified;
    QTest::newRow("accessed") << DateTimeSource::FileAccessed << modified << accessed;
    QTest::newRow("no time kept") << DateTimeSource::FileModified << QDateTime() << QDateTime();
    // A short date shows "70", which read back as text would be 2070.
    const QDateTime longAgo(QDate(1970, 1, 2), QTime(0, 0, 0));
    QTest::newRow("a year far back") << DateTimeSource::FileModified << longAgo << longAgo;
}

void InsertRulesTest::chooseDateTime()
{
    QFETCH(DateTimeSource, source);
    QFETCH(QDateTime, modified);
    QFETCH(QDateTime, expected);

    const auto seconds = [](const QDateTime& time) {
        return time.isValid() ? time.toSecsSinceEpoch() : FileTimes::none;
    };
    const FileTimes times{seconds(QDateTime(QDate(2001, 1, 1), QTime(1, 1, 1))),
                          seconds(QDateTime(QDate(2003, 3, 3), QTime(3, 3, 3))), seconds(modified)};
    const FileEntry entry("/d/f.txt", EntryForm::Split, times);

    const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5, 678));
    const QDateTime chosen = ::chooseDateTime(source, entry, [&] { return now; });
    QCOMPARE(chosen, expected.isValid() ? expected : now);
}

void InsertRulesTest::copyMove_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<Placement>("destination");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("copied");
    QTest::addColumn<QByteArray>("moved");

    const QByteArray n("abcdef");
    QTest::newRow("prefix") << n << 2 << 3 << Placement::Prefix << 0 << QByteArray("bcabcdef") << QByteArray("bcadef");
    QTest::newRow("suffix") << n << 2 << 3 << Placement::Suffix << 0 << QByteArray("abcdefbc") << QByteArray("adefbc");
    QTest::newRow("at 0") << n << 2 << 3 << Placement::AtPosition << 0 << QByteArray("bcabcdef") << QByteArray("bcadef");
    QTest::newRow("at 1") << n << 2 << 3 << Placement::AtPosition << 1 << QByteArray("abcbcdef") << n;
    QTest::newRow("at 2, inside") << n << 2 << 3 << Placement::AtPosition << 2 << QByteArray("abbccdef") << n;
    QTest::newRow("at 3, end of range") << n << 2 << 3 << Placement::AtPosition << 3 << QByteArray("abcbcdef") << n;
    QTest::newRow("at 4") << n << 2 << 3 << Placement::AtPosition << 4 << QByteArray("abcdbcef") << QByteArray("adbcef");
    QTest::newRow("at 5") << n << 2 << 3 << Placement::AtPosition << 5 << QByteArray("abcdebcf") << QByteArray("adebcf");
    QTest::newRow("at 6") << n << 2 << 3 << Placement::AtPosition << 6 << QByteArray("abcdefbc") << QByteArray("adefbc");
    QTest::newRow("at 50") << n << 2 << 3 << Placement::AtPosition << 50 << QByteArray("abcdefbc") << QByteArray("adefbc");
    QTest::newRow("range cut at end") << n << 5 << 10 << Placement::Suffix << 0 << QByteArray("abcdefef") << n;
    QTest::newRow("range cut at end, prefix") << n << 5 << 10 << Placement::Prefix << 0 << QByteArray("efabcdef")
                                              << QByteArray("efabcd");
    QTest::newRow("range past end") << n << 7 << 9 << Placement::Suffix << 0 << n << n;
    QTest::newRow("backwards range") << n << 3 << 2 << Placement::Prefix << 0 << n << n;
    QTest::newRow("from 0") << n << 0 << 2 << Placement::Suffix << 0 << QByteArray("abcdefabc") << QByteArray("defabc");
    QTest::newRow("from 0, at 4") << n << 0 << 2 << Placement::AtPosition << 4 << QByteArray("abcdabcef")
                                  << QByteArray("dabcef");
    QTest::newRow("whole name") << n << kMin << kMax << Placement::Suffix << 0 << n + n << n;
    QTest::newRow("empty name") << QByteArray() << 1 << 1 << Placement::Suffix << 0 << QByteArray() << QByteArray();
    QTest::newRow("unicode suffix") << QByteArray("aébc") << 2 << 2 << Placement::Suffix << 0
                                    << QByteArray("aébcé") << QByteArray("abcé");
    QTest::newRow("unicode at position") << QByteArray("éüa😀") << 1 << 2 << Placement::AtPosition << 3
                                         << QByteArray("éüaéü😀") << QByteArray("aéü😀");
    QTest::newRow("stray bytes untouched") << QByteArray("\xFF" "ab\xFE") << 2 << 2 << Placement::Suffix << 0
                                           << QByteArray("\xFF" "ab\xFE" "a") << QByteArray("\xFF" "b\xFE" "a");
}

void InsertRulesTest::copyMove()
{
    QFETCH(QByteArray, name);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(Placement, destination);
    QFETCH(int, position);
    QFETCH(QByteArray, copied);
    QFETCH(QByteArray, moved);

    QCOMPARE(B(::copyRange(S(name), from, to, destination, position)), copied);
    QCOMPARE(B(::moveRange(S(name), from, to, destination, position)), moved);
}

// Where the range lies inside the name and the destination at or after its
// end, Move is Copy followed by cutting the range out of its old place.
void InsertRulesTest::moveAgreesWithCopyThenCut()
{
    const std::string name = "abcdef";
    const int length = 6;
    for (int from = 1; from <= length; ++from) {
        for (int to = from; to <= length; ++to) {
            const auto cutRange = [&](const std::string& copied) {
                return SubText(copied, 1, from - 1) + SubText(copied, to + 1, kToTheEnd);
            };
            QCOMPARE(::moveRange(name, from, to, Placement::Suffix),
                     cutRange(::copyRange(name, from, to, Placement::Suffix)));
            for (int p = to; p <= length + 2; ++p) {
                QCOMPARE(::moveRange(name, from, to, Placement::AtPosition, p),
                         cutRange(::copyRange(name, from, to, Placement::AtPosition, p)));
            }
        }
    }
}

QTEST_APPLESS_MAIN(InsertRulesTest)
#include "tst_insertrules.moc"
