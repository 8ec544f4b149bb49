// --tag and --date-of taken on a music folder and a camera roll the test
// makes: the values in the names, and every file without one reported and
// left with its name.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"
#include "tests/media/MediaFixture.h"
#include "tests/media/PictureFixture.h"

#include <QTest>

class TestTagsAndMovies : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void preview_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArrayList>("lines");

        QTest::newRow("music")
            << QStringList{"--remove-first", "255", "--place", "suffix", "--mask", "00", "--tag", "track", "--add",
                           " - ", "--tag", "title", "song.mp3", "plain.ogg"}
            << QByteArrayList{"song.mp3 → '07 - AC_DC.mp3'", "plain.ogg → plain.ogg: has no track tag"};
        QTest::newRow("a camera roll, in Tokyo")
            << QStringList{"--date-of", "taken", "--date", "YYYYMMDDHHMMSS", "shot.jpg", "clip.mp4", "old.mov"}
            << QByteArrayList{"shot.jpg → 20230815233005shot.jpg", "clip.mp4 → 20230815233005clip.mp4",
                              "old.mov → old.mov: has no capture time (QuickTime creationdate, or a creation "
                              "time in the movie header)"};
        QTest::newRow("an Exif key")
            << QStringList{"--add", "_", "--tag", "exif:Exif.Image.Model", "shot.jpg", "song.mp3"}
            << QByteArrayList{"shot.jpg → 'Pixel 7_shot.jpg'", "song.mp3 → song.mp3: not a picture that Exiv2 reads"};
    }

    void preview()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArrayList, lines);
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root();
        QVERIFY(fixture::writeAudio(root + "/song.mp3", {{"TITLE", "AC/DC"}, {"TRACKNUMBER", "7"}}));
        QVERIFY(fixture::writeAudio(root + "/plain.ogg", {{"TITLE", "Plain"}}));
        QVERIFY(fixture::writePicture(root + "/shot.jpg", fixture::Picture::Jpeg,
                                      {{"Exif.Photo.DateTimeOriginal", "2023:08:15 23:30:05"},
                                       {"Exif.Image.Model", "Pixel 7"}}));
        QFile clip(QString::fromLocal8Bit(root + "/clip.mp4"));
        QFile old(QString::fromLocal8Bit(root + "/old.mov"));
        QVERIFY(clip.open(QIODevice::WriteOnly) && clip.write(fixture::movie("isom", 3774954605)) > 0);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(fixture::movie("qt  ", 0)) > 0);
        clip.close();
        old.close();

        const ProgramResult result = runProgram(root, arguments, {}, {{"TZ", "Asia/Tokyo"}});
        QCOMPARE(result.exitCode, 1);
        QByteArrayList shown = result.output.split('\n');
        shown.removeIf([](const QByteArray& line) { return !line.contains(" → "); });
        QCOMPARE(shown, lines);
    }
};

QTEST_GUILESS_MAIN(TestTagsAndMovies)
#include "tst_tagsandmovies.moc"
