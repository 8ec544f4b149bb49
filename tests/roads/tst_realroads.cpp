// Files reach the window by the two roads a person takes, on a real X
// server: the file dialog with every file of a folder selected, and a drop
// from another process, either our bare XDND source or a GTK 3 one dragged
// through XTest as GTK file managers serve their drops. Each case checks the
// rows, in order, or that a drop whose data never came is reported and adds
// nothing.
#include "dialogs/FileDialog.h"
#include "tests/app/ListContents.h"
#include "tests/app/RecordingDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

// What the GTK drag source exits with when it cannot run here.
constexpr int GtkMissing = 3;

// Messages are recorded; the file dialog is the real one.
class RealFileDialog : public RecordingDialogs {
public:
    std::vector<std::string> chooseFiles(QWidget* parent, const QString& preselect) override
    {
        return UserDialogs::chooseFiles(parent, preselect);
    }
};

QStringList numberedNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QString::asprintf("f%07d.txt", i);
    return names;
}

// In the dialog's own event loop: goes to the folder, waits until all of it
// is listed, clicks its first file, Ctrl+A, Enter. `shown` gets the files in
// the order the list shows them at Enter, `nameBox` the name box's text.
void chooseWholeFolder(const QString& folder, qsizetype count, QStringList* shown, QString* nameBox)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // A later Qt that renames the handlers the dialog replaces makes a
        // select-all of a big folder slow again.
        QVERIFY(dialog->answersSelectionChanges());
        auto* names = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        // The view the person sees: the detail view, unless set to the list.
        QAbstractItemView* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
        if (!list->isVisible())
            list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        names->setText(folder);
        QTest::keyClick(names, Qt::Key_Return);
        const auto listed = [&] { return list->model()->rowCount(list->rootIndex()) == count; };
        if (QTest::qWaitFor(listed, 20000)) {
            const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(first).center());
            list->setFocus(Qt::MouseFocusReason); // as a real click gives it
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
            for (int row = 0; row < count; ++row)
                shown->append(list->model()->index(row, 0, list->rootIndex()).data().toString());
            *nameBox = names->text();
            QTest::keyClick(list, Qt::Key_Return);
        }
        if (dialog->isVisible())
            dialog->reject(); // a failed step must not leave the test waiting
    });
}

// The name box after a select-all, as Qt's own dialog writes it: every
// name quoted, up to the box's maximum length.
QString quotedNames(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << u'"' + name + u'"';
    return quoted.join(u' ').left(QLineEdit().maxLength());
}

} // namespace

class TestRealRoads : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roads_data()
    {
        QTest::addColumn<QString>("road");      // "dialog", "xdnd" or "gtk" (a drop from another process)
        QTest::addColumn<QStringList>("names"); // the folder's files; a drop's in the order dropped
        QTest::addColumn<QStringList>("source"); // piece bytes, delay ms, incremental above; mode
        QTest::addColumn<QString>("message");  // part of the expected error; empty: none
        const QStringList odd = {"b one.txt", "a\"quote.txt", "c-\u00e9.txt", "d#1%20?.txt", "e"};
        const QString dialog = QStringLiteral("dialog");
        const QString xdnd = QStringLiteral("xdnd");
        QTest::newRow("dialog, odd names") << dialog << odd << QStringList() << QString();
        QTest::newRow("dialog, 3000 files") << dialog << numberedNames(3000) << QStringList() << QString();
        QTest::newRow("drop, odd names in one piece") << xdnd << odd << QStringList() << QString();
        QTest::newRow("drop, 3000 in 4 KiB pieces")
            << xdnd << numberedNames(3000) << QStringList{"4096", "0", "1"} << QString();
        QTest::newRow("drop, pieces slower than Qt waits")
            << xdnd << numberedNames(50) << QStringList{"2048", "2600", "1"} << QString();
        QTest::newRow("drop, source gone")
            << xdnd << numberedNames(50) << QStringList{"die"} << QStringLiteral("closed before");
        QTest::newRow("drop, source refuses")
            << xdnd << numberedNames(50) << QStringList{"refuse"} << QStringLiteral("would not hand");
        // About 20 MB, more than the server takes in one request.
        QTest::newRow("drop, too big for one piece, no piece comes")
            << xdnd << numberedNames(500'000) << QStringList{"lose"} << QStringLiteral("could not send so many");
        // Over the X server's largest request: GTK hands it out in pieces.
        QTest::newRow("GTK drop, 200000 files") << QStringLiteral("gtk") << numberedNames(200'000) << QStringList()
                                                << QString();
        QTest::newRow("GTK drop, odd names") << QStringLiteral("gtk") << odd << QStringList() << QString();
    }

    void roads()
    {
        QFETCH(QString, road);
        QFETCH(QStringList, names);
        QFETCH(QStringList, source);
        QFETCH(QString, message);
        QTemporaryDir folder;
        // A drop that fails reads no file.
        for (const QString& name : message.isEmpty() ? names : QStringList())
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        TForm1 window;
        auto dialogs = std::make_unique<RealFileDialog>();
        RealFileDialog& recorded = *dialogs;
        window.setUserDialogs(std::move(dialogs));
        window.move(0, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QStringList expected = names;
        if (road == QLatin1String("dialog")) {
            QString nameBox;
            expected.clear();
            chooseWholeFolder(folder.path(), names.size(), &expected, &nameBox);
            window.BitBtn1->click();
            QCOMPARE(nameBox, quotedNames(expected));
        } else {
            QTemporaryFile uriList;
            QVERIFY(uriList.open());
            for (const QString& name : names)
                uriList.write("file://" + QFile::encodeName(folder.filePath(name)).toPercentEncoding("/") + "\r\n");
            uriList.close();
            // Beside the list, where the window takes drops.
            const QPoint at = window.mapToGlobal(window.VT->mapTo(&window, QPoint(window.VT->width() + 40, 200)));
            QStringList arguments = {uriList.fileName(), QString::number(at.x()), QString::number(at.y())};
            QProcess drag;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            if (source.size() == 1)
                environment.insert(QStringLiteral("XDND_SOURCE_MODE"), source.front());
            else
                arguments << source;
            drag.setProcessEnvironment(environment);
            if (road == QLatin1String("gtk"))
                drag.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(TOLVEX_GTK_SOURCE)} + arguments);
            else
                drag.start(QStringLiteral(TOLVEX_XDND_SOURCE), arguments);
            QVERIFY(drag.waitForStarted());
            QVERIFY(QTest::qWaitFor([&] { return drag.state() == QProcess::NotRunning; }, 120000));
            if (road == QLatin1String("gtk") && drag.exitCode() == GtkMissing)
                QSKIP("no GTK 3 for Python (python3-gi, gir1.2-gtk-3.0) or no libXtst");
            QVERIFY2(drag.exitCode() == 0, drag.readAllStandardError().constData());
            if (!message.isEmpty())
                QVERIFY(QTest::qWaitFor([&] { return !recorded.messages.empty(); }, 10000));
        }

        if (!message.isEmpty()) {
            QCOMPARE(recorded.messages.size(), std::size_t(1));
            QVERIFY2(recorded.messages.front().text.contains(message), qPrintable(recorded.messages.front().text));
            QCOMPARE(window.VT->rowCount(), std::size_t(0));
            return;
        }
        QVERIFY(recorded.messages.empty());
        QStringList rows;
        for (const FileEntry& entry : listEntries(window))
            rows << QFile::decodeName(QByteArray::fromStdString(std::string(entry.FilePath()) + std::string(entry.FileName())));
        for (QString& name : expected)
            name = folder.filePath(name);
        QCOMPARE(rows, expected);
    }
};

QTEST_MAIN(TestRealRoads)
#include "tst_realroads.moc"
