// What a row's tooltip says Apply Rename will do, on real files: one row of
// the table per outcome and per reason a rename would fail.

#include "apply/DiskView.h"
#include "apply/ListPlan.h"
#include "apply/PlanPreview.h"
#include "apply/RowOutlook.h"
#include "disk/Folders.h"
#include "listcore/ListCommands.h"
#include "listcore/RowStore.h"
#include "tests/disk/DiskFixture.h"
#include "tests/disk/FatImage.h"
#include "text/FileNames.h"

#include <QTest>

Q_DECLARE_METATYPE(RenameOutlook::Kind)

class TestRenameOutlook : public QObject {
    Q_OBJECT

    fixture::FatImage m_fat;

private Q_SLOTS:
    void outlook_data()
    {
        QTest::addColumn<bool>("onFat");
        QTest::addColumn<QByteArrayList>("layout");
        // Per row "file>proposal" (joined names); a leading '!' leaves it
        // unchecked. The last row is the one asked about.
        QTest::addColumn<QByteArrayList>("rows");
        QTest::addColumn<RenameOutlook::Kind>("kind");
        QTest::addColumn<QByteArray>("reason");

        using K = RenameOutlook::Kind;
        const QByteArrayList ab{"a.txt", "b.txt", "sub/"};
        QTest::newRow("unchecked") << false << ab << QByteArrayList{"!a.txt>b.txt"} << K::Unchecked << QByteArray();
        QTest::newRow("unchanged") << false << ab << QByteArrayList{"a.txt>a.txt"} << K::Unchanged << QByteArray();
        QTest::newRow("renames") << false << ab << QByteArrayList{"a.txt>c.txt"} << K::Renames << QByteArray();
        QTest::newRow("into a sub-folder") << false << ab << QByteArrayList{"a.txt>sub/a.txt"} << K::Renames
                                           << QByteArray();
        QTest::newRow("empty") << false << ab << QByteArrayList{"a.txt>"} << K::Fails
                               << QByteArray("the new name is empty");
        QTest::newRow("dot") << false << ab << QByteArrayList{"a.txt>."} << K::Fails
                             << QByteArray("the new name \".\" stands for the folder itself");
        QTest::newRow("dot dot") << false << ab << QByteArrayList{"a.txt>.."} << K::Fails
                                 << QByteArray("the new name \"..\" stands for the folder above");
        QTest::newRow("gone from disk") << false << ab << QByteArrayList{"gone.txt>c.txt"} << K::Fails
                                        << QByteArray("the file is no longer on disk");
        QTest::newRow("missing sub-folder") << false << ab << QByteArrayList{"a.txt>none/a.txt"} << K::Fails
                                            << QByteArray("the folder \"none/\" it names does not exist");
        QTest::newRow("too long") << false << ab << QByteArrayList{"a.txt>" + QByteArray(300, 'n')} << K::Fails
                                  << QByteArray("the name is too long for the file system: 300 bytes, at most 255");
        QTest::newRow("taken") << false << ab << QByteArrayList{"a.txt>b.txt"} << K::Fails
                               << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("taken, moved away earlier") << false << ab << QByteArrayList{"b.txt>d.txt", "a.txt>b.txt"}
                                                   << K::Renames << QByteArray();
        QTest::newRow("taken, an unchecked row would move it")
            << false << ab << QByteArrayList{"!b.txt>d.txt", "a.txt>b.txt"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("claimed earlier") << false << ab << QByteArrayList{"b.txt>c.txt", "a.txt>c.txt"} << K::Fails
                                         << QByteArray("a row earlier in the list proposes the same name");
        QTest::newRow("taken, an earlier row fails to move it")
            << false << ab << QByteArrayList{"b.txt>", "a.txt>b.txt"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        // Rows that meet: what the pass will have done before a row decides.
        QTest::newRow("the same file twice") << false << ab << QByteArrayList{"a.txt>x", "a.txt>y"} << K::Fails
                                             << QByteArray("an earlier rename of the list moves this file first");
        QTest::newRow("a file gone claims no name") << false << ab << QByteArrayList{"ghost>same", "a.txt>same"}
                                                    << K::Renames << QByteArray();
        QTest::newRow("a rename that fails frees nothing")
            << false << QByteArrayList{"0", "1", "2"} << QByteArrayList{"0>0", "1>0", "2>1"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("a chain that works in list order")
            << false << QByteArrayList{"1", "2", "3"} << QByteArrayList{"1>0", "2>1", "3>2"} << K::Renames
            << QByteArray();
        QTest::newRow("a swap, in list order")
            << false << ab << QByteArrayList{"a.txt>sub/../b.txt", "b.txt>sub/../a.txt"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("a chain the wrong way round")
            << false << QByteArrayList{"1", "2", "3"} << QByteArrayList{"1>2", "2>3", "3>4"} << K::Renames
            << QByteArray();
        QTest::newRow("a name a file was renamed to is not that row's")
            << false << ab << QByteArrayList{"a.txt>c.txt", "b.txt>a.txt", "a.txt>z"} << K::Fails
            << QByteArray("an earlier rename of the list moves this file first");
        QTest::newRow("a name given before is not the row's own file")
            << false << ab << QByteArrayList{"b.txt>new", "new>z"} << K::Fails
            << QByteArray("an earlier rename of the list gives this name to another file first");
        const QByteArrayList twoFolders{"a.txt", "b.txt", "sub/", "sub/a.txt", "sub/b.txt"};
        QTest::newRow("a file moved away in one folder, its namesake in another stays")
            << false << twoFolders << QByteArrayList{"a.txt>c.txt", "sub/a.txt>d.txt"} << K::Renames
            << QByteArray();
        QTest::newRow("a name freed in one folder, its namesake in another still taken")
            << false << twoFolders << QByteArrayList{"b.txt>e.txt", "sub/a.txt>b.txt"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("other case taken, case kept apart")
            << false << QByteArrayList{"a.txt", "A.txt"} << QByteArrayList{"a.txt>A.txt"} << K::Fails
            << QByteArray("a file of that name already exists in the folder");
        QTest::newRow("FAT: reserved character") << true << ab << QByteArrayList{"a.txt>a:b.txt"} << K::Fails
                                                 << QByteArray("name not allowed on this file system: ':'");
        QTest::newRow("FAT: change of case") << true << ab << QByteArrayList{"a.txt>A.TXT"} << K::Renames
                                             << QByteArray();
    }

    void outlook()
    {
        QFETCH(bool, onFat);
        QFETCH(QByteArrayList, layout);
        QFETCH(QByteArrayList, rows);
        QFETCH(RenameOutlook::Kind, kind);
        QFETCH(QByteArray, reason);

        if (onFat && !m_fat.isMounted())
            QSKIP(m_fat.skipReason());
        fixture::ScratchFolder scratch;
        QVERIFY(scratch.isValid());
        static int folderNumber = 0;
        const QByteArray root = onFat ? m_fat.root() + "/case" + QByteArray::number(++folderNumber) : scratch.root();
        if (onFat)
            QVERIFY(mkdir(root.constData(), 0755) == 0);
        QVERIFY(fixture::makeTree(root, layout));

        RowStore list;
        list.setEntryForm(EntryForm::Joined);
        std::vector<std::pair<bool, std::string>> proposals;
        for (QByteArray row : rows) {
            const bool checked = !row.startsWith('!');
            if (!checked)
                row.remove(0, 1);
            const auto arrow = row.indexOf('>');
            appendFiles(list, {(root + '/' + row.left(arrow)).toStdString()});
            proposals.emplace_back(checked, row.mid(arrow + 1).toStdString());
        }
        std::size_t index = 0;
        ListRow* asked = nullptr;
        for (ListRow* row = list.FirstRow(); row; row = list.NextRow(row), ++index) {
            row->CheckState = proposals[index].first ? csCheckedNormal : csUncheckedNormal;
            list.RowData(row)->setNewName(proposals[index].second);
            asked = row;
        }

        const RenameOutlook outlook = outlookOfRow(list, *asked);
        QCOMPARE(outlook.kind, kind);
        QCOMPARE(QByteArray::fromStdString(outlook.reason), reason);
        QCOMPARE(outlook.newName, proposals.back().second);

        // A preview of the whole list says the same of every row.
        Folders folders;
        ListedDisk disk(folders);
        const RowFiles files(list);
        std::map<std::uint32_t, StepResult> ofList;
        previewPlan(listOrderPlan(list, files), disk,
                    [&](const PlanStep& step, const StepResult& result) { ofList[step.file] = result; });
        for (ListRow* row = list.FirstRow(); row; row = list.NextRow(row)) {
            const RenameOutlook single = outlookOfRow(list, *row);
            const auto seen = ofList.find(row->RowIndex);
            if (seen == ofList.end()) {
                QCOMPARE(single.kind, RenameOutlook::Kind::Unchecked);
                continue;
            }
            using O = StepResult::Outcome;
            QCOMPARE(seen->second.outcome == O::Renamed ? RenameOutlook::Kind::Renames
                         : seen->second.outcome == O::Failed ? RenameOutlook::Kind::Fails
                                                             : RenameOutlook::Kind::Unchanged,
                     single.kind);
            QCOMPARE(seen->second.reason, single.reason);
        }

        // Whatever its role, a step's folders are those of its paths.
        for (const RenamePlan& plan : {listOrderPlan(list, files), resolvedPlan(list, files, {}, disk)}) {
            std::string buffer;
            for (const PlanStep& step : plan.steps()) {
                if (!step.renames())
                    continue;
                QCOMPARE(std::string(plan.oldFolder(step, buffer)), std::string(FolderOfPath(plan.oldPath(step))));
                QCOMPARE(std::string(plan.newFolder(step, buffer)), std::string(FolderOfPath(plan.newPath(step))));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRenameOutlook)
#include "tst_renameoutlook.moc"
