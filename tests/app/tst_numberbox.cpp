#include "RecordingDialogs.h"
#include "app/Unit1.h"
#include "controls/NumberBox.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTabWidget>
#include <QTest>

// One key as the keyboard delivers it: the key, the text it types (X11 sends
// control characters such as "\x16" for Ctrl+V) and the modifiers.
struct Stroke {
    Qt::Key key;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};
using Strokes = QList<Stroke>;
Q_DECLARE_METATYPE(Strokes)

namespace {

Stroke Typed(char c)
{
    return {Qt::Key(QChar(QLatin1Char(c)).toUpper().unicode()), QString(QLatin1Char(c))};
}

Stroke Ctrl(Qt::Key key, char control)
{
    return {key, QString(QChar(control)), Qt::ControlModifier};
}

const Stroke Backspace{Qt::Key_Backspace, QStringLiteral("\b")};
const Stroke Enter{Qt::Key_Return, QStringLiteral("\r")};
const Stroke Delete{Qt::Key_Delete, QStringLiteral("\x7f")};
const Stroke Home{Qt::Key_Home, QString()};
const Stroke End{Qt::Key_End, QString()};
const Stroke ShiftEnd{Qt::Key_End, QString(), Qt::ShiftModifier};
const Stroke Up{Qt::Key_Up, QString()};
const Stroke Down{Qt::Key_Down, QString()};

void Press(QWidget* widget, const Stroke& stroke)
{
    QTest::sendKeyEvent(QTest::Click, widget, stroke.key, stroke.text, stroke.modifiers);
}

} // namespace

// The nine number boxes of the real window: what typing, the arrow keys and
// the spin arrows leave in them.
class TestNumberBox : public QObject {
    Q_OBJECT

    std::unique_ptr<TForm1> m_window;

    NumberBox* box(const QString& name) const
    {
        auto* found = m_window->findChild<NumberBox*>(name);
        if (!found)
            qFatal("no number box %s", qPrintable(name));
        return found;
    }

    // Shows the page that holds the box and gives the box the keyboard
    // focus, so keys reach it as they reach it from the keyboard.
    QWidget* focus(NumberBox* target)
    {
        for (QWidget* w = target; w; w = w->parentWidget()) {
            if (m_window->PageControl1->indexOf(w) >= 0)
                m_window->PageControl1->setCurrentWidget(w);
        }
        target->setFocus(Qt::OtherFocusReason);
        return QApplication::focusWidget();
    }

    static QRect arrowRect(NumberBox* target, QStyle::SubControl arrow)
    {
        QStyleOptionSpinBox option;
        option.initFrom(target);
        option.subControls = QStyle::SC_All;
        option.buttonSymbols = target->buttonSymbols();
        option.frame = target->hasFrame();
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        return target->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, target);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A locale that groups thousands, so a box that wrote its number
        // through the locale would show "1,000".
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Each case gets a window fresh from start-up.
    void init()
    {
        m_window = std::make_unique<TForm1>();
        recordDialogs(*m_window);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void keyFilter_data()
    {
        QTest::addColumn<Strokes>("strokes");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("finished"); // editingFinished signals: Enter got through

        // Each case starts with "12" and the cursor at the end.
        QTest::newRow("letter") << Strokes{Typed('a')} << "12" << 0;
        QTest::newRow("capital letter") << Strokes{{Qt::Key_Z, QStringLiteral("Z"), Qt::ShiftModifier}} << "12"
                                        << 0;
        QTest::newRow("blank") << Strokes{{Qt::Key_Space, QStringLiteral(" ")}} << "12" << 0;
        QTest::newRow("minus") << Strokes{Typed('-')} << "12" << 0;
        QTest::newRow("plus") << Strokes{Typed('+')} << "12" << 0;
        QTest::newRow("comma") << Strokes{Typed(',')} << "12" << 0;
        QTest::newRow("full stop") << Strokes{Typed('.')} << "12" << 0;
        QTest::newRow("non-ASCII digit") << Strokes{{Qt::Key_unknown, QStringLiteral("\u0663")}} << "12" << 0;
        QTest::newRow("letter between digits") << Strokes{Typed('3'), Typed('x'), Typed('4')} << "1234" << 0;
        QTest::newRow("digits") << Strokes{Typed('0'), Typed('9')} << "1209" << 0;
        QTest::newRow("backspace") << Strokes{Backspace} << "1" << 0;
        QTest::newRow("backspace to empty") << Strokes{Backspace, Backspace, Backspace} << "" << 0;
        QTest::newRow("enter") << Strokes{Enter} << "12" << 1;
        QTest::newRow("keypad enter") << Strokes{{Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier}} << "12"
                                      << 1;
        QTest::newRow("ctrl+enter") << Strokes{{Qt::Key_Return, QStringLiteral("\n"), Qt::ControlModifier}} << "12"
                                    << 1;
        QTest::newRow("delete") << Strokes{Home, Delete} << "2" << 0;
        QTest::newRow("selection then digit") << Strokes{Home, ShiftEnd, Typed('7')} << "7" << 0;
        QTest::newRow("ctrl+v") << Strokes{Ctrl(Qt::Key_V, 0x16)} << "12" << 0;
        QTest::newRow("ctrl+v without control text") << Strokes{{Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier}}
                                                     << "12" << 0;
        QTest::newRow("ctrl+x") << Strokes{Home, ShiftEnd, Ctrl(Qt::Key_X, 0x18)} << "12" << 0;
        QTest::newRow("ctrl+z after a digit") << Strokes{Typed('3'), Ctrl(Qt::Key_Z, 0x1a)} << "123" << 0;
        QTest::newRow("other control character") << Strokes{Ctrl(Qt::Key_A, 0x01), Typed('5')} << "125" << 0;
    }

    void keyFilter()
    {
        QFETCH(Strokes, strokes);
        QFETCH(QString, expected);
        QFETCH(int, finished);

        NumberBox* target = box(QStringLiteral("edFirst"));
        QWidget* focused = focus(target);
        QCOMPARE(focused, target);
        target->setText(QStringLiteral("12"));
        Press(focused, End);
        QApplication::clipboard()->setText(QStringLiteral("77"));
        QSignalSpy editingFinished(target, &QAbstractSpinBox::editingFinished);

        for (const Stroke& stroke : strokes)
            Press(focused, stroke);

        QCOMPARE(target->text(), expected);
        QCOMPARE(editingFinished.count(), finished);
        // Neither a copy nor a cut reached the clipboard.
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("77"));
    }

    void ctrlCCopiesNothing()
    {
        NumberBox* target = box(QStringLiteral("edLast"));
        QWidget* focused = focus(target);
        QCOMPARE(focused, target);
        target->setText(QStringLiteral("42"));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        Press(focused, Home);
        Press(focused, ShiftEnd);
        Press(focused, Ctrl(Qt::Key_C, 0x03));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(target->text(), QStringLiteral("42"));
    }

    // The same filter guards every box, not only the one it is named after.
    void everyBoxFilters_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"edAddPos", "edNumStart", "edFirst", "edLast", "edFrom", "edTo", "edStart", "edStop", "edIPos"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyBoxFilters()
    {
        QFETCH(QString, name);
        NumberBox* target = box(name);
        QWidget* focused = focus(target);
        QCOMPARE(focused, target);
        QCOMPARE(target->text(), QStringLiteral("1"));
        Press(focused, End);
        for (const Stroke& stroke : {Typed('a'), Typed(' '), Typed('-'), Typed(','), Typed('2')})
            Press(focused, stroke);
        QCOMPARE(target->text(), QStringLiteral("12"));
    }

    void ranges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("upDown");
        QTest::addColumn<int>("max");
        QTest::newRow("edAddPos") << "edAddPos" << "UpDown5" << 100;
        QTest::newRow("edNumStart") << "edNumStart" << "UpDown8" << 9999;
        QTest::newRow("edFirst") << "edFirst" << "UpDown1" << 100;
        QTest::newRow("edLast") << "edLast" << "UpDown2" << 100;
        QTest::newRow("edFrom") << "edFrom" << "UpDown3" << 100;
        QTest::newRow("edTo") << "edTo" << "UpDown4" << 100;
        QTest::newRow("edStart") << "edStart" << "UpDown6" << 100;
        QTest::newRow("edStop") << "edStop" << "UpDown7" << 100;
        QTest::newRow("edIPos") << "edIPos" << "UpDown9" << 100;
    }

    // Every spin part belongs to its box, starts at 1 and stops at both
    // ends of its range instead of wrapping round.
    void ranges()
    {
        QFETCH(QString, name);
        QFETCH(QString, upDown);
        QFETCH(int, max);
        NumberBox* target = box(name);
        UpDown* spin = m_window->findChild<UpDown*>(upDown);
        QVERIFY(spin);
        QCOMPARE(target->upDown(), spin);
        QCOMPARE(spin->position(), 1);

        target->stepBy(-1);
        QCOMPARE(target->text(), QStringLiteral("1"));
        target->stepBy(1);
        QCOMPARE(target->text(), QStringLiteral("2"));
        QCOMPARE(spin->position(), 2);

        target->setText(QString::number(max - 1));
        target->stepBy(1);
        QCOMPARE(target->text(), QString::number(max));
        target->stepBy(1);
        QCOMPARE(target->text(), QString::number(max));
        QCOMPARE(spin->position(), max);
        target->stepBy(-1);
        QCOMPARE(target->text(), QString::number(max - 1));

        target->setText(QStringLiteral("1"));
        target->stepBy(-1);
        QCOMPARE(spin->position(), 1);
    }

    void stepping_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("start");
        QTest::addColumn<Strokes>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up") << "edFirst" << "5" << Strokes{Up} << "6";
        QTest::newRow("down") << "edFirst" << "5" << Strokes{Down} << "4";
        QTest::newRow("down at the bottom") << "edFirst" << "1" << Strokes{Down, Down} << "1";
        QTest::newRow("up at the top") << "edFirst" << "99" << Strokes{Up, Up, Up} << "100";
        QTest::newRow("up then down") << "edTo" << "7" << Strokes{Up, Up, Down} << "8";
        QTest::newRow("999 to 1000 without separator") << "edNumStart" << "999" << Strokes{Up} << "1000";
        QTest::newRow("1000 down") << "edNumStart" << "1000" << Strokes{Down} << "999";
        QTest::newRow("top of 9999") << "edNumStart" << "9998" << Strokes{Up, Up} << "9999";
        QTest::newRow("leading zeros") << "edNumStart" << "0041" << Strokes{Up} << "42";
    }

    void stepping()
    {
        QFETCH(QString, name);
        QFETCH(QString, start);
        QFETCH(Strokes, keys);
        QFETCH(QString, expected);
        NumberBox* target = box(name);
        QWidget* focused = focus(target);
        QCOMPARE(focused, target);
        target->setText(start);
        for (const Stroke& key : keys)
            Press(focused, key);
        QCOMPARE(target->text(), expected);
        QCOMPARE(target->upDown()->position(), expected.toInt());
    }

    void arrowButtonsStepOnce()
    {
        NumberBox* target = box(QStringLiteral("edNumStart"));
        focus(target);
        target->setText(QStringLiteral("999"));
        const QRect up = arrowRect(target, QStyle::SC_SpinBoxUp);
        QVERIFY(!up.isEmpty());
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, up.center());
        QCOMPARE(target->text(), QStringLiteral("1000"));

        const QRect down = arrowRect(target, QStyle::SC_SpinBoxDown);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, down.center());
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, down.center());
        QCOMPARE(target->text(), QStringLiteral("998"));
    }

    void typedNumberOutOfRangeStays_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("0") << "0";
        QTest::newRow("500") << "500";
        QTest::newRow("000") << "000";
        QTest::newRow("12345678901") << "12345678901";
    }

    // The range binds only the arrows: leaving the box, or Enter, must not
    // clamp or correct what was typed.
    void typedNumberOutOfRangeStays()
    {
        QFETCH(QString, typed);
        NumberBox* target = box(QStringLiteral("edFrom"));
        QWidget* focused = focus(target);
        QCOMPARE(focused, target);
        Press(focused, Home);
        Press(focused, ShiftEnd);
        for (QChar c : typed)
            Press(focused, Typed(c.toLatin1()));
        Press(focused, Enter);
        QCOMPARE(target->text(), typed);

        focus(box(QStringLiteral("edTo")));
        QVERIFY(!target->hasFocus());
        QCOMPARE(target->text(), typed);
    }

    void stepFromTextThatIsNoNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "abc";
        QTest::newRow("grouped") << "1,000";
        QTest::newRow("negative") << "-5";
        QTest::newRow("blank inside") << "1 2";
    }

    // Text the arrows cannot read as a number leaves them to step from the
    // position they were last at.
    void stepFromTextThatIsNoNumber()
    {
        QFETCH(QString, text);
        NumberBox* target = box(QStringLiteral("edStop"));
        target->setText(QStringLiteral("6"));
        target->stepBy(1);
        QCOMPARE(target->upDown()->position(), 7);

        target->setText(text);
        target->stepBy(1);
        QCOMPARE(target->text(), QStringLiteral("8"));

        target->setText(text);
        target->stepBy(-1);
        QCOMPARE(target->text(), QStringLiteral("7"));
    }
};

QTEST_MAIN(TestNumberBox)
#include "tst_numberbox.moc"
