// Names a FAT file system cannot hold: our rules for them, and how the file
// system is recognised.

#include "rename/FatNames.h"
#include "rename/FileSystemRules.h"
#include "tests/rename/DiskFixture.h"
#include "tests/rename/FatImage.h"

#include <QTest>

#include <memory>

class TestFatFileSystem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nameRules_data();
    void nameRules();
    void recognised();

private:
    std::unique_ptr<fixture::FatImage> m_fat;
};

void TestFatFileSystem::initTestCase()
{
    m_fat = std::make_unique<fixture::FatImage>();
    if (!m_fat->isMounted())
        qWarning("Tests on a FAT image are skipped: %s", m_fat->skipReason());
}

void TestFatFileSystem::nameRules_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("because");  // empty: allowed

    const QByteArray emoji = "\xf0\x9f\x98\x80";  // two UTF-16 units
    QTest::newRow("plain") << QByteArray("Photo 1.JPG") << QByteArray();
    QTest::newRow("beyond ASCII") << QByteArray("\xc3\xa9t\xc3\xa9") << QByteArray();
    QTest::newRow("leading dot, inner blanks") << QByteArray(".a b.c") << QByteArray();
    QTest::newRow("255 units") << QByteArray(253, 'n') + emoji << QByteArray();
    QTest::newRow("256 units") << QByteArray(254, 'n') + emoji
                               << QByteArray("too long, 256 UTF-16 units where at most 255 fit");
    QTest::newRow("control character") << QByteArray("a\x1f") << QByteArray("control character U+001F");
    QTest::newRow("quote") << QByteArray("a\"b") << QByteArray("'\"'");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("'\\'");
    QTest::newRow("ends in a blank") << QByteArray("a ") << QByteArray("it ends in a blank");
    QTest::newRow("stray byte") << QByteArray("a\x80") << QByteArray("not valid UTF-8");
    QTest::newRow("UTF-16 surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("not valid UTF-8");
}

void TestFatFileSystem::nameRules()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, because);
    const QByteArray expected = because.isEmpty() ? because : "name not allowed on this file system: " + because;
    QCOMPARE(QByteArray::fromStdString(fatNameRefusal(name.toStdString())), expected);
}

void TestFatFileSystem::recognised()
{
    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const FileSystemRules here = FileSystemRules::forFolder(scratch.root().toStdString());
    QVERIFY(!here.isFatFamily());
    QVERIFY(here.refusal("a:b").empty());
    QVERIFY(here.nameMax() >= 255);
    if (!m_fat->isMounted())
        QSKIP(m_fat->skipReason());
    const FileSystemRules fat = FileSystemRules::forFolder(m_fat->root().toStdString());
    QVERIFY(fat.isFatFamily());
    QCOMPARE(fat.refusal("a:b"), std::string("name not allowed on this file system: ':'"));
    QCOMPARE(fat.nameMax(), 255L);
}

QTEST_GUILESS_MAIN(TestFatFileSystem)
#include "tst_fatfilesystem.moc"
