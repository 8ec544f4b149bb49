// What --tag reads from files the test makes: each audio format's fields,
// a picture's keys, and why a file has none.

#include "media/HeldValues.h"
#include "tests/disk/DiskFixture.h"
#include "tests/media/MediaFixture.h"
#include "tests/media/PictureFixture.h"

#include <QTest>

Q_DECLARE_METATYPE(fixture::AudioTags)

namespace {

const QByteArrayList kFields{"artist", "album", "title", "track", "disc", "year", "genre"};

// Each field's value, or why there is none.
QByteArrayList valuesOf(const QByteArray& path, const QByteArrayList& fields)
{
    QByteArrayList values;
    for (const QByteArray& field : fields) {
        const HeldValue value = readHeldValue(path.toStdString(), field.toStdString());
        values << QByteArray::fromStdString(value.missing.empty() ? value.text : value.missing);
    }
    return values;
}

} // namespace

class TestHeldValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void audio_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<fixture::AudioTags>("tags");
        QTest::addColumn<QByteArrayList>("values");  // of kFields

        const fixture::AudioTags tags{{"ARTIST", "AC/DC"}, {"ALBUM", "Été"},       {"TITLE", "T.N.T."},
                                      {"TRACKNUMBER", "7/12"}, {"DISCNUMBER", "2/3"}, {"DATE", "1975-12-01"},
                                      {"GENRE", "Rock"}};
        const QByteArrayList all{"AC/DC", "Été", "T.N.T.", "7", "2", "1975", "Rock"};
        for (const char* name : {"a.mp3", "a.flac", "a.ogg", "a.opus", "a.m4a", "a.wav"})
            QTest::newRow(name) << QByteArray(name) << tags << all;
        QTest::newRow("ID3v1, which holds no disc")
            << QByteArray("a.v1.mp3") << fixture::AudioTags{{"ARTIST", "AC/DC"}, {"TRACKNUMBER", "7"}, {"DATE", "1975"}}
            << QByteArrayList{"AC/DC", "has no album tag", "has no title tag", "7", "has no disc tag", "1975",
                              "has no genre tag"};
        QByteArrayList none;
        for (const QByteArray& field : kFields)
            none << "has no " + field + " tag";
        QTest::newRow("no tag") << QByteArray("a.flac") << fixture::AudioTags{} << none;
    }

    void audio()
    {
        QFETCH(QByteArray, name);
        QFETCH(fixture::AudioTags, tags);
        QFETCH(QByteArrayList, values);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::writeAudio(folder.root() + "/" + name, tags));
        // The format is told by the bytes, not by the name.
        QVERIFY(QFile::rename(QString::fromLocal8Bit(folder.root() + "/" + name),
                              QString::fromLocal8Bit(folder.root() + "/song")));
        QCOMPARE(valuesOf(folder.root() + "/song", kFields), values);
    }

    // Keys as Exiv2 prints them; an audio field of a picture, a key of a song.
    void pictureKeys()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::writePicture(folder.root() + "/a.jpg", fixture::Picture::Jpeg,
                                      {{"Exif.Image.Model", "Pixel 7"}, {"Exif.Photo.FNumber", "28/10"}}));
        QCOMPARE(valuesOf(folder.root() + "/a.jpg",
                          {"exif:Exif.Image.Model", "exif:Exif.Photo.FNumber", "exif:Exif.Image.Make", "title"}),
                 (QByteArrayList{"Pixel 7", "F2.8", "has no Exif.Image.Make", "not an audio file that TagLib reads"}));
        QVERIFY(fixture::writeAudio(folder.root() + "/a.mp3", {}));
        QCOMPARE(valuesOf(folder.root() + "/a.mp3", {"exif:Exif.Image.Model"}),
                 QByteArrayList{"not a picture that Exiv2 reads"});
    }
};

QTEST_GUILESS_MAIN(TestHeldValues)
#include "tst_heldvalues.moc"
