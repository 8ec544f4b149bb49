// --date-of taken on pictures the test makes: the camera's own clock in
// every zone, and every file without a capture time reported and left with
// its name.

#include "tests/disk/DiskFixture.h"
#include "tests/media/PictureFixture.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray output;
};

Result run(const QByteArray& folder, const QStringList& arguments, const QString& zone = QStringLiteral("UTC"))
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), zone);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromLocal8Bit(folder));
    program.start(QStringLiteral(TOLVEX_RENAME_PATH), arguments);
    program.closeWriteChannel();
    if (!program.waitForFinished(30000))
        qFatal("tolvex-rename did not finish");
    return {program.exitCode(), program.readAllStandardOutput() + program.readAllStandardError()};
}

// Taken at 23:30 in Tokyo; at 02:30 on the night Berlin's clocks skip
// from 02:00 to 03:00, by a camera that wrote no offset; a picture without
// Exif; a text.
const QStringList kFiles{"tokyo.jpg", "spring.tif", "plain.jpg", "notes.txt"};

bool makeFiles(const QByteArray& root)
{
    using fixture::Picture;
    return fixture::writePicture(root + "/tokyo.jpg", Picture::Jpeg,
                                 {{"Exif.Photo.DateTimeOriginal", "2023:08:15 23:30:05"},
                                  {"Exif.Photo.OffsetTimeOriginal", "+09:00"},
                                  {"Exif.Photo.SubSecTimeOriginal", "25"}})
        && fixture::writePicture(root + "/spring.tif", Picture::Tiff,
                                 {{"Exif.Photo.DateTimeOriginal", "2023:03:26 02:30:00"}})
        && fixture::writePicture(root + "/plain.jpg", Picture::Jpeg, {})
        && fixture::makeTree(root, {"notes.txt"});
}

QByteArrayList names(const QByteArrayList& tree)
{
    QByteArrayList names;
    for (const QByteArray& item : tree)
        names << item.left(item.indexOf(':'));
    return names;
}

const QByteArray kPlainFails = "plain.jpg → plain.jpg: has no capture time (Exif DateTimeOriginal)";
const QByteArray kNotesFails
    = "notes.txt → notes.txt: has no capture time: neither a picture that Exiv2 reads nor a QuickTime or MP4 movie";

} // namespace

class TestCaptureDates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void preview_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<QByteArrayList>("lines");

        const QStringList seconds{"--date-of", "taken", "--date", "YYYYMMDDHHMMSS"};
        const QByteArrayList asTheCameraShowed{"tokyo.jpg → 20230815233005tokyo.jpg",
                                               "spring.tif → 20230326023000spring.tif", kPlainFails, kNotesFails};
        // Neither moved into this computer's zone nor across its change of
        // clocks.
        QTest::newRow("in Berlin") << "Europe/Berlin" << seconds << asTheCameraShowed;
        QTest::newRow("in New York") << "America/New_York" << seconds << asTheCameraShowed;
        QTest::newRow("in UTC") << "UTC" << seconds << asTheCameraShowed;
        QTest::newRow("milliseconds from the fraction")
            << "UTC" << QStringList{"--date-of", "taken", "--date", "yyyymmddhhmmsszzz"}
            << QByteArrayList{"tokyo.jpg → 20230815233005250tokyo.jpg", "spring.tif → 20230326023000000spring.tif",
                              kPlainFails, kNotesFails};
        QTest::newRow("a short format, at the end")
            << "UTC" << QStringList{"--date-of", "taken", "--place", "suffix", "--date", "DDMMYY"}
            << QByteArrayList{"tokyo.jpg → tokyo150823.jpg", "spring.tif → spring260323.tif", kPlainFails,
                              kNotesFails};
        // A refused file keeps its own name: no rule before changes it, and
        // none after.
        QTest::newRow("rules before and after")
            << "UTC"
            << QStringList{"--upper", "--date-of", "taken", "--date", "YYMMDD", "--replace", "O", "--with", "0"}
            << QByteArrayList{"tokyo.jpg → 230815T0KY0.jpg", "spring.tif → 230326SPRING.tif", kPlainFails,
                              kNotesFails};
    }

    void preview()
    {
        QFETCH(QString, zone);
        QFETCH(QStringList, rules);
        QFETCH(QByteArrayList, lines);
        fixture::ScratchFolder folder;
        QVERIFY(makeFiles(folder.root()));

        const Result result = run(folder.root(), rules + kFiles, zone);
        QCOMPARE(result.exitCode, 1);
        QByteArrayList shown = result.output.split('\n');
        shown.removeIf([](const QByteArray& line) { return !line.contains(" → "); });
        QCOMPARE(shown, lines);
        QVERIFY2(result.output.contains("2 of 4 files would be renamed, 2 could not be"), result.output);
    }

    // --apply renames the pictures with a capture time and leaves the rest,
    // each listed with its reason, with exit status 1.
    void apply()
    {
        fixture::ScratchFolder folder;
        QVERIFY(makeFiles(folder.root()));
        const Result result = run(folder.root(),
                                  QStringList{"--date-of", "taken", "--date", "YYYYMMDD", "--apply", "--journal", "j"}
                                      + kFiles);
        QCOMPARE(result.exitCode, 1);
        QByteArrayList tree = names(fixture::readTree(folder.root()));
        tree.removeIf([](const QByteArray& name) { return name.startsWith('j'); });
        QCOMPARE(tree, (QByteArrayList{"20230326spring.tif", "20230815tokyo.jpg", "notes.txt", "plain.jpg"}));
        QVERIFY2(result.output.contains("2 of 4 files renamed, 2 could not be"), result.output);
        QVERIFY2(result.output.contains(kPlainFails) && result.output.contains(kNotesFails), result.output);
    }

    void json()
    {
        fixture::ScratchFolder folder;
        QVERIFY(makeFiles(folder.root()));
        const Result result = run(folder.root(), {"--json", "--date-of", "taken", "--date", "YYYYMMDD", "plain.jpg"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains("{\"file\":\"plain.jpg\",\"new_name\":\"plain.jpg\",\"outcome\":\"fails\","
                                        "\"reason\":\"has no capture time (Exif DateTimeOriginal)\"}"),
                 result.output);
    }
};

QTEST_GUILESS_MAIN(TestCaptureDates)
#include "tst_capturedates.moc"
