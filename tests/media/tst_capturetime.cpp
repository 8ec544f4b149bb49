// The capture time of pictures that Exiv2 wrote, and the reason for every
// file that has none: no other time stands in for it.

#include "media/CaptureTime.h"
#include "tests/disk/DiskFixture.h"
#include "tests/media/MediaFixture.h"
#include "tests/media/PictureFixture.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>

namespace {

constexpr const char* kOriginal = "Exif.Photo.DateTimeOriginal";
constexpr const char* kOffset = "Exif.Photo.OffsetTimeOriginal";
constexpr const char* kSubSeconds = "Exif.Photo.SubSecTimeOriginal";

// How a file to read is made.
enum class Made { Picture, Text, Empty, Pipe, Nothing };

} // namespace

Q_DECLARE_METATYPE(fixture::Picture)
Q_DECLARE_METATYPE(fixture::ExifTags)
Q_DECLARE_METATYPE(Made)

class TestCaptureTime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        using fixture::Picture;
        QTest::addColumn<Made>("made");
        QTest::addColumn<Picture>("kind");
        QTest::addColumn<fixture::ExifTags>("tags");
        QTest::addColumn<QString>("wallTime");  // yyyy-MM-dd HH:mm:ss.zzz; empty: none
        QTest::addColumn<int>("offset");        // seconds east of UTC; -1: no zone
        QTest::addColumn<QByteArray>("missing");

        const QByteArray noTag = "has no capture time (Exif DateTimeOriginal)";
        const QByteArray night = "2023:08:15 23:30:05";
        QTest::newRow("JPEG with an offset")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, night}, {kOffset, "+09:00"}}
            << "2023-08-15 23:30:05.000" << 9 * 3600 << QByteArray();
        QTest::newRow("TIFF with a negative half-hour offset")
            << Made::Picture << Picture::Tiff << fixture::ExifTags{{kOriginal, night}, {kOffset, "-03:30"}}
            << "2023-08-15 23:30:05.000" << -(3 * 3600 + 1800) << QByteArray();
        QTest::newRow("JPEG without an offset: no zone")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, night}} << "2023-08-15 23:30:05.000"
            << -1 << QByteArray();
        QTest::newRow("TIFF/EP: the tag in the first directory")
            << Made::Picture << Picture::Tiff << fixture::ExifTags{{"Exif.Image.DateTimeOriginal", night}}
            << "2023-08-15 23:30:05.000" << -1 << QByteArray();
        QTest::newRow("a fraction of one digit is tenths")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, night}, {kSubSeconds, "5"}}
            << "2023-08-15 23:30:05.500" << -1 << QByteArray();
        QTest::newRow("a fraction of six digits")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, night}, {kSubSeconds, "123456"}}
            << "2023-08-15 23:30:05.123" << -1 << QByteArray();
        QTest::newRow("an offset that is none: no zone, the time kept")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, night}, {kOffset, "+25:00"}}
            << "2023-08-15 23:30:05.000" << -1 << QByteArray();
        QTest::newRow("a picture without Exif") << Made::Picture << Picture::Jpeg << fixture::ExifTags{} << QString()
                                                << -1 << noTag;
        // DateTime is when the file was last changed: never taken instead.
        QTest::newRow("Exif without DateTimeOriginal")
            << Made::Picture << Picture::Jpeg
            << fixture::ExifTags{{"Exif.Image.DateTime", night}, {"Exif.Photo.DateTimeDigitized", night}} << QString()
            << -1 << noTag;
        QTest::newRow("a camera whose clock was never set")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, "0000:00:00 00:00:00"}} << QString()
            << -1 << QByteArray("\"0000:00:00 00:00:00\" is no date and time");
        QTest::newRow("a blank tag") << Made::Picture << Picture::Tiff
                                     << fixture::ExifTags{{kOriginal, "    :  :     :  :  "}} << QString() << -1
                                     << QByteArray("is no date and time");
        QTest::newRow("a day that does not exist")
            << Made::Picture << Picture::Jpeg << fixture::ExifTags{{kOriginal, "2023:02:29 10:00:00"}} << QString()
            << -1 << QByteArray("is no date and time");
        QTest::newRow("a text file")
            << Made::Text << Picture::Jpeg << fixture::ExifTags{} << QString() << -1
            << QByteArray("has no capture time: neither a picture that Exiv2 reads nor a QuickTime or MP4 movie");
        QTest::newRow("an empty file") << Made::Empty << Picture::Jpeg << fixture::ExifTags{} << QString() << -1
                                       << QByteArray("has no capture time: the file is empty");
        // Opened without blocking: a pipe with no writer must not hang.
        QTest::newRow("a named pipe") << Made::Pipe << Picture::Jpeg << fixture::ExifTags{} << QString() << -1
                                      << QByteArray("has no capture time: not a regular file");
        QTest::newRow("no file") << Made::Nothing << Picture::Jpeg << fixture::ExifTags{} << QString() << -1
                                 << QByteArray("has no capture time: No such file or directory");
    }

    void read()
    {
        QFETCH(Made, made);
        QFETCH(fixture::Picture, kind);
        QFETCH(fixture::ExifTags, tags);
        QFETCH(QString, wallTime);
        QFETCH(int, offset);
        QFETCH(QByteArray, missing);
        fixture::ScratchFolder folder;
        const QByteArray path = folder.root() + "/file";
        switch (made) {
        case Made::Picture:
            QVERIFY(fixture::writePicture(path, kind, tags));
            break;
        case Made::Text:
            QVERIFY(fixture::makeTree(folder.root(), {"file"}));
            break;
        case Made::Empty:
            QVERIFY(fixture::makeTree(folder.root(), {"file"}));
            QVERIFY(truncate(path, 0) == 0);
            break;
        case Made::Pipe:
            QVERIFY(mkfifo(path, 0644) == 0);
            break;
        case Made::Nothing:
            break;
        }

        const CaptureTime taken = readCaptureTime(path.toStdString());
        if (wallTime.isEmpty()) {
            QVERIFY(!taken.time.isValid());
            QVERIFY2(QByteArray::fromStdString(taken.missing).contains(missing), taken.missing.c_str());
            return;
        }
        QVERIFY2(taken.missing.empty(), taken.missing.c_str());
        QCOMPARE(taken.time.toString("yyyy-MM-dd HH:mm:ss.zzz"), wallTime);
        if (offset == -1) {
            QCOMPARE(taken.time.timeSpec(), Qt::UTC);
        } else {
            QCOMPARE(taken.time.timeSpec(), Qt::OffsetFromUTC);
            QCOMPARE(taken.time.offsetFromUtc(), offset);
        }
    }

    // In Tokyo, 9 hours east of the UTC a movie header keeps.
    void movies_data()
    {
        QTest::addColumn<QByteArray>("movie");
        QTest::addColumn<QString>("time");  // ISO 8601; empty: none
        constexpr quint32 utc = 3774954605;  // 2023-08-15 14:30:05 UTC, in seconds since 1904
        QTest::newRow("MP4: its header, in local time") << fixture::movie("isom", utc) << "2023-08-15T23:30:05+09:00";
        QTest::newRow("MOV: Apple's date, as the clock showed it")
            << fixture::movie("qt  ", utc, "2023-08-14T22:30:05-0700") << "2023-08-14T22:30:05-07:00";
        QTest::newRow("MOV: Apple's date, no header's") << fixture::movie("qt  ", 0, "2023-08-14T22:30:05-0700")
                                                       << "2023-08-14T22:30:05-07:00";
        QTest::newRow("MP4 whose header holds the zero date") << fixture::movie("isom", 0) << QString();
        QTest::newRow("MOV whose header holds the zero date") << fixture::movie("qt  ", 0) << QString();
    }

    void movies()
    {
        QFETCH(QByteArray, movie);
        QFETCH(QString, time);
        qputenv("TZ", "Asia/Tokyo");
        fixture::ScratchFolder folder;
        QFile file(QString::fromLocal8Bit(folder.root() + "/clip"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(movie) == movie.size() && file.flush());
        const CaptureTime taken = readCaptureTime(file.fileName().toStdString());
        QCOMPARE(taken.time.toOffsetFromUtc(taken.time.offsetFromUtc()).toString(Qt::ISODate), time);
        QCOMPARE(taken.missing.empty(), !time.isEmpty());
    }

    // Exiv2 is never handed the path: it would read "-" as standard input.
    void aPictureNamedDash()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::writePicture(folder.root() + "/-", fixture::Picture::Jpeg,
                                      {{kOriginal, "2001:02:03 04:05:06"}}));
        QVERIFY(QDir::setCurrent(QString::fromLocal8Bit(folder.root())));
        const CaptureTime taken = readCaptureTime("-");
        QCOMPARE(taken.time, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC));
    }
};

QTEST_GUILESS_MAIN(TestCaptureTime)
#include "tst_capturetime.moc"
