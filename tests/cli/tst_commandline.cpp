// tolvex-rename as a script meets it: what it touches with and without
// --apply, its exit statuses, paths on standard input, and a journal taken
// back by --undo.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QProcess>
#include <QDateTime>
#include <QTest>

#include <map>
#include <sys/stat.h>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Result run(const QByteArray& folder, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess program;
    program.setWorkingDirectory(QString::fromLocal8Bit(folder));
    program.start(QStringLiteral(TOLVEX_RENAME_PATH), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(30000))
        qFatal("tolvex-rename did not finish");
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("tree");     // afterwards
        QTest::addColumn<QByteArray>("saying");       // in the output or errors

        const QByteArrayList untouched{"a.txt:a.txt", "b.txt:b.txt", "sub/"};
        QTest::newRow("preview touches nothing")
            << QStringList{"--upper", "a.txt", "b.txt"} << QByteArray() << 0 << untouched
            << QByteArray("a.txt → A.txt");
        QTest::newRow("apply renames")
            << QStringList{"--upper", "--apply", "a.txt", "b.txt"} << QByteArray() << 0
            << QByteArrayList{"A.txt:a.txt", "B.txt:b.txt", "sub/"} << QByteArray("Rename Completed!");
        QTest::newRow("a failure: exit 1, reported, nothing replaced")
            << QStringList{"--replace", "a", "--with", "b", "--apply", "a.txt"} << QByteArray() << 1 << untouched
            << QByteArray("a.txt → b.txt: File exists");
        QTest::newRow("preview of a failure: exit 1")
            << QStringList{"--replace", "a", "--with", "b", "a.txt"} << QByteArray() << 1 << untouched
            << QByteArray("a file of that name already exists");
        QTest::newRow("bad number: exit 2, nothing renamed")
            << QStringList{"--upper", "--remove-first", "1,000", "--apply", "a.txt"} << QByteArray() << 2
            << untouched << QByteArray("'1,000' is not a valid integer value.");
        QTest::newRow("bad usage: exit 2")
            << QStringList{"--replace", "a", "--upper", "a.txt"} << QByteArray() << 2 << untouched
            << QByteArray("needs --with");
        // Options that once did nothing, or something else than they say.
        QTest::newRow("empty journal name") << QStringList{"--upper", "--apply", "--journal", "", "a.txt"}
                                            << QByteArray() << 2 << untouched << QByteArray("--journal needs a file");
        QTest::newRow("empty journal name after =") << QStringList{"--upper", "--apply", "--journal=", "a.txt"}
                                                    << QByteArray() << 2 << untouched << QByteArray("--journal");
        QTest::newRow("empty undo name") << QStringList{"--undo", ""} << QByteArray() << 2 << untouched
                                         << QByteArray("--undo needs a file");
        QTest::newRow("empty file name") << QStringList{"--upper", "--apply", "a.txt", ""} << QByteArray() << 2
                                         << untouched << QByteArray("empty file name");
        QTest::newRow("a bad position, no rule after it") << QStringList{"--place", "abc", "a.txt"} << QByteArray()
                                                          << 2 << untouched << QByteArray("'abc' is not a valid");
        QTest::newRow("a setting after the last rule") << QStringList{"--upper", "--dest", "3", "--apply", "a.txt"}
                                                       << QByteArray() << 2 << untouched
                                                       << QByteArray("--dest 3 comes after the last rule");
        QTest::newRow("a pattern PCRE2 cannot read") << QStringList{"--regex", "a(b", "--with", "x", "--apply", "a.txt"}
                                                     << QByteArray() << 2 << untouched
                                                     << QByteArray("--regex a(b: missing closing parenthesis at offset 3");
        QTest::newRow("a group the pattern lacks") << QStringList{"--regex", "(a)", "--with", "${2}", "a.txt"}
                                                   << QByteArray() << 2 << untouched
                                                   << QByteArray("--with ${2}: the pattern has no group 2");
        QTest::newRow("--regex without --with") << QStringList{"--regex", "a", "a.txt"} << QByteArray() << 2
                                                << untouched << QByteArray("--regex a needs --with right after it");
        QTest::newRow("a flag after the last rule") << QStringList{"--upper", "--match-case", "a.txt"} << QByteArray()
                                                    << 2 << untouched
                                                    << QByteArray("--match-case comes after the last rule");
        QTest::newRow("a bad number with no files") << QStringList{"--remove-last", "1x"} << QByteArray() << 2
                                                    << untouched << QByteArray("'1x' is not a valid integer");
        QTest::newRow("a long option cut short") << QStringList{"--upper", "--app", "a.txt"} << QByteArray() << 2
                                                 << untouched << QByteArray("unknown option --app");
        QTest::newRow("dry run, by name") << QStringList{"-n", "--upper", "a.txt"} << QByteArray() << 0 << untouched
                                          << QByteArray("nothing was renamed");
        QTest::newRow("dry run and apply") << QStringList{"--dry-run", "--upper", "--apply", "a.txt"} << QByteArray()
                                           << 2 << untouched << QByteArray("opposite");
        QTest::newRow("no toolkit options") << QStringList{"--help-all"} << QByteArray() << 2 << untouched
                                            << QByteArray("unknown option --help-all");
        QTest::newRow("version") << QStringList{"-V"} << QByteArray() << 0 << untouched
                                 << QByteArray("tolvex-rename 2.");
        QTest::newRow("apply, quiet but for the summary")
            << QStringList{"--upper", "--apply", "a.txt"} << QByteArray() << 0
            << QByteArrayList{"A.txt:a.txt", "b.txt:b.txt", "sub/"} << QByteArray("Rename Completed! 1 of 1 file renamed.\n");
        QTest::newRow("apply, verbose") << QStringList{"-v", "--upper", "--apply", "a.txt"} << QByteArray() << 0
                                        << QByteArrayList{"A.txt:a.txt", "b.txt:b.txt", "sub/"}
                                        << QByteArray("a.txt → A.txt\nRename Completed!");
        QTest::newRow("a refused name is told as failed after --apply, resolved too")
            << QStringList{"--json", "-e", "--remove-first", "9", "--resolve", "--apply", "a.txt"} << QByteArray() << 1
            << untouched << QByteArray("\"outcome\":\"failed\"");
        QTest::newRow("one file spelled two ways: the second moves it no more")
            << QStringList{"--add", "x", "a.txt", "./a.txt"} << QByteArray() << 1 << untouched
            << QByteArray("an earlier rename of the list moves this file first");
        QTest::newRow("names quoted as the shell reads them")
            << QStringList{"-0", "--add", "x → y "} << QByteArray("a.txt\0", 6) << 0 << untouched
            << QByteArray("a.txt → 'x → y a.txt'");
        QTest::newRow("paths on standard input, a folder reported")
            << QStringList{"-0", "--add", "x", "--apply"} << QByteArray("a.txt\0sub\0b.txt\0", 16) << 1
            << QByteArrayList{"sub/", "xa.txt:a.txt", "xb.txt:b.txt"} << QByteArray("sub → sub: is a folder");
    }

    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, tree);
        QFETCH(QByteArray, saying);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt", "b.txt", "sub/"}));

        const Result result = run(folder.root(), arguments, input);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(fixture::readTree(folder.root()), tree);
        QVERIFY2((result.output + result.errors).contains(saying), result.output + result.errors);
        QVERIFY(!result.output.contains(":\n"));  // no line, the summary least, ends in a colon
    }

    // "→" only where the locale's codeset is UTF-8; elsewhere "->", and every
    // byte beyond ASCII as an escape.
    void arrowFollowsTheCodeset_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("UTF-8") << "C.UTF-8" << QByteArray("a.txt → \xc3\xa9" "a.txt\n");
        QTest::newRow("ASCII") << "C" << QByteArray("a.txt -> $'\\xc3\\xa9a.txt'\n");
    }

    void arrowFollowsTheCodeset()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, line);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt"}));
        const ProgramResult result =
            runProgram(folder.root(), {"-0", "--add", "\xc3\xa9"}, nulSeparated({"a.txt"}), {{"LC_ALL", locale}});
        QVERIFY2(result.output.startsWith(line), result.output);
    }

    // A rule that reads the files' own times takes each file's, however many
    // files of one folder there are (many are otherwise looked up in one
    // reading of the folder, which tells no times).
    void fileTimesOfManyFiles_data()
    {
        QTest::addColumn<QString>("time");
        QTest::newRow("modified") << "modified";
        QTest::newRow("accessed") << "accessed";
        QTest::newRow("created") << "created";
    }

    void fileTimesOfManyFiles()
    {
        QFETCH(QString, time);
        fixture::ScratchFolder folder;
        QByteArray input;
        std::map<QByteArray, QByteArray> expected;  // file -> new name
        for (int i = 0; i < 100; ++i) {
            const QByteArray name = "f" + QByteArray::number(i);
            QVERIFY(fixture::makeTree(folder.root(), {name}));
            const std::time_t day = 1000000000 + i * 86400;
            const struct timespec times[2] = {{day, 0}, {day + 43200, 0}};  // accessed, modified
            QVERIFY(utimensat(AT_FDCWD, folder.root() + '/' + name, times, 0) == 0);
            struct statx status;
            QVERIFY(statx(AT_FDCWD, folder.root() + '/' + name, 0, STATX_BTIME, &status) == 0);
            if (time == "created" && !(status.stx_mask & STATX_BTIME))
                QSKIP("This file system keeps no creation times.");
            const std::time_t seconds = time == "modified" ? day + 43200 : time == "accessed" ? day
                                                                                              : status.stx_btime.tv_sec;
            expected[name] = QDateTime::fromSecsSinceEpoch(seconds).toString("yyyyMMddHHmmss").toLatin1() + name;
            input += name + '\0';
        }
        const Result result = run(folder.root(), {"-0", "--date-of", time, "--date", "YYYYMMDDHHMMSS"}, input);
        QCOMPARE(result.exitCode, 0);
        for (const auto& [name, newName] : expected)
            QVERIFY2(result.output.contains(name + " → " + newName + '\n'), name + " → " + newName);
    }

    // Many files of one folder are looked up in one reading of the folder;
    // its folders, and links to them, are still reported and a missing name
    // still listed.
    void manyFilesOfOneFolder()
    {
        fixture::ScratchFolder folder;
        QByteArrayList layout{"sub/", "tosub@sub"};
        QByteArrayList given{"sub", "tosub"};
        for (int i = 0; i < 100; ++i) {
            layout << "f" + QByteArray::number(i);
            given << "f" + QByteArray::number(i);
        }
        given << "gone";
        const QByteArray input = nulSeparated(given);
        QVERIFY(fixture::makeTree(folder.root(), layout));
        const Result result = run(folder.root(), {"-0", "--add", "x"}, input);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output.count("→"), 103);
        QVERIFY(result.output.contains("gone → xgone: the file is no longer on disk"));
        QVERIFY(result.output.contains("sub → sub: is a folder") && result.output.contains("tosub → tosub: is a folder"));
    }

    // A journal records each rename; --undo takes them back, the last first,
    // and a name another file took meanwhile stays that file's.
    void journalAndUndo()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt", "b\xff.txt"}));
        // (A name that is not UTF-8 comes on standard input: QProcess would
        // pass it as text.)
        const QByteArray files = nulSeparated({"a.txt", "b\xff.txt"});
        QCOMPARE(run(folder.root(), {"-0", "--upper", "--apply", "--journal", "j.log"}, files).exitCode, 0);
        QVERIFY(fixture::makeTree(folder.root(), {"a.txt"}));  // another program's new file

        QCOMPARE(run(folder.root(), {"--undo", "j.log"}).exitCode, 1);  // a preview: nothing moves
        const Result undone = run(folder.root(), {"--undo", "j.log", "--apply"});
        QCOMPARE(undone.exitCode, 1);
        QVERIFY(undone.output.contains("A.txt → a.txt: File exists"));
        QByteArrayList tree = fixture::readTree(folder.root());
        tree.removeIf([](const QByteArray& item) { return item.startsWith("j.log"); });
        QCOMPARE(tree, (QByteArrayList{"A.txt:a.txt", "a.txt:a.txt", "b\xff.txt:b\xff.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
