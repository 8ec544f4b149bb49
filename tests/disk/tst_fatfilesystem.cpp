// Names a FAT file system cannot hold: our rules for them, how the file
// system is recognised, and an apply pass on a real FAT image through FUSE,
// where such a name once destroyed the file.

#include "apply/ApplyPass.h"
#include "disk/FatNames.h"
#include "disk/FileSystemRules.h"
#include "listcore/ListCommands.h"
#include "listcore/RowStore.h"
#include "tests/disk/DiskFixture.h"
#include "tests/disk/FatImage.h"

#include <QTest>

#include <memory>

class TestFatFileSystem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nameRules_data();
    void nameRules();
    void recognised();
    void applyRefusesWhatFatCannotHold_data();
    void applyRefusesWhatFatCannotHold();

private:
    std::unique_ptr<fixture::FatImage> m_fat;
};

void TestFatFileSystem::initTestCase()
{
    m_fat = std::make_unique<fixture::FatImage>();
    if (!m_fat->isMounted())
        qWarning("Apply on a FAT image is skipped: %s", m_fat->skipReason());
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
    QVERIFY(!here.ignoresCase());
    QVERIFY(here.refusal("a:b").empty());
    QVERIFY(here.nameMax() >= 255);
    if (!m_fat->isMounted())
        QSKIP(m_fat->skipReason());
    const FileSystemRules fat = FileSystemRules::forFolder(m_fat->root().toStdString());
    QVERIFY(fat.ignoresCase());
    QCOMPARE(fat.refusal("a:b"), std::string("name not allowed on this file system: ':'"));
    QCOMPARE(fat.nameMax(), 255L);
}

void TestFatFileSystem::applyRefusesWhatFatCannotHold_data()
{
    QTest::addColumn<QByteArray>("newName");  // for a.txt, extension and all
    QTest::addColumn<QByteArray>("reason");   // empty: renamed

    const QByteArray notAllowed = "name not allowed on this file system: ";
    for (const char reserved : QByteArray("\"*:<>?\\|"))
        QTest::addRow("%c", reserved) << "a" + QByteArray(1, reserved) + "b.txt"
                                      << notAllowed + "'" + QByteArray(1, reserved) + "'";
    QTest::newRow("control character") << QByteArray("a\x01.txt") << notAllowed + "control character U+0001";
    QTest::newRow("trailing dot") << QByteArray("a.txt.") << notAllowed + "it ends in a dot";
    QTest::newRow("300 characters") << QByteArray(300, 'n')
                                    << notAllowed + "too long, 300 UTF-16 units where at most 255 fit";
    QTest::newRow("not UTF-8") << QByteArray("\xff.txt") << notAllowed + "not valid UTF-8";
    // fusefat takes ASCII names only, and says so before the preview or the
    // rename promises otherwise.
    QTest::newRow("beyond ASCII, refused for the driver")
        << QByteArray("\xc3\xa9.txt") << notAllowed + "its driver holds ASCII names only, not '\xc3\xa9'";
    QTest::newRow("DEL, refused for the driver") << QByteArray("a\x7f") << notAllowed + "its driver holds ASCII names only, not DEL";
    QTest::newRow("case only") << QByteArray("A.TXT") << QByteArray();
    QTest::newRow("another name") << QByteArray("b c.txt") << QByteArray();
}

void TestFatFileSystem::applyRefusesWhatFatCannotHold()
{
    QFETCH(QByteArray, newName);
    QFETCH(QByteArray, reason);
    if (!m_fat->isMounted())
        QSKIP(m_fat->skipReason());

    // Each row in a folder of its own, beside a file that must stay too.
    static int row = 0;
    const QByteArray root = m_fat->root() + "/row" + QByteArray::number(++row);
    QVERIFY(fixture::makeTree(root.left(root.lastIndexOf('/')), {root.mid(root.lastIndexOf('/') + 1) + '/'}));
    QVERIFY(fixture::makeTree(root, {"a.txt", "keep.txt"}));
    RowStore rows;
    rows.setEntryForm(EntryForm::Joined);
    appendFiles(rows, {(root + "/a.txt").toStdString()});
    rows.RowData(rows.FirstRow())->setNewName(newName.toStdString());

    const ApplyReport report = applyRenames(rows);

    if (reason.isEmpty()) {
        QVERIFY(report.allRenamed());
        QByteArrayList expected{"keep.txt:keep.txt", newName + ":a.txt"};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(fixture::readTree(root), expected);
        return;
    }
    QCOMPARE(fixture::readTree(root), (QByteArrayList{"a.txt:a.txt", "keep.txt:keep.txt"}));
    QCOMPARE(report.failures.size(), std::size_t(1));
    QCOMPARE(QByteArray::fromStdString(report.failures[0].reason), reason);
}

QTEST_GUILESS_MAIN(TestFatFileSystem)
#include "tst_fatfilesystem.moc"
