// --resolve on real files: chains, swaps and cycles that succeed without a
// file replaced, what still fails, a plan taken from JSON, and a kill in
// the middle of a cycle taken back by --undo.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QTest>

#include <random>

namespace {

// The plan --from-json reads, from "file>new name" items; an item with no
// '>' is a line as it stands.
QByteArray jsonPlan(const QByteArrayList& renames)
{
    QByteArray plan;
    for (const QByteArray& rename : renames) {
        const auto arrow = rename.indexOf('>');
        if (arrow < 0) {
            plan += rename + '\n';
            continue;
        }
        plan += "{\"file\":\"" + rename.left(arrow) + "\",\"new_name\":\"" + rename.mid(arrow + 1) + "\"}\n";
    }
    return plan;
}

void writeFile(const QByteArray& path, const QByteArray& content)
{
    QFile file(QFile::decodeName(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArrayList numbers(int count)
{
    QByteArrayList names;
    for (int i = 0; i < count; ++i)
        names << QByteArray::number(i);
    return names;
}

} // namespace

class TestResolve : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void plans_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QByteArrayList>("renames");
        QTest::addColumn<bool>("resolve");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("tree");

        const QByteArrayList abc{"a", "b", "c"};
        QTest::newRow("swap, in list order") << abc << QByteArrayList{"a>b", "b>a"} << false << 1
                                             << QByteArrayList{"a:a", "b:b", "c:c"};
        QTest::newRow("swap, resolved") << abc << QByteArrayList{"a>b", "b>a"} << true << 0
                                        << QByteArrayList{"a:b", "b:a", "c:c"};
        QTest::newRow("3-cycle, resolved") << abc << QByteArrayList{"a>b", "b>c", "c>a"} << true << 0
                                           << QByteArrayList{"a:c", "b:a", "c:b"};
        QTest::newRow("chain in working order") << QByteArrayList{"a", "b"} << QByteArrayList{"b>c", "a>b"} << false
                                                << 0 << QByteArrayList{"b:a", "c:b"};
        QTest::newRow("chain the other way, in list order")
            << QByteArrayList{"a", "b"} << QByteArrayList{"a>b", "b>c"} << false << 1
            << QByteArrayList{"a:a", "c:b"};
        QTest::newRow("chain the other way, resolved") << QByteArrayList{"a", "b"} << QByteArrayList{"a>b", "b>c"}
                                                       << true << 0 << QByteArrayList{"b:a", "c:b"};
        QTest::newRow("two proposals for one name") << abc << QByteArrayList{"a>x", "b>x"} << true << 1
                                                    << QByteArrayList{"b:b", "c:c", "x:a"};
        QTest::newRow("a name held outside the list") << abc << QByteArrayList{"a>b", "b>c"} << true << 1
                                                      << QByteArrayList{"a:a", "b:b", "c:c"};
        QTest::newRow("two spellings of one path") << QByteArrayList{"Sub/", "Sub/x", "x"}
                                                   << QByteArrayList{"x>y", "Sub/x>../x"} << false << 0
                                                   << QByteArrayList{"Sub/", "x:Sub/x", "y:x"};
        QTest::newRow("a file listed twice, the later row moves it") << QByteArrayList{"5", "6", "7"}
                                                                     << QByteArrayList{"5>6", "6>7", "6>8"} << true
                                                                     << 1 << QByteArrayList{"6:5", "7:7", "8:6"};
        QTest::newRow("an absolute new name is the file's folder's") << QByteArrayList{"a", "sub/"}
                                                                     << QByteArrayList{"a>/sub/x"} << false << 0
                                                                     << QByteArrayList{"sub/", "sub/x:a"};
        QTest::newRow("a person's notes and fields beyond the plan's")
            << abc << QByteArrayList{"# swap a and c", "{\"file\":\"a\",\"new_name\":\"x\",\"tags\":[1,{\"y\":\"]\"}]}"}
            << false << 0 << QByteArrayList{"b:b", "c:c", "x:a"};
        QTest::newRow("a NUL in a new name") << abc << QByteArrayList{"a>x\\u0000y"} << false << 1
                                             << QByteArrayList{"a:a", "b:b", "c:c"};
        QTest::newRow("a cycle that meets a name held outside")
            << QByteArrayList{"a", "b", "z"} << QByteArrayList{"a>b", "b>a", "z>a"} << true << 1
            << QByteArrayList{"a:b", "b:a", "z:z"};
    }

    void plans()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QByteArrayList, renames);
        QFETCH(bool, resolve);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, tree);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), files));
        writeFile(folder.root() + "/.plan", jsonPlan(renames));
        QStringList arguments{"--from-json", ".plan"};
        if (resolve)
            arguments << "--resolve";

        const ProgramResult preview = runProgram(folder.root(), arguments);
        QCOMPARE(preview.exitCode, exitCode);
        const ProgramResult applied = runProgram(folder.root(), arguments + QStringList{"--apply", "--journal", ".j"});
        QVERIFY2(applied.exitCode == exitCode, applied.output + applied.errors);
        QByteArrayList after = fixture::readTree(folder.root());
        after.removeIf([](const QByteArray& item) { return item.startsWith('.'); });
        QCOMPARE(after, tree);

        QCOMPARE(runProgram(folder.root(), {"--undo", ".j", "--apply"}).exitCode, 0);
        QByteArrayList undone = fixture::readTree(folder.root());
        undone.removeIf([](const QByteArray& item) { return item.startsWith('.'); });
        QByteArrayList original;
        for (const QByteArray& file : files)
            original << (file.endsWith('/') ? file : file + ':' + file);
        QCOMPARE(undone, original);
    }

    // A shift of 1,000 numbered files up by one fails in list order but for
    // the last, and succeeds whole resolved.
    void shift_data()
    {
        QTest::addColumn<bool>("resolve");
        QTest::addColumn<int>("renamed");
        QTest::newRow("in list order") << false << 1;
        QTest::newRow("resolved") << true << 1000;
    }

    void shift()
    {
        QFETCH(bool, resolve);
        QFETCH(int, renamed);
        fixture::ScratchFolder folder;
        const QByteArrayList names = numbers(1000);
        QVERIFY(fixture::makeTree(folder.root(), names));
        QStringList arguments{"-0", "--remove-first", "9", "--mask", "", "--serial", "1", "--apply", "--json"};
        if (resolve)
            arguments << "--resolve";
        const ProgramResult result = runProgram(folder.root(), arguments, nulSeparated(names));
        QCOMPARE(result.exitCode, renamed == 1000 ? 0 : 1);
        int moved = 0;
        for (const QByteArray& item : fixture::readTree(folder.root())) {
            const auto colon = item.indexOf(':');
            moved += item.left(colon).toInt() == item.mid(colon + 1).toInt() + 1;
        }
        QCOMPARE(moved, renamed);
    }

    // The preview's JSON, edited, is a plan: what it says is what is done.
    void editedJsonPlan()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"IMG_1.jpg", "IMG_2.jpg", "b\xff.jpg"}));
        const ProgramResult preview =
            runProgram(folder.root(), {"-0", "--lower", "--json"}, nulSeparated({"IMG_1.jpg", "IMG_2.jpg", "b\xff.jpg"}));
        QCOMPARE(preview.exitCode, 0);
        QByteArray plan = preview.output;
        plan.replace("img_2.jpg", "second.jpg");
        writeFile(folder.root() + "/.plan", plan);
        QCOMPARE(runProgram(folder.root(), {"--from-json", ".plan", "--apply"}).exitCode, 0);
        QByteArrayList after = fixture::readTree(folder.root());
        after.removeIf([](const QByteArray& item) { return item.startsWith('.'); });
        QCOMPARE(after, (QByteArrayList{"b\xff.jpg:b\xff.jpg", "img_1.jpg:IMG_1.jpg", "second.jpg:IMG_2.jpg"}));
    }

    // Killed anywhere in one cycle of 300 files, then undone: every name back.
    void killedInACycle()
    {
        fixture::ScratchFolder folder;
        const QByteArrayList names = numbers(300);
        QVERIFY(fixture::makeTree(folder.root(), names));
        const QByteArrayList before = fixture::readTree(folder.root());
        QByteArrayList rotation;
        for (int i = 0; i < names.size(); ++i)
            rotation << names[i] + '>' + names[(i + 1) % names.size()];
        writeFile(folder.root() + "/.plan", jsonPlan(rotation));
        std::mt19937 random(8);
        for (const int killAt : {1, 2, 150, 300, 301, int(random() % 299 + 2)}) {
            const QString journal = ".j" + QString::number(killAt);
            const ProgramResult killed =
                runProgram(folder.root(), {"--from-json", ".plan", "--resolve", "--apply", "--journal", journal}, {},
                           {{"TOLVEX_FAULT_KILL_AT", QString::number(killAt) + "a"}});
            QVERIFY2(killed.crashed, qPrintable(QString::number(killAt)));
            const ProgramResult undone = runProgram(folder.root(), {"--undo", journal, "--apply"});
            QVERIFY2(undone.exitCode == 0, undone.output + undone.errors);
            QByteArrayList after = fixture::readTree(folder.root());
            after.removeIf([](const QByteArray& item) { return item.startsWith('.'); });
            QVERIFY2(after == before, qPrintable("killed at rename " + QString::number(killAt)));
        }
    }
};

QTEST_GUILESS_MAIN(TestResolve)
#include "tst_resolve.moc"
