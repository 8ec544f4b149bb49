// A folder's reading gives each plain file the inode a look at it gives, and
// nothing for a name it cannot vouch for: a journaled run records these as
// the files it renames, so a wrong or stale one would refuse the file or,
// worse, vouch for another.

#include "disk/FolderNames.h"
#include "tests/disk/DiskFixture.h"

#include <QTest>

class TestFolderNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listedInodes_data()
    {
        QTest::addColumn<bool>("ignoresCase");
        QTest::addColumn<int>("addedAfter");  // names added after the reading, enough to grow its table
        QTest::newRow("as read") << false << 0;
        QTest::newRow("after the table grew") << false << 300;
        QTest::newRow("case ignored: none vouched for") << true << 0;
    }

    void listedInodes()
    {
        QFETCH(bool, ignoresCase);
        QFETCH(int, addedAfter);
        fixture::ScratchFolder folder;
        QByteArrayList layout{"sub/", "link@f0"};
        for (int i = 0; i < 200; ++i)
            layout << "f" + QByteArray::number(i);
        QVERIFY(fixture::makeTree(folder.root(), layout));
        const int fd = open(folder.root(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        FolderNames names(fd, ignoresCase);
        close(fd);

        // A name taken away and given back is another file's now.
        names.remove("f7");
        names.add("f7");
        for (int i = 0; i < addedAfter; ++i)
            names.add("new" + std::to_string(i));

        for (int i = 0; i < 200; ++i) {
            const QByteArray name = "f" + QByteArray::number(i);
            struct stat status;
            QVERIFY(lstat(folder.root() + "/" + name, &status) == 0);
            const std::uint64_t expected = ignoresCase || i == 7 ? 0 : status.st_ino;
            QCOMPARE(names.listedInode(name.toStdString()), expected);
        }
        QCOMPARE(names.listedInode("sub"), std::uint64_t(0));
        QCOMPARE(names.listedInode("link"), std::uint64_t(0));
        QCOMPARE(names.listedInode("new1"), std::uint64_t(0));
        QCOMPARE(names.listedInode("missing"), std::uint64_t(0));
    }

    // A folder's descriptor read a second time (its names folded for a
    // change of case) lists every name again, not what was left after the
    // first reading.
    void secondReadingOfOneDescriptor()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a", "B"}));
        const int fd = open(folder.root(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const FolderNames first(fd, false);
        const FolderNames folded(fd, true);
        close(fd);
        QVERIFY(first.indexOf("B") != NameSet::npos);
        QVERIFY(folded.indexOf("b") != NameSet::npos);
    }
};

QTEST_APPLESS_MAIN(TestFolderNames)
#include "tst_foldernames.moc"
