// The journal of tolvex-rename when things go wrong around it: a full disk,
// a reader that went away, a run from another folder, an undo that must
// unwind in order, and a journal of the undo itself.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArrayList numbered(int count, const QByteArray& prefix = "f")
{
    QByteArrayList names;
    for (int i = 0; i < count; ++i)
        names << prefix + QByteArray::number(i).rightJustified(5, '0');
    return names;
}

QByteArrayList treeWithout(const QByteArray& root, const QByteArray& prefix)
{
    QByteArrayList tree = fixture::readTree(root);
    tree.removeIf([&](const QByteArray& item) { return item.startsWith(prefix); });
    return tree;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The journal's disk fills up after `room` bytes: the renames stop
    // before the first that could not be recorded, the run fails, and the
    // undo of the cut-off journal puts every renamed file back.
    void fullDisk_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("renamed");
        QTest::newRow("not even the first batch") << 50'000 << 0;
        QTest::newRow("the second batch cut off") << 250'000 << 1024;
    }

    void fullDisk()
    {
        QFETCH(int, room);
        QFETCH(int, renamed);
        fixture::ScratchFolder folder;
        const QByteArrayList names = numbered(3000);
        QVERIFY(fixture::makeTree(folder.root(), names));
        const QByteArrayList before = fixture::readTree(folder.root());
        const QByteArray journal = folder.root() + "/.j";

        const ProgramResult applied =
            runProgram(folder.root(), {"-0", "--add", "X_", "--apply", "--journal", QFile::decodeName(journal)},
                       nulSeparated(names), {{"TOLVEX_FAULT_FULL", QString::number(room) + ":" + journal}});
        QCOMPARE(applied.exitCode, 1);
        QVERIFY2(applied.errors.contains("could not write the journal"), applied.errors);
        QCOMPARE(int(treeWithout(folder.root(), "X_").size()), int(names.size()) - renamed + 1);  // and .j
        QVERIFY(!fixture::readContent(journal).endsWith('\n'));

        const ProgramResult undone = runProgram(folder.root(), {"--undo", QFile::decodeName(journal), "--apply"});
        QCOMPARE(undone.exitCode, 0);
        QVERIFY2(undone.errors.contains("cut off"), undone.errors);
        QCOMPARE(treeWithout(folder.root(), ".j"), before);
    }

    // Every batch is synced before its first rename, and outcomes that could
    // not be written at the end (past a limit on file size) fail the run.
    void syncedAheadAndAtItsEnd()
    {
        fixture::ScratchFolder folder;
        const QByteArrayList names = numbered(3000);
        QVERIFY(fixture::makeTree(folder.root(), names));
        const QByteArrayList before = fixture::readTree(folder.root());
        const QByteArray journal = folder.root() + "/.j";
        const QStringList arguments{"-0", "--add", "X_", "--apply", "--journal", QFile::decodeName(journal)};
        const ProgramResult synced =
            runProgram(folder.root(), arguments, nulSeparated(names), {{"TOLVEX_FAULT_UNSYNCED", journal}});
        QVERIFY2(synced.errors.contains("tolvex-fault: 0 renames unsynced, 5 syncs"), synced.errors);
        const qint64 size = QFileInfo(QFile::decodeName(journal)).size();
        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply"}).exitCode, 0);
        QVERIFY(QFile::remove(QFile::decodeName(journal)));

        QProcess limited;
        limited.setWorkingDirectory(QFile::decodeName(folder.root()));
        limited.start("prlimit", QStringList{"--fsize=" + QString::number(size - 2000), TOLVEX_RENAME_PATH} + arguments);
        limited.write(nulSeparated(names));
        limited.closeWriteChannel();
        QVERIFY(limited.waitForFinished(60000));
        QCOMPARE(limited.exitCode(), 1);
        QVERIFY(limited.readAllStandardError().contains("could not write the journal"));
        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply"}).exitCode, 0);
        QCOMPARE(treeWithout(folder.root(), ".j"), before);
    }

    // What the run says when its report cannot be written: every rename is
    // still made and recorded, and the run fails, saying why.
    void reportNotWritten_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::newRow("a full output") << "\"$0\" \"$@\" >/dev/full";
        QTest::newRow("a reader that went away") << "set -o pipefail; \"$0\" \"$@\" | head -c 1 >/dev/null";
    }

    void reportNotWritten()
    {
        QFETCH(QString, shell);
        fixture::ScratchFolder folder;
        const QByteArrayList names = numbered(20000);
        QVERIFY(fixture::makeTree(folder.root(), names));
        const QByteArray list = folder.root() + "/.list";
        QFile listFile(QFile::decodeName(list));
        QVERIFY(listFile.open(QIODevice::WriteOnly));
        listFile.write(nulSeparated(names));
        listFile.close();

        QProcess program;
        program.setWorkingDirectory(QFile::decodeName(folder.root()));
        program.setStandardInputFile(QFile::decodeName(list));
        program.start("bash", {"-c", shell, TOLVEX_RENAME_PATH, "-0", "--add", "X_", "--apply", "--json",
                               "--journal", ".j"});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 1);
        QVERIFY2(program.readAllStandardError().contains("could not write the report"), "no word of it");
        QCOMPARE(int(treeWithout(folder.root(), ".").size()), int(names.size()));
        for (const QByteArray& item : treeWithout(folder.root(), "."))
            QVERIFY2(item.startsWith("X_"), item);
        QCOMPARE(fixture::readContent(folder.root() + "/.j").count("{\"done\":"), int(names.size()));
    }

    // A journal names absolute paths: undone from another folder, it puts
    // back the files it renamed, not those of the same names there. (The
    // folder the run was started in has a long name JSON must escape, each
    // byte of its end in six, and so has a folder of the files, which come
    // from one folder, then the other, then the first again.)
    void undoneFromAnotherFolder()
    {
        fixture::ScratchFolder folder;
        const QByteArray first = "w1 \"\\\t\xc3\xa9" + QByteArray(120, '\x01');
        QVERIFY(fixture::makeTree(folder.root(), {first + "/", first + "/a.txt", first + "/b.txt", first + "/s\"\n/",
                                                  first + "/s\"\n/c.txt", "w2/", "w2/a.txt", "w2/b.txt"}));
        const QByteArrayList before = fixture::readTree(folder.root());
        QCOMPARE(runProgram(folder.root() + "/" + first,
                            {"--add", "X_", "--apply", "--journal", "../j", "a.txt", "s\"\n/c.txt", "b.txt"})
                     .exitCode, 0);
        QCOMPARE(runProgram(folder.root() + "/w2", {"--undo", "../j", "--apply"}).exitCode, 0);
        QCOMPARE(treeWithout(folder.root(), "j"), before);
    }

    // Files moved into two folders whose names are as long as each other:
    // the journal keeps each one's new folder apart, and the undo finds
    // both where it put them.
    void movedIntoFoldersOfOneLength()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt", "b.txt", "d1/", "d2/"}));
        QFile plan(QFile::decodeName(folder.root() + "/.plan"));
        QVERIFY(plan.open(QIODevice::WriteOnly));
        plan.write("{\"file\":\"a.txt\",\"new_name\":\"d1/a.txt\"}\n{\"file\":\"b.txt\",\"new_name\":\"d2/b.txt\"}\n");
        plan.close();
        const QByteArrayList before = fixture::readTree(folder.root());
        QCOMPARE(runProgram(folder.root(), {"--from-json", ".plan", "--apply", "--journal", ".j"}).exitCode, 0);
        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply"}).exitCode, 0);
        QCOMPARE(treeWithout(folder.root(), ".j"), before);
    }

    // Run from a folder that was removed, no kind of run can name its
    // files absolutely: each refuses to write a journal and renames nothing.
    void workingFolderGone_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("apply") << QStringList{"--add", "X_", "--apply", "a.txt"};
        QTest::newRow("resolved apply") << QStringList{"--add", "X_", "--resolve", "--apply", "a.txt"};
        QTest::newRow("undo") << QStringList{"--undo", "j", "--apply"};
    }

    void workingFolderGone()
    {
        QFETCH(QStringList, arguments);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"gone/", "a.txt", "b.txt"}));
        QCOMPARE(runProgram(folder.root(), {"--add", "Y_", "--apply", "--journal", "j", "b.txt"}).exitCode, 0);
        const QByteArrayList before = treeWithout(folder.root(), "gone/");
        const QString root = QFile::decodeName(folder.root()) + '/';
        for (QString& argument : arguments) {
            if (argument == "a.txt" || argument == "j")
                argument.prepend(root);
        }
        QProcess shell;
        shell.setWorkingDirectory(root + "gone");
        shell.start("sh", QStringList{"-c", "rmdir \"$PWD\" && exec \"$0\" \"$@\"", TOLVEX_RENAME_PATH}
                              + arguments + QStringList{"--journal", root + "k"});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 2);
        QVERIFY(shell.readAllStandardError().contains("the working folder cannot be told"));
        QCOMPARE(fixture::readTree(folder.root()), before);
    }

    // A file whose proposal is its own name is no rename: not in the
    // journal, not reported as renamed.
    void unchangedIsNoRename()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt", "B.txt"}));
        const ProgramResult result =
            runProgram(folder.root(), {"--lower", "--apply", "--json", "--journal", ".j", "a.txt", "B.txt"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.output.contains("{\"file\":\"a.txt\",\"outcome\":\"unchanged\"}"), result.output);
        QVERIFY(!result.output.contains("\"renamed_to\":\"a.txt\""));
        const QByteArray journal = fixture::readContent(folder.root() + "/.j");
        QCOMPARE(journal.count("{\"step\":"), 1);
        QVERIFY(!journal.contains("\"a.txt\""));
        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply"}).exitCode, 0);
    }

    // An existing file is never taken for a journal, nor touched.
    void existingJournalKept()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt", "j"}));
        const ProgramResult result = runProgram(folder.root(), {"--upper", "--apply", "--journal", "j", "a.txt"});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(fixture::readTree(folder.root()), (QByteArrayList{"a.txt:a.txt", "j:j"}));
    }

    // A journal written by the program before its journals were JSON lines
    // (a swap through a temporary name, a blank and a byte that is not
    // UTF-8 in names) still undoes: the files it renamed, by their inodes.
    void undoesAnOlderJournal()
    {
        fixture::ScratchFolder folder;
        const QByteArray root = folder.root() + '/';
        QVERIFY(fixture::makeTree(folder.root(), {"C D.txt", "f\xff.txt", "a", "b", "keep"}));
        QByteArray journal = fixture::readContent(TOLVEX_TEST_DATA "/journal-v2.txt");
        journal.replace("/tmp/tolvex-old-journal/", root);
        const std::pair<const char*, QByteArray> nowAt[] = {
            {"a72124", "C D.txt"}, {"a72134", "f\xff.txt"}, {"a72104", "b"}, {"a72113", "a"}};
        for (const auto& [inode, name] : nowAt) {
            struct stat status;
            QVERIFY(lstat(root + name, &status) == 0);
            journal.replace(' ' + QByteArray(inode) + ' ', ' ' + QByteArray::number(qulonglong(status.st_ino), 16) + ' ');
        }
        QFile file(QFile::decodeName(root + ".j"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(journal) == journal.size());
        file.close();

        const ProgramResult undone = runProgram(folder.root(), {"--undo", ".j", "--apply"});
        QVERIFY2(undone.exitCode == 0, undone.output + undone.errors);
        QCOMPARE(treeWithout(folder.root(), ".j"),
                 (QByteArrayList{"a:b", "b:a", "c d.txt:C D.txt", "e\xff.txt:f\xff.txt", "keep:keep"}));
    }

    // Renames that only work in their order come back only the other way
    // round, and an undo's own journal redoes them.
    void undoInOrderAndItsJournal()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"ab", "xab"}));
        const QByteArrayList before = fixture::readTree(folder.root());
        QCOMPARE(runProgram(folder.root(), {"--remove-first", "1", "--apply", "--journal", ".j", "ab", "xab"})
                     .exitCode, 0);
        const QByteArrayList after = treeWithout(folder.root(), ".");
        QCOMPARE(after, (QByteArrayList{"ab:xab", "b:ab"}));

        // Each step of the undo's preview sees what the steps before it do.
        const ProgramResult preview = runProgram(folder.root(), {"--undo", ".j"});
        QVERIFY2(preview.exitCode == 0, preview.output);

        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply", "--journal", ".k"}).exitCode, 0);
        QCOMPARE(treeWithout(folder.root(), "."), before);
        QCOMPARE(runProgram(folder.root(), {"--undo", ".k", "--apply"}).exitCode, 0);
        QCOMPARE(treeWithout(folder.root(), "."), after);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
