#include "WindowFixture.h"

#include "controls/NumberBox.h"

#include <QComboBox>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <set>

using Names = std::vector<std::string>;
Q_DECLARE_METATYPE(Names)

// The rule buttons on the real window: what they read, in which order, and
// what a bad number does to the list.
class TestRuleCommands : public QObject {
    Q_OBJECT

    static QToolButton* button(TForm1& window, const char* name)
    {
        return window.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    static NumberBox* box(TForm1& window, const char* name)
    {
        return window.findChild<NumberBox*>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    // Every rule the command line offers has its button on the window: the
    // Apply Change buttons, clicked one after the other, ask for each kind
    // of rule command at least once.
    void everyRuleHasAButton()
    {
        WindowFixture f({"a"});
        std::set<std::size_t> asked;
        f.window.setRuleRunner([&](RowStore&, const RuleCommand& rule) { asked.insert(rule.index()); });
        for (QToolButton* apply : f.window.findChildren<QToolButton*>()) {
            if (apply->toolTip() == QLatin1String("Apply Change"))
                apply->click();
        }
        for (std::size_t kind = 0; kind < std::variant_size_v<RuleCommand>; ++kind)
            QVERIFY2(asked.count(kind), qPrintable(QStringLiteral("no button runs rule %1").arg(kind)));
    }

    void rulesChangeCheckedNamesOnly_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Names>("expected");
        // Rows: "Photo 01", "ÉTÉ-2009", "x.y" (unchecked), "a_b c".
        QTest::newRow("lower") << "SpeedButton1" << Names{"photo 01", "ÉtÉ-2009", "x", "a_b c"};
        QTest::newRow("upper") << "SpeedButton2" << Names{"PHOTO 01", "ÉTÉ-2009", "x", "A_B C"};
        QTest::newRow("title") << "SpeedButton10" << Names{"Photo 01", "ÉtÉ-2009", "x", "A_b c"};
        QTest::newRow("remove first 1") << "btnDeleteFirst" << Names{"hoto 01", "TÉ-2009", "x", "_b c"};
        QTest::newRow("remove last 1") << "btnDeletelast" << Names{"Photo 0", "ÉTÉ-200", "x", "a_b "};
        QTest::newRow("remove numbers") << "SpeedButton8" << Names{"Photo ", "ÉTÉ-", "x", "a_b c"};
        QTest::newRow("remove symbols") << "SpeedButton11" << Names{"Photo01", "ÉTÉ2009", "x", "abc"};
        QTest::newRow("remove non characters") << "SpeedButton12" << Names{"Photo", "ÉTÉ", "x", "abc"};
    }

    void rulesChangeCheckedNamesOnly()
    {
        QFETCH(QString, button);
        QFETCH(Names, expected);
        WindowFixture f({"Photo 01", "ÉTÉ-2009", "x.y", "a_b c"});
        f.setChecked(2, false);
        f.window.findChild<QToolButton*>(button)->click();
        QCOMPARE(f.newNames(), expected);
        QVERIFY(f.dialogs.messages.empty());
    }

    void nonCharactersIsNumbersThenSymbols()
    {
        const Names names{"a1-b2_c", "__9__", "x.1.y", "ü 7 ö"};
        WindowFixture both(names);
        both.window.SpeedButton12->click();
        WindowFixture steps(names);
        steps.window.SpeedButton8->click();
        steps.window.SpeedButton11->click();
        QCOMPARE(both.newNames(), steps.newNames());
    }

    // A bad number stops the rule before any name changes, shows one
    // error naming the box's text, and leaves the list working.
    void badNumberChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("badBoxes");
        QTest::addColumn<QString>("message");
        QTest::newRow("remove first") << "btnDeleteFirst" << QStringList{"edFirst"} << "'q1' is not a valid integer value.";
        QTest::newRow("remove last") << "btnDeletelast" << QStringList{"edLast"} << "'q1' is not a valid integer value.";
        QTest::newRow("to is read before from") << "btnDeleteFrom" << QStringList{"edFrom", "edTo"}
                                                << "'q2' is not a valid integer value.";
        QTest::newRow("start before position") << "SpeedButton5" << QStringList{"edNumStart", "edAddPos"}
                                               << "'q1' is not a valid integer value.";
        QTest::newRow("copy: to before from") << "SpeedButton3" << QStringList{"edStart", "edStop"}
                                              << "'q2' is not a valid integer value.";
        QTest::newRow("move: to before from") << "SpeedButton6" << QStringList{"edStart", "edStop"}
                                              << "'q2' is not a valid integer value.";
    }

    void badNumberChangesNothing()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, badBoxes);
        QFETCH(QString, message);
        WindowFixture f({"alpha", "beta", "gamma"});
        f.window.rbPos->setChecked(true);
        for (int i = 0; i < badBoxes.size(); ++i)
            f.window.findChild<NumberBox*>(badBoxes[i])->setText(QStringLiteral("q%1").arg(i + 1));
        QSignalSpy changed(f.window.VT->model(), &QAbstractItemModel::dataChanged);

        f.window.findChild<QToolButton*>(button)->click();

        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text, message);
        QCOMPARE(f.dialogs.messages[0].icon, UserDialogs::Icon::Error);
        QCOMPARE(f.newNames(), (Names{"alpha", "beta", "gamma"}));
        QCOMPARE(f.window.VT->batchCount(), 0);
        QCOMPARE(changed.count(), 1); // the closed batch repainted as usual
    }

    void noCheckedEntryReadsNothing()
    {
        WindowFixture f({"alpha", "beta"});
        f.setChecked(0, false);
        f.setChecked(1, false);
        for (NumberBox* number : f.window.findChildren<NumberBox*>())
            number->setText(QStringLiteral("bad"));
        f.window.rbPos->setChecked(true);
        f.window.rb3->setChecked(true);
        for (QToolButton* apply : f.window.findChildren<QToolButton*>())
            apply->click();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(f.newNames(), (Names{"alpha", "beta"}));
    }

    void positionIsReadOnlyAtPosition()
    {
        WindowFixture f({"abc"});
        f.window.edAddPos->setText(QStringLiteral("bad"));
        f.window.edAddChar->setText(QStringLiteral("X"));
        f.window.rbPre->setChecked(true);
        f.window.SpeedButton4->click();
        f.window.rbSuf->setChecked(true);
        f.window.SpeedButton4->click();
        QCOMPARE(f.newNames(), (Names{"XabcX"}));
        QVERIFY(f.dialogs.messages.empty());
        f.window.rbPos->setChecked(true);
        f.window.SpeedButton4->click();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.newNames(), (Names{"XabcX"}));
    }

    void serialNumbersCountEveryRow()
    {
        WindowFixture f({"a", "b", "c", "d"});
        f.setChecked(1, false);
        f.window.edNumMask->setText(QStringLiteral("00"));
        f.window.rbSuf->setChecked(true);
        f.window.SpeedButton5->click();
        QCOMPARE(f.newNames(), (Names{"a01", "b", "c03", "d04"}));
    }

    void dateRuleUsesTheClockOrTheFileTime()
    {
        WindowFixture f({"a"});
        f.window.setClock([] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 89)); });
        f.window.cbDateFormat->setCurrentText(QStringLiteral("YYYYMMDDHHMMSSZZZ"));
        f.window.SpeedButton9->click();
        QCOMPARE(f.newNames(), (Names{"20260304050607089a"}));
        // A missing file has no times: the current time stands in.
        f.window.BitBtn3->click();
        f.window.cbDateType->setCurrentIndex(2);
        f.window.SpeedButton9->click();
        QCOMPARE(f.newNames(), (Names{"20260304050607089a"}));
    }

    void fileTimesHaveWholeSeconds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shot.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        WindowFixture f;
        f.window.addFiles({path.toStdString()});
        f.window.cbDateType->setCurrentIndex(2); // "File Modified Time"
        f.window.cbDateFormat->setCurrentText(QStringLiteral("YYYYMMDDHHMMSSZZZ"));
        f.window.SpeedButton9->click();
        const QString expected = QFileInfo(path).lastModified().toString(QStringLiteral("yyyyMMddHHmmss"))
            + QStringLiteral("000shot");
        QCOMPARE(QString::fromUtf8(f.entry(0).NewName()), expected);
    }

    void replaceAndMoveReadTheirBoxes()
    {
        WindowFixture f({"abcdef"});
        f.window.edmatch->setText(QStringLiteral("CD"));
        f.window.edReplace->setText(QStringLiteral("-"));
        f.window.btnReplace->click();
        QCOMPARE(f.newNames(), (Names{"ab-ef"}));
        f.window.BitBtn3->click();
        f.window.edStart->setText(QStringLiteral("2"));
        f.window.edStop->setText(QStringLiteral("3"));
        f.window.rb2->setChecked(true);
        f.window.SpeedButton6->click();
        QCOMPARE(f.newNames(), (Names{"adefbc"}));
    }
};

QTEST_MAIN(TestRuleCommands)
#include "tst_rulecommands.moc"
