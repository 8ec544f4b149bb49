// The rules tolvex-rename has beyond the window's, applied to real files:
// patterns with groups, exact case, Unicode case, normal forms, ASCII
// spellings and serial numbers counted in each folder.

#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QTest>

class TestCommandLineRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void applied_data()
    {
        QTest::addColumn<QByteArrayList>("layout");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArrayList>("tree");  // afterwards: each file's name, then its first name
        QTest::addColumn<QByteArray>("saying");

        const QStringList photoNumber{"--regex", "IMG_(\\d+)", "--with", "photo-$1"};
        QTest::newRow("groups, where case counts")
            << QByteArrayList{"IMG_0042.jpg", "img_7.jpg"} << photoNumber << 0
            << QByteArrayList{"img_7.jpg:img_7.jpg", "photo-0042.jpg:IMG_0042.jpg"} << QByteArray();
        QTest::newRow("named groups") << QByteArrayList{"12-05-2023 bill.pdf"}
                                      << QStringList{"--regex", "(?<d>\\d\\d)-(?<m>\\d\\d)-(?<y>\\d{4})", "--with", "${y}$m$d"}
                                      << 0 << QByteArrayList{"20230512 bill.pdf:12-05-2023 bill.pdf"} << QByteArray();
        QTest::newRow("the whole match and a dollar")
            << QByteArrayList{"price 5.txt"} << QStringList{"--regex", "\\d+", "--with", "$$$0.00"} << 0
            << QByteArrayList{"price $5.00.txt:price 5.txt"} << QByteArray();
        QTest::newRow("no match") << QByteArrayList{"a.txt"} << QStringList{"--regex", "\\d", "--with", "x"} << 0
                                  << QByteArrayList{"a.txt:a.txt"} << QByteArray("1 stayed as they were");
        QTest::newRow("empty matches") << QByteArrayList{"ab.txt"} << QStringList{"--regex", "x*", "--with", "-"} << 0
                                       << QByteArrayList{"-a-b-.txt:ab.txt"} << QByteArray();
        // No match reaches across a stray byte, and each stays where it was.
        QTest::newRow("stray bytes around matches")
            << QByteArrayList{"IMG_1\xffIMG_2\xfe"} << QStringList{"--regex", "IMG_(\\d).*", "--with", "<$1>"} << 0
            << QByteArrayList{"<1>\xff<2>\xfe:IMG_1\xffIMG_2\xfe"} << QByteArray();
        QTest::newRow("(?i)") << QByteArrayList{"Img_3.JPG"} << QStringList{"--regex", "(?i)img_", "--with", "P"} << 0
                              << QByteArrayList{"P3.JPG:Img_3.JPG"} << QByteArray();
        QTest::newRow("the extension, with -e") << QByteArrayList{"a.jpeg"}
                                                << QStringList{"-e", "--regex", "\\.jpeg$", "--with", ".jpg"} << 0
                                                << QByteArrayList{"a.jpg:a.jpeg"} << QByteArray();
        QTest::newRow("a runaway pattern gives one name up")
            << QByteArrayList{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "aaa"}
            << QStringList{"--regex", "^(a+)+$", "--with", "x"} << 1
            << QByteArrayList{"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab:aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "x:aaa"}
            << QByteArray("the pattern gave up on this name: match limit exceeded");

        QTest::newRow("--match-case --replace")
            << QByteArrayList{"IMG_1.jpg", "img_2.jpg"} << QStringList{"--match-case", "--replace", "IMG", "--with", "P"}
            << 0 << QByteArrayList{"P_1.jpg:IMG_1.jpg", "img_2.jpg:img_2.jpg"} << QByteArray();
        QTest::newRow("--match-case --remove-chars beyond ASCII")
            << QByteArrayList{"ÉtÉ é"} << QStringList{"--match-case", "--remove-chars", "É"} << 0
            << QByteArrayList{"t é:ÉtÉ é"} << QByteArray();

        QTest::newRow("upper: ß") << QByteArrayList{"straße"} << QStringList{"--case", "upper"} << 0
                                  << QByteArrayList{"STRASSE:straße"} << QByteArray();
        QTest::newRow("lower: Greek final sigma") << QByteArrayList{"ΟΔΟΣ ΚΑΛΟΣ"} << QStringList{"--case", "lower"}
                                                  << 0 << QByteArrayList{"οδος καλος:ΟΔΟΣ ΚΑΛΟΣ"} << QByteArray();
        QTest::newRow("upper: a decomposed é, a stray byte")
            << QByteArrayList{"e\xcc\x81t\xff\xc3\xa9"} << QStringList{"--case", "upper"} << 0
            << QByteArrayList{"E\xcc\x81T\xff\xc3\x89:e\xcc\x81t\xff\xc3\xa9"} << QByteArray();
        // Past what the mapping first makes room for, and past what a name
        // may hold.
        const QByteArray iotas = QByteArray("\xce\x90").repeated(50);
        QTest::newRow("upper: ΐ becomes three characters")
            << QByteArrayList{iotas} << QStringList{"--case", "upper"} << 1 << QByteArrayList{iotas + ':' + iotas}
            << QByteArray("\xce\x99\xcc\x88\xcc\x81").repeated(50) + ": File name too long";
        QTest::newRow("title") << QByteArrayList{"my HOLIDAY photo.jpg"} << QStringList{"--case", "title"} << 0
                               << QByteArrayList{"My Holiday Photo.jpg:my HOLIDAY photo.jpg"} << QByteArray();
        QTest::newRow("sentence: one capital across a stray byte")
            << QByteArrayList{"12 ab\xff" "CD EF"} << QStringList{"--case", "sentence"} << 0
            << QByteArrayList{"12 Ab\xff" "cd ef:12 ab\xff" "CD EF"} << QByteArray();
        QTest::newRow("ascii") << QByteArrayList{"Ærøskøbing", "Stra\xffße"} << QStringList{"--ascii"} << 0
                               << QByteArrayList{"AEroskobing:Ærøskøbing", "Stra\xffsse:Stra\xffße"} << QByteArray();

        // There and back on a file system that keeps either form; where it
        // holds both, one cannot take the other's name.
        QTest::newRow("to nfd") << QByteArrayList{"caf\xc3\xa9\xff"} << QStringList{"--normalize", "nfd"} << 0
                                << QByteArrayList{"cafe\xcc\x81\xff:caf\xc3\xa9\xff"} << QByteArray();
        QTest::newRow("back to nfc") << QByteArrayList{"cafe\xcc\x81\xff"} << QStringList{"--normalize", "nfc"} << 0
                                     << QByteArrayList{"caf\xc3\xa9\xff:cafe\xcc\x81\xff"} << QByteArray();
        QTest::newRow("both forms in one folder")
            << QByteArrayList{"caf\xc3\xa9", "cafe\xcc\x81"} << QStringList{"--normalize", "nfc"} << 1
            << QByteArrayList{"cafe\xcc\x81:cafe\xcc\x81", "caf\xc3\xa9:caf\xc3\xa9"} << QByteArray("File exists");

        QTest::newRow("serials per folder, in natural order")
            << QByteArrayList{"a/", "b/", "c/", "a/p10", "a/p9", "b/p10", "c/p9", "c/p1"}
            << QStringList{"--sort", "natural", "--serial-per-folder", "--place", "suffix", "--mask", "0", "--serial", "1"}
            << 0
            << QByteArrayList{"a/", "a/p102:a/p10", "a/p91:a/p9", "b/", "b/p101:b/p10", "c/", "c/p11:c/p1", "c/p92:c/p9"}
            << QByteArray();
    }

    void applied()
    {
        QFETCH(QByteArrayList, layout);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArrayList, tree);
        QFETCH(QByteArray, saying);
        fixture::ScratchFolder folder;
        QVERIFY(fixture::makeTree(folder.root(), layout));
        QByteArrayList files = layout;
        files.removeIf([](const QByteArray& item) { return item.endsWith('/'); });

        const ProgramResult result = runProgram(folder.root(), arguments + QStringList{"-0", "--apply"}, nulSeparated(files));
        QCOMPARE(fixture::readTree(folder.root()), tree);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.output.contains(saying), result.output);
    }
};

QTEST_GUILESS_MAIN(TestCommandLineRules)
#include "tst_commandlinerules.moc"
