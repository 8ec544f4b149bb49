// Long work holds the window busy: the apply pass, the dialog intake and a
// drop's intake let the window handle its events between their steps, but
// no input reaches it meanwhile, nothing is kept for later, and a close
// waits until the work and its message are over. Renames are made slow
// through the rename seam, and the person's input arrives while one runs.
#include "ListContents.h"
#include "RecordingDialogs.h"
#include "app/BusyWindow.h"
#include "app/Unit1.h"
#include "disk/SystemCalls.h"

#include <QComboBox>
#include <QCursor>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace {

enum class Work { Apply, DialogIntake, DropIntake };
enum class Input { ClickClearList, ClearListKey, ClickUncheckAll, TypeText, Wheel, DropFile, ClickApply, Close };

constexpr int FileCount = 6;

// Messages are recorded with whether the window was still open for them.
class WatchingDialogs : public RecordingDialogs {
public:
    QWidget* window = nullptr;
    std::vector<bool> windowShownAtMessage;

    void showMessage(QWidget* parent, const QString& text, Icon icon, const QString& details) override
    {
        windowShownAtMessage.push_back(window && window->isVisible());
        RecordingDialogs::showMessage(parent, text, icon, details);
    }
};

// Counts the input that gets past the busy window to the window's widgets
// and its QWindow: their own event filters run after the application's.
class InputSpy : public QObject {
public:
    bool watching = false;
    int seen = 0;

    void watch(TForm1& window)
    {
        window.installEventFilter(this);
        window.windowHandle()->installEventFilter(this);
        for (QWidget* child : window.findChildren<QWidget*>())
            child->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            seen += watching ? 1 : 0;
            break;
        case QEvent::Close:
            // The request comes to the QWindow, which asks the window.
            seen += watching && watched->isWidgetType() ? 1 : 0;
            break;
        default:
            break;
        }
        return false;
    }
};

std::unique_ptr<QMimeData> uriListOf(const QStringList& paths)
{
    QByteArray uriList;
    for (const QString& path : paths)
        uriList += "file://" + QFile::encodeName(path).toPercentEncoding("/") + "\r\n";
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), uriList);
    return data;
}

// A drag that ends in a drop, as the platform hands one to the window;
// whether the window took it.
bool dropOn(TForm1& window, const QMimeData& data)
{
    constexpr Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    // Beside the list, where the window takes drops.
    const QPoint at = window.VT->mapTo(&window, QPoint(window.VT->width() + 40, 200));
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    move.setAccepted(enter.isAccepted());
    QCoreApplication::sendEvent(window.windowHandle(), &move);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.windowHandle(), &drop);
    return drop.isAccepted();
}

QPoint centreOf(TForm1& window, QWidget* control)
{
    return control->mapTo(&window, control->rect().center());
}

// The person's input as the platform delivers it to the window's QWindow.
void deliver(TForm1& window, Input input, const QString& extraFile)
{
    QWindow* handle = window.windowHandle();
    switch (input) {
    case Input::ClickClearList:
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centreOf(window, window.BitBtn4));
        break;
    case Input::ClearListKey:
        QTest::keyClick(handle, Qt::Key_C, Qt::AltModifier);
        break;
    case Input::ClickUncheckAll:
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centreOf(window, window.rbUncheck));
        break;
    case Input::TypeText:
        QTest::keyClick(handle, Qt::Key_X);
        break;
    case Input::Wheel: {
        const QPoint at = centreOf(window, window.cbDateType);
        QWheelEvent wheel(at, window.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(handle, &wheel);
        break;
    }
    case Input::DropFile:
        dropOn(window, *uriListOf({extraFile}));
        break;
    case Input::ClickApply:
        QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centreOf(window, window.BitBtn2));
        break;
    case Input::Close: {
        QCloseEvent close;
        QCoreApplication::sendEvent(handle, &close);
        break;
    }
    }
}

// The renames of the pass, slowed down, with what they saw.
struct SlowRenames {
    static inline int started = 0;
    static inline int finished = 0;
    static inline int inFlight = 0;
    static inline int mostInFlight = 0;
    static inline std::function<void()> duringSecond; // run inside the second rename

    static int rename(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, unsigned int flags)
    {
        ++started;
        mostInFlight = std::max(mostInFlight, ++inFlight);
        if (started == 2 && duringSecond)
            duringSecond();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const int result = ::renameat2(oldDirFd, oldPath, newDirFd, newPath, flags);
        --inFlight;
        ++finished;
        return result;
    }

    static void reset()
    {
        started = finished = inFlight = mostInFlight = 0;
        duringSecond = {};
    }
};

// One window with FileCount real files listed, each given a new name.
struct Scene {
    QTemporaryDir dir;
    TForm1 window;
    WatchingDialogs& dialogs;
    InputSpy spy;
    QString extraFile;
    std::size_t ownMessages = 0; // the work's own: the pass's report

    Scene() : dialogs(*new WatchingDialogs)
    {
        window.setUserDialogs(std::unique_ptr<UserDialogs>(&dialogs));
        dialogs.window = &window;
        window.move(0, 0);
        window.show();
        window.activateWindow();
        extraFile = path(QStringLiteral("extra.txt"));
        touch(extraFile);
        for (int i = 0; i < FileCount; ++i)
            touch(oldPath(i));
    }

    QString path(const QString& name) const { return dir.path() + u'/' + name; }
    QString oldPath(int i) const { return path(QStringLiteral("old%1.txt").arg(i)); }
    QString newPath(int i) const { return path(QStringLiteral("new%1.txt").arg(i)); }
    QStringList oldPaths() const
    {
        QStringList all;
        for (int i = 0; i < FileCount; ++i)
            all << oldPath(i);
        return all;
    }
    static void touch(const QString& path) { QFile(path).open(QIODevice::WriteOnly); }

    void listFiles()
    {
        std::vector<std::string> paths;
        for (const QString& p : oldPaths())
            paths.push_back(QFile::encodeName(p).toStdString());
        window.addFiles(paths);
        int i = 0;
        for (ListRow* row : listRows(window))
            window.VT->RowData(row)->setNewName("new" + std::to_string(i++));
    }

    // Whether `input` did what it does to a window that is not busy.
    bool showsEffectOf(Input input) const
    {
        auto& w = const_cast<TForm1&>(window);
        const std::vector<FileEntry> entries = listEntries(w);
        switch (input) {
        case Input::ClickClearList:
        case Input::ClearListKey:
            return w.VT->rowCount() == 0;
        case Input::ClickUncheckAll: {
            const std::vector<ListRow*> rows = listRows(w);
            return std::any_of(rows.begin(), rows.end(), [](ListRow* row) { return row->CheckState != csCheckedNormal; });
        }
        case Input::TypeText:
            return w.edAddChar->text().contains(u'x');
        case Input::Wheel:
            return w.cbDateType->currentIndex() != 0;
        case Input::DropFile:
            return std::any_of(entries.begin(), entries.end(),
                               [](const FileEntry& entry) { return entry.FileName() == "extra.txt"; });
        case Input::ClickApply:
            return dialogs.messages.size() > ownMessages;
        case Input::Close:
            return !w.isVisible();
        }
        return false;
    }
};

const char* workName(Work work)
{
    return work == Work::Apply ? "apply" : work == Work::DialogIntake ? "dialog intake" : "drop intake";
}

} // namespace

Q_DECLARE_METATYPE(Work)
Q_DECLARE_METATYPE(Input)

class TestBusyWindow : public QObject {
    Q_OBJECT

    std::chrono::nanoseconds m_interval {};
    RenameAt2Function m_savedHook = nullptr;

    static QList<QPair<const char*, Input>> inputs()
    {
        return {{"click on Clear List", Input::ClickClearList},
                {"Alt+C, Clear List's key", Input::ClearListKey},
                {"click on Uncheck All", Input::ClickUncheckAll},
                {"a key typed into Add Characters", Input::TypeText},
                {"wheel over the date type", Input::Wheel},
                {"a file dropped beside the list", Input::DropFile},
                {"click on Apply Rename", Input::ClickApply},
                {"a close from the window manager", Input::Close}};
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Every step handles the window's events, so that input queued for
        // the next round always comes while the work runs.
        m_interval = BusyWindow::eventInterval();
        BusyWindow::setEventInterval(std::chrono::nanoseconds(0));
        m_savedHook = renameAt2Hook;
    }

    void cleanupTestCase() { BusyWindow::setEventInterval(m_interval); }

    void cleanup()
    {
        renameAt2Hook = m_savedHook;
        SlowRenames::reset();
        BusyWindow::setEventInterval(std::chrono::nanoseconds(0));
    }

    // The inputs below are real: each does its part to a window that is not
    // busy, so that none of the findings further down holds by accident.
    void eachInputActsOnAnIdleWindow_data()
    {
        QTest::addColumn<Input>("input");
        for (const auto& [name, input] : inputs())
            QTest::newRow(name) << input;
    }

    void eachInputActsOnAnIdleWindow()
    {
        QFETCH(Input, input);
        Scene scene;
        QVERIFY(QTest::qWaitForWindowActive(&scene.window));
        scene.listFiles();
        scene.window.edAddChar->setFocus();
        QVERIFY(!scene.showsEffectOf(input));
        deliver(scene.window, input, scene.extraFile);
        // A button's access key clicks it a moment later.
        QTRY_VERIFY(scene.showsEffectOf(input));
    }

    void noInputReachesTheWindowDuringLongWork_data()
    {
        QTest::addColumn<Work>("work");
        QTest::addColumn<Input>("input");
        for (Work work : {Work::Apply, Work::DialogIntake, Work::DropIntake}) {
            for (const auto& [name, input] : inputs())
                QTest::addRow("%s, %s", workName(work), name) << work << input;
        }
    }

    void noInputReachesTheWindowDuringLongWork()
    {
        QFETCH(Work, work);
        QFETCH(Input, input);
        Scene scene;
        QVERIFY(QTest::qWaitForWindowActive(&scene.window));
        if (work == Work::Apply) {
            scene.listFiles();
            scene.ownMessages = 1;
        }
        scene.window.edAddChar->setFocus();
        scene.spy.watch(scene.window);

        // The input comes while the work is under way: inside the second
        // rename, or before an intake's first file, to be handled after it.
        bool delivered = false;
        bool busyCursor = false;
        std::size_t rowsWhenDelivered = 0;
        int renamesWhenDelivered = 0;
        const auto arrive = [&] {
            QTimer::singleShot(0, &scene.window, [&] {
                delivered = true;
                busyCursor = QGuiApplication::overrideCursor()
                             && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
                rowsWhenDelivered = scene.window.VT->rowCount();
                renamesWhenDelivered = SlowRenames::finished;
                scene.spy.watching = true;
                deliver(scene.window, input, scene.extraFile);
                scene.spy.watching = false;
            });
        };
        switch (work) {
        case Work::Apply:
            renameAt2Hook = &SlowRenames::rename;
            SlowRenames::duringSecond = arrive;
            scene.window.BitBtn2->click();
            // Every rename ran to its end, one at a time, in one pass.
            QCOMPARE(SlowRenames::mostInFlight, 1);
            QCOMPARE(SlowRenames::started, FileCount);
            QCOMPARE(SlowRenames::finished, FileCount);
            for (int i = 0; i < FileCount; ++i) {
                QVERIFY(!QFile::exists(scene.oldPath(i)));
                QVERIFY(QFile::exists(scene.newPath(i)));
            }
            QVERIFY(renamesWhenDelivered >= 1 && renamesWhenDelivered < FileCount);
            QCOMPARE(scene.dialogs.messages.size(), std::size_t(1));
            QCOMPARE(scene.dialogs.messages[0].text, QStringLiteral("Rename Completed!"));
            // The window was still there for the message.
            QCOMPARE(scene.dialogs.windowShownAtMessage, std::vector<bool> {true});
            break;
        case Work::DialogIntake: {
            std::vector<std::string> paths;
            for (const QString& p : scene.oldPaths())
                paths.push_back(QFile::encodeName(p).toStdString());
            arrive();
            scene.window.addFiles(paths);
            QVERIFY(rowsWhenDelivered >= 1 && rowsWhenDelivered < std::size_t(FileCount));
            break;
        }
        case Work::DropIntake:
            arrive();
            QVERIFY(dropOn(scene.window, *uriListOf(scene.oldPaths())));
            QVERIFY(rowsWhenDelivered >= 1 && rowsWhenDelivered < std::size_t(FileCount));
            break;
        }
        QVERIFY(delivered);
        QVERIFY(busyCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(scene.spy.seen, 0);

        // Nothing was kept for later either, not even the click that an
        // access key makes a moment after the key.
        QTest::qWait(300);
        QCOMPARE(scene.window.VT->rowCount(), std::size_t(FileCount));
        if (input == Input::Close) {
            // Done once the work was over.
            QVERIFY(!scene.window.isVisible());
        } else {
            QVERIFY(scene.window.isVisible());
            QVERIFY(!scene.showsEffectOf(input));
        }
        if (work != Work::Apply)
            QVERIFY(scene.dialogs.messages.empty());
    }

    // Work that ends within one round changes nothing about the window.
    void shortWorkLeavesTheWindowAlone()
    {
        BusyWindow::setEventInterval(std::chrono::hours(1));
        Scene scene;
        bool ran = false;
        QTimer::singleShot(0, &scene.window, [&] { ran = true; });
        scene.listFiles();
        scene.window.BitBtn2->click();
        QVERIFY(!ran);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(QFile::exists(scene.newPath(FileCount - 1)));
    }
};

QTEST_MAIN(TestBusyWindow)
#include "tst_busywindow.moc"
