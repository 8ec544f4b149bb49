// The rules only tolvex-rename has, run as a run of it runs them over
// 1,000,000 rows, each against a bare loop over a std::vector<std::string>
// calling the library the rule is built on: --regex 'IMG_(\d+)' --with
// 'photo-$1' against PCRE2's machine code in a loop of matches, and --case
// title against ICU's title case of UTF-8.
#include "bench/BenchSupport.h"

#include "listcore/FileIntake.h"
#include "listcore/RowStore.h"
#include "patterns/NamePattern.h"
#include "runs/RuleRun.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#include <unicode/ucasemap.h>

#include <QDateTime>

namespace {

constexpr std::size_t RowCount = 1'000'000;
constexpr int Iterations = 5;

// The rows as the command line takes them in: split names of missing files.
struct CliRows {
    RowStore rows;
    std::vector<std::string> stems;

    CliRows()
    {
        FileIntake intake(rows);
        for (const std::string& path : samplePaths(MissingFolder, RowCount))
            intake.addLooked(path, {});
        for (std::size_t i = 0; i < RowCount; ++i)
            stems.emplace_back(rows.rowAt(i).Data.OldName());
    }

    void reset()
    {
        for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row))
            row->Data.resetNewName();
    }
};

void runTolvex(benchmark::State& state, const CommandLineRule& rule, const std::string& lastExpected)
{
    auto& fixture = sharedFixture<CliRows>();
    const std::vector<CommandLineRule> rules{rule};
    for (auto _ : state) {
        state.PauseTiming();
        fixture.reset();
        state.ResumeTiming();
        if (!runRules(fixture.rows, rules, &QDateTime::currentDateTime, {}, {}).empty())
            state.SkipWithError("the rule refused rows");
    }
    if (fixture.rows.rowAt(RowCount - 1).Data.NewName() != lastExpected)
        state.SkipWithError("the rule's result differs from the bare loop's");
    state.SetItemsProcessed(state.iterations() * RowCount);
}

template <typename Step>
void runBare(benchmark::State& state, const Step& step)
{
    const std::vector<std::string>& stems = sharedFixture<CliRows>().stems;
    std::vector<std::string> names;
    for (auto _ : state) {
        state.PauseTiming();
        names = stems;
        state.ResumeTiming();
        for (std::string& name : names)
            name = step(name);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

// IMG_(\d+) → photo-$1 with PCRE2 alone: every match, as the rule finds them.
struct BarePattern {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;

    BarePattern()
    {
        int error = 0;
        PCRE2_SIZE offset = 0;
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>("IMG_(\\d+)"), PCRE2_ZERO_TERMINATED,
                             PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP, &error, &offset, nullptr);
        pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
        data = pcre2_match_data_create_from_pattern(code, nullptr);
    }
    ~BarePattern()
    {
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }

    std::string operator()(const std::string& name) const
    {
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
        std::string out;
        std::size_t copied = 0;
        std::uint32_t options = 0;
        while (pcre2_jit_match(code, reinterpret_cast<PCRE2_SPTR>(name.data()), name.size(), copied, options, data,
                               nullptr) > 0) {
            out.append(name, copied, ovector[0] - copied);
            out += "photo-";
            out.append(name, ovector[2], ovector[3] - ovector[2]);
            options = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART : 0;
            copied = ovector[1];
        }
        out.append(name, copied);
        return out;
    }
};

struct BareTitle {
    UCaseMap* map = nullptr;

    BareTitle()
    {
        UErrorCode error = U_ZERO_ERROR;
        map = ucasemap_open("", 0, &error);
    }
    ~BareTitle() { ucasemap_close(map); }

    std::string operator()(const std::string& name) const
    {
        char buffer[256];
        UErrorCode error = U_ZERO_ERROR;
        const std::int32_t length
            = ucasemap_utf8ToTitle(map, buffer, sizeof buffer, name.data(), std::int32_t(name.size()), &error);
        return std::string(buffer, std::size_t(length));
    }
};

template <typename Bare>
void registerPair(const std::string& figure, std::function<CommandLineRule()> rule)
{
    benchmark::RegisterBenchmark((figure + "/tolvex").c_str(), [rule](benchmark::State& state) {
        runTolvex(state, rule(), sharedFixture<Bare>()(sharedFixture<CliRows>().stems.back()));
    })->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((figure + "/bare").c_str(), [](benchmark::State& state) {
        runBare(state, sharedFixture<Bare>());
    })->Iterations(Iterations)->UseRealTime()->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool registered = [] {
    registerPair<BarePattern>("cli_regex_1M", [] {
        return PatternRule{std::make_shared<const NamePattern>("IMG_(\\d+)", "photo-$1")};
    });
    registerPair<BareTitle>("cli_case_title_1M", [] { return UnicodeCaseRule{UnicodeCase::Title}; });
    return true;
}();

} // namespace
