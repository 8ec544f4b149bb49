// --undo takes back what its run did, told by the files it recorded and
// never by their names: after a kill at any rename of a resolved plan, and
// against files replaced, journals edited, folders swapped mid-run and
// another run at the same time.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QProcess>
#include <QTest>

#include <algorithm>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Three swaps of a resolved plan: nine renames through temporary names.
const QByteArrayList kSwapped{"a1", "b1", "a2", "b2", "a3", "b3"};

QByteArray swapPlan()
{
    QByteArray plan;
    for (int i = 0; i < kSwapped.size(); i += 2) {
        plan += "{\"file\":\"" + kSwapped[i] + "\",\"new_name\":\"" + kSwapped[i + 1] + "\"}\n";
        plan += "{\"file\":\"" + kSwapped[i + 1] + "\",\"new_name\":\"" + kSwapped[i] + "\"}\n";
    }
    return plan;
}

void writeFile(const QByteArray& path, const QByteArray& content)
{
    QFile file(QFile::decodeName(path));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

// Each file's name by its inode, the run's own files left out.
std::map<ino_t, QByteArray> namesByInode(const QByteArray& folder)
{
    std::map<ino_t, QByteArray> names;
    for (const QByteArray& item : fixture::readTree(folder)) {
        const QByteArray name = item.left(item.indexOf(':'));
        struct stat status;
        if (!name.startsWith('.') && lstat(folder + '/' + name, &status) == 0)
            names[status.st_ino] = name;
    }
    return names;
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Killed before or after each rename of the plan, then undone: every
    // name back on its own file, and nothing said to be undone that was not.
    void killedSwaps_data()
    {
        QTest::addColumn<QString>("killAt");
        QTest::addColumn<int>("undone");
        for (int rename = 1; rename <= 9; ++rename) {
            QTest::addRow("before rename %d", rename) << QString::number(rename) << rename - 1;
            QTest::addRow("after rename %d", rename) << QString::number(rename) + 'a' << rename;
        }
    }

    void killedSwaps()
    {
        QFETCH(QString, killAt);
        QFETCH(int, undone);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), kSwapped));
        const std::map<ino_t, QByteArray> before = namesByInode(folder.root());
        writeFile(folder.root() + "/.plan", swapPlan());

        const ProgramResult killed =
            runProgram(folder.root(), {"--from-json", ".plan", "--resolve", "--apply", "--journal", ".j"}, {},
                       {{"TOLVEX_FAULT_KILL_AT", killAt}});
        QVERIFY(killed.crashed);
        const ProgramResult undo = runProgram(folder.root(), {"--undo", ".j", "--apply"});
        QVERIFY2(undo.exitCode == 0, undo.output + undo.errors);
        QVERIFY2(undo.output.contains(QByteArray::number(undone) + " of 9 renames undone"), undo.output);
        QCOMPARE(namesByInode(folder.root()), before);
    }

    // What is not the run's file is never moved: the step is refused and
    // said, and what stands there stays.
    void refusesWhatIsNotItsFile_data()
    {
        QTest::addColumn<QByteArray>("mischief");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("the renamed file replaced") << QByteArray("replaced") << 1;
        // The same file (a hard link), but in a folder the run never renamed in.
        QTest::newRow("the journal sent into another folder") << QByteArray("edited") << 1;
        // Killed after the first half of a swap, the file since moved away,
        // and two other files under the run's temporary names: none is it.
        QTest::newRow("temporary names holding other files") << QByteArray("temporaries") << 0;
    }

    void refusesWhatIsNotItsFile()
    {
        QFETCH(QByteArray, mischief);
        QFETCH(int, exitCode);
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root();
        QVERIFY(fixture::makeTree(root, {"a", "b", "other/"}));
        if (mischief == "temporaries") {
            writeFile(root + "/.plan", "{\"file\":\"a\",\"new_name\":\"b\"}\n{\"file\":\"b\",\"new_name\":\"a\"}\n");
            QVERIFY(runProgram(root, {"--from-json", ".plan", "--resolve", "--apply", "--journal", ".j"}, {},
                               {{"TOLVEX_FAULT_KILL_AT", "1a"}}).crashed);
            const QByteArray journal = fixture::readContent(root + "/.j");
            const QByteArray temporary = journal.mid(journal.indexOf("\"to\":\"") + 6).split('"').first();
            QVERIFY(rename(temporary, root + "/other/a") == 0);
            writeFile(temporary.left(temporary.size() - 1) + "x", "one");
            writeFile(temporary.left(temporary.size() - 2) + "yz", "two");
        } else {
            QCOMPARE(runProgram(root, {"--add", "x", "--apply", "--journal", ".j", "a"}).exitCode, 0);
            if (mischief == "replaced") {
                QVERIFY(rename(root + "/xa", root + "/other/kept") == 0);
                writeFile(root + "/xa", "new");
            } else {
                QVERIFY(link(root + "/xa", root + "/other/xa") == 0);
                QByteArray journal = fixture::readContent(root + "/.j");
                writeFile(root + "/.j", journal.replace(root + "/", root + "/other/"));
            }
        }
        const QByteArrayList before = fixture::readTree(root);

        const ProgramResult undo = runProgram(root, {"--undo", ".j", "--apply"});
        QVERIFY2(undo.exitCode == exitCode, undo.output + undo.errors);
        QCOMPARE(fixture::readTree(root), before);
    }

    // Two runs at once over overlapping swaps, each then undone (again, while
    // that brings more back): every name back on its own file, as neither
    // undo moves a file the other's run renamed.
    void twoRunsAtOnce()
    {
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root();
        QByteArrayList names;
        QByteArray plans[2];
        for (int i = 0; i < 200; ++i)
            names << "f" + QByteArray::number(1000 + i);
        for (int i = 0; i + 1 < names.size(); ++i) {
            QByteArray& plan = plans[i % 2];
            plan += "{\"file\":\"" + names[i] + "\",\"new_name\":\"" + names[i + 1] + "\"}\n";
            plan += "{\"file\":\"" + names[i + 1] + "\",\"new_name\":\"" + names[i] + "\"}\n";
        }
        QVERIFY(fixture::makeTree(root, names));
        const std::map<ino_t, QByteArray> before = namesByInode(root);
        writeFile(root + "/.a", plans[0]);
        writeFile(root + "/.b", plans[1]);
        QProcess other;
        other.setWorkingDirectory(QFile::decodeName(root));
        other.start(TOLVEX_RENAME_PATH, {"--from-json", ".a", "--resolve", "--apply", "--journal", ".ja"});
        runProgram(root, {"--from-json", ".b", "--resolve", "--apply", "--journal", ".jb"});
        QVERIFY(other.waitForFinished(60000));

        for (int round = 0; round < 5 && namesByInode(root) != before; ++round) {
            runProgram(root, {"--undo", ".jb", "--apply"});
            runProgram(root, {"--undo", ".ja", "--apply"});
        }
        QCOMPARE(namesByInode(root), before);
    }

    // A file replaced by another program after the run read its folder, as
    // the run goes on: the run does not rename the newcomer, and its journal
    // takes back the rest.
    void leavesAFileThatCameSinceItsFolderWasRead()
    {
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root();
        QByteArrayList files;
        for (int i = 0; i < 10; ++i)
            files << "f" + QByteArray::number(i);
        QVERIFY(fixture::makeTree(root, files));
        const ProgramResult run = runProgram(root, {"-0", "--add", "X_", "--apply", "--journal", ".j"},
                                             nulSeparated(files), {{"TOLVEX_FAULT_REPLACE_AT", QFile::decodeName("3:" + root + "/f7")}});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2((run.output + run.errors).contains("another file has taken its name since the run looked at it"),
                 run.output + run.errors);
        QCOMPARE(fixture::readContent(root + "/f7"), QByteArray("other"));
        QCOMPARE(runProgram(root, {"--undo", ".j", "--apply"}).exitCode, 0);
        files << "f7.aside";
        std::sort(files.begin(), files.end());
        QByteArrayList names;
        for (const auto& [inode, name] : namesByInode(root))
            names << name;
        std::sort(names.begin(), names.end());
        QCOMPARE(names, files);
    }

    // A folder swapped for a link to another in the middle of a run: the
    // run goes on in the folder it opened, and neither it nor its undo
    // touches a file of the other.
    void folderSwappedMidRun()
    {
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root();
        QByteArrayList layout{"d/", "other/"};
        QByteArrayList files;
        for (int i = 0; i < 400; ++i) {
            files << "d/f" + QByteArray::number(i);
            layout << files.back() << "other/f" + QByteArray::number(i);
        }
        QVERIFY(fixture::makeTree(root, layout));
        const QByteArrayList others = fixture::readTree(root + "/other");

        const ProgramResult run = runProgram(root, {"-0", "--add", "X_", "--apply", "--journal", ".j"},
                                             nulSeparated(files), {{"TOLVEX_FAULT_SWAP_AT", "200:d:other"}});
        QVERIFY2(run.errors.isEmpty(), run.errors);
        QCOMPARE(fixture::readTree(root + "/other"), others);
        const QByteArrayList moved = fixture::readTree(root + "/d.moved");
        QCOMPARE(std::count_if(moved.begin(), moved.end(), [](const QByteArray& item) { return item.startsWith("X_"); }),
                 400);
        QCOMPARE(runProgram(root, {"--undo", ".j", "--apply"}).exitCode, 1);
        QCOMPARE(fixture::readTree(root + "/other"), others);
    }
};

QTEST_GUILESS_MAIN(TestUndo)
#include "tst_undo.moc"
