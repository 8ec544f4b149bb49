// The same rule chains through the window's buttons and through
// tolvex-rename, on two copies of the same files: every proposal, and every
// file on disk after Apply Rename, must come out the same.

#include "controls/NumberBox.h"
#include "tests/app/ListContents.h"
#include "tests/app/RecordingDialogs.h"
#include "tests/disk/DiskFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

// One step of a chain: a rule with its arguments, or a setting ("place",
// "dest", "mask", "date-of", "include-extension") for the rules after it.
using Chain = QList<QByteArrayList>;

// The command line for the chain.
QStringList argumentsOf(const Chain& chain)
{
    QStringList arguments;
    for (const QByteArrayList& step : chain) {
        arguments << "--" + QString::fromLatin1(step[0]);
        if (step[0] == "replace")
            arguments << QString::fromUtf8(step[1]) << "--with" << QString::fromUtf8(step[2]);
        else if (step.size() > 1)
            arguments << QString::fromUtf8(step[1]);
    }
    return arguments;
}

void setPlace(QRadioButton* prefix, QRadioButton* suffix, QRadioButton* at, NumberBox* position, const QString& where)
{
    if (where == "prefix") {
        prefix->setChecked(true);
    } else if (where == "suffix") {
        suffix->setChecked(true);
    } else {
        at->setChecked(true);
        position->setText(where);
    }
}

// The same chain on the window: its controls set, its buttons clicked.
void runOnWindow(TForm1& w, const Chain& chain)
{
    auto click = [&w](const char* name) { w.findChild<QToolButton*>(QLatin1String(name))->click(); };
    auto range = [](const QByteArray& text, NumberBox* from, NumberBox* to) {
        from->setText(QString::fromUtf8(text.left(text.indexOf(':'))));
        to->setText(QString::fromUtf8(text.mid(text.indexOf(':') + 1)));
    };
    const QStringList dateTypes{"current", "created", "modified", "accessed"};
    for (const QByteArrayList& step : chain) {
        const QByteArray& rule = step[0];
        const QString value = step.size() > 1 ? QString::fromUtf8(step[1]) : QString();
        if (rule == "include-extension") w.cbInclude->setChecked(true);
        else if (rule == "place") setPlace(w.rbPre, w.rbSuf, w.rbPos, w.edAddPos, value);
        else if (rule == "dest") setPlace(w.rb1, w.rb2, w.rb3, w.edIPos, value);
        else if (rule == "mask") w.edNumMask->setText(value);
        else if (rule == "date-of") w.cbDateType->setCurrentIndex(int(dateTypes.indexOf(value)));
        else if (rule == "lower") click("SpeedButton1");
        else if (rule == "upper") click("SpeedButton2");
        else if (rule == "title") click("SpeedButton10");
        else if (rule == "remove-first") { w.edFirst->setText(value); click("btnDeleteFirst"); }
        else if (rule == "remove-last") { w.edLast->setText(value); click("btnDeletelast"); }
        else if (rule == "remove-range") { range(step[1], w.edFrom, w.edTo); click("btnDeleteFrom"); }
        else if (rule == "remove-chars") { w.edRemChar->setText(value); click("SpeedButton7"); }
        else if (rule == "remove-numbers") click("SpeedButton8");
        else if (rule == "remove-symbols") click("SpeedButton11");
        else if (rule == "remove-non-characters") click("SpeedButton12");
        else if (rule == "replace") {
            w.edmatch->setText(value);
            w.edReplace->setText(QString::fromUtf8(step[2]));
            click("btnReplace");
        } else if (rule == "add") { w.edAddChar->setText(value); click("SpeedButton4"); }
        else if (rule == "serial") { w.edNumStart->setText(value); click("SpeedButton5"); }
        else if (rule == "date") { w.cbDateFormat->setCurrentText(value); click("SpeedButton9"); }
        else if (rule == "copy") { range(step[1], w.edStart, w.edStop); click("SpeedButton3"); }
        else if (rule == "move") { range(step[1], w.edStart, w.edStop); click("SpeedButton6"); }
        else qFatal("unknown step %s", rule.constData());
    }
}

// tolvex-rename run on the files; its standard output.
QByteArray runProgram(const QStringList& arguments, const QByteArray& root, const QByteArrayList& files)
{
    QProcess program;
    program.setProgram(QStringLiteral(TOLVEX_RENAME_PATH));
    program.setArguments(arguments + QStringList{"-0", "--json"});
    program.start();
    for (const QByteArray& file : files)
        program.write(root + '/' + file + '\0');
    program.closeWriteChannel();
    if (!program.waitForFinished(30000))
        qFatal("tolvex-rename did not finish");
    return program.readAllStandardOutput();
}

QByteArray utf8OrEscapes(const QString& text)
{
    // The program writes bytes that are not UTF-8 as \udcXX escapes.
    QByteArray bytes;
    for (QChar c : text) {
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            bytes += char(c.unicode() - 0xDC00);
        else
            bytes += QString(c).toUtf8();
    }
    return bytes;
}

} // namespace

class TestSameRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameResults_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<Chain>("chain");

        const QByteArrayList photos{"IMG_0001.jpg", "img_0002.JPG", "Beach day.png"};
        QTest::newRow("replace, then upper case")
            << photos << Chain{{"replace", "img_", "Holiday "}, {"upper"}};
        QTest::newRow("names that are not UTF-8")
            << QByteArrayList{"bad\xff\xfe.txt", "caf\xc3\xa9 \xc3.txt"}
            << Chain{{"remove-first", "1"}, {"place", "suffix"}, {"add", "\xc3\xa9"}, {"title"}};
        QTest::newRow("reversed range, then symbols")
            << photos << Chain{{"remove-range", "6:3"}, {"remove-symbols"}};
        QTest::newRow("serial numbers by place in the list")
            << photos << Chain{{"mask", "00"}, {"place", "2"}, {"serial", "7"}, {"remove-numbers"}};
        QTest::newRow("file dates") << photos
                                    << Chain{{"date-of", "modified"}, {"place", "suffix"}, {"date", "YYYYMMDD"}};
        QTest::newRow("extension included, move and copy")
            << photos << Chain{{"include-extension"}, {"dest", "suffix"}, {"move", "1:4"}, {"dest", "3"},
                               {"copy", "2:2"}, {"lower"}};
        QTest::newRow("collisions on disk")
            << QByteArrayList{"a.txt", "b.txt", "A1.txt"}
            << Chain{{"remove-numbers"}, {"replace", "a", "b"}, {"remove-chars", "x"}};
    }

    void sameResults()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(Chain, chain);
        fixture::ScratchFolder windowFolder;
        fixture::ScratchFolder programFolder;
        QVERIFY(fixture::makeTree(windowFolder.root(), files));
        QVERIFY(fixture::makeTree(programFolder.root(), files));
        // Same times, so that date rules see the same ones.
        for (const QByteArray& file : files) {
            const struct timespec times[2] = {{1600000000, 0}, {1700000000, 0}};
            QVERIFY(utimensat(AT_FDCWD, windowFolder.root() + '/' + file, times, 0) == 0);
            QVERIFY(utimensat(AT_FDCWD, programFolder.root() + '/' + file, times, 0) == 0);
        }

        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        std::vector<std::string> paths;
        for (const QByteArray& file : files)
            paths.push_back((windowFolder.root() + '/' + file).toStdString());
        if (chain.first() == QByteArrayList{"include-extension"})
            window.cbInclude->setChecked(true);
        window.addFiles(paths);
        runOnWindow(window, chain);
        QByteArrayList windowNames;
        for (const FileEntry& entry : listEntries(window))
            windowNames << QByteArray::fromStdString(std::string(entry.NewName()) + std::string(entry.FileExt()));

        const QStringList arguments = argumentsOf(chain);
        QByteArrayList programNames;
        for (const QByteArray& line : runProgram(arguments, programFolder.root(), files).split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (object.contains("new_name"))
                programNames << utf8OrEscapes(object.value("new_name").toString());
        }
        QCOMPARE(programNames, windowNames);

        window.BitBtn2->click();
        runProgram(arguments + QStringList{"--apply"}, programFolder.root(), files);
        QCOMPARE(fixture::readTree(programFolder.root()), fixture::readTree(windowFolder.root()));
        QVERIFY(!dialogs.messages.empty());
    }
};

QTEST_MAIN(TestSameRules)
#include "tst_samerules.moc"
