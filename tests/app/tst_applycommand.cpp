#include "WindowFixture.h"

#include "dialogs/ErrorDisplay.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// "Apply Rename" and the error display, through the real window.
class TestApplyCommand : public QObject {
    Q_OBJECT

    static void touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private Q_SLOTS:
    // Each row's tooltip, read before Apply Rename, tells what it then does:
    // the same file twice, a file gone that would claim a name, a rename
    // that fails and so frees nothing. Rows "file>proposal" (joined names).
    void tooltipsTellWhatApplyDoes_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("the same file twice") << QStringList{"f"} << QStringList{"f>2", "f>3"};
        QTest::newRow("a file gone claims no name") << QStringList{"real"} << QStringList{"ghost>same", "real>same"};
        QTest::newRow("a failed rename frees nothing")
            << QStringList{"0", "1", "2"} << QStringList{"0>0", "1>0", "2>1"};
    }

    void tooltipsTellWhatApplyDoes()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        for (const QString& file : files)
            touch(folder + file);
        WindowFixture f;
        f.window.cbInclude->setChecked(true);
        for (const QString& row : rows)
            f.window.addFiles({(folder + row.section('>', 0, 0)).toStdString()});
        QStringList said;
        for (int i = 0; i < rows.size(); ++i) {
            f.entry(i).setNewName(rows[i].section('>', 1).toStdString());
            said << f.window.VT->model()->index(i, 0).data(Qt::ToolTipRole).toString();
        }

        f.window.BitBtn2->click();
        const QString failures = f.dialogs.messages.at(0).details;
        for (int i = 0; i < rows.size(); ++i) {
            const QString proposal = rows[i].section('>', 1);
            const bool renamed = f.entry(i).FileName() == proposal.toStdString() && !f.entry(i).nameChanged();
            const bool unchanged = rows[i].section('>', 0, 0) == proposal;
            if (unchanged)
                QVERIFY2(said[i].startsWith("The proposed name is the file's own"), qPrintable(said[i]));
            else if (renamed)
                QCOMPARE(said[i], "Apply Rename renames this file to \"" + proposal + "\".");
            else
                QVERIFY2(said[i].startsWith("Apply Rename cannot rename this file") && !failures.isEmpty(),
                         qPrintable(said[i]));
        }
    }

    void renamesReportsAndKeepsTheListTrue()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        touch(folder + "a.txt");
        touch(folder + "b.txt");
        touch(folder + "taken.txt");
        touch(folder + "c.txt");
        WindowFixture f;
        f.window.addFiles({(folder + "a.txt").toStdString(), (folder + "b.txt").toStdString(),
                           (folder + "c.txt").toStdString()});
        f.entry(0).setNewName("renamed");
        f.entry(1).setNewName("taken");
        f.entry(2).setNewName("unchecked");
        f.setChecked(2, false);

        f.window.BitBtn2->click();

        QVERIFY(QFile::exists(folder + "renamed.txt"));
        QVERIFY(QFile::exists(folder + "b.txt"));
        QVERIFY(QFile::exists(folder + "c.txt")); // unchecked: never renamed
        QVERIFY(!QFile::exists(folder + "unchecked.txt"));
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].icon, UserDialogs::Icon::Warning);
        QVERIFY(f.dialogs.messages[0].text.startsWith(QStringLiteral("Rename Completed!\n")));
        QVERIFY(f.dialogs.messages[0].text.contains(QStringLiteral("b.txt")));
        QCOMPARE(f.dialogs.messages[0].details, QStringLiteral("b.txt → taken.txt: File exists"));
        QCOMPARE(f.entry(0).FileName(), std::string("renamed.txt"));
        QCOMPARE(f.entry(0).OldName(), std::string("renamed"));
        QCOMPARE(f.entry(1).OldName(), std::string("b"));
        QCOMPARE(f.entry(1).NewName(), std::string("taken"));

        f.entry(1).setNewName("b"); // nothing left to change
        f.window.BitBtn2->click();
        QCOMPARE(f.dialogs.messages.size(), 2u);
        QCOMPARE(f.dialogs.messages[1].text, QStringLiteral("Rename Completed!"));
        QCOMPARE(f.dialogs.messages[1].icon, UserDialogs::Icon::None);
    }

    void emptyListStillCompletes()
    {
        WindowFixture f;
        f.window.BitBtn2->click();
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Rename Completed!"));
    }

    void errorTextEndsInAFullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "bad value" << "bad value.";
        QTest::newRow("quote") << "'x' is not a valid integer value" << "'x' is not a valid integer value.";
        QTest::newRow("full stop") << "done." << "done.";
        QTest::newRow("exclamation sorts before") << "stop!" << "stop!";
        QTest::newRow("hyphen sorts before") << "a-" << "a-";
        QTest::newRow("slash sorts after") << "a/" << "a/.";
        QTest::newRow("non-ASCII sorts after") << "café" << "café.";
        QTest::newRow("empty") << "" << "";
    }

    void errorTextEndsInAFullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorDisplayText(message.toStdString()), shown);
    }

    void commandErrorsAreShownNotThrown()
    {
        WindowFixture f;
        f.window.runCommand([] { throw std::runtime_error("Something failed"); });
        QCOMPARE(f.dialogs.messages.size(), 1u);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Something failed."));
        QCOMPARE(f.dialogs.messages[0].icon, UserDialogs::Icon::Error);
    }
};

QTEST_MAIN(TestApplyCommand)
#include "tst_applycommand.moc"
