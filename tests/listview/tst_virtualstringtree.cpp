#include "listcore/ListError.h"
#include "listview/VTDelegate.h"
#include "listview/VirtualStringTree.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

// The check-box list control: its row contract, its batching and the way
// the user works its check boxes.
class TestVirtualStringTree : public QObject {
    Q_OBJECT

    struct Fixture : VTEvents {
        TVirtualStringTree list;
        std::unique_ptr<QAbstractItemModelTester> tester;
        int initialised = 0;

        void OnInitNode(TVirtualStringTree*, ListRow*, ListRow* node) override
        {
            ++initialised;
            node->CheckType = ctCheckBox;
        }
        void OnGetText(TVirtualStringTree* sender, ListRow* node, int column, CellTextType, QString& text) override
        {
            if (column == 0)
                text = QString::fromUtf8(sender->RowData(node)->OldName());
        }
        void OnBeforeCellPaint(TVirtualStringTree*, CellCanvas*, ListRow*, int, PaintMode, const QRect&, QRect&) override
        {
        }

        // The model tester reads every row's data, which initialises rows;
        // a test of deferred initialisation goes without it.
        explicit Fixture(bool withModelTester = true)
        {
            if (withModelTester)
                tester = std::make_unique<QAbstractItemModelTester>(
                    list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
            list.setEvents(this);
            list.SetNodeDataSize(int(sizeof(FileEntry)));
        }

        void append(int count)
        {
            list.BeginBatch();
            for (int i = 0; i < count; ++i) {
                ListRow* row = list.AppendRow();
                *list.RowData(row) = FileEntry("row" + std::to_string(i), EntryForm::Joined);
                row->CheckState = csCheckedNormal;
            }
            list.EndBatch();
        }
    };

private Q_SLOTS:
    void emptyListHasNoRows()
    {
        Fixture f;
        QCOMPARE(f.list.FirstRow(), nullptr);
        QCOMPARE(f.list.NextRow(nullptr), nullptr);
    }

    void rowsAreVisitedInAppendingOrder()
    {
        Fixture f;
        f.append(3);
        std::vector<std::uint32_t> indexes;
        for (ListRow* row = f.list.FirstRow(); row; row = f.list.NextRow(row))
            indexes.push_back(row->RowIndex);
        QCOMPARE(indexes, (std::vector<std::uint32_t>{0, 1, 2}));
    }

    void rowDataNeedsItsSize()
    {
        TVirtualStringTree list;
        ListRow* row = list.AppendRow();
        QVERIFY_THROWS_EXCEPTION(ListError, list.RowData(row));
        try {
            list.RowData(row);
        } catch (const ListError& error) {
            QCOMPARE(QString::fromLatin1(error.what()), QStringLiteral("NodeDataSize not initialized."));
        }
        QCOMPARE(list.RowData(nullptr), nullptr);
    }

    void settingTheSameSizeKeepsTheRows()
    {
        Fixture f;
        f.append(2);
        f.list.SetNodeDataSize(int(sizeof(FileEntry)));
        QCOMPARE(f.list.rowCount(), 2u);
        QCOMPARE(f.list.RowData(f.list.FirstRow())->OldName(), std::string_view("row0"));
    }

    void rowsAppearWhenTheOutermostBatchCloses()
    {
        Fixture f;
        QSignalSpy inserted(f.list.model(), &QAbstractItemModel::rowsInserted);
        f.list.BeginBatch();
        f.list.BeginBatch();
        f.list.AppendRow();
        f.list.AppendRow();
        f.list.EndBatch();
        QCOMPARE(f.list.model()->rowCount(), 0);
        f.list.EndBatch();
        QCOMPARE(f.list.model()->rowCount(), 2);
        QCOMPARE(inserted.count(), 1);
        f.list.EndBatch(); // without an open batch: nothing happens
        QCOMPARE(f.list.batchCount(), 0);
    }

    void aBatchOfChangesIsOneUpdate()
    {
        Fixture f;
        f.append(1000);
        QSignalSpy changed(f.list.model(), &QAbstractItemModel::dataChanged);
        f.list.BeginBatch();
        for (ListRow* row = f.list.FirstRow(); row; row = f.list.NextRow(row))
            f.list.RowData(row)->setNewName("x");
        f.list.EndBatch();
        QCOMPARE(changed.count(), 1);
    }

    void rowsAreInitialisedOnlyWhenNeeded()
    {
        Fixture f(false);
        f.list.BeginBatch();
        ListRow* row = f.list.AppendRow();
        row->CheckState = csCheckedNormal;
        f.list.EndBatch();
        QCOMPARE(row->CheckType, ctNone);
        QCOMPARE(f.initialised, 0);
        QCOMPARE(f.list.FirstRow(), row);
        QCOMPARE(row->CheckType, ctCheckBox);
        QCOMPARE(row->CheckState, csCheckedNormal);
        f.list.FirstRow();
        QCOMPARE(f.initialised, 1);
    }

    void clearingStartsAfresh()
    {
        Fixture f;
        f.list.resize(200, 100);
        f.list.show();
        f.append(500);
        f.list.verticalScrollBar()->setValue(f.list.verticalScrollBar()->maximum());
        f.list.horizontalScrollBar()->setValue(50);
        QSignalSpy reset(f.list.model(), &QAbstractItemModel::modelReset);
        f.list.ClearRows();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(f.list.rowCount(), 0u);
        QCOMPARE(f.list.verticalScrollBar()->value(), 0);
        QCOMPARE(f.list.horizontalScrollBar()->value(), 0);
        QCOMPARE(f.list.AppendRow()->RowIndex, 0u);
    }

    void headerNeverSorts()
    {
        Fixture f;
        f.append(3);
        f.list.show();
        QTest::mouseClick(f.list.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
        QCOMPARE(f.list.model()->index(0, 0).data().toString(), QStringLiteral("row0"));
        QCOMPARE(f.list.model()->index(2, 0).data().toString(), QStringLiteral("row2"));
    }

    // How the mouse and the space bar work a check box: what is pressed,
    // where it is released, and whether it ends checked.
    void checkBoxInteraction_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("checkedAfter");
        QTest::newRow("click") << "click" << false;
        QTest::newRow("released elsewhere") << "release outside" << true;
        QTest::newRow("double-click") << "double-click" << true;
        QTest::newRow("space") << "space" << false;
    }

    void checkBoxInteraction()
    {
        QFETCH(QString, gesture);
        QFETCH(bool, checkedAfter);
        Fixture f;
        f.list.resize(400, 200);
        f.append(3);
        f.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.list));
        f.list.setCurrentIndex(f.list.model()->index(2, 0));

        QWidget* viewport = f.list.viewport();
        const QPoint box = f.list.checkBoxRect(1).center();
        QVERIFY(!box.isNull());
        ListRow* row = f.list.NextRow(f.list.FirstRow());
        if (gesture == "click") {
            QTest::mousePress(viewport, Qt::LeftButton, {}, box);
            QCOMPARE(row->CheckState, csCheckedPressed);
            QCOMPARE(f.list.currentIndex().row(), 2); // the press moved nothing
            // Held down, the box still reads checked: to the view, as it is
            // painted, and to a screen reader.
            const QModelIndex cell = f.list.model()->index(1, 0);
            QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
            QStyleOptionViewItem painted;
            static_cast<VTDelegate*>(f.list.itemDelegate())->initStyleOption(&painted, cell);
            QCOMPARE(painted.checkState, Qt::Checked);
            QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&f.list);
            QVERIFY(table && table->tableInterface());
            QVERIFY(table->tableInterface()->cellAt(1, 0)->state().checked);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, box);
        } else if (gesture == "release outside") {
            QTest::mousePress(viewport, Qt::LeftButton, {}, box);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, box + QPoint(150, 0));
        } else if (gesture == "double-click") {
            // As a real double-click arrives: press, release, press as a
            // double-click, release.
            QTest::mousePress(viewport, Qt::LeftButton, {}, box);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, box);
            QMouseEvent doubleClick(QEvent::MouseButtonDblClick, box, viewport->mapToGlobal(box), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &doubleClick);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, box);
        } else {
            f.list.setCurrentIndex(f.list.model()->index(1, 0));
            QTest::keyClick(&f.list, Qt::Key_Space);
        }
        QCOMPARE(row->CheckState == csCheckedNormal, checkedAfter);
        QVERIFY(row->CheckState == csCheckedNormal || row->CheckState == csUncheckedNormal);
    }

    void appendingAMillionRowsIsOneInsert()
    {
        TVirtualStringTree list;
        list.SetNodeDataSize(int(sizeof(FileEntry)));
        QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
        list.BeginBatch();
        for (int i = 0; i < 1'000'000; ++i)
            list.AppendRow();
        list.EndBatch();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(list.model()->rowCount(), 1'000'000);
    }
};

QTEST_MAIN(TestVirtualStringTree)
#include "tst_virtualstringtree.moc"
