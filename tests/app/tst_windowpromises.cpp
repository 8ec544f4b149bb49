#include "ListContents.h"

#include <QTest>
#include <QtWidgets>

// What the real window promises the person in front of it.
class TestWindowPromises : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> m_window;

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<TForm1>();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void listRadiosAreOneGroup_data()
    {
        QTest::addColumn<QString>("input"); // C, R: click Check All, Reverse; keys: Space, > Right, v Down
        QTest::addColumn<QString>("marks"); // the rows' check marks afterwards, from 1011
        QTest::newRow("reverse clicked thrice") << "RRR" << "0100";
        QTest::newRow("space on the selected") << "R  " << "0100";
        QTest::newRow("arrows stay in the three") << "C>vv" << "0000";
    }

    // Choosing the selected one of the three does nothing; the arrow keys
    // move among them only, never into the page's "Mode".
    void listRadiosAreOneGroup()
    {
        QFETCH(QString, input);
        QFETCH(QString, marks);
        m_window->addFiles({"/none/a", "/none/b", "/none/c", "/none/d"});
        listRows(*m_window)[1]->CheckState = csUncheckedNormal;
        for (QChar c : input) {
            const Qt::Key key = c == '>' ? Qt::Key_Right : c == 'v' ? Qt::Key_Down : Qt::Key_Space;
            if (c.isUpper())
                QTest::mouseClick(c == 'C' ? m_window->rbCheck : m_window->rbReverse, Qt::LeftButton);
            else
                QTest::keyClick(QApplication::focusWidget(), key);
        }
        QString shown;
        for (ListRow* row : listRows(*m_window))
            shown += IsChecked(*row) ? '1' : '0';
        QCOMPARE(shown, marks);
        QVERIFY(m_window->rbPre->isChecked());
    }
};

QTEST_MAIN(TestWindowPromises)
#include "tst_windowpromises.moc"
