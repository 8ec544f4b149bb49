#include "ListContents.h"
#include "RecordingDialogs.h"
#include "app/Unit1.h"
#include "controls/NumberBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Paths = std::vector<std::string>;

namespace {

QByteArray B(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

void makeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        qFatal("cannot create %s", path.c_str());
    ::close(fd);
}

// A file manager's drag of local files: percent-encoded file URLs, one a
// line, each line ended by CRLF. Like the common file managers it offers
// the same lines as plain text, which a text box would gladly take.
std::unique_ptr<QMimeData> FileDrag(const Paths& paths)
{
    QByteArray uriList;
    for (const std::string& path : paths)
        uriList += "file://" + B(path).toPercentEncoding("/") + "\r\n";
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setText(QString::fromLatin1(uriList));
    return data;
}

// Plays a drag over the window the way the platform reports one: every event
// goes to the window's QWindow, whose widget window picks the widget under
// the pointer that takes drops (climbing to its ancestors) and maps the
// position to it. As with a real drag, a move is taken as accepted when the
// previous answer accepted, until the target says otherwise.
class Drag {
public:
    Drag(TForm1& window, const QMimeData& data)
        : m_window(window.windowHandle())
        , m_data(data)
    {
    }

    ~Drag()
    {
        if (m_entered) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(m_window, &leave);
        }
    }

    // Whether the window would take a drop at this point.
    bool moveTo(QPoint pos)
    {
        if (!m_entered) {
            m_entered = true;
            QDragEnterEvent enter(pos, Actions, &m_data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_window, &enter);
            if (enter.isAccepted() && enter.dropAction() != Qt::IgnoreAction)
                m_lastAccepted = enter.dropAction();
        }
        QDragMoveEvent move(pos, Actions, &m_data, Qt::LeftButton, Qt::NoModifier);
        if (m_lastAccepted != Qt::IgnoreAction && (Actions & m_lastAccepted)) {
            move.setDropAction(m_lastAccepted);
            move.accept();
        }
        QCoreApplication::sendEvent(m_window, &move);
        m_lastAccepted = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        return move.isAccepted();
    }

    // Releases the drag at this point, even where a move was refused, to see
    // that the window refuses the drop as well; whether it took it.
    bool dropAt(QPoint pos)
    {
        moveTo(pos);
        m_entered = false;
        QDropEvent drop(pos, Actions, &m_data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window, &drop);
        return drop.isAccepted();
    }

private:
    static constexpr Qt::DropActions Actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

    QWindow* m_window;
    const QMimeData& m_data;
    bool m_entered = false;
    Qt::DropAction m_lastAccepted = Qt::IgnoreAction;
};

} // namespace

// Files dragged from a file manager onto the real window.
class TestDropIntake : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string m_folder; // with its trailing slash

    std::string file(const std::string& name) const { return m_folder + name; }

    static std::unique_ptr<TForm1> shownWindow()
    {
        auto window = std::make_unique<TForm1>();
        recordDialogs(*window);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("window not exposed");
        return window;
    }

    static RecordingDialogs& dialogs(TForm1& window) { return static_cast<RecordingDialogs&>(window.dialogs()); }


    // The window point in the middle of a control, or at `local` in it.
    static QPoint pointOn(TForm1& window, QWidget* widget, QPoint local = {-1, -1})
    {
        if (local == QPoint(-1, -1))
            local = widget->rect().center();
        return widget->mapTo(&window, local);
    }

    // Where a drag is released; `under` is the widget that must lie under
    // that point, so that each case tests the part it names.
    static QPoint spot(TForm1& window, const QString& where, QWidget*& under)
    {
        QWidget* client = window.centralWidget();
        const std::pair<const char*, std::pair<QWidget*, QPoint>> spots[] = {
            {"big button", {window.BitBtn2, {-1, -1}}},
            {"check box", {window.cbInclude, {-1, -1}}},
            {"radio button", {window.rbUncheck, {-1, -1}}},
            {"rule page", {window.TabSheet2, {200, 320}}},
            {"text box on a rule page", {window.edAddChar, {-1, -1}}},
            {"number box", {window.edNumStart, {10, 10}}},
            {"drop-down list", {window.cbDateType, {-1, -1}}},
            {"page tab", {window.PageControl1->tabBar(), {10, 8}}},
            {"panel border", {window.Panel1, {1, 200}}},
            {"free surface", {client, {445, 300}}},
            {"menu bar", {window.MainMenu1, {200, 8}}},
            {"list rows", {window.VT->viewport(), {-1, -1}}},
            {"list header", {window.VT->horizontalHeader(), {-1, -1}}},
            {"list scroll bar", {window.VT->verticalScrollBar(), {-1, -1}}},
            {"list border", {window.VT, {0, 200}}},
        };
        for (const auto& [name, target] : spots) {
            if (where == QLatin1String(name)) {
                under = target.first;
                return pointOn(window, target.first, target.second);
            }
        }
        qFatal("unknown spot %s", qPrintable(where));
        return {};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = QFile::encodeName(m_dir.path()).toStdString() + "/";
        for (const char* name : {"c-third.txt", "a-first.log", "b second.tar.gz", "alpha.txt"})
            makeFile(file(name));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
    }

    void cleanupTestCase() { std::filesystem::remove_all(m_folder); }

    void whereDropsAreTaken_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("taken");
        for (const char* where : {"big button", "check box", "radio button", "rule page", "text box on a rule page",
                                  "number box", "drop-down list", "page tab", "panel border", "free surface",
                                  "menu bar"})
            QTest::newRow(where) << QString::fromLatin1(where) << true;
        for (const char* where : {"list rows", "list header", "list scroll bar", "list border"})
            QTest::newRow(where) << QString::fromLatin1(where) << false;
    }

    // Anywhere on the window but the file list: there the pointer shows
    // that nothing can be dropped, and releasing adds nothing.
    void whereDropsAreTaken()
    {
        QFETCH(QString, where);
        QFETCH(bool, taken);
        const std::unique_ptr<TForm1> window = shownWindow();
        // Enough rows for the list to show its scroll bar.
        window->addFiles(Paths(60, file("listed-before.txt")));
        QTRY_VERIFY(window->VT->verticalScrollBar()->isVisible());

        QWidget* expectedUnder = nullptr;
        const QPoint pos = spot(*window, where, expectedUnder);
        QWidget* under = window->childAt(pos);
        QVERIFY2(under == expectedUnder || expectedUnder->isAncestorOf(under),
                 qPrintable(QStringLiteral("point is over %1").arg(under ? under->objectName() : QString())));

        const auto data = FileDrag({file("alpha.txt")});
        Drag drag(*window, *data);
        QCOMPARE(drag.moveTo(pos), taken);
        QCOMPARE(drag.dropAt(pos), taken);

        const std::vector<FileEntry> all = listEntries(*window);
        QCOMPARE(all.size(), std::size_t(taken ? 61 : 60));
        if (taken) {
            QCOMPARE(all.back().FileName(), std::string("alpha.txt"));
            QCOMPARE(window->VT->model()->rowCount(), 61);
        }
        QVERIFY(dialogs(*window).messages.empty());
    }

    // A drag goes over several controls before it is released; only where
    // it is released counts.
    void dragAcrossTheWindow()
    {
        const std::unique_ptr<TForm1> window = shownWindow();
        const QPoint button = pointOn(*window, window->BitBtn1);
        const QPoint list = pointOn(*window, window->VT->viewport());
        const QPoint page = pointOn(*window, window->TabSheet2, {200, 320});
        const auto data = FileDrag({file("alpha.txt")});
        {
            Drag drag(*window, *data);
            QVERIFY(drag.moveTo(button));
            QVERIFY(!drag.moveTo(list));
            QVERIFY(!drag.dropAt(list));
        }
        QCOMPARE(window->VT->rowCount(), std::size_t(0));
        {
            Drag drag(*window, *data);
            QVERIFY(!drag.moveTo(list));
            QVERIFY(drag.moveTo(button));
            QVERIFY(!drag.moveTo(list));
            QVERIFY(drag.dropAt(page));
        }
        QCOMPARE(window->VT->rowCount(), std::size_t(1));
    }

    void dragWithoutFilesIsRefused()
    {
        const std::unique_ptr<TForm1> window = shownWindow();
        QMimeData text;
        text.setText(QStringLiteral("/etc/hostname"));
        Drag drag(*window, text);
        const QPoint button = pointOn(*window, window->BitBtn1);
        QVERIFY(!drag.moveTo(button));
        QVERIFY(!drag.dropAt(button));
        QCOMPARE(window->VT->rowCount(), std::size_t(0));
    }

    void sameAsDialogIntake_data()
    {
        QTest::addColumn<bool>("include");
        QTest::newRow("extension apart") << false;
        QTest::newRow("extension included") << true;
    }

    // Three files and a folder: three rows after the ones listed, in the
    // order of the drop, each exactly what "&Add Files" makes for the file.
    void sameAsDialogIntake()
    {
        QFETCH(bool, include);
        const Paths files{file("c-third.txt"), file("a-first.log"), file("b second.tar.gz")};

        const std::unique_ptr<TForm1> dropped = shownWindow();
        dropped->cbInclude->setChecked(include);
        dropped->addFiles({file("alpha.txt")});
        const auto data = FileDrag({files[0], file("folder"), files[1], files[2]});
        QVERIFY(Drag(*dropped, *data).dropAt(pointOn(*dropped, dropped->BitBtn1)));

        TForm1 chosen;
        RecordingDialogs& chooser = recordDialogs(chosen);
        chosen.cbInclude->setChecked(include);
        chooser.filesToChoose = files;
        chosen.BitBtn1->click();

        const std::vector<FileEntry> got = listEntries(*dropped);
        const std::vector<FileEntry> expected = listEntries(chosen);
        QCOMPARE(got.size(), std::size_t(4));
        QCOMPARE(got[0].FileName(), std::string("alpha.txt"));
        QCOMPARE(expected.size(), std::size_t(3));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const FileEntry& a = got[i + 1];
            const FileEntry& b = expected[i];
            QCOMPARE(B(a.FileName()), B(b.FileName()));
            QCOMPARE(B(a.OldName()), B(b.OldName()));
            QCOMPARE(B(a.NewName()), B(b.NewName()));
            QCOMPARE(B(a.FilePath()), B(b.FilePath()));
            QCOMPARE(B(a.FileExt()), B(b.FileExt()));
            QCOMPARE(a.times(), b.times());
            QVERIFY(a.times().modified != FileTimes::none);
            QCOMPARE(B(std::string(a.FilePath()) + std::string(a.FileName())), B(files[i]));
        }
        for (ListRow* row : listRows(*dropped)) {
            QCOMPARE(row->CheckState, csCheckedNormal);
            QCOMPARE(row->CheckType, ctCheckBox);
        }
        QCOMPARE(dropped->VT->model()->rowCount(), 4);
    }

    void folderAloneAddsNothing()
    {
        const std::unique_ptr<TForm1> window = shownWindow();
        const auto data = FileDrag({file("folder")});
        Drag(*window, *data).dropAt(pointOn(*window, window->BitBtn1));
        QCOMPARE(window->VT->rowCount(), std::size_t(0));
        QVERIFY(dialogs(*window).messages.empty());
    }

    void sameFileTwice()
    {
        const std::unique_ptr<TForm1> window = shownWindow();
        const QPoint pos = pointOn(*window, window->cbInclude);
        const auto twice = FileDrag({file("alpha.txt"), file("alpha.txt")});
        QVERIFY(Drag(*window, *twice).dropAt(pos));
        QCOMPARE(window->VT->rowCount(), std::size_t(2));
        const auto again = FileDrag({file("alpha.txt")});
        QVERIFY(Drag(*window, *again).dropAt(pos));
        const std::vector<FileEntry> all = listEntries(*window);
        QCOMPARE(all.size(), std::size_t(3));
        for (const FileEntry& entry : all)
            QCOMPARE(entry.OldName(), std::string("alpha"));
    }

    // Longer than the 254 characters a path once had room for: taken whole,
    // never cut short.
    void longPathTakenWhole()
    {
        std::string folder = m_folder;
        while (folder.size() < 260) {
            folder += std::string(40, 'd') + "/";
            QVERIFY(::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST);
        }
        std::string path = folder + "long-file-name";
        path += std::string(300 - path.size() - 4, 'n') + ".txt";
        QCOMPARE(path.size(), std::size_t(300));
        makeFile(path);

        const std::unique_ptr<TForm1> window = shownWindow();
        const auto data = FileDrag({path});
        QVERIFY(Drag(*window, *data).dropAt(pointOn(*window, window->BitBtn3)));
        const std::vector<FileEntry> all = listEntries(*window);
        QCOMPARE(all.size(), std::size_t(1));
        QCOMPARE(std::string(all[0].FilePath()) + std::string(all[0].FileName()), path);
        QCOMPARE(all[0].FilePath(), folder);
        QCOMPARE(all[0].FileExt(), std::string(".txt"));
        QVERIFY(all[0].times().modified != FileTimes::none);
    }

    // Names need not be UTF-8: %FF in the URL is the byte 0xFF in the name,
    // and with those bytes the file is found.
    void nameThatIsNotUtf8()
    {
        const std::string path = file("bad\xff\xfe name.txt");
        makeFile(path);
        const std::unique_ptr<TForm1> window = shownWindow();
        const auto data = FileDrag({path});
        QVERIFY(data->data(QStringLiteral("text/uri-list")).contains("bad%FF%FE%20name.txt"));
        QVERIFY(Drag(*window, *data).dropAt(pointOn(*window, window->BitBtn1)));

        const std::vector<FileEntry> all = listEntries(*window);
        QCOMPARE(all.size(), std::size_t(1));
        QCOMPARE(B(all[0].FileName()), QByteArray("bad\xff\xfe name.txt"));
        QCOMPARE(B(all[0].OldName()), QByteArray("bad\xff\xfe name"));
        QCOMPARE(B(all[0].NewName()), QByteArray("bad\xff\xfe name"));
        QCOMPARE(all[0].FilePath(), m_folder);
        QVERIFY(all[0].times().modified != FileTimes::none);
    }
};

QTEST_MAIN(TestDropIntake)
#include "tst_dropintake.moc"
