// A list of 1,000,000 rows on the shown window: closing an update batch until
// the view has painted, and scrolling to the last row. The bare side is a
// plain QTableView over the simplest model that serves the same texts.
#include "bench/BenchWindow.h"

#include "listcore/ListCommands.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr std::size_t RowCount = 1'000'000;
constexpr int BatchIterations = 3;
constexpr int ScrollIterations = 20;

struct ViewPaths {
    std::vector<std::string> paths = samplePaths(MissingFolder, RowCount);
};

// Names, proposed names and folders straight from vectors.
class BareModel : public QAbstractTableModel {
public:
    std::vector<std::string> names;
    std::vector<std::string> folders;
    int shown = 0;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const auto row = std::size_t(index.row());
        if (role == Qt::CheckStateRole && index.column() == 0)
            return Qt::Checked;
        if (role != Qt::DisplayRole)
            return {};
        return QString::fromStdString(index.column() == 2 ? folders[row] : names[row]);
    }

    void Clear()
    {
        beginResetModel();
        shown = 0;
        endResetModel();
    }

    void ShowAll()
    {
        beginInsertRows({}, 0, int(names.size()) - 1);
        shown = int(names.size());
        endInsertRows();
    }

    void ChangeAll() { Q_EMIT dataChanged(index(0, 0), index(shown - 1, 2)); }
};

struct BareView {
    BareModel model;
    QTableView view;

    BareView()
    {
        for (const std::string& path : sharedFixture<ViewPaths>().paths) {
            const auto slash = path.rfind('/');
            model.names.push_back(path.substr(slash + 1));
            model.folders.push_back(path.substr(0, slash + 1));
        }
        view.setModel(&model);
        view.verticalHeader()->hide();
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(18);
        view.horizontalHeader()->setDefaultSectionSize(200);
        view.resize(432, 423);
        view.show();
        model.ShowAll();
        paintNow(view);
    }
};

struct ViewWindow : BenchWindow {
    ViewWindow() { Fill(sharedFixture<ViewPaths>().paths); }
};

// Rows appended inside an open batch reach the view when it closes.
void AppendCloseTolvex(benchmark::State& state)
{
    auto& fixture = sharedFixture<ViewWindow>();
    TVirtualStringTree& list = *fixture.window.VT;
    const auto& paths = sharedFixture<ViewPaths>().paths;
    for (auto _ : state) {
        state.PauseTiming();
        list.ClearRows();
        paintNow(list);
        list.BeginBatch();
        appendFiles(list.rows(), paths);
        state.ResumeTiming();
        list.EndBatch();
        if (!paintNow(list))
            state.SkipWithError("the list did not paint");
    }
    if (list.rowCount() != RowCount)
        state.SkipWithError("rows missing");
}

void AppendCloseBare(benchmark::State& state)
{
    auto& bare = sharedFixture<BareView>();
    for (auto _ : state) {
        state.PauseTiming();
        bare.model.Clear();
        paintNow(bare.view);
        state.ResumeTiming();
        bare.model.ShowAll();
        if (!paintNow(bare.view))
            state.SkipWithError("the view did not paint");
    }
}

// What every rule and list command ends with: every row may have changed.
void RuleCloseTolvex(benchmark::State& state)
{
    auto& fixture = sharedFixture<ViewWindow>();
    TVirtualStringTree& list = *fixture.window.VT;
    for (auto _ : state) {
        state.PauseTiming();
        paintNow(list);
        list.BeginBatch();
        state.ResumeTiming();
        list.EndBatch();
        if (!paintNow(list))
            state.SkipWithError("the list did not paint");
    }
}

void RuleCloseBare(benchmark::State& state)
{
    auto& bare = sharedFixture<BareView>();
    for (auto _ : state) {
        state.PauseTiming();
        paintNow(bare.view);
        state.ResumeTiming();
        bare.model.ChangeAll();
        if (!paintNow(bare.view))
            state.SkipWithError("the view did not paint");
    }
}

void scrollToEnd(benchmark::State& state, QTableView& view)
{
    for (auto _ : state) {
        state.PauseTiming();
        view.scrollToTop();
        paintNow(view);
        state.ResumeTiming();
        view.scrollToBottom();
        if (!paintNow(view))
            state.SkipWithError("the view did not paint");
    }
    const QModelIndex last = view.model()->index(view.model()->rowCount() - 1, 0);
    if (!view.viewport()->rect().intersects(view.visualRect(last)))
        state.SkipWithError("the last row is not shown");
}

void ScrollTolvex(benchmark::State& state)
{
    scrollToEnd(state, *sharedFixture<ViewWindow>().window.VT);
}

void ScrollBare(benchmark::State& state)
{
    scrollToEnd(state, sharedFixture<BareView>().view);
}

// The tooltip of the last row, once a rule has changed every name: the
// outlook looks at every row before it for the same proposal.
void TooltipTolvex(benchmark::State& state)
{
    auto& fixture = sharedFixture<ViewWindow>();
    TForm1& window = fixture.window;
    window.SpeedButton1->click();  // Lower Case
    const QModelIndex last = window.VT->model()->index(window.VT->model()->rowCount() - 1, 1);
    QString hint;
    for (auto _ : state)
        hint = last.data(Qt::ToolTipRole).toString();
    if (!hint.startsWith(QLatin1String("Apply Rename")))
        state.SkipWithError(hint.toStdString().c_str());
    window.BitBtn3->click();  // Reset
}

} // namespace

BENCHMARK(AppendCloseTolvex)->Name("view_1M_append_close/tolvex")->Iterations(BatchIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AppendCloseBare)->Name("view_1M_append_close/bare")->Iterations(BatchIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RuleCloseTolvex)->Name("view_1M_rule_close/tolvex")->Iterations(ScrollIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RuleCloseBare)->Name("view_1M_rule_close/bare")->Iterations(ScrollIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollTolvex)->Name("view_1M_scroll_end/tolvex")->Iterations(ScrollIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TooltipTolvex)->Name("view_1M_tooltip/tolvex")->Iterations(ScrollIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ScrollBare)->Name("view_1M_scroll_end/bare")->Iterations(ScrollIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
