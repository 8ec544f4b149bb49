// Every "Apply Change" button, and the list-wide commands, clicked on the
// real window over 1,000,000 checked rows, each against a bare loop doing
// the same string work over a std::vector<std::string>.
#include "bench/BenchWindow.h"

#include "controls/NumberBox.h"
#include "listcore/ListCommands.h"
#include "rules/CaseRules.h"
#include "rules/DateTimeRule.h"
#include "rules/DeleteRules.h"
#include "rules/InsertRules.h"
#include "rules/MoveCopyRules.h"
#include "rules/RemovalRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr std::size_t RowCount = 1'000'000;
constexpr int RuleIterations = 5;
constexpr int ListIterations = 5;

const QDateTime FixedNow(QDate(2024, 5, 17), QTime(14, 30, 15, 250));

// The window with a million checked rows of missing files, split form.
struct RuleWindow : BenchWindow {
    RuleWindow()
    {
        window.setClock([] { return FixedNow; });
        Fill(samplePaths(MissingFolder, RowCount));
    }
};

// The proposed names as the list starts them, for the bare loops.
struct BareNames {
    std::vector<std::string> original;
    std::vector<std::string> names;

    BareNames()
    {
        original.reserve(RowCount);
        for (std::size_t i = 0; i < RowCount; ++i) {
            std::string name = sampleName(i);
            name.resize(name.rfind('.'));
            original.push_back(std::move(name));
        }
        names = original;
    }

    void Reset() { std::copy(original.begin(), original.end(), names.begin()); }
};

using BareStep = std::function<std::string(const std::string&, std::size_t rowIndex)>;

// One rule: how its page is set up, its button, and the string work its
// step does for one name; a rule of two passes has two steps.
struct RuleCase {
    const char* name;
    std::function<void(TForm1&)> setUp;
    std::function<QAbstractButton*(TForm1&)> button;
    BareStep bare;
    BareStep secondPass = {};
};

void setNumber(NumberBox* box, int value)
{
    box->setText(QString::number(value));
}

std::vector<RuleCase> ruleCases()
{
    const auto nothing = [](TForm1&) {};
    const std::string pattern = "YYYYMMDDHHMMSS";
    return {
        {"lower", nothing, [](TForm1& w) { return w.SpeedButton1; },
         [](const std::string& n, std::size_t) { return lowerCaseName(n); }},
        {"upper", nothing, [](TForm1& w) { return w.SpeedButton2; },
         [](const std::string& n, std::size_t) { return upperCaseName(n); }},
        {"title", nothing, [](TForm1& w) { return w.SpeedButton10; },
         [](const std::string& n, std::size_t) { return titleCaseName(n); }},
        {"remove_first", [](TForm1& w) { setNumber(w.edFirst, 3); },
         [](TForm1& w) { return w.btnDeleteFirst; },
         [](const std::string& n, std::size_t) { return removeFirst(n, 3); }},
        {"remove_last", [](TForm1& w) { setNumber(w.edLast, 3); },
         [](TForm1& w) { return w.btnDeletelast; },
         [](const std::string& n, std::size_t) { return removeLast(n, 3); }},
        {"remove_from_to", [](TForm1& w) { setNumber(w.edFrom, 2); setNumber(w.edTo, 5); },
         [](TForm1& w) { return w.btnDeleteFrom; },
         [](const std::string& n, std::size_t) { return removeFromTo(n, 2, 5); }},
        {"remove_chars", [](TForm1& w) { w.edRemChar->setText(QStringLiteral("_0")); },
         [](TForm1& w) { return w.SpeedButton7; },
         [](const std::string& n, std::size_t) { return removeChars(n, "_0"); }},
        {"remove_numbers", nothing, [](TForm1& w) { return w.SpeedButton8; },
         [](const std::string& n, std::size_t) { return removeAllNumbers(n); }},
        {"remove_symbols", nothing, [](TForm1& w) { return w.SpeedButton11; },
         [](const std::string& n, std::size_t) { return removeAllSymbols(n); }},
        {"remove_non_characters", nothing, [](TForm1& w) { return w.SpeedButton12; },
         [](const std::string& n, std::size_t) { return removeAllNumbers(n); },
         [](const std::string& n, std::size_t) { return removeAllSymbols(n); }},
        {"replace",
         [](TForm1& w) {
             w.edmatch->setText(QStringLiteral("img"));
             w.edReplace->setText(QStringLiteral("Photo"));
         },
         [](TForm1& w) { return w.btnReplace; },
         [](const std::string& n, std::size_t) { return replaceText(n, "img", "Photo"); }},
        {"add_characters",
         [](TForm1& w) {
             w.edAddChar->setText(QStringLiteral("_new"));
             w.rbPos->setChecked(true);
             setNumber(w.edAddPos, 4);
         },
         [](TForm1& w) { return w.SpeedButton4; },
         [](const std::string& n, std::size_t) { return addCharacters(n, "_new", Placement::AtPosition, 4); }},
        {"serial",
         [](TForm1& w) {
             setNumber(w.edNumStart, 1);
             w.edNumMask->setText(QStringLiteral("0000"));
             w.rbSuf->setChecked(true);
         },
         [](TForm1& w) { return w.SpeedButton5; },
         [](const std::string& n, std::size_t row) {
             return addSerialNumber(n, 1, std::int64_t(row), "0000", Placement::Suffix);
         }},
        {"date_time",
         [](TForm1& w) {
             w.cbDateType->setCurrentIndex(int(DateTimeSource::CurrentTime));
             w.cbDateFormat->setCurrentText(QStringLiteral("YYYYMMDDHHMMSS"));
             w.rbPre->setChecked(true);
         },
         [](TForm1& w) { return w.SpeedButton9; },
         [pattern](const std::string& n, std::size_t) {
             return addDateTime(n, FixedNow, pattern, Placement::Prefix);
         }},
        {"copy",
         [](TForm1& w) {
             setNumber(w.edStart, 1);
             setNumber(w.edStop, 3);
             w.rb3->setChecked(true);
             setNumber(w.edIPos, 5);
         },
         [](TForm1& w) { return w.SpeedButton3; },
         [](const std::string& n, std::size_t) { return copyRange(n, 1, 3, Placement::AtPosition, 5); }},
        {"move",
         [](TForm1& w) {
             setNumber(w.edStart, 1);
             setNumber(w.edStop, 3);
             w.rb3->setChecked(true);
             setNumber(w.edIPos, 5);
         },
         [](TForm1& w) { return w.SpeedButton6; },
         [](const std::string& n, std::size_t) { return moveRange(n, 1, 3, Placement::AtPosition, 5); }},
    };
}

// Each click starts from the names the list was filled with, so every
// iteration does the same work; resetting and painting are not timed.
void ruleTolvex(benchmark::State& state, const RuleCase& rule)
{
    auto& fixture = sharedFixture<RuleWindow>();
    TForm1& window = fixture.window;
    rule.setUp(window);
    QAbstractButton* button = rule.button(window);
    for (auto _ : state) {
        state.PauseTiming();
        resetNames(window.VT->rows());
        paintNow(*window.VT);
        state.ResumeTiming();
        button->click();
    }
    // The bare loop must do the same work: the last row tells.
    const std::size_t last = RowCount - 1;
    std::string expected = sharedFixture<BareNames>().original[last];
    for (const BareStep& step : {rule.bare, rule.secondPass}) {
        if (step)
            expected = step(expected, last);
    }
    if (window.VT->RowData(window.VT->visibleRow(int(last)))->NewName() != expected)
        state.SkipWithError("the rule's result differs from the bare loop's");
    fixture.Silent(state);
    state.SetItemsProcessed(state.iterations() * RowCount);
}

void ruleBare(benchmark::State& state, const RuleCase& rule)
{
    auto& names = sharedFixture<BareNames>();
    for (auto _ : state) {
        state.PauseTiming();
        names.Reset();
        state.ResumeTiming();
        for (const BareStep& step : {rule.bare, rule.secondPass}) {
            if (!step)
                continue;
            for (std::size_t i = 0; i < names.names.size(); ++i)
                names.names[i] = step(names.names[i], i);
        }
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

// The list-wide commands each flip every row one way; the way back is taken
// outside the timing.
void listCommand(benchmark::State& state, const std::function<void(TForm1&)>& prepare,
                 const std::function<void(TForm1&)>& command)
{
    auto& fixture = sharedFixture<RuleWindow>();
    TForm1& window = fixture.window;
    for (auto _ : state) {
        state.PauseTiming();
        prepare(window);
        paintNow(*window.VT);
        state.ResumeTiming();
        command(window);
    }
    window.rbCheck->click();
    if (window.cbInclude->isChecked())
        window.cbInclude->click();
    fixture.Silent(state);
    state.SetItemsProcessed(state.iterations() * RowCount);
}

// The bare forms of the list-wide commands work on what a row needs for
// them and nothing more, one struct per row as the list keeps them.
struct BareRows {
    struct Names {
        std::string fileName;
        std::string oldName;
        std::string newName;
        std::string ext;
        bool checked = true;
    };
    std::vector<Names> rows;

    BareRows()
    {
        rows.reserve(RowCount);
        for (std::size_t i = 0; i < RowCount; ++i) {
            std::string name = sampleName(i);
            const auto dot = name.rfind('.');
            rows.push_back({name, name.substr(0, dot), name.substr(0, dot), name.substr(dot), true});
        }
    }

    void join()
    {
        for (Names& row : rows) {
            row.oldName += row.ext;
            row.newName += row.ext;
            row.ext.clear();
        }
    }

    void split()
    {
        for (Names& row : rows) {
            const auto dot = row.fileName.rfind('.');
            row.oldName = row.fileName.substr(0, dot);
            row.newName = row.newName.substr(0, row.newName.rfind('.'));
            row.ext = row.fileName.substr(dot);
        }
    }
};

void bareCommand(benchmark::State& state, const std::function<void(BareRows&)>& prepare,
                 const std::function<void(BareRows&)>& command)
{
    auto& rows = sharedFixture<BareRows>();
    for (auto _ : state) {
        state.PauseTiming();
        prepare(rows);
        state.ResumeTiming();
        command(rows);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

void registerPair(const std::string& figure, int iterations, std::function<void(benchmark::State&)> tolvex,
                  std::function<void(benchmark::State&)> bare)
{
    benchmark::RegisterBenchmark((figure + "/tolvex").c_str(), std::move(tolvex))
        ->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((figure + "/bare").c_str(), std::move(bare))
        ->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool registered = [] {
    for (const RuleCase& rule : ruleCases()) {
        registerPair(std::string("rule_1M_") + rule.name, RuleIterations,
                     [rule](benchmark::State& s) { ruleTolvex(s, rule); },
                     [rule](benchmark::State& s) { ruleBare(s, rule); });
    }

    const auto noPreparation = [](TForm1&) {};
    const auto noBarePreparation = [](BareRows&) {};
    registerPair(
        "list_1M_reverse", ListIterations,
        [](benchmark::State& s) {
            listCommand(s, [](TForm1& w) { w.rbUncheck->click(); }, [](TForm1& w) { w.rbReverse->click(); });
        },
        [](benchmark::State& s) {
            bareCommand(
                s,
                [](BareRows& r) {
                    for (BareRows::Names& row : r.rows)
                        row.checked = false;
                },
                [](BareRows& r) {
                    for (BareRows::Names& row : r.rows)
                        row.checked = !row.checked;
                });
        });
    registerPair(
        "list_1M_reset", ListIterations,
        [noPreparation](benchmark::State& s) {
            listCommand(s, noPreparation, [](TForm1& w) { w.BitBtn3->click(); });
        },
        [noBarePreparation](benchmark::State& s) {
            bareCommand(s, noBarePreparation, [](BareRows& r) {
                for (BareRows::Names& row : r.rows)
                    row.newName = row.oldName;
            });
        });
    registerPair(
        "list_1M_ext_include", ListIterations,
        [](benchmark::State& s) {
            listCommand(
                s, [](TForm1& w) { if (w.cbInclude->isChecked()) w.cbInclude->click(); },
                [](TForm1& w) { w.cbInclude->click(); });
        },
        [](benchmark::State& s) {
            bareCommand(s, [](BareRows& r) { if (r.rows.front().ext.empty()) r.split(); },
                        [](BareRows& r) { r.join(); });
        });
    registerPair(
        "list_1M_ext_exclude", ListIterations,
        [](benchmark::State& s) {
            listCommand(
                s, [](TForm1& w) { if (!w.cbInclude->isChecked()) w.cbInclude->click(); },
                [](TForm1& w) { w.cbInclude->click(); });
        },
        [](benchmark::State& s) {
            bareCommand(s, [](BareRows& r) { if (!r.rows.front().ext.empty()) r.join(); },
                        [](BareRows& r) { r.split(); });
        });
    return true;
}();

} // namespace
