#include "WindowFixture.h"

#include <QAccessible>
#include <QTabWidget>
#include <QTest>

// What a screen reader finds on each rule page: every control a person can
// operate has a name, and the Apply Change buttons of a page differ in it.
class TestAccessibility : public QObject {
    Q_OBJECT

    struct Control {
        QAccessible::Role role;
        QString name;
        QString objectName;
    };

    static void collect(QAccessibleInterface* node, std::vector<Control>& out)
    {
        if (!node || node->state().invisible)
            return;
        out.push_back({node->role(), node->text(QAccessible::Name),
                       node->object() ? node->object()->objectName() : QString()});
        for (int i = 0; i < node->childCount(); ++i)
            collect(node->child(i), out);
    }

private Q_SLOTS:
    void everyControlIsNamed_data()
    {
        QTest::addColumn<int>("page");
        for (int page = 0; page < 5; ++page)
            QTest::addRow("page %d", page) << page;
    }

    void everyControlIsNamed()
    {
        QFETCH(int, page);
        WindowFixture f;
        f.window.PageControl1->setCurrentIndex(page);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));

        std::vector<Control> controls;
        collect(QAccessible::queryAccessibleInterface(&f.window), controls);
        const QList<QAccessible::Role> operable = {QAccessible::PushButton, QAccessible::EditableText,
                                                   QAccessible::SpinBox,    QAccessible::ComboBox,
                                                   QAccessible::CheckBox,   QAccessible::RadioButton,
                                                   QAccessible::Table};
        QSet<QString> applyNames;
        int applyButtons = 0;
        for (const Control& control : controls) {
            if (!operable.contains(control.role))
                continue;
            QVERIFY2(!control.name.trimmed().isEmpty(), qPrintable(control.objectName + " has no name"));
            if (control.name.startsWith(QLatin1String("Apply ")) && control.objectName != QLatin1String("BitBtn2")) {
                ++applyButtons;
                applyNames.insert(control.name);
            }
        }
        QVERIFY(applyButtons > 0);
        QCOMPARE(applyNames.size(), applyButtons);
    }

    // A row tells what Apply Rename will do with it, as its tooltip and as
    // its description for a screen reader alike.
    void rowsExplainThemselves()
    {
        WindowFixture f({"alpha.txt", "beta.txt"});
        f.setChecked(1, false);
        const QAbstractItemModel* model = f.window.VT->model();
        const QModelIndex checked = model->index(0, 2);
        const QModelIndex unchecked = model->index(1, 0);
        QCOMPARE(checked.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("The proposed name is the file's own: Apply Rename leaves it as it is."));
        QCOMPARE(unchecked.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Not checked: Apply Rename leaves this file as it is."));
        QCOMPARE(checked.data(Qt::AccessibleDescriptionRole), checked.data(Qt::ToolTipRole));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
