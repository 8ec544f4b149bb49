// Reads the JSON files the benchmark executables wrote and prints one table:
// each figure of the program next to its bare baseline, their ratio, and the
// goal it is held to.
//
//     bench_report results/*.json
//
// Times are the GUI thread's CPU time, which a busy machine disturbs far
// less than the wall-clock time shown beside it; the verdict goes by CPU,
// except for the roads in from outside, whose work is spread over other
// processes and threads, and which are judged by the wall clock.
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

struct Goal {
    const char* pattern;  // matched against the figure's name
    const char* title;    // %1 is the pattern's first capture
    std::optional<double> ratio;
    std::optional<double> milliseconds;
    std::optional<double> bytesPerRow;
    std::optional<double> mebibytes = {}; // resident memory above the empty window
    bool byWall = false;             // milliseconds, and the ratio, judged by the wall clock
};

const std::vector<Goal>& goals()
{
    static const std::vector<Goal> list = {
        {"intake_100k", "Add Files intake of 100k tmpfs files [bare: statx]", 1.3, {}, {}},
        {"rule_1M_(.+)", "Rule %1, 1M rows [bare: vector loop]", 3.0, 500.0, {}},
        {"apply_100k", "Apply Rename, 100k tmpfs files [bare: renameat2]", 1.1, {}, {}},
        {"apply_1M_alive", "Apply Rename, 1M tmpfs files, window kept alive [bare: the same pass, deaf]", 1.05, {}, {}},
        {"apply_1M_longest_stretch", "... of it: the longest stretch without events", {}, 100.0, {}, {}, true},
        {"apply_10k_case_only", "10k changes of case, case-ignoring [bare: 10k plain renames]", 2.0, {}, {}},
        {"view_1M_append_close", "1M rows appended: close batch, paint [bare: QTableView]", {}, 50.0, {}},
        {"view_1M_rule_close", "1M rows changed: close batch, paint [bare: QTableView]", {}, 50.0, {}},
        {"view_1M_scroll_end", "1M rows: scroll to last, paint [bare: QTableView]", {}, 16.0, {}},
        {"view_1M_tooltip", "1M rows, every name changed: the last row's tooltip", {}, 50.0, {}},
        {"memory_1M_rows", "Resident bytes/row, 1M rows [bare: path strings]", {}, {}, 400.0},
        {"memory_1M_rows_with_times", "Resident bytes/row, 1M real files with their times", {}, {}, 160.0},
        {"memory_1M_rows_renamed", "Resident bytes/row, 1M real files, every name changed", {}, {}, 200.0},
        {"list_1M_reverse", "Reverse, 1M rows [bare: flag in a row struct]", {}, 200.0, {}},
        {"list_1M_reset", "Reset, 1M rows [bare: string copies]", {}, 200.0, {}},
        {"list_1M_ext_include", "Extension toggle on, 1M rows [bare: strings]", {}, 200.0, {}},
        {"list_1M_ext_exclude", "Extension toggle off, 1M rows [bare: strings]", {}, 200.0, {}},
        {"cli_preview_1M", "tolvex-rename preview, 1M files, one rule [bare: folder read, rule, look-up, line]", 1.3,
         {}, {}},
        {"cli_tree_1M", "tolvex-rename -R preview, 1M files in 1k folders [bare: getdents64 walk, sets, rule, line]",
         1.3, {}, {}},
        {"cli_tree_1M_memory", "... its peak resident memory per file", {}, {}, 200.0},
        {"cli_apply_100k", "tolvex-rename --apply, 100k files [bare: folder read + renameat2]", 1.1, {}, {}},
        {"cli_resolve_100k_shift", "--apply --resolve, a 100k-file shift n->n+1 [bare: the same --apply in working order]",
         1.3, {}, {}},
        {"cli_tag_title_10k", "tolvex-rename --tag title, 10k tagged MP3 files [bare: TagLib loop, title, line]", 1.2,
         {}, {}},
        {"cli_regex_1M", "--regex IMG_(\\d+) --with photo-$1, 1M rows [bare: PCRE2 JIT match loop]", 1.3, {}, {}},
        {"cli_case_title_1M", "--case title, 1M rows [bare: ICU ucasemap_utf8ToTitle loop]", 1.3, {}, {}},
        {"cli_journal_100k_tmpfs", "--apply --journal, 100k tmpfs files [bare: --apply alone]", 1.15, {}, {}},
        {"cli_journal_100k_ext4", "--apply --journal, 100k ext4 files [bare: --apply alone]", 1.25, {}, {}},
        {"peers_100k_mmv", "tolvex-rename --apply, journal on, 100k files, wall [bare: mmv, the same renames]", 1.0,
         {}, {}, {}, true},
        {"peers_100k_rename", "tolvex-rename --apply, journal on, 100k files, wall [bare: perl rename -0]", 1.0, {}, {},
         {}, true},
        {"drop_100k", "Drop of 100k tmpfs files until painted [bare: statx]", 1.5, 1000.0, {}},
        {"drop_1M", "Drop of 1M tmpfs files until painted [bare: statx]", 1.5, 10000.0, {}},
        {"roads_dialog_100k", "Add Files, 100k files: Enter on folder to rows painted [bare: statx]", {}, 2000.0, {},
         {}, true},
        {"roads_dialog_100k_list_shown", "... of it: Enter on the folder until listed in the dialog", {}, {}, {}},
        {"roads_dialog_100k_select_all", "... of it: Ctrl+A in the dialog's list", {}, {}, {}},
        {"roads_dialog_100k_enter_to_rows", "... of it: Enter until the rows are listed and painted", {}, {}, {}},
        {"roads_drop_100k", "Drop of 100k files from another program until painted [bare: statx]", {}, {}, {}},
        {"roads_drop_100k_transfer", "... of it: the data's transfer", {}, {}, {}},
        {"roads_drop_1M", "Drop of 1M files from another program until painted [bare: statx]", {}, 3000.0, {}, {},
         true},
        {"roads_drop_1M_transfer", "... of it: the data's transfer", {}, {}, {}},
        {"roads_memory_(dialog|drop)_100k", "Resident MiB above the empty window, 100k added by %1", {}, {}, {},
         40.0},
        {"roads_gtk_drop_1M", "Drop of 1M files from a GTK 3 source until painted, X11 [bare: statx]", {}, 3000.0, {},
         {}, true},
        {"roads_wayland_drop_100k", "Drop of 100k files from a GTK 3 source until painted, Wayland [bare: statx]", {},
         {}, {}},
        {"roads_wayland_drop_1M", "Drop of 1M files from a GTK 3 source until painted, Wayland [bare: statx]", {},
         3000.0, {}, {}, true},
        {"roads_memory_wayland_drop_100k", "Resident MiB above the empty window, 100k dropped on Wayland", {}, {}, {},
         40.0},
        {"roads_memory_empty_window_(x11|wayland)", "Resident MiB of the empty window itself, %1", {}, {}, {}},
    };
    return list;
}

struct Measure {
    double cpuMs = 0;
    double wallMs = 0;
    std::optional<double> bytesPerRow;
    std::optional<double> mebibytes;
};

struct Figure {
    QString name;
    std::optional<Measure> tolvex;
    std::optional<Measure> bare;
    QStringList failures; // why runs of either side did not measure
};

double toMilliseconds(double value, const QString& unit)
{
    if (unit == QLatin1String("ns"))
        return value / 1e6;
    if (unit == QLatin1String("us"))
        return value / 1e3;
    if (unit == QLatin1String("s"))
        return value * 1e3;
    return value;
}

Measure measureOf(const QJsonObject& run)
{
    const QString unit = run.value(QLatin1String("time_unit")).toString();
    Measure measure;
    measure.cpuMs = toMilliseconds(run.value(QLatin1String("cpu_time")).toDouble(), unit);
    measure.wallMs = toMilliseconds(run.value(QLatin1String("real_time")).toDouble(), unit);
    if (run.contains(QLatin1String("bytes_per_row")))
        measure.bytesPerRow = run.value(QLatin1String("bytes_per_row")).toDouble();
    if (run.contains(QLatin1String("mib_above_empty")))
        measure.mebibytes = run.value(QLatin1String("mib_above_empty")).toDouble();
    return measure;
}

// The figures in the order they ran. With repetitions the median is used;
// a run that failed is kept as its reason.
std::vector<Figure> readFigures(const QStringList& files)
{
    static const QRegularExpression nameParts(QStringLiteral("^(.+)/(tolvex|bare)(/.*)?$"));
    std::vector<Figure> figures;
    std::map<QString, std::size_t> indexOf;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            continue;
        }
        // Google Benchmark writes NaN (say the spread of repeated runs that
        // all took no time) as a bare word, which is no JSON.
        static const QRegularExpression notANumber(QStringLiteral(R"((:\s*)-?(nan|inf|infinity)\b)"),
                                                   QRegularExpression::CaseInsensitiveOption);
        const QString text = QString::fromUtf8(file.readAll()).replace(notANumber, QStringLiteral("\\1null"));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError) {
            std::fprintf(stderr, "FAILED to read %s: %s at byte %d\n", qPrintable(path),
                         qPrintable(error.errorString()), error.offset);
            continue;
        }
        const QJsonArray runs = document.object().value(QLatin1String("benchmarks")).toArray();
        bool hasMedians = false;
        for (const QJsonValue& run : runs)
            hasMedians |= run.toObject().value(QLatin1String("aggregate_name")).toString() == QLatin1String("median");
        for (const QJsonValue& value : runs) {
            const QJsonObject run = value.toObject();
            const bool isMedian = run.value(QLatin1String("aggregate_name")).toString() == QLatin1String("median");
            const bool isIteration = run.value(QLatin1String("run_type")).toString() == QLatin1String("iteration");
            const bool failed = run.value(QLatin1String("error_occurred")).toBool();
            if (failed ? !isIteration : hasMedians ? !isMedian : !isIteration)
                continue;
            const auto match = nameParts.match(run.value(QLatin1String("run_name")).toString());
            if (!match.hasMatch())
                continue;
            const QString name = match.captured(1);
            auto [it, added] = indexOf.try_emplace(name, figures.size());
            if (added)
                figures.push_back({name, {}, {}, {}});
            Figure& figure = figures[it->second];
            if (failed) {
                const QString reason = match.captured(2) + QStringLiteral(": ")
                    + run.value(QLatin1String("error_message")).toString();
                if (!figure.failures.contains(reason))
                    figure.failures << reason;
                continue;
            }
            (match.captured(2) == QLatin1String("tolvex") ? figure.tolvex : figure.bare) = measureOf(run);
        }
    }
    return figures;
}

QString number(double value)
{
    if (value >= 100)
        return QString::number(value, 'f', 0);
    if (value >= 10)
        return QString::number(value, 'f', 1);
    return QString::number(value, 'f', 2);
}

// A part of a road, timed by the road's own clock, has no CPU time of its own.
QString msText(const std::optional<Measure>& m)
{
    return m && m->cpuMs >= 0.01 ? number(m->cpuMs) + QStringLiteral(" ms") : QStringLiteral("-");
}

void printRow(const QStringList& cells)
{
    static const int widths[] = {-58, 12, 12, 12, 8, -18, -4};
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += QStringLiteral("%1 ").arg(cells[i], widths[i]);
    std::printf("%s\n", qPrintable(line.trimmed()));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList files = app.arguments();
    files.removeFirst();

    int missed = 0;
    printRow({QStringLiteral("Figure"), QStringLiteral("Tolvex CPU"), QStringLiteral("Tolvex wall"),
              QStringLiteral("Bare CPU"), QStringLiteral("Ratio"), QStringLiteral("Goal"), QStringLiteral("Met")});
    for (const Figure& figure : readFigures(files)) {
        const Goal* goal = nullptr;
        QRegularExpressionMatch match;
        for (const Goal& candidate : goals()) {
            match = QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(candidate.pattern))).match(figure.name);
            if (match.hasMatch()) {
                goal = &candidate;
                break;
            }
        }
        const QString title = goal ? QString::fromLatin1(goal->title).replace(QLatin1String("%1"), match.captured(1))
                                   : figure.name;

        QStringList cells{title};
        QStringList goalTexts;
        bool met = true;
        std::optional<double> ratio;
        if (figure.tolvex && figure.tolvex->mebibytes) {
            const double mebibytes = *figure.tolvex->mebibytes;
            cells << number(mebibytes) + QStringLiteral(" MiB") << QStringLiteral("-") << QStringLiteral("-");
            if (goal && goal->mebibytes) {
                goalTexts << QStringLiteral("<=%1 MiB").arg(*goal->mebibytes);
                met = met && mebibytes <= *goal->mebibytes;
            }
        } else if (figure.tolvex && figure.tolvex->bytesPerRow) {
            const double bytes = *figure.tolvex->bytesPerRow;
            cells << number(bytes) + QStringLiteral(" B") << QStringLiteral("-")
                  << (figure.bare && figure.bare->bytesPerRow ? number(*figure.bare->bytesPerRow) + QStringLiteral(" B")
                                                               : QStringLiteral("-"));
            if (figure.bare && figure.bare->bytesPerRow && *figure.bare->bytesPerRow > 0)
                ratio = bytes / *figure.bare->bytesPerRow;
            if (goal && goal->bytesPerRow) {
                goalTexts << QStringLiteral("<=%1 B").arg(*goal->bytesPerRow);
                met = met && bytes <= *goal->bytesPerRow;
            }
        } else {
            cells << msText(figure.tolvex)
                  << (figure.tolvex ? number(figure.tolvex->wallMs) + QStringLiteral(" ms") : QStringLiteral("-"))
                  << msText(figure.bare);
            if (figure.tolvex && figure.bare && goal && goal->byWall && figure.bare->wallMs > 0)
                ratio = figure.tolvex->wallMs / figure.bare->wallMs;
            else if (figure.tolvex && figure.bare && figure.bare->cpuMs > 0)
                ratio = figure.tolvex->cpuMs / figure.bare->cpuMs;
            if (goal && goal->ratio) {
                goalTexts << QStringLiteral("<=%1x").arg(*goal->ratio);
                met = met && ratio && *ratio <= *goal->ratio;
            }
            if (goal && goal->milliseconds) {
                goalTexts << QString::fromLatin1(goal->byWall ? "<=%1 ms wall" : "<=%1 ms").arg(*goal->milliseconds);
                met = met && figure.tolvex
                      && (goal->byWall ? figure.tolvex->wallMs : figure.tolvex->cpuMs) <= *goal->milliseconds;
            }
        }
        cells << (ratio ? number(*ratio) + QStringLiteral("x") : QStringLiteral("-"));
        cells << (goalTexts.isEmpty() ? QStringLiteral("-") : goalTexts.join(QStringLiteral(", ")));
        const bool judged = !goalTexts.isEmpty() && figure.tolvex;
        cells << (!judged ? QStringLiteral("-") : met ? QStringLiteral("yes") : QStringLiteral("NO"));
        if (judged && !met)
            ++missed;
        printRow(cells);
        // A run that did not measure leaves the figure unjudged or judged on
        // the other runs alone: either way it has failed.
        for (const QString& failure : figure.failures)
            std::printf("    FAILED %s\n", qPrintable(failure));
        if (!figure.failures.isEmpty() && !(judged && !met))
            ++missed;
    }
    std::printf("\n%d figure(s) missed their goal or failed.\n", missed);
    return 0;
}
