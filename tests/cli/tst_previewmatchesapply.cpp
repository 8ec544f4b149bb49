// The preview tells exactly what --apply then does: random small lists of
// files (some listed twice, some gone) and random rule chains on real files,
// the preview's verdict for every row against what the apply did with it.

#include "cli/CommandLine.h"
#include "runs/RenameRun.h"
#include "tests/disk/DiskFixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <random>

namespace {

// Runs tolvex-rename in this process on the paths, in `folder`; the verdict
// of each row in order: "renames", "fails" or "unchanged".
QStringList verdicts(const QByteArray& folder, std::vector<std::string> arguments, const QByteArrayList& paths)
{
    arguments.insert(arguments.begin(), {"tolvex-rename", "-0", "--json"});
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    const ParsedCommandLine parsed = parseCommandLine(int(argv.size()), argv.data());
    if (!std::holds_alternative<Invocation>(parsed))
        qFatal("not a run");
    QByteArray input;
    for (const QByteArray& path : paths)
        input += path + '\0';
    char* output = nullptr;
    std::size_t size = 0;
    std::FILE* in = fmemopen(input.data(), std::size_t(input.size()), "r");
    std::FILE* out = open_memstream(&output, &size);
    std::FILE* errors = std::fopen("/dev/null", "w");
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    if (chdir(folder) != 0)
        qFatal("no folder");
    runRename(std::get<Invocation>(parsed), in, out, errors);
    std::fclose(in);
    std::fclose(out);
    std::fclose(errors);
    if (chdir(here) != 0)
        qFatal("no way back");

    QStringList seen;
    for (const QByteArray& line : QByteArray(output, qsizetype(size)).split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (object.contains("renamed_to"))
            seen << "renames";
        else if (object.value("outcome") == "failed")
            seen << "fails";
        else if (object.contains("outcome"))
            seen << object.value("outcome").toString();
    }
    std::free(output);
    return seen;
}

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& from)
{
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

} // namespace

class TestPreviewMatchesApply : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomListsAndRules()
    {
        const std::vector<QByteArray> names{"0", "1", "2", "3", "a", "b", "A", "ab", "xab", "a.txt", "b.txt", "B.TXT"};
        const std::vector<std::vector<std::string>> rules{
            {"--remove-first", "9", "--mask", "", "--serial", "0"},
            {"--remove-first", "9", "--mask", "", "--serial", "1"},
            {"--remove-first", "9", "--mask", "", "--serial", "-1"},
            {"--remove-first", "1"},
            {"--remove-last", "1"},
            {"--add", "x"},
            {"--place", "suffix", "--add", "b"},
            {"--add", "sub/"},
            {"--replace", "a", "--with", "b"},
            {"--replace", "b", "--with", "a"},
            {"--upper"},
            {"--lower"},
            {"--remove-chars", "x"},
        };
        std::mt19937 random(12092026);
        for (int run = 0; run < 300; ++run) {
            fixture::ScratchFolder folder;
            QByteArrayList layout{"sub/"};
            for (const QByteArray& name : names) {
                if (random() % 2)
                    layout << name;
            }
            QVERIFY(fixture::makeTree(folder.root(), layout));
            QByteArrayList listed;
            const int count = std::uniform_int_distribution(1, 6)(random);
            // Some twice, some not on disk, some spelled another way.
            const std::vector<QByteArray> spellings{"", "", "./", "sub/../"};
            for (int i = 0; i < count; ++i)
                listed << pick(random, spellings) + pick(random, names);
            std::vector<std::string> chain;
            const int steps = std::uniform_int_distribution(1, 3)(random);
            for (int i = 0; i < steps; ++i) {
                const std::vector<std::string>& rule = pick(random, rules);
                chain.insert(chain.end(), rule.begin(), rule.end());
            }
            if (random() % 4 == 0)
                chain.insert(chain.begin(), "-e");
            if (random() % 3 == 0)
                chain.push_back("--resolve");

            const QStringList preview = verdicts(folder.root(), chain, listed);
            std::vector<std::string> applying = chain;
            applying.push_back("--apply");
            const QStringList applied = verdicts(folder.root(), applying, listed);
            QString chainText;
            for (const std::string& argument : chain)
                chainText += QString::fromStdString(argument) + ' ';
            QVERIFY2(preview == applied,
                     qPrintable(QStringLiteral("run %1: %2on %3 in %4: preview %5, apply %6")
                                    .arg(run)
                                    .arg(chainText, QString::fromLatin1(listed.join(' ')),
                                         QString::fromLatin1(layout.join(' ')), preview.join(' '),
                                         applied.join(' '))));
        }
    }
};

QTEST_GUILESS_MAIN(TestPreviewMatchesApply)
#include "tst_previewmatchesapply.moc"
