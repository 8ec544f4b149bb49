#include "text/FileNames.h"

#include <QTest>

#include <string>

class TestFileNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpers_data();
    void helpers();
};

void TestFileNames::helpers_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("stripped");
    QTest::addColumn<QByteArray>("extension");

    QTest::newRow("double extension")
        << QByteArray("/home/ann/archive.tar.gz") << QByteArray("archive.tar.gz")
        << QByteArray("/home/ann/") << QByteArray("archive.tar") << QByteArray(".gz");
    QTest::newRow("no extension") << QByteArray("/srv/README") << QByteArray("README")
                                  << QByteArray("/srv/") << QByteArray("README") << QByteArray();
    QTest::newRow("hidden file") << QByteArray("/home/ann/.profile") << QByteArray(".profile")
                                 << QByteArray("/home/ann/") << QByteArray()
                                 << QByteArray(".profile");
    QTest::newRow("trailing dot") << QByteArray("/tmp/notes.") << QByteArray("notes.")
                                  << QByteArray("/tmp/") << QByteArray("notes") << QByteArray(".");
    QTest::newRow("bare name") << QByteArray("photo.jpg") << QByteArray("photo.jpg")
                               << QByteArray() << QByteArray("photo") << QByteArray(".jpg");
    QTest::newRow("several slashes") << QByteArray("//srv//data///x.y") << QByteArray("x.y")
                                     << QByteArray("//srv//data///") << QByteArray("x")
                                     << QByteArray(".y");
    QTest::newRow("ends in slash") << QByteArray("/srv/data/") << QByteArray()
                                   << QByteArray("/srv/data/") << QByteArray() << QByteArray();
    QTest::newRow("dot in folder only") << QByteArray("/srv/v1.2/Makefile")
                                        << QByteArray("Makefile") << QByteArray("/srv/v1.2/")
                                        << QByteArray("Makefile") << QByteArray();
    QTest::newRow("colon is a name character")
        << QByteArray("/mnt/C:report.txt") << QByteArray("C:report.txt") << QByteArray("/mnt/")
        << QByteArray("C:report") << QByteArray(".txt");
    QTest::newRow("backslash is a name character")
        << QByteArray("/mnt/dir\\file.v2\\notes") << QByteArray("dir\\file.v2\\notes")
        << QByteArray("/mnt/") << QByteArray("dir\\file") << QByteArray(".v2\\notes");
    QTest::newRow("bytes kept exactly")
        << QByteArray("/m\xc3\xbcsic/\xff\xfe caf\xc3\xa9.\xe2\x82\xac")
        << QByteArray("\xff\xfe caf\xc3\xa9.\xe2\x82\xac") << QByteArray("/m\xc3\xbcsic/")
        << QByteArray("\xff\xfe caf\xc3\xa9") << QByteArray(".\xe2\x82\xac");
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QByteArray()
                           << QByteArray();
}

void TestFileNames::helpers()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, stripped);
    QFETCH(QByteArray, extension);

    const auto bytes = [](std::string_view text) { return QByteArray(text.data(), qsizetype(text.size())); };
    const std::string pathText = path.toStdString();
    const std::string_view nameText = NameOfPath(pathText);
    QCOMPARE(bytes(nameText), name);
    QCOMPARE(bytes(FolderOfPath(pathText)), folder);
    QCOMPARE(bytes(StripExtension(nameText)), stripped);
    QCOMPARE(bytes(ExtensionOfName(nameText)), extension);
    QCOMPARE(bytes(FolderOfPath(pathText)) + bytes(nameText), path);
}

QTEST_APPLESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
