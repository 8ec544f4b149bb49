#include "ListContents.h"
#include "controls/NumberBox.h"

#include <QTest>
#include <QtWidgets>

// Which arrows a number box offers.
struct StepProbe : NumberBox {
    using NumberBox::stepEnabled;
};

// What the real window promises the person in front of it.
class TestWindowPromises : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TForm1> m_window;

    // Runs `act` on the modal dialog `open` brings up, then closes it. True
    // when the dialog stood centred across the screen with 1/`divisor` of
    // the spare height above it.
    bool placedOnScreen(int divisor, const std::function<void()>& open, const std::function<void(QDialog*)>& act)
    {
        bool placed = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            const QRect screen = m_window->screen()->geometry();
            const QSize spare = screen.size() - dialog->frameGeometry().size();
            placed = dialog->pos() == screen.topLeft() + QPoint(spare.width() / 2, spare.height() / divisor);
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        open();
        return placed;
    }

private Q_SLOTS:
    // The window in a corner of the screen, where a dialog centred over it
    // would not stand in the middle.
    void init()
    {
        m_window = std::make_unique<TForm1>();
        m_window->move(m_window->screen()->geometry().topLeft());
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
            shown += isChecked(*row) ? '1' : '0';
        QCOMPARE(shown, marks);
        QVERIFY(m_window->rbPre->isChecked());
    }

    void numberBoxesStepByOne_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("input"); // a key, or a wheel notch; edFirst has the focus unless "elsewhere"
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("arrows"); // offered afterwards
        const int up = QAbstractSpinBox::StepUpEnabled, down = QAbstractSpinBox::StepDownEnabled;
        // edFirst steps within 1 … 100.
        QTest::newRow("page up") << "5" << "PgUp" << "6" << (up | down);
        QTest::newRow("ctrl+up") << "5" << "Ctrl+Up" << "6" << (up | down);
        QTest::newRow("page down at the bottom") << "1" << "PgDown" << "1" << up;
        QTest::newRow("page up at the top") << "100" << "PgUp" << "100" << down;
        QTest::newRow("0 up") << "0" << "Up" << "1" << up;
        QTest::newRow("500 down") << "500" << "Down" << "100" << down;
        QTest::newRow("500 up") << "500" << "Up" << "100" << down;
        QTest::newRow("ctrl+wheel") << "5" << "Ctrl+Wheel" << "6" << (up | down);
        QTest::newRow("wheel, focus elsewhere") << "5" << "Wheel elsewhere" << "5" << (up | down);
    }

    // A step adds or takes one from the number shown, then keeps it within
    // the range; the wheel steps a focused box only.
    void numberBoxesStepByOne()
    {
        QFETCH(QString, start);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(int, arrows);
        NumberBox* box = m_window->edFirst;
        m_window->PageControl1->setCurrentWidget(m_window->TabSheet3);
        (input.endsWith("elsewhere") ? m_window->edLast : box)->setFocus();
        box->setText(start);
        const auto held = input.startsWith("Ctrl+") ? Qt::ControlModifier : Qt::NoModifier;
        QWheelEvent wheel({5, 5}, box->mapToGlobal(QPointF(5, 5)), {}, {0, 120}, {}, held, Qt::NoScrollPhase, false);
        if (input.contains("Wheel"))
            QApplication::sendEvent(box, &wheel);
        else
            QTest::keyClick(box, QKeySequence(input)[0].key(), held);
        QCOMPARE(box->text(), expected);
        QCOMPARE(int((box->*&StepProbe::stepEnabled)()), arrows);
    }

    void fileDialogTakesTypedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("viaOpen"); // else Enter; Qt disables Open while a typed file is missing
        QTest::addColumn<QStringList>("added");
        QTest::newRow("five quoted") << R"("1" "2" "3" "4" "5")" << false << QStringList{"1", "2", "3", "4", "5"};
        QTest::newRow("typed order") << R"("4" "missing" "2")" << false << QStringList{"4", "missing", "2"};
        QTest::newRow("missing only, Open") << R"("ghost" "gone")" << true << QStringList{"ghost", "gone"};
    }

    // Every typed name becomes a row, in the typed order, whether its file
    // exists or not; the next opening shows the first one's full path.
    void fileDialogTakesTypedNames()
    {
        QFETCH(QString, typed);
        QFETCH(bool, viaOpen);
        QFETCH(QStringList, added);
        for (const char* name : {"1", "2", "3", "4", "5"})
            QFile(m_dir.filePath(name)).open(QIODevice::WriteOnly);
        const auto open = [&] { m_window->BitBtn1->click(); };
        const bool placed = placedOnScreen(3, open, [&](QDialog* dialog) {
            static_cast<QFileDialog*>(dialog)->setDirectory(m_dir.path());
            dialog->activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
            auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
            QTest::keyClicks(nameBox, typed);
            if (viaOpen)
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
            else
                QTest::keyClick(nameBox, Qt::Key_Return);
        });
        QStringList rows, expected;
        for (const FileEntry& entry : listEntries(*m_window))
            rows << QFile::decodeName(QByteArray::fromStdString(std::string(entry.FilePath()) + std::string(entry.FileName())));
        for (const QString& name : added)
            expected << m_dir.filePath(name);
        QCOMPARE(rows, expected);
        QVERIFY(placed);
        // The next opening starts in the folder of the first file chosen.
        QString nameBox;
        QString folder;
        placedOnScreen(3, open, [&](QDialog* d) {
            nameBox = d->findChild<QLineEdit*>("fileNameEdit")->text();
            folder = static_cast<QFileDialog*>(d)->directory().absolutePath();
        });
        QCOMPARE(nameBox, expected.first());
        QCOMPARE(folder, QFileInfo(expected.first()).absolutePath());
    }

    void messagesCentredOnScreen_data()
    {
        QTest::addColumn<bool>("completion"); // else the error display
        QTest::newRow("completion") << true;
        QTest::newRow("error display") << false;
    }

    void messagesCentredOnScreen()
    {
        QFETCH(bool, completion);
        const auto show = [&] { completion ? m_window->BitBtn2->click() : m_window->showError("Access denied"); };
        const bool placed = placedOnScreen(2, show, [](QDialog*) {});
        QVERIFY(placed);
    }

    void panelShowsDoubleBevel_data()
    {
        QTest::addColumn<QPoint>("at"); // from the top-left corner, or back from the bottom-right when negative
        QTest::addColumn<QPalette::ColorRole>("colour");
        QTest::newRow("outer ring lowered, top left") << QPoint(0, 0) << QPalette::Dark;
        QTest::newRow("outer ring lowered, bottom right") << QPoint(-1, -1) << QPalette::Light;
        QTest::newRow("inner ring raised, top left") << QPoint(1, 1) << QPalette::Light;
        QTest::newRow("inner ring raised, bottom right") << QPoint(-2, -2) << QPalette::Dark;
    }

    void panelShowsDoubleBevel()
    {
        QFETCH(QPoint, at);
        QFETCH(QPalette::ColorRole, colour);
        const QImage image = m_window->Panel1->grab().toImage();
        const QPoint pixel = at.x() < 0 ? at + QPoint(image.width(), image.height()) : at;
        QCOMPARE(image.pixelColor(pixel).name(), m_window->Panel1->palette().color(colour).name());
    }
};

QTEST_MAIN(TestWindowPromises)
#include "tst_windowpromises.moc"
