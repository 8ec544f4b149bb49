// --sort on real files: the order serial numbers count in, shown in the
// preview's order and written to disk by --apply.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The preview's lines for the files, "file → new name", without the
// reasons and the summary.
QByteArrayList previewLines(const ProgramResult& result)
{
    QByteArrayList lines;
    for (const QByteArray& line : result.output.split('\n')) {
        if (const qsizetype reason = line.indexOf(": "); reason >= 0)
            lines << line.left(reason);
        else if (line.contains(" → "))
            lines << line;
    }
    return lines;
}

// Each file numbered at its end, in the run's order.
const QStringList kNumbered{"-0", "--place", "suffix", "--mask", "0", "--serial", "1"};

} // namespace

class TestSortOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbered_data()
    {
        QTest::addColumn<QByteArrayList>("layout");
        QTest::addColumn<QByteArrayList>("given");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QByteArrayList>("preview");

        const QByteArrayList photos{"IMG_10", "IMG_9", "IMG_1"};
        QTest::newRow("natural: 9 before 10") << photos << photos << "natural"
                                              << QByteArrayList{"IMG_1 → IMG_11", "IMG_9 → IMG_92", "IMG_10 → IMG_103"};
        QTest::newRow("name: byte by byte") << photos << QByteArrayList{"IMG_9", "IMG_1", "IMG_10"} << "name"
                                            << QByteArrayList{"IMG_1 → IMG_11", "IMG_10 → IMG_102", "IMG_9 → IMG_93"};
        QTest::newRow("none: as given") << photos << photos << "none"
                                        << QByteArrayList{"IMG_10 → IMG_101", "IMG_9 → IMG_92", "IMG_1 → IMG_13"};
        QTest::newRow("leading zeros")
            << QByteArrayList{"IMG_7", "IMG_007", "IMG_08"} << QByteArrayList{"IMG_08", "IMG_7", "IMG_007"} << "natural"
            << QByteArrayList{"IMG_007 → IMG_0071", "IMG_7 → IMG_72", "IMG_08 → IMG_083"};
        QTest::newRow("more zeros first, also at a name's end")
            << QByteArrayList{"p0.jpg", "p00.jpg"} << QByteArrayList{"p0.jpg", "p00.jpg"} << "natural"
            << QByteArrayList{"p00.jpg → p001.jpg", "p0.jpg → p02.jpg"};
        QTest::newRow("mixed digits and letters")
            << QByteArrayList{"b2", "a10", "a2", "10", "9", "a"} << QByteArrayList{"b2", "a10", "a2", "10", "9", "a"}
            << "natural" << QByteArrayList{"9 → 91", "10 → 102", "a → a3", "a2 → a24", "a10 → a105", "b2 → b26"};
        QTest::newRow("bytes over 127 after ASCII, upper case first")
            << QByteArrayList{"\xc3\xa9t\xc3\xa9", "zoo", "Zoo", "\xff"}
            << QByteArrayList{"\xff", "\xc3\xa9t\xc3\xa9", "zoo", "Zoo"} << "natural"
            << QByteArrayList{"Zoo → Zoo1", "zoo → zoo2", "\xc3\xa9t\xc3\xa9 → \xc3\xa9t\xc3\xa9" "3", "$'\\xff' → $'\\xff4'"};
        QTest::newRow("the extension is part of the name")
            << QByteArrayList{"a.10.txt", "a.9.txt", "a.txt"} << QByteArrayList{"a.txt", "a.10.txt", "a.9.txt"}
            << "natural" << QByteArrayList{"a.9.txt → a.91.txt", "a.10.txt → a.102.txt", "a.txt → a3.txt"};
        QTest::newRow("names first, then folders")
            << QByteArrayList{"d10/", "d9/", "d10/IMG_2", "d9/IMG_2", "d10/IMG_10"}
            << QByteArrayList{"d10/IMG_10", "d10/IMG_2", "d9/IMG_2"} << "natural"
            << QByteArrayList{"d9/IMG_2 → IMG_21", "d10/IMG_2 → IMG_22", "d10/IMG_10 → IMG_103"};
        // Only the same path given twice ties, and stays in its place.
        QTest::newRow("a path given twice") << QByteArrayList{"a", "b"} << QByteArrayList{"b", "a", "b"} << "natural"
                                            << QByteArrayList{"a → a1", "b → b2", "b → b3"};
    }

    void numbered()
    {
        QFETCH(QByteArrayList, layout);
        QFETCH(QByteArrayList, given);
        QFETCH(QString, order);
        QFETCH(QByteArrayList, preview);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), layout));

        const ProgramResult result = runProgram(folder.root(), QStringList{"--sort", order} + kNumbered, nulSeparated(given));
        QCOMPARE(previewLines(result), preview);
    }

    // -R takes each folder's names byte by byte, also where their first
    // bytes tie and one name is the beginning of another (eight such pairs,
    // so that no order the folder lists them in passes by luck), and where
    // names differ first in one byte and then again in a later one.
    void walkedByteByByte()
    {
        fixture::ScratchFolder folder;
        QByteArrayList layout{"d/"};
        QByteArrayList preview;
        for (char digit = '1'; digit <= '8'; ++digit) {
            const QByteArray name = "p" + QByteArray(1, digit) + QByteArray(8, char('9' - (digit - '1')));
            layout << "d/" + name + "z" << "d/" + name;
            const int serial = 2 * (digit - '1') + 1;
            preview << "d/" + name + " → " + name + QByteArray::number(serial)
                    << "d/" + name + "z → " + name + "z" + QByteArray::number(serial + 1);
        }
        QVERIFY(fixture::makeTree(folder.root(), layout));
        const ProgramResult result = runProgram(folder.root(), QStringList{"-R", "d"} + kNumbered.mid(1), {});
        QCOMPARE(previewLines(result), preview);
    }

    // Oldest first; one second's files in natural order; a file the file
    // system keeps no time for (it is gone) last.
    void byModificationTime()
    {
        fixture::ScratchFolder folder;
        const std::vector<std::pair<QByteArray, std::time_t>> times{
            {"c", 1000000100}, {"a", 1000000300}, {"b", 1000000200}, {"IMG_10", 1000000150}, {"IMG_9", 1000000150}};
        QByteArrayList given{"gone"};
        for (const auto& [name, seconds] : times) {
            QVERIFY(fixture::makeTree(folder.root(), {name}));
            const struct timespec stamps[2] = {{seconds, 0}, {seconds, 0}};
            QVERIFY(utimensat(AT_FDCWD, folder.root() + '/' + name, stamps, 0) == 0);
            given << name;
        }
        const ProgramResult result
            = runProgram(folder.root(), QStringList{"--sort", "modified"} + kNumbered, nulSeparated(given));
        QCOMPARE(previewLines(result), (QByteArrayList{"c → c1", "IMG_9 → IMG_92", "IMG_10 → IMG_103", "b → b4", "a → a5",
                                                       "gone → gone6"}));
    }

    // --apply renames in the sorted order and numbers the files by it.
    void appliedInOrder()
    {
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), {"scan10.png", "scan9.png", "scan1.png"}));
        const ProgramResult result = runProgram(
            folder.root(), {"--sort", "natural", "--remove-numbers", "--place", "suffix", "--mask", "00", "--serial",
                            "1", "--apply", "--json", "scan10.png", "scan9.png", "scan1.png"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(fixture::readTree(folder.root()),
                 (QByteArrayList{"scan01.png:scan1.png", "scan02.png:scan9.png", "scan03.png:scan10.png"}));
        const QByteArrayList lines = result.output.split('\n');
        QVERIFY(lines.size() > 3);
        QVERIFY2(lines[0].contains("scan1.png") && lines[1].contains("scan9.png") && lines[2].contains("scan10.png"),
                 result.output);
    }

    void badUse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("saying");
        QTest::newRow("an order that is none") << QStringList{"--sort", "size", "--upper", "a"}
                                               << QByteArray("--sort size: expected natural, name, modified or none");
        QTest::newRow("with --undo") << QStringList{"--undo", "j.log", "--sort", "name"}
                                     << QByteArray("--undo takes the journal's renames back last first");
    }

    void badUse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, saying);
        fixture::ScratchFolder folder;
        const ProgramResult result = runProgram(folder.root(), arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.errors.contains(saying), result.errors);
    }
};

QTEST_GUILESS_MAIN(TestSortOrder)
#include "tst_sortorder.moc"
