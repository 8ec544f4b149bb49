// --tag on songs and a picture the test makes: the values in the names, and
// every file without one reported and left with its name.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"
#include "tests/media/MediaFixture.h"
#include "tests/media/PictureFixture.h"

#include <QTest>

class TestTagValues : public QObject {
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
        QTest::newRow("an Exif key")
            << QStringList{"--add", "_", "--tag", "exif:Exif.Image.Model", "shot.jpg", "song.mp3"}
            << QByteArrayList{"shot.jpg → 'Pixel 7_shot.jpg'",
                              "song.mp3 → song.mp3: not a picture that Exiv2 reads"};
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
                                      {{"Exif.Image.Model", "Pixel 7"}}));
        const ProgramResult result = runProgram(root, arguments);
        QCOMPARE(result.exitCode, 1);
        QByteArrayList shown = result.output.split('\n');
        shown.removeIf([](const QByteArray& line) { return !line.contains(" → "); });
        QCOMPARE(shown, lines);
    }
};

QTEST_GUILESS_MAIN(TestTagValues)
#include "tst_tagvalues.moc"
