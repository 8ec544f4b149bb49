// End to end: real files arriving in one drop on the shown window, until
// they are listed with their proposed names and the list has painted, that
// is until the window answers input again. The bare side asks the kernel
// about each file once.
#include "bench/BenchWindow.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWindow>

namespace {

// A drop's data as the platform hands it over: the uri-list's bytes as they
// came. (A QMimeData given the list with setData would keep it as QUrls and
// make the bytes anew on every read, which no real drop does.)
class PlatformDropData : public QMimeData {
public:
    explicit PlatformDropData(QByteArray uriList) : m_uriList(std::move(uriList)) {}

    QStringList formats() const override { return {QStringLiteral("text/uri-list")}; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override
    {
        return mimeType == QLatin1String("text/uri-list") ? QVariant(m_uriList) : QVariant();
    }

private:
    QByteArray m_uriList;
};

QByteArray uriListOf(const std::vector<std::string>& paths)
{
    QByteArray uriList;
    for (const std::string& path : paths)
        uriList += "file://" + QByteArray::fromStdString(path) + "\r\n";
    return uriList;
}

template <std::size_t Count>
struct DropFiles {
    ScratchFolder folder;
    std::vector<std::string> paths = samplePaths(folder.Path(), Count);
    PlatformDropData mime{(createEmptyFiles(paths), uriListOf(paths))};
};

constexpr Qt::DropActions Actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// A point of the window beside the file list, where drops are taken.
QPoint dropPoint(const TForm1& window)
{
    const QPoint listTopRight = window.VT->mapTo(&window, QPoint(window.VT->width(), 0));
    return listTopRight + QPoint(40, 200);
}

// The drag reaches the window as the platform reports it: to its QWindow,
// which hands it to the widget under the pointer that takes drops.
void dragOver(QWindow* target, QPoint pos, const QMimeData& mime)
{
    QDragEnterEvent enter(pos, Actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, Actions, &mime, Qt::LeftButton, Qt::NoModifier);
    move.setDropAction(enter.dropAction());
    move.setAccepted(enter.isAccepted());
    QCoreApplication::sendEvent(target, &move);
}

template <std::size_t Count>
void DropTolvex(benchmark::State& state)
{
    const auto& files = sharedFixture<DropFiles<Count>>();
    auto& fixture = sharedFixture<BenchWindow>();
    TForm1& window = fixture.window;
    for (auto _ : state) {
        state.PauseTiming();
        window.BitBtn4->click();
        paintNow(*window.VT);
        dragOver(window.windowHandle(), dropPoint(window), files.mime);
        state.ResumeTiming();
        QDropEvent drop(dropPoint(window), Actions, &files.mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &drop);
        if (!paintNow(*window.VT))
            state.SkipWithError("the list did not paint");
    }
    if (window.VT->rowCount() != Count)
        state.SkipWithError("not every file was listed");
    fixture.Silent(state);
    window.BitBtn4->click();
    state.SetItemsProcessed(state.iterations() * Count);
}

template <std::size_t Count>
void DropBare(benchmark::State& state)
{
    const auto& files = sharedFixture<DropFiles<Count>>();
    for (auto _ : state) {
        statxAll(files.paths);
    }
    state.SetItemsProcessed(state.iterations() * Count);
}

} // namespace

BENCHMARK(DropTolvex<100'000>)->Name("drop_100k/tolvex")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DropBare<100'000>)->Name("drop_100k/bare")->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DropTolvex<1'000'000>)->Name("drop_1M/tolvex")->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DropBare<1'000'000>)->Name("drop_1M/bare")->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
