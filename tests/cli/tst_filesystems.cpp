// Renames on the file systems users keep files on, each through FUSE, where
// the kernel's rename that never replaces is refused: sshfs (the way to a
// NAS), which numbers inodes by path, and fusefat and exfat-fuse (USB
// sticks), which make no hard links. Every file keeps its bytes, nothing is
// left under a second name, and a killed run is undone.

#include "tests/cli/FuseMounts.h"
#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"
#include "tests/disk/FatImage.h"

#include <QTest>

#include <memory>

namespace {

struct Mounted {
    std::unique_ptr<fixture::FuseMount> fuse;
    std::unique_ptr<fixture::FatImage> fat;

    explicit Mounted(const QString& kind)
    {
        if (kind == "sshfs")
            fuse = std::make_unique<fixture::SshfsMount>();
        else if (kind == "exFAT")
            fuse = std::make_unique<fixture::ExfatImage>();
        else
            fat = std::make_unique<fixture::FatImage>();
    }
    QByteArray skipReason() const { return fuse ? fuse->skipReason() : fat->skipReason(); }
    QByteArray root() const { return fuse ? fuse->root() : fat->root(); }
};

} // namespace

class TestFileSystems : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void renamedKilledAndUndone_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"sshfs", "fusefat", "exFAT"})
            QTest::newRow(kind) << QString(kind);
    }

    void renamedKilledAndUndone()
    {
        QFETCH(QString, kind);
        const Mounted mounted(kind);
        if (!mounted.skipReason().isEmpty())
            QSKIP(mounted.skipReason());
        const QByteArray root = mounted.root();
        QByteArrayList names;
        for (int i = 0; i < 100; ++i)
            names << "f" + QByteArray::number(100 + i);
        QVERIFY(fixture::makeTree(root, names));
        const QByteArrayList before = fixture::readTree(root);
        fixture::ScratchFolder journals;
        const QString journal = QFile::decodeName(journals.root()) + "/j";
        const QStringList arguments{"-0", "--add", "X_", "--apply", "--journal"};

        const ProgramResult renamed = runProgram(root, arguments + QStringList{journal}, nulSeparated(names));
        QVERIFY2(renamed.exitCode == 0, renamed.output + renamed.errors);
        QByteArrayList expected;
        for (const QByteArray& name : names)
            expected << "X_" + name + ':' + name;
        QCOMPARE(fixture::readTree(root), expected);
        QCOMPARE(runProgram(root, {"--undo", journal, "--apply"}).exitCode, 0);
        QCOMPARE(fixture::readTree(root), before);

        const ProgramResult killed = runProgram(root, arguments + QStringList{journal + "2"}, nulSeparated(names),
                                                {{"TOLVEX_FAULT_KILL_AT", "101"}});
        QVERIFY(killed.crashed);
        const ProgramResult undone = runProgram(root, {"--undo", journal + "2", "--apply"});
        QVERIFY2(undone.exitCode == 0, undone.output + undone.errors);
        QCOMPARE(fixture::readTree(root), before);
    }

    // Where a name is reserved with an empty file, another program that
    // writes into it keeps what it wrote, and the run says so.
    void writerAtTheReservedName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fusefat") << "fusefat";
        QTest::newRow("exFAT") << "exFAT";
    }

    void writerAtTheReservedName()
    {
        QFETCH(QString, kind);
        const Mounted mounted(kind);
        if (!mounted.skipReason().isEmpty())
            QSKIP(mounted.skipReason());
        QVERIFY(fixture::makeTree(mounted.root(), {"a.txt"}));
        const ProgramResult result = runProgram(mounted.root(), {"--add", "X_", "--apply", "a.txt"}, {},
                                                {{"TOLVEX_FAULT_PLACEHOLDER", "X_a.txt"}});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.output.contains("another program put a file at the new name"), result.output);
        QCOMPARE(fixture::readTree(mounted.root()), (QByteArrayList{"X_a.txt:saved", "a.txt:a.txt"}));
        // A name the driver could not hold is refused before it sees it.
        const ProgramResult refused = runProgram(mounted.root(), {"--replace", "a", "--with", "a:", "--apply", "a.txt"});
        QVERIFY2(refused.output.contains("name not allowed on this file system: ':'"), refused.output);
    }
};

QTEST_GUILESS_MAIN(TestFileSystems)
#include "tst_filesystems.moc"
