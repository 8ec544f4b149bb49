// The roads by which big folders come in, driven as a person takes them on
// a real X server (bench.sh runs this under xvfb-run, one road a process so
// that each memory figure starts from a fresh heap), beside a bare statx
// loop over the same files:
//   TOLVEX_ROAD=dialog   "Add Files" on 100,000 files in one folder: Enter on
//                        the folder's name, a click on its first file,
//                        Ctrl+A, Enter, until the rows are listed and painted
//   TOLVEX_ROAD=drop     a drop of 100,000 files from another process
//   TOLVEX_ROAD=drop1M   a drop of 1,000,000 files from another process,
//                        from the drop until the rows are listed and painted
//   TOLVEX_ROAD=gtk1M    the same from a GTK 3 drag source, dragged through
//                        XTest as from a GTK file manager
//   TOLVEX_ROAD=wayland100k, wayland1M
//                        drops from a GTK 3 Wayland client on a headless
//                        sway (bench.sh runs these under run-wayland.sh)
// Times are wall-clock, from the person's action to the last event it
// caused; memory is resident size above the empty window, and that of the
// empty window itself on each display system. Each run (each repetition)
// has a window of its own, so every run starts from an empty list, and a
// wait that runs out fails the figure with what it waited for.
#include "bench/BenchWindow.h"
#include "tests/roads/SwayTree.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QStyleHints>
#include <QTemporaryFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <cmath>
#include <map>
#include <ctime>
#include <malloc.h>

namespace {

double monotonicNow()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Notes whether any event but a timer's tick was handled: the work a
// person's action causes ends with the last of them.
struct ActivityWatch : QObject {
    bool active = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        active |= event->type() != QEvent::Timer;
        return false;
    }
};

// Longer than any road takes on a slow machine, short enough that a road
// that never ends fails while the person still waits for the table.
constexpr double WaitLimitSeconds = 120;

// Runs events until `done` holds and nothing happened for a while; the
// time the last work ended, or NaN once WaitLimitSeconds have passed.
double untilSettled(const std::function<bool()>& done)
{
    static ActivityWatch watch;
    static const bool installed = (qApp->installEventFilter(&watch), true);
    (void)installed;
    double last = monotonicNow();
    const double limit = last + WaitLimitSeconds;
    for (double now = last; now < limit; now = monotonicNow()) {
        watch.active = false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (watch.active)
            last = monotonicNow();
        else if (done() && monotonicNow() - last >= 0.2)
            return last;
        else
            QThread::msleep(2);
    }
    return NAN;
}

// The file dialog is the real one; messages are recorded.
class RealFileDialog : public RecordingDialogs {
public:
    std::vector<std::string> chooseFiles(QWidget* parent, const QString& preselect) override
    {
        return UserDialogs::chooseFiles(parent, preselect);
    }
};

// The window as the person has it, shown on the X server, idle, with the
// process's free heap returned so that the baseline holds only what is used.
// One for each run: a run that finds the rows of the one before in its list
// would wait for a count it never reaches.
struct ShownWindow {
    TForm1 window;
    RecordingDialogs& dialogs;
    std::size_t emptyBytes = 0;

    ShownWindow() : dialogs(*new RealFileDialog)
    {
        window.setUserDialogs(std::unique_ptr<UserDialogs>(&dialogs));
        // A blinking cursor would look like work that never ends.
        QGuiApplication::styleHints()->setCursorFlashTime(0);
        window.move(0, 0);
        window.show();
        untilSettled([] { return true; });
        malloc_trim(0);
        emptyBytes = residentBytes();
    }
    double mebibytesAboveEmpty() const { return (double(residentBytes()) - double(emptyBytes)) / (1 << 20); }

    // A message means the road did not do the work measured.
    void silent(benchmark::State& state) const
    {
        if (!dialogs.messages.empty())
            state.SkipWithError(dialogs.messages.front().text.toStdString().c_str());
    }
};

// What each run of a road measured, for the figures that report its parts:
// the n-th run of a part reports the n-th run of its road, so that
// repetitions give each part its own median.
struct RoadFigures {
    std::map<std::string, double> seconds;
    double mebibytes = NAN;
};
std::vector<RoadFigures> runs;

RoadFigures& newRun()
{
    runs.emplace_back();
    return runs.back();
}

// Fails the figure with what the road waited for in vain; false then.
bool arrived(benchmark::State& state, double when, const char* what)
{
    if (!std::isnan(when))
        return true;
    state.SkipWithError((std::string(what) + " did not happen within " + std::to_string(int(WaitLimitSeconds))
                         + " s").c_str());
    return false;
}

template <std::size_t Count>
struct Files {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), Count);
    Files() { createEmptyFiles(paths); }
};

// In the dialog's own event loop: types the folder, Enter, waits until the
// folder is listed, clicks its first file, Ctrl+A, Enter. A wait that runs
// out leaves its name in `failure` and cancels the dialog.
void answerDialog(const QString& folder, qsizetype count, RoadFigures& figures, double* enterPressed,
                  std::string* failure)
{
    QTimer::singleShot(0, [=, &figures] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* names = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QAbstractItemView* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
        if (!view->isVisible())
            view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        names->setText(folder);
        untilSettled([] { return true; });
        const double start = monotonicNow();
        QTest::keyClick(names, Qt::Key_Return);
        const double listed = untilSettled([&] { return view->model()->rowCount(view->rootIndex()) == count; });
        if (std::isnan(listed)) {
            *failure = "the folder's listing in the dialog";
            dialog->reject();
            return;
        }
        figures.seconds["list_shown"] = listed - start;
        const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(first).center());
        view->setFocus(Qt::MouseFocusReason);
        untilSettled([] { return true; });
        const double selectAll = monotonicNow();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        const double selected = untilSettled([] { return true; });
        if (std::isnan(selected)) {
            *failure = "the select-all in the dialog";
            dialog->reject();
            return;
        }
        figures.seconds["select_all"] = selected - selectAll;
        *enterPressed = monotonicNow();
        QTest::keyClick(view, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void DialogTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<Files<100'000>>();
    auto shown = std::make_unique<ShownWindow>();
    RoadFigures& figures = newRun();
    for (auto _ : state) {
        double enterPressed = 0;
        std::string failure;
        answerDialog(QString::fromStdString(files.folder.Path()), qsizetype(files.paths.size()), figures,
                     &enterPressed, &failure);
        shown->window.BitBtn1->click();
        if (!failure.empty()) {
            arrived(state, NAN, failure.c_str());
            return;
        }
        const double settled = untilSettled([&] { return shown->window.VT->rowCount() == files.paths.size(); });
        if (!arrived(state, settled, "every chosen file listed in the window"))
            return;
        figures.seconds["enter_to_rows"] = settled - enterPressed;
        state.SetIterationTime(figures.seconds["list_shown"] + figures.seconds["select_all"] + (settled - enterPressed));
    }
    if (shown->window.VT->rowCount() != files.paths.size())
        state.SkipWithError("not every file was listed");
    figures.mebibytes = shown->mebibytesAboveEmpty();
    shown->silent(state);
}

// The drag sources, each in a process of its own.
enum class Source { Xdnd, Gtk, GtkWayland };

// Starts the source's drag of the list to `at`, a point of the screen.
void startDrag(QProcess& process, Source source, const QString& uriList, QPoint at)
{
    const QStringList where = {uriList, QString::number(at.x()), QString::number(at.y())};
    switch (source) {
    case Source::Xdnd:
        process.start(QStringLiteral(TOLVEX_XDND_SOURCE), where);
        break;
    case Source::Gtk:
        process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(TOLVEX_GTK_SOURCE)} + where);
        break;
    case Source::GtkWayland:
        process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(TOLVEX_GTK_SOURCE)} + where
                                                              + QStringList{QStringLiteral(TOLVEX_WAYLAND_POINTER)});
        break;
    }
}

template <std::size_t Count, Source From = Source::Xdnd>
void DropTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<Files<Count>>();
    auto shown = std::make_unique<ShownWindow>();
    RoadFigures& figures = newRun();
    QTemporaryFile uriList(qEnvironmentVariable("TOLVEX_BENCH_DIR", QStringLiteral("/dev/shm"))
                           + QStringLiteral("/uri-list-XXXXXX"));
    if (!uriList.open()) {
        state.SkipWithError("cannot write the uri-list");
        return;
    }
    for (const std::string& path : files.paths)
        uriList.write("file://" + QByteArray::fromStdString(path) + "\r\n");
    uriList.close();
    TForm1& window = shown->window;
    // Beside the list, where the window takes drops; a Wayland client learns
    // where its window is from the compositor alone.
    const QPoint inWindow = window.VT->mapTo(&window, QPoint(window.VT->width() + 40, 200));
    QPoint at = window.mapToGlobal(inWindow);
    if (From == Source::GtkWayland) {
        const auto onSway = sway::ourWindow();
        if (!onSway) {
            state.SkipWithError("sway does not show the window");
            return;
        }
        at = onSway->content.topLeft() + inWindow;
    }
    for (auto _ : state) {
        QProcess source;
        startDrag(source, From, uriList.fileName(), at);
        if (!QTest::qWaitFor([&] { return source.state() == QProcess::NotRunning; }, int(WaitLimitSeconds * 1000))) {
            source.kill();
            source.waitForFinished();
            arrived(state, NAN, "the drag source's end");
            return;
        }
        if (source.exitCode() != 0) {
            state.SkipWithError(source.readAllStandardError().trimmed().constData());
            return;
        }
        const double settled = untilSettled([&] { return window.VT->rowCount() == files.paths.size(); });
        if (!arrived(state, settled, "every dropped file listed in the window"))
            return;
        double dropped = NAN;
        double served = NAN;
        for (const QByteArray& line : source.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "drop")
                dropped = words.value(1).toDouble();
            else if (words.value(0) == "served")
                served = words.value(2).toDouble();
        }
        if (From == Source::Xdnd)
            figures.seconds["transfer"] = served - dropped;
        state.SetIterationTime(settled - dropped);
    }
    if (window.VT->rowCount() != files.paths.size())
        state.SkipWithError("not every file was listed");
    figures.mebibytes = shown->mebibytesAboveEmpty();
    shown->silent(state);
}

template <std::size_t Count>
void StatxBare(benchmark::State& state)
{
    const auto& files = sharedFixture<Files<Count>>();
    for (auto _ : state)
        statxAll(files.paths);
}

// A part of the road measured before, reported as a figure of its own: its
// n-th run reports the road's n-th.
const RoadFigures* runOf(const std::string& figure)
{
    static std::map<std::string, std::size_t> reported;
    const std::size_t index = reported[figure]++;
    return index < runs.size() ? &runs[index] : nullptr;
}

void Part(benchmark::State& state, std::string part)
{
    const RoadFigures* run = runOf(part);
    const bool measured = run && run->seconds.count(part);
    for (auto _ : state)
        state.SetIterationTime(measured ? run->seconds.at(part) : 0);
    if (!measured)
        state.SkipWithError("the road did not run");
}

// The empty window's own resident size on this display system.
void EmptyWindow(benchmark::State& state)
{
    const auto& shown = sharedFixture<ShownWindow>();
    for (auto _ : state)
        state.SetIterationTime(0);
    state.counters["mib_above_empty"] = double(shown.emptyBytes) / (1 << 20);
}

void Memory(benchmark::State& state)
{
    const RoadFigures* run = runOf("memory");
    for (auto _ : state)
        state.SetIterationTime(0);
    if (!run || std::isnan(run->mebibytes)) {
        state.SkipWithError("the road did not run");
        return;
    }
    state.counters["mib_above_empty"] = run->mebibytes;
}

// A road's own figures: one run, timed by the road's clock.
template <typename... Args>
void road(const std::string& name, void (*function)(benchmark::State&, Args...), Args... args)
{
    benchmark::RegisterBenchmark(name.c_str(), function, args...)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

template <std::size_t Count>
void bare(const std::string& name)
{
    benchmark::RegisterBenchmark(name.c_str(), StatxBare<Count>)->Iterations(1)->Unit(benchmark::kMillisecond);
}

// The road this process takes, registered before the benchmarks run.
const bool registered = [] {
    const QByteArray which = qgetenv("TOLVEX_ROAD");
    if (which == "dialog") {
        road("roads_dialog_100k/tolvex", DialogTolvex);
        bare<100'000>("roads_dialog_100k/bare");
        road("roads_dialog_100k_list_shown/tolvex", Part, std::string("list_shown"));
        road("roads_dialog_100k_select_all/tolvex", Part, std::string("select_all"));
        road("roads_dialog_100k_enter_to_rows/tolvex", Part, std::string("enter_to_rows"));
        road("roads_memory_dialog_100k/tolvex", Memory);
    } else if (which == "drop") {
        road("roads_drop_100k/tolvex", DropTolvex<100'000>);
        bare<100'000>("roads_drop_100k/bare");
        road("roads_drop_100k_transfer/tolvex", Part, std::string("transfer"));
        road("roads_memory_drop_100k/tolvex", Memory);
    } else if (which == "drop1M") {
        road("roads_drop_1M/tolvex", DropTolvex<1'000'000>);
        bare<1'000'000>("roads_drop_1M/bare");
        road("roads_drop_1M_transfer/tolvex", Part, std::string("transfer"));
        road("roads_memory_empty_window_x11/tolvex", EmptyWindow);
    } else if (which == "gtk1M") {
        road("roads_gtk_drop_1M/tolvex", DropTolvex<1'000'000, Source::Gtk>);
        bare<1'000'000>("roads_gtk_drop_1M/bare");
    } else if (which == "wayland100k") {
        road("roads_wayland_drop_100k/tolvex", DropTolvex<100'000, Source::GtkWayland>);
        bare<100'000>("roads_wayland_drop_100k/bare");
        road("roads_memory_wayland_drop_100k/tolvex", Memory);
        road("roads_memory_empty_window_wayland/tolvex", EmptyWindow);
    } else if (which == "wayland1M") {
        road("roads_wayland_drop_1M/tolvex", DropTolvex<1'000'000, Source::GtkWayland>);
        bare<1'000'000>("roads_wayland_drop_1M/bare");
    }
    return true;
}();

} // namespace
