#include "apply/ApplyPass.h"
#include "apply/ApplyReport.h"
#include "listcore/RowStore.h"
#include "tests/disk/DiskFixture.h"
#include "text/ElidedMiddle.h"

#include <QTest>

namespace {

bool sameEntry(const FileEntry& a, const FileEntry& b)
{
    return a.FileName() == b.FileName() && a.OldName() == b.OldName() && a.NewName() == b.NewName()
        && a.FilePath() == b.FilePath() && a.FileExt() == b.FileExt() && a.times() == b.times();
}

// Counts the update batches the list sees.
struct BatchCounter : RowStoreObserver {
    int opened = 0;
    int closed = 0;
    void batchOpened() override { ++opened; }
    void batchClosed() override { ++closed; }
    void rowAppended() override {}
    void aboutToClear() override {}
    void cleared() override {}
};

struct RowBefore {
    TCheckState state;
    FileEntry entry;
};

QByteArrayList failureLines(const ApplyReport& report)
{
    QByteArrayList lines;
    for (const RenameFailure& failure : report.failures)
        lines << QByteArray::fromStdString(failure.oldName + " → " + failure.newName + ": " + failure.reason);
    return lines;
}

// "old>new" a joined entry, "old>>new" a split one (new without the
// extension); a leading '!' leaves it unchecked. old may reach into a folder.
void appendEntry(RowStore& rows, const QByteArray& root, QByteArray row)
{
    const bool checked = !row.startsWith('!');
    if (!checked)
        row.remove(0, 1);
    const bool split = row.contains(">>");
    const auto arrow = row.indexOf('>');
    rows.SetNodeDataSize(int(sizeof(FileEntry)));
    ListRow* added = rows.AppendRow();
    FileEntry& entry = *rows.RowData(added);
    entry = FileEntry((root + '/' + row.left(arrow)).toStdString(), split ? EntryForm::Split : EntryForm::Joined,
                      FileTimes{1, 2, 3});
    entry.setNewName(row.mid(arrow + (split ? 2 : 1)).toStdString());
    added->CheckState = checked ? csCheckedNormal : csUncheckedNormal;
}

std::vector<RowBefore> rowsOf(RowStore& rows)
{
    std::vector<RowBefore> all;
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row))
        all.push_back({row->CheckState, *rows.RowData(row)});
    return all;
}

}  // namespace

class TestApplyPass : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void apply_data();
    void apply();
    void secondApplyFindsNothingToDo();
    void completionMessage_data();
    void completionMessage();
    void longNamesShortened_data();
    void longNamesShortened();
    void manyLongFailures();
};

void TestApplyPass::apply_data()
{
    QTest::addColumn<QByteArrayList>("layout");
    QTest::addColumn<QByteArrayList>("entries");
    // Per entry: '.' renamed, 'x' failed, '-' unchecked.
    QTest::addColumn<QByteArray>("outcome");
    QTest::addColumn<QByteArrayList>("expectedFailures");
    QTest::addColumn<QByteArrayList>("expectedTree");

    const QByteArray exists = ": " + QByteArray(std::strerror(EEXIST));
    const QByteArray missing = ": " + QByteArray(std::strerror(ENOENT));
    const QByteArray tooLong = QByteArray(252, 'x');

    QTest::newRow("empty list") << QByteArrayList{"a.txt"} << QByteArrayList{} << QByteArray()
                                << QByteArrayList{} << QByteArrayList{"a.txt:a.txt"};
    QTest::newRow("nothing checked")
        << QByteArrayList{"a.txt"} << QByteArrayList{"!a.txt>>b"} << QByteArray("-")
        << QByteArrayList{} << QByteArrayList{"a.txt:a.txt"};
    QTest::newRow("names unchanged")
        << QByteArrayList{"a.txt", "b.txt"} << QByteArrayList{"a.txt>>a", "b.txt>b.txt"}
        << QByteArray("..") << QByteArrayList{} << QByteArrayList{"a.txt:a.txt", "b.txt:b.txt"};
    QTest::newRow("unchecked between checked")
        << QByteArrayList{"a.txt", "b.txt", "c.txt"}
        << QByteArrayList{"a.txt>>A", "!b.txt>>B", "c.txt>>C"} << QByteArray(".-.")
        << QByteArrayList{} << QByteArrayList{"A.txt:a.txt", "C.txt:c.txt", "b.txt:b.txt"};
    QTest::newRow("onto a file, then go on")
        << QByteArrayList{"a.txt", "b.txt", "c.txt"} << QByteArrayList{"a.txt>>b", "c.txt>>d"}
        << QByteArray("x.") << QByteArrayList{"a.txt → b.txt" + exists}
        << QByteArrayList{"a.txt:a.txt", "b.txt:b.txt", "d.txt:c.txt"};
    QTest::newRow("onto folders")
        << QByteArrayList{"a", "b", "c", "full/", "full/x", "empty/"}
        << QByteArrayList{"a>full", "b>empty", "c>d"} << QByteArray("xx.")
        << QByteArrayList{"a → full" + exists, "b → empty" + exists}
        << QByteArrayList{"a:a", "b:b", "d:c", "empty/", "full/", "full/x:full/x"};
    QTest::newRow("chain, blocked order")
        << QByteArrayList{"a.txt", "b.txt"} << QByteArrayList{"a.txt>>b", "b.txt>>c"}
        << QByteArray("x.") << QByteArrayList{"a.txt → b.txt" + exists}
        << QByteArrayList{"a.txt:a.txt", "c.txt:b.txt"};
    QTest::newRow("chain, working order")
        << QByteArrayList{"a.txt", "b.txt"} << QByteArrayList{"b.txt>>c", "a.txt>>b"}
        << QByteArray("..") << QByteArrayList{} << QByteArrayList{"b.txt:a.txt", "c.txt:b.txt"};
    QTest::newRow("swap")
        << QByteArrayList{"a.txt", "b.txt"} << QByteArrayList{"a.txt>>b", "b.txt>>a"}
        << QByteArray("xx") << QByteArrayList{"a.txt → b.txt" + exists, "b.txt → a.txt" + exists}
        << QByteArrayList{"a.txt:a.txt", "b.txt:b.txt"};
    QTest::newRow("same file twice")
        << QByteArrayList{"a.txt"} << QByteArrayList{"a.txt>>b", "a.txt>>c"} << QByteArray(".x")
        << QByteArrayList{"a.txt → c.txt: an earlier rename of the list moves this file first"} << QByteArrayList{"b.txt:a.txt"};
    QTest::newRow("case only")
        << QByteArrayList{"Photo.JPG", "Movie.MOV"}
        << QByteArrayList{"Photo.JPG>>photo", "Movie.MOV>movie.mov"} << QByteArray("..")
        << QByteArrayList{} << QByteArrayList{"movie.mov:Movie.MOV", "photo.JPG:Photo.JPG"};
    QTest::newRow("case only onto a hard link")
        << QByteArrayList{"Photo.JPG", "photo.jpg=Photo.JPG"}
        << QByteArrayList{"Photo.JPG>photo.jpg"} << QByteArray("x")
        << QByteArrayList{"Photo.JPG → photo.jpg" + exists}
        << QByteArrayList{"Photo.JPG:Photo.JPG", "photo.jpg:Photo.JPG"};
    QTest::newRow("empty new name")
        << QByteArrayList{"report.txt", "notes.txt"}
        << QByteArrayList{"report.txt>>", "notes.txt>"} << QByteArray(".x")
        << QByteArrayList{"notes.txt → : the new name is empty"}
        << QByteArrayList{".txt:report.txt", "notes.txt:notes.txt"};
    QTest::newRow("into sub-folders")
        << QByteArrayList{"a.txt", "b.txt", "sub/", "sub/c.txt"}
        << QByteArrayList{"a.txt>>sub/a", "b.txt>>none/b", "sub/c.txt>>../c"} << QByteArray(".x.")
        << QByteArrayList{"b.txt → none/b.txt" + missing}
        << QByteArrayList{"b.txt:b.txt", "c.txt:sub/c.txt", "sub/", "sub/a.txt:a.txt"};
    QTest::newRow("name too long")
        << QByteArrayList{"a.txt"} << QByteArrayList{"a.txt>>" + tooLong} << QByteArray("x")
        << QByteArrayList{"a.txt → " + tooLong + ".txt: " + std::strerror(ENAMETOOLONG)}
        << QByteArrayList{"a.txt:a.txt"};
    QTest::newRow("source gone since it was added")
        << QByteArrayList{"b.txt"} << QByteArrayList{"a.txt>>c", "b.txt>>d"} << QByteArray("x.")
        << QByteArrayList{"a.txt → c.txt" + missing} << QByteArrayList{"d.txt:b.txt"};
}

void TestApplyPass::apply()
{
    QFETCH(QByteArrayList, layout);
    QFETCH(QByteArrayList, entries);
    QFETCH(QByteArray, outcome);
    QFETCH(QByteArrayList, expectedFailures);
    QFETCH(QByteArrayList, expectedTree);

    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, layout));
    RowStore rows;
    for (const QByteArray& row : entries)
        appendEntry(rows, root, row);
    const std::vector<RowBefore> before = rowsOf(rows);
    BatchCounter batches;
    rows.setObserver(&batches);

    const ApplyReport report = applyRenames(rows);

    QCOMPARE(report.checkedCount, std::size_t(outcome.size() - outcome.count('-')));
    QCOMPARE(failureLines(report), expectedFailures);
    std::sort(expectedTree.begin(), expectedTree.end());
    QCOMPARE(fixture::readTree(root), expectedTree);

    const std::vector<RowBefore> after = rowsOf(rows);
    QCOMPARE(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const FileEntry& was = before[i].entry;
        const FileEntry& now = after[i].entry;
        QCOMPARE(after[i].state, before[i].state);
        if (outcome[qsizetype(i)] != '.') {
            QVERIFY2(sameEntry(now, was), qPrintable(QString("entry %1 changed").arg(i)));
            continue;
        }
        // The renamed entry names its file and is no longer a proposal.
        QCOMPARE(now.path(), was.newPath());
        QCOMPARE(now.OldName(), now.NewName());
        QCOMPARE(now.times(), was.times());
    }
    QCOMPARE(batches.opened, 1);
    QCOMPARE(batches.closed, 1);
    QCOMPARE(rows.batchCount(), 0);
}

void TestApplyPass::secondApplyFindsNothingToDo()
{
    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, {"a.txt", "b.txt", "sub/"}));
    RowStore rows;
    for (const char* row : {"a.txt>>A", "b.txt>sub/b.txt"})
        appendEntry(rows, root, row);

    const ApplyReport first = applyRenames(rows);
    QVERIFY(first.allRenamed());
    const ApplyReport second = applyRenames(rows);
    QVERIFY(second.allRenamed());
    QCOMPARE(second.checkedCount, std::size_t(2));
    QCOMPARE(::completionMessage(second), std::string("Rename Completed!"));
    QCOMPARE(fixture::readTree(root), (QByteArrayList{"A.txt:a.txt", "sub/", "sub/b.txt:b.txt"}));
}

void TestApplyPass::completionMessage_data()
{
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("failed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing to rename") << 0 << 0 << "Rename Completed!";
    QTest::newRow("all renamed") << 3 << 0 << "Rename Completed!";
    QTest::newRow("the only one failed")
        << 1 << 1 << "Rename Completed!\n1 of 1 checked file could not be renamed:\n"
                     "old0 → new0: File exists";
    QTest::newRow("some failed")
        << 5 << 2 << "Rename Completed!\n2 of 5 checked files could not be renamed:\n"
                     "old0 → new0: File exists\nold1 → new1: File exists";

    QString many = "Rename Completed!\n23 of 30 checked files could not be renamed:";
    for (int i = 0; i < 20; ++i)
        many += QString("\nold%1 → new%1: File exists").arg(i);
    QTest::newRow("more than twenty") << 30 << 23 << many + "\nand 3 more";
}

void TestApplyPass::completionMessage()
{
    QFETCH(int, checked);
    QFETCH(int, failed);
    QFETCH(QString, expected);

    ApplyReport report;
    report.checkedCount = std::size_t(checked);
    for (int i = 0; i < failed; ++i) {
        const std::string n = std::to_string(i);
        report.failures.push_back({0, "old" + n, "new" + n, std::strerror(EEXIST)});
    }
    QCOMPARE(QString::fromStdString(::completionMessage(report)), expected);
    QCOMPARE(report.allRenamed(), failed == 0);
}

void TestApplyPass::longNamesShortened_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("shown");

    const QByteArray e = "\xc3\xa9";  // é
    QTest::newRow("80 characters") << QByteArray(80, 'a') << QByteArray(80, 'a');
    QTest::newRow("81 characters") << QByteArray(40, 'a') + "b" + QByteArray(40, 'c')
                                   << QByteArray(39, 'a') + "…" + QByteArray(40, 'c');
    QTest::newRow("two-byte characters") << e.repeated(81) << e.repeated(39) + "…" + e.repeated(40);
    QTest::newRow("stray bytes count one each") << QByteArray(100, '\xff')
                                                << QByteArray(39, '\xff') + "…" + QByteArray(40, '\xff');
    QTest::newRow("no sequence cut") << "a" + e.repeated(90) << "a" + e.repeated(38) + "…" + e.repeated(40);
}

void TestApplyPass::longNamesShortened()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(elidedMiddle(name.toStdString(), 80)), shown);

    ApplyReport report;
    report.checkedCount = 1;
    report.failures = {{0, name.toStdString(), "new", "File exists"}};
    QCOMPARE(QByteArray::fromStdString(::completionMessage(report)),
             "Rename Completed!\n1 of 1 checked file could not be renamed:\n" + shown + " → new: File exists");
    QCOMPARE(completionDetails(report), name.toStdString() + " → new: File exists");
}

// 1,000 failures with names of 32,767 characters once made a message of a
// million characters that took seconds to show.
void TestApplyPass::manyLongFailures()
{
    ApplyReport report;
    report.checkedCount = 1000;
    for (int i = 0; i < 1000; ++i)
        report.failures.push_back({0, std::string(32767, 'o'), std::string(32767, 'n'), "File exists"});
    const std::string message = ::completionMessage(report);
    QCOMPARE(std::count(message.begin(), message.end(), '\n'), 22);
    QVERIFY2(message.size() < 20 * 200 + 100, qPrintable(QString::number(message.size())));
    QVERIFY(message.ends_with("\nand 980 more"));
    const std::string details = completionDetails(report);
    QCOMPARE(std::count(details.begin(), details.end(), '\n'), 999);
    QCOMPARE(details.size(), 1000 * (2 * 32767 + std::strlen(" → : File exists")) + 999);
}

QTEST_GUILESS_MAIN(TestApplyPass)
#include "tst_applypass.moc"
