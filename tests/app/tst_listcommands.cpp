#include "WindowFixture.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTest>

using Names = std::vector<std::string>;

// The list-wide commands and the tint of changed rows, on the real window.
class TestListCommands : public QObject {
    Q_OBJECT

    static std::vector<bool> checks(WindowFixture& f)
    {
        std::vector<bool> states;
        for (ListRow* row : f.rows())
            states.push_back(row->CheckState == csCheckedNormal);
        return states;
    }

    // Whether the tint colour shows anywhere in the given row of the list.
    static bool rowIsTinted(TForm1& window, int row)
    {
        const QImage image = window.VT->viewport()->grab().toImage();
        const int y = window.VT->visualRect(window.VT->model()->index(row, 0)).center().y();
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == QColor(204, 234, 255))
                return true;
        }
        return false;
    }

private Q_SLOTS:
    void changedRowsAreTinted()
    {
        WindowFixture f({"report.txt", "photo.jpg", "lower"});
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.entry(0).setNewName("REPORT"); // a change of case alone counts
        f.entry(2).setNewName("lower");  // unchanged
        f.window.VT->viewport()->update();
        QVERIFY(rowIsTinted(f.window, 0));
        QVERIFY(!rowIsTinted(f.window, 1));
        QVERIFY(!rowIsTinted(f.window, 2));
        f.window.BitBtn3->click(); // Reset
        QVERIFY(!rowIsTinted(f.window, 0));
    }

    void checkCommandsRunOnlyWhenSelected()
    {
        WindowFixture f({"a", "b", "c", "d"});
        f.setChecked(1, false);
        f.window.rbCheck->click(); // already selected: nothing happens
        QCOMPARE(checks(f), (std::vector<bool>{true, false, true, true}));

        f.window.rbUncheck->click();
        QCOMPARE(checks(f), (std::vector<bool>{false, false, false, false}));
        f.setChecked(0, true);
        f.setChecked(2, true);
        f.window.rbReverse->click();
        QCOMPARE(checks(f), (std::vector<bool>{false, true, false, true}));
        f.window.rbReverse->click(); // clicked again: nothing
        QCOMPARE(checks(f), (std::vector<bool>{false, true, false, true}));
        f.window.rbCheck->click();
        QCOMPARE(checks(f), (std::vector<bool>{true, true, true, true}));
    }

    void clearListEmptiesAndKeepsSettings()
    {
        WindowFixture f;
        f.window.BitBtn4->click(); // on an empty list
        QCOMPARE(f.window.VT->rowCount(), 0u);
        f.window.addFiles({"/nowhere/a.txt", "/nowhere/b.txt"});
        f.window.rbUncheck->click();
        f.window.cbInclude->setChecked(true);
        f.window.BitBtn4->click();
        QCOMPARE(f.window.VT->rowCount(), 0u);
        QVERIFY(f.window.rbUncheck->isChecked());
        QVERIFY(f.window.cbInclude->isChecked());
        f.window.addFiles({"/nowhere/c.txt"});
        QCOMPARE(f.window.VT->FirstRow()->RowIndex, 0u);
        QCOMPARE(f.entry(0).OldName(), std::string("c.txt"));
    }

    // The extension toggle converts every entry; files added while the box
    // is checked arrive joined, so nothing is cut twice.
    void extensionToggle()
    {
        WindowFixture f({"report.txt", "Photo.JPG", "README"});
        f.entry(2).setNewName("Notes");
        f.window.cbInclude->setChecked(true);
        QCOMPARE(f.entry(0).OldName(), std::string("report.txt"));
        QCOMPARE(f.entry(0).NewName(), std::string("report.txt"));
        QCOMPARE(f.entry(0).FileExt(), std::string());
        QCOMPARE(f.entry(2).NewName(), std::string("Notes"));

        f.window.SpeedButton1->click(); // Lower Case while joined
        f.window.addFiles({"/nowhere/archive.tar.gz"});
        QCOMPARE(f.entry(3).OldName(), std::string("archive.tar.gz"));
        QCOMPARE(f.entry(3).FileExt(), std::string());

        f.window.cbInclude->setChecked(false);
        QCOMPARE(f.entry(0).OldName(), std::string("report"));
        QCOMPARE(f.entry(0).FileExt(), std::string(".txt"));
        QCOMPARE(f.entry(1).NewName(), std::string("photo"));
        QCOMPARE(f.entry(1).FileExt(), std::string(".JPG"));
        QCOMPARE(f.entry(2).OldName(), std::string("README"));
        QCOMPARE(f.entry(2).NewName(), std::string("notes"));
        QCOMPARE(f.entry(2).FileExt(), std::string());
        QCOMPARE(f.entry(3).OldName(), std::string("archive.tar"));
        QCOMPARE(f.entry(3).NewName(), std::string("archive.tar"));
        QCOMPARE(f.entry(3).FileExt(), std::string(".gz"));
    }

    void columnsShowTheEntry()
    {
        WindowFixture f({"photo.jpg"});
        f.entry(0).setNewName("été");
        const QAbstractItemModel* model = f.window.VT->model();
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("photo"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("été"));
        QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("/nonexistent-folder/"));
        QCOMPARE(model->index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    }

    // Each list-wide command is one batch: one update of the view for all
    // rows, however many there are.
    void listCommandsRepaintOnce()
    {
        std::vector<std::string> names;
        for (int i = 0; i < 5000; ++i)
            names.push_back("file" + std::to_string(i) + ".txt");
        WindowFixture f(names);
        QSignalSpy changed(f.window.VT->model(), &QAbstractItemModel::dataChanged);
        f.window.rbUncheck->click();
        f.window.rbReverse->click();
        f.window.BitBtn3->click();
        f.window.cbInclude->setChecked(true);
        f.window.cbInclude->setChecked(false);
        QCOMPARE(changed.count(), 5);
    }

    void resetRestoresEveryProposal()
    {
        WindowFixture f({"one.txt", "two.txt"});
        f.setChecked(1, false);
        f.entry(1).setNewName("changed");
        f.window.SpeedButton2->click();
        f.window.BitBtn3->click();
        QCOMPARE(f.newNames(), (Names{"one", "two"}));
    }
};

QTEST_MAIN(TestListCommands)
#include "tst_listcommands.moc"
