// tolvex-rename on real trees: folders given, walked (-R) and renamed
// (--dirs), names taken from an editor (--edit), each run that renamed
// taken back by --undo last to the very files it found.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArrayList kTree{"Photos/", "Photos/a.jpg", "Photos/b.txt", "Photos/.h.jpg", "Photos/n\xff.txt",
                           "Photos/sub/", "Photos/sub/c.jpg", "Photos/sub/deep/", "Photos/sub/deep/d.jpg",
                           "Photos/skip/", "Photos/skip/e.jpg", "Other/", "Other/f.jpg", "Photos/link@../Other"};

// Each entry's path and inode: a name brought back to another file is no
// undo.
QByteArrayList pathsAndInodes(const QByteArray& root)
{
    QByteArrayList entries;
    for (QByteArray entry : fixture::readTree(root)) {
        if (!entry.endsWith('/'))
            entry.truncate(std::max(entry.indexOf(':'), entry.indexOf('@')));
        struct stat status;
        lstat(root + '/' + entry, &status);
        entries << entry + ' ' + QByteArray::number(qulonglong(status.st_ino));
    }
    return entries;
}

QByteArrayList pathsAdded(const QByteArrayList& before, const QByteArrayList& after)
{
    QByteArrayList added;
    for (const QByteArray& entry : after) {
        if (!before.contains(entry))
            added << entry.left(entry.indexOf(' '));
    }
    return added;
}

} // namespace

class TestFolders : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trees_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("editor");  // a shell script given the file to edit as $1
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("added");  // the paths the run made

        QTest::newRow("a folder without -R: reported")
            << QStringList{"--upper", "--apply", "Photos"} << QByteArray() << 1 << QByteArrayList{};
        QTest::newRow("-R: hidden names passed over, no link followed")
            << QStringList{"-R", "--upper", "--apply", "Photos"} << QByteArray() << 0
            << QByteArrayList{"Photos/A.jpg", "Photos/B.txt", "Photos/N\xff.txt", "Photos/skip/E.jpg",
                              "Photos/sub/C.jpg", "Photos/sub/deep/D.jpg"};
        QTest::newRow("-R --hidden --include --exclude")
            << QStringList{"-R", "--hidden", "--include", "*.jpg", "--exclude", "skip", "--exclude", "deep",
                           "--upper", "--apply", "Photos"}
            << QByteArray() << 0 << QByteArrayList{"Photos/.H.jpg", "Photos/A.jpg", "Photos/sub/C.jpg"};
        QTest::newRow("--dirs -R: the folders after what they hold")
            << QStringList{"-R", "--dirs", "--upper", "--apply", "Photos/sub"} << QByteArray() << 0 << QByteArrayList{"Photos/SUB/", "Photos/SUB/C.jpg", "Photos/SUB/DEEP/",
                                                   "Photos/SUB/DEEP/D.jpg"};
        for (const bool deepFirst : {true, false}) {
            QStringList given{"Photos/sub", "Photos/sub/deep", "Photos/sub/deep/d.jpg"};
            if (!deepFirst)
                std::reverse(given.begin(), given.end());
            QTest::newRow(deepFirst ? "--dirs, the deepest given last" : "--dirs, the deepest given first")
                << QStringList{"--dirs", "--upper", "--apply"} + given << QByteArray() << 0
                << QByteArrayList{"Photos/SUB/", "Photos/SUB/DEEP/", "Photos/SUB/DEEP/D.jpg", "Photos/SUB/c.jpg"};
        }
        QTest::newRow("--dirs --resolve: two folders swap names")
            << QStringList{"-R", "--dirs", "--resolve", "--edit", "--apply", "Photos/sub", "Photos/skip"}
            << QByteArray("sed -i 's/^sub$/x/; s/^skip$/sub/; s/^x$/skip/' \"$1\"") << 0
            << QByteArrayList{"Photos/skip/", "Photos/skip/c.jpg", "Photos/skip/deep/", "Photos/skip/deep/d.jpg",
                              "Photos/sub/", "Photos/sub/e.jpg"};
        // Its line holds n\xff.txt as $'n\xff.txt', and gives it back unchanged.
        QTest::newRow("--edit: names edited, one that is not UTF-8 given back")
            << QStringList{"-R", "--edit", "--apply", "Photos"}
            << QByteArray("sed -i 's/^a/z/; s/^.*c\\.jpg$/$'\"'\"'\\\\xfe.jpg'\"'\"'/' \"$1\"") << 0
            << QByteArrayList{"Photos/sub/\xfe.jpg", "Photos/z.jpg"};
        QTest::newRow("--edit: a line taken away")
            << QStringList{"-R", "--edit", "--apply", "Photos"} << QByteArray("sed -i 1d \"$1\"") << 2
            << QByteArrayList{};
        QTest::newRow("--edit: a line added")
            << QStringList{"-R", "--edit", "--apply", "Photos"} << QByteArray("echo x.jpg >> \"$1\"") << 2
            << QByteArrayList{};
        QTest::newRow("--edit: the editor fails")
            << QStringList{"-R", "--edit", "--apply", "Photos"} << QByteArray("exit 3") << 2 << QByteArrayList{};
        QTest::newRow("--edit: a line emptied")
            << QStringList{"-R", "--edit", "--apply", "Photos"} << QByteArray("sed -i 's/^a.*//' \"$1\"") << 2
            << QByteArrayList{};
    }

    void trees()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, editor);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, added);
        fixture::ScratchFolder folder;
        fixture::ScratchFolder state;
        QVERIFY(fixture::makeTree(folder.root(), kTree));
        const QByteArray script = state.root() + "/edit";
        QFile file(QFile::decodeName(script));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + editor + "\n") > 0);
        file.close();
        QVERIFY(chmod(script, 0755) == 0);
        const std::vector<std::pair<QString, QString>> environment{
            {"XDG_STATE_HOME", QFile::decodeName(state.root())}, {"VISUAL", QFile::decodeName(script)}};
        const QByteArrayList before = pathsAndInodes(folder.root());

        const ProgramResult result = runProgram(folder.root(), arguments, {}, environment);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(pathsAdded(before, pathsAndInodes(folder.root())), added);
        if (exitCode == 1)
            QVERIFY2(result.output.contains("Photos → Photos: is a folder: -R renames what it holds"), result.output);

        // The preview of the undo foresees what it does, folders renamed with what they hold.
        const ProgramResult foreseen = runProgram(folder.root(), {"--undo", "last"}, {}, environment);
        QCOMPARE(foreseen.exitCode, added.isEmpty() ? 2 : 0);
        const ProgramResult undone = runProgram(folder.root(), {"--undo", "last", "--apply"}, {}, environment);
        QCOMPARE(undone.exitCode, added.isEmpty() ? 2 : 0);
        QCOMPARE(pathsAndInodes(folder.root()), before);
    }

    // Every --apply can be taken back, but for --no-journal: the state
    // folder lists the runs, --undo last goes one run further back each
    // time, and a state folder that cannot be written stops the run.
    void stateFolder()
    {
        fixture::ScratchFolder folder;
        fixture::ScratchFolder state;
        QVERIFY(fixture::makeTree(folder.root(), {"a", "b", "c"}));
        QVERIFY(fixture::makeTree(state.root(), {"file"}));
        const auto run = [&](QStringList arguments, const QByteArray& stateHome = {}) {
            return runProgram(folder.root(), arguments, {},
                              {{"XDG_STATE_HOME", QFile::decodeName(stateHome.isEmpty() ? state.root() : stateHome)}});
        };
        QCOMPARE(run({"--upper", "--apply", "a"}).exitCode, 0);
        QCOMPARE(run({"--upper", "--apply", "--no-journal", "b"}).exitCode, 0);
        QCOMPARE(run({"--upper", "--apply", "c"}).exitCode, 0);
        struct stat status;
        QVERIFY(stat(state.root() + "/tolvex-rename", &status) == 0 && (status.st_mode & 0777) == 0700);

        QCOMPARE(run({"--undo", "last", "--apply"}).exitCode, 0);
        const QByteArray history = run({"--history"}).output;
        const QByteArray where = folder.root() + "  1 file renamed";
        QCOMPARE(history.count(where), 2);
        QVERIFY2(history.indexOf(where + ", undone\n") < history.lastIndexOf(where + "\n"), history);
        QCOMPARE(run({"--undo", "last", "--apply"}).exitCode, 0);
        QCOMPARE(run({"--undo", "last", "--apply"}).exitCode, 2);
        QCOMPARE(fixture::readTree(folder.root()), (QByteArrayList{"B:b", "a:a", "c:c"}));

        // The newest journals are kept, however many runs came before.
        const QByteArray journals = state.root() + "/tolvex-rename/";
        QByteArrayList older;
        for (int i = 0; i < 120; ++i)
            older << "tolvex-rename/2000" + QByteArray::number(1000 + i) + "T000000.000000000Z.journal";
        QVERIFY(fixture::makeTree(state.root(), older));
        QCOMPARE(run({"--lower", "--apply", "B"}).exitCode, 0);
        QCOMPARE(int(fixture::readTree(journals).size()), 100 + 3);  // and the .about of the three runs
        QVERIFY(QFile::exists(QFile::decodeName(state.root() + '/' + older.constLast())));
        QVERIFY(!QFile::exists(QFile::decodeName(state.root() + '/' + older.at(20))));

        const ProgramResult stopped = run({"--upper", "--apply", "a"}, state.root() + "/file");
        QCOMPARE(stopped.exitCode, 1);
        QVERIFY2(stopped.errors.contains("Not a directory; nothing was renamed"), stopped.errors);
        QCOMPARE(fixture::readTree(folder.root()), (QByteArrayList{"a:a", "b:b", "c:c"}));
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
