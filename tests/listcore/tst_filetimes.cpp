#include "listcore/FileEntry.h"
#include "listcore/FileTimes.h"
#include "listcore/TimeTextFormat.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Europe's central zone, written as a rule so the test needs no zone files.
constexpr const char* berlinZone = "CET-1CEST,M3.5.0,M10.5.0/3";

std::tm BrokenDown(const QDateTime& dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    std::tm fields {};
    fields.tm_year = date.year() - 1900;
    fields.tm_mon = date.month() - 1;
    fields.tm_mday = date.day();
    fields.tm_wday = date.dayOfWeek() % 7;
    fields.tm_hour = time.hour();
    fields.tm_min = time.minute();
    fields.tm_sec = time.second();
    return fields;
}

QDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

std::time_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
        .toSecsSinceEpoch();
}

// Puts the process in another time zone for the life of the guard.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone)
        : hadZone_(qEnvironmentVariableIsSet("TZ")), oldZone_(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneGuard()
    {
        if (hadZone_)
            qputenv("TZ", oldZone_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool hadZone_;
    QByteArray oldZone_;
};

void setFileTimes(const QByteArray& path, std::time_t accessed, std::time_t modified,
                  long modifiedNanoseconds = 0)
{
    const timespec times[2] = {{accessed, 0}, {modified, modifiedNanoseconds}};
    QVERIFY(utimensat(AT_FDCWD, path.constData(), times, 0) == 0);
}

void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// In the child run the test executable prints, under the locale its
// environment names, the text of one instant and what reads back from it.
constexpr const char* probeVariable = "TOLVEX_TIME_TEXT_PROBE";
const QDateTime probeInstant = At(2016, 3, 7, 21, 5, 4);

int PrintProbe()
{
    const std::string text = FileTimeToText(UtcSeconds(2016, 3, 7, 21, 5, 4));
    std::printf("%s\n", text.c_str());
    return 0;
}

} // namespace

class TestFileTimes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
    void offsetOfTheInstant_data();
    void offsetOfTheInstant();
    void readFileTimes_data();
    void readFileTimes();
    void midnightShowsDateAlone();
    void userLocale_data();
    void userLocale();
};

void TestFileTimes::text_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en_US morning") << "en_US" << At(2016, 3, 7, 9, 5, 4) << "3/7/16 9:05:04 AM";
    QTest::newRow("en_US evening") << "en_US" << At(2016, 3, 7, 21, 5, 4) << "3/7/16 9:05:04 PM";
    QTest::newRow("en_US after midnight") << "en_US" << At(2016, 3, 7, 0, 0, 1)
                                          << "3/7/16 12:00:01 AM";
    QTest::newRow("en_US noon") << "en_US" << At(2016, 3, 7, 12, 0, 0) << "3/7/16 12:00:00 PM";
    QTest::newRow("en_US midnight") << "en_US" << At(2016, 3, 7) << "3/7/16";
    QTest::newRow("en_GB morning") << "en_GB" << At(2016, 3, 7, 9, 5, 4)
                                   << "07/03/2016 09:05:04";
    QTest::newRow("en_GB evening") << "en_GB" << At(2016, 3, 7, 21, 5, 4)
                                   << "07/03/2016 21:05:04";
    QTest::newRow("de_DE") << "de_DE" << At(2016, 3, 7, 9, 5, 4) << "07.03.16 09:05:04";
    QTest::newRow("fi_FI dot separator") << "fi_FI" << At(2016, 3, 7, 9, 5, 4)
                                         << "7.3.2016 9.05.04";
    QTest::newRow("ko_KR designator first")
        << "ko_KR" << At(2016, 3, 7, 21, 5, 4) << "16. 3. 7. \uc624\ud6c4 9:05:04";
    QTest::newRow("bg_BG quoted date text") << "bg_BG" << At(2016, 3, 7, 21, 5, 4)
                                            << "7.03.16 \u0433. 21:05:04";
    QTest::newRow("C month name") << "C" << At(2016, 3, 7, 21, 5, 4) << "7 Mar 2016 21:05:04";
}

void TestFileTimes::text()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, expected);

    const QLocale qtLocale(locale);
    const QString written = QString::fromUtf8(
        TimeTextFormat(qtLocale).text(BrokenDown(dateTime)));
    QCOMPARE(written, expected);
    // The date part is exactly Qt's own short date.
    QVERIFY(written.startsWith(qtLocale.toString(dateTime.date(), QLocale::ShortFormat)));
}

void TestFileTimes::offsetOfTheInstant_data()
{
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("expected");

    // Both were written at 14:00 on the wall clock of their day.
    QTest::newRow("winter") << QDateTime(QDate(2021, 1, 15), QTime(13, 0), Qt::UTC)
                            << "15.01.21 14:00:00";
    QTest::newRow("summer") << QDateTime(QDate(2021, 7, 15), QTime(12, 0), Qt::UTC)
                            << "15.07.21 14:00:00";
    QTest::newRow("last second before the clocks go forward")
        << QDateTime(QDate(2021, 3, 28), QTime(0, 59, 59), Qt::UTC) << "28.03.21 01:59:59";
    QTest::newRow("first second after") << QDateTime(QDate(2021, 3, 28), QTime(1, 0), Qt::UTC)
                                        << "28.03.21 03:00:00";
}

void TestFileTimes::offsetOfTheInstant()
{
    QFETCH(QDateTime, utc);
    QFETCH(QString, expected);

    const ZoneGuard zone(berlinZone);
    const TimeTextFormat format{QLocale(QStringLiteral("de_DE"))};
    QCOMPARE(QString::fromUtf8(FileTimeToText(utc.toSecsSinceEpoch(), format)), expected);
}

enum class Target { File, Missing, SymlinkToFile, DanglingSymlink, NulInPath };
Q_DECLARE_METATYPE(Target)

void TestFileTimes::readFileTimes_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<bool>("found");

    QTest::newRow("file") << Target::File << true;
    QTest::newRow("missing") << Target::Missing << false;
    QTest::newRow("link to file: the file's times") << Target::SymlinkToFile << true;
    QTest::newRow("dangling link: its own times") << Target::DanglingSymlink << true;
    QTest::newRow("NUL inside the path") << Target::NulInPath << false;
}

void TestFileTimes::readFileTimes()
{
    QFETCH(Target, target);
    QFETCH(bool, found);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDateTime made = QDateTime::currentDateTime();
    const QString filePath = folder.filePath(QStringLiteral("data.bin"));
    writeFile(filePath);
    const std::time_t accessed = UtcSeconds(2020, 2, 3, 4, 5, 6);
    const std::time_t modified = UtcSeconds(2019, 8, 9, 17, 11, 12);
    setFileTimes(QFile::encodeName(filePath), accessed, modified);

    QByteArray path = QFile::encodeName(filePath);
    const QByteArray linkPath = QFile::encodeName(folder.filePath(QStringLiteral("link")));
    switch (target) {
    case Target::File: break;
    case Target::Missing: path = QFile::encodeName(folder.filePath(QStringLiteral("gone"))); break;
    case Target::SymlinkToFile:
    case Target::DanglingSymlink:
        QVERIFY(symlink(target == Target::SymlinkToFile ? path.constData() : "nowhere",
                        linkPath.constData()) == 0);
        path = linkPath;
        break;
    case Target::NulInPath: path.append('\0').append("junk"); break;
    }

    FileEntry entry;
    entry.setTimes({1, 1, 1}); // stale times, to be replaced
    entry.setTimes(lookUpFile(path.toStdString()).times);

    if (!found) {
        QVERIFY(entry.CreatedText().empty());
        QVERIFY(entry.AccessedText().empty());
        QVERIFY(entry.ModifiedText().empty());
        return;
    }
    if (target == Target::DanglingSymlink) {
        // As a listing of the folder shows the link: the link's own times.
        struct stat link {};
        QVERIFY(lstat(linkPath.constData(), &link) == 0);
        QCOMPARE(entry.AccessedText(), FileTimeToText(link.st_atime));
        QCOMPARE(entry.ModifiedText(), FileTimeToText(link.st_mtime));
    } else {
        QCOMPARE(entry.AccessedText(), FileTimeToText(accessed));
        QCOMPARE(entry.ModifiedText(), FileTimeToText(modified));
    }
    // Not every file system keeps a birth time; where it does, it is now.
    if (!entry.CreatedText().empty()) {
        QVERIFY(qAbs(entry.times().created - made.toSecsSinceEpoch()) < 120);
    }
}

void TestFileTimes::midnightShowsDateAlone()
{
    const ZoneGuard zone(berlinZone);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString filePath = folder.filePath(QStringLiteral("midnight.txt"));
    writeFile(filePath);
    // 00:00:00.400 on 7 March 2021 in Berlin, an hour ahead of UTC then.
    const std::time_t midnight = UtcSeconds(2021, 3, 6, 23, 0, 0);
    setFileTimes(QFile::encodeName(filePath), midnight, midnight, 400'000'000);

    FileEntry entry;
    entry.setTimes(lookUpFile(QFile::encodeName(filePath).toStdString()).times);
    QCOMPARE(QString::fromUtf8(entry.ModifiedText()),
             QLocale::system().toString(QDate(2021, 3, 7), QLocale::ShortFormat));
}

void TestFileTimes::userLocale_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("locale");

    QTest::newRow("LC_ALL first") << QStringList{"LC_ALL=de_DE.UTF-8", "LC_TIME=en_GB.UTF-8",
                                                 "LANG=en_US.UTF-8"}
                                  << "de_DE";
    QTest::newRow("then LC_TIME") << QStringList{"LC_TIME=en_GB.UTF-8", "LANG=de_DE.UTF-8"}
                                  << "en_GB";
    QTest::newRow("LANG, not LC_MESSAGES")
        << QStringList{"LANG=en_US.UTF-8", "LC_MESSAGES=de_DE.UTF-8"} << "en_US";
    QTest::newRow("en_GB") << QStringList{"LANG=en_GB.UTF-8"} << "en_GB";
}

// Qt reads the locale environment once per process, so each setting is
// tried in a fresh run of this executable.
void TestFileTimes::userLocale()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, locale);

    QProcessEnvironment childEnvironment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_TIME", "LC_MESSAGES", "LC_NUMERIC", "LANG", "LANGUAGE"})
        childEnvironment.remove(QString::fromLatin1(name));
    for (const QString& setting : environment)
        childEnvironment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    childEnvironment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    childEnvironment.insert(QString::fromLatin1(probeVariable), QStringLiteral("1"));

    QProcess child;
    child.setProcessEnvironment(childEnvironment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    QVERIFY(lines.size() >= 2);

    const std::string expected = TimeTextFormat(QLocale(locale)).text(BrokenDown(probeInstant));
    QCOMPARE(lines.at(0), QString::fromUtf8(expected));
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(probeVariable))
        return PrintProbe();
    QCoreApplication app(argc, argv);
    TestFileTimes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filetimes.moc"
