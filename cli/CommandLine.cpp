#include "cli/CommandLine.h"

#include "Version.h"
#include "text/LetterCase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <map>
#include <optional>

namespace {

struct OptionInfo {
    const char* name;
    const char* shortName;  // or nullptr
    const char* valueName;  // nullptr when the option takes no value
    const char* description;
};

// Every option, in the order --help lists them.
constexpr std::array options{
    OptionInfo{"null", "0", nullptr, "Also read file paths from standard input, each ended by a NUL byte "
                                     "(as find -print0 writes them)."},
    OptionInfo{"include-extension", "e", nullptr, "The rules see each name with its extension, like the "
                                                  "window's \"Include File Extension\"."},
    OptionInfo{"place", nullptr, "where", "Where --add, --serial and --date put their text in the rules that "
                                          "follow: prefix (the start), suffix (the end), or a number N, after "
                                          "the Nth character. Starts as prefix."},
    OptionInfo{"dest", nullptr, "where", "Where --copy and --move put the range in the rules that follow: "
                                         "prefix, suffix or a number N. Starts as prefix."},
    OptionInfo{"mask", nullptr, "mask", "The serial numbers of the --serial rules that follow have at least "
                                        "as many digits as the mask has characters. Starts as 0000."},
    OptionInfo{"date-of", nullptr, "time", "The time the --date rules that follow insert: current, created, "
                                           "modified or accessed. Starts as current."},
    OptionInfo{"lower", nullptr, nullptr, "Lower Case: A to Z become a to z."},
    OptionInfo{"upper", nullptr, nullptr, "Upper Case: a to z become A to Z."},
    OptionInfo{"title", nullptr, nullptr, "Title Case: the first character upper case, the rest lower case."},
    OptionInfo{"remove-first", nullptr, "n", "Remove the first n characters."},
    OptionInfo{"remove-last", nullptr, "n", "Remove the last n characters."},
    OptionInfo{"remove-range", nullptr, "from:to", "Remove the characters from position from to position to."},
    OptionInfo{"remove-chars", nullptr, "text", "Remove every occurrence of text, in any case."},
    OptionInfo{"remove-numbers", nullptr, nullptr, "Remove every digit."},
    OptionInfo{"remove-symbols", nullptr, nullptr, "Remove blanks and the usual punctuation."},
    OptionInfo{"remove-non-characters", nullptr, nullptr, "Remove digits, then blanks and punctuation."},
    OptionInfo{"replace", nullptr, "match", "Replace every occurrence of match, in any case, by the text of "
                                            "the --with that must follow."},
    OptionInfo{"with", nullptr, "text", "The replacement of the --replace just before it."},
    OptionInfo{"add", nullptr, "text", "Add text (see --place)."},
    OptionInfo{"serial", nullptr, "start", "Add a serial number: start for the first file, one more for each "
                                           "file after it (see --place, --mask)."},
    OptionInfo{"date", nullptr, "format", "Add a date and time: MMDDYY, MMDDYYYY, DDMMYY, DDMMYYYY, YYMMDD, "
                                          "YYYYMMDD, YYYYMMDDHHMMSS or YYYYMMDDHHMMSSZZZ (see --place, "
                                          "--date-of)."},
    OptionInfo{"copy", nullptr, "from:to", "Copy the characters from position from to position to "
                                           "(see --dest)."},
    OptionInfo{"move", nullptr, "from:to", "Move the characters from position from to position to "
                                           "(see --dest)."},
    OptionInfo{"apply", nullptr, nullptr, "Rename the files. Without it nothing is touched: each file is "
                                          "shown with its new name, and why it could not have it."},
    OptionInfo{"journal", nullptr, "file", "With --apply, write each rename to file as soon as it is done."},
    OptionInfo{"undo", nullptr, "file", "Rename the files of a journal back, last first."},
    OptionInfo{"json", nullptr, nullptr, "Print one JSON object a line instead of text."},
};

constexpr const char* description =
    "Renames files by the rules of Tolvex File Renamer, in the order they are given on the command line, "
    "and never replaces a file. Without --apply it only shows what it would do.";

constexpr const char* epilogue = R"(
Exit status: 0 when every file was (or would be) renamed, 1 when some could
not be, 2 for a usage error or a number that is not a valid integer.

Examples:
  tolvex-rename --replace IMG_ --with "Holiday " *.jpg
  tolvex-rename --lower --place suffix --serial 1 --mask 000 --apply *.JPG
  find . -name '*.txt' -print0 | tolvex-rename -0 --remove-range 1:4 --apply --journal undo.log
  tolvex-rename --undo undo.log --apply
)";

const OptionInfo* optionNamed(std::string_view name)
{
    for (const OptionInfo& info : options) {
        if (name == info.name || (info.shortName && name == info.shortName))
            return &info;
    }
    return nullptr;
}

// The arguments in order, as bytes: options with their values, and files.
struct RawArguments {
    std::vector<std::pair<std::string, std::string>> options;  // long name, value
    std::vector<std::string> files;
};

// The same reading QCommandLineParser makes of them (each option as a word
// after one or two dashes, a value after '=' or in the next argument, "--"
// ending the options), kept in bytes. The parser has checked them already.
RawArguments scan(int argc, const char* const* argv)
{
    RawArguments raw;
    bool onlyFiles = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (onlyFiles || argument.size() < 2 || argument[0] != '-') {
            raw.files.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
            continue;
        }
        std::string_view word = argument.substr(argument[1] == '-' ? 2 : 1);
        std::optional<std::string> value;
        if (const std::size_t equals = word.find('='); equals != std::string_view::npos) {
            value = std::string(word.substr(equals + 1));
            word = word.substr(0, equals);
        }
        const OptionInfo* info = optionNamed(word);
        if (!info)
            continue;
        if (info->valueName && !value && i + 1 < argc)
            value = std::string(argv[++i]);
        raw.options.emplace_back(info->name, value.value_or(std::string()));
    }
    return raw;
}

std::optional<PlacementChoice> placementOf(const std::string& where)
{
    if (where == "prefix")
        return PlacementChoice{Placement::Prefix, {}};
    if (where == "suffix")
        return PlacementChoice{Placement::Suffix, {}};
    if (where.empty())
        return std::nullopt;
    return PlacementChoice{Placement::AtPosition, where};
}

// "from:to", each side read as a number box's text when the rule runs.
std::optional<std::pair<std::string, std::string>> rangeOf(const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    return std::pair{text.substr(0, colon), text.substr(colon + 1)};
}

std::optional<std::string> datePattern(const std::string& format)
{
    for (std::string_view pattern : kDateTimePatterns) {
        if (std::equal(format.begin(), format.end(), pattern.begin(), pattern.end(),
                       [](char a, char b) { return upperAscii(a) == b; }))
            return std::string(pattern);
    }
    return std::nullopt;
}

std::optional<DateTimeSource> dateSource(const std::string& time)
{
    static const std::map<std::string, DateTimeSource, std::less<>> sources = {
        {"current", DateTimeSource::CurrentTime},
        {"created", DateTimeSource::FileCreated},
        {"modified", DateTimeSource::FileModified},
        {"accessed", DateTimeSource::FileAccessed},
    };
    const auto found = sources.find(time);
    return found == sources.end() ? std::nullopt : std::optional(found->second);
}

// Turns the options, in their order, into the run: the settings in force
// when a rule comes are the ones it takes.
ParsedCommandLine invocationOf(const RawArguments& raw)
{
    Invocation run;
    run.files = raw.files;
    PlacementChoice place;
    PlacementChoice dest;
    std::string mask = "0000";
    DateTimeSource dateOf = DateTimeSource::CurrentTime;
    std::optional<std::string> pendingMatch;

    for (const auto& [name, value] : raw.options) {
        auto bad = [&name = name, &value = value](const char* what) {
            return UsageError{"--" + name + " " + value + ": " + what};
        };
        if (pendingMatch && name != "with")
            return UsageError{"--replace " + *pendingMatch + " needs --with right after it"};

        if (name == "null") {
            run.readNulSeparated = true;
        } else if (name == "include-extension") {
            run.form = EntryForm::Joined;
        } else if (name == "place" || name == "dest") {
            const std::optional<PlacementChoice> where = placementOf(value);
            if (!where)
                return bad("expected prefix, suffix or a position");
            (name == "place" ? place : dest) = *where;
        } else if (name == "mask") {
            mask = value;
        } else if (name == "date-of") {
            const std::optional<DateTimeSource> source = dateSource(value);
            if (!source)
                return bad("expected current, created, modified or accessed");
            dateOf = *source;
        } else if (name == "lower") {
            run.rules.emplace_back(LowerCaseRule{});
        } else if (name == "upper") {
            run.rules.emplace_back(UpperCaseRule{});
        } else if (name == "title") {
            run.rules.emplace_back(TitleCaseRule{});
        } else if (name == "remove-first") {
            run.rules.emplace_back(RemoveFirstRule{value});
        } else if (name == "remove-last") {
            run.rules.emplace_back(RemoveLastRule{value});
        } else if (name == "remove-range" || name == "copy" || name == "move") {
            const auto range = rangeOf(value);
            if (!range)
                return bad("expected from:to");
            if (name == "remove-range")
                run.rules.emplace_back(RemoveFromToRule{range->first, range->second});
            else if (name == "copy")
                run.rules.emplace_back(CopyRule{range->first, range->second, dest});
            else
                run.rules.emplace_back(MoveRule{range->first, range->second, dest});
        } else if (name == "remove-chars") {
            run.rules.emplace_back(RemoveCharsRule{value});
        } else if (name == "remove-numbers") {
            run.rules.emplace_back(RemoveAllNumbersRule{});
        } else if (name == "remove-symbols") {
            run.rules.emplace_back(RemoveAllSymbolsRule{});
        } else if (name == "remove-non-characters") {
            run.rules.emplace_back(RemoveAllNonCharactersRule{});
        } else if (name == "replace") {
            pendingMatch = value;
        } else if (name == "with") {
            if (!pendingMatch)
                return UsageError{"--with " + value + " comes without a --replace before it"};
            run.rules.emplace_back(ReplaceRule{*pendingMatch, value});
            pendingMatch.reset();
        } else if (name == "add") {
            run.rules.emplace_back(AddCharactersRule{value, place});
        } else if (name == "serial") {
            run.rules.emplace_back(AddSerialNumberRule{value, mask, place});
        } else if (name == "date") {
            const std::optional<std::string> pattern = datePattern(value);
            if (!pattern)
                return bad("not one of the date formats");
            run.rules.emplace_back(AddDateTimeRule{dateOf, *pattern, place});
        } else if (name == "apply") {
            run.apply = true;
        } else if (name == "journal") {
            run.journal = value;
        } else if (name == "undo") {
            run.undo = value;
        } else if (name == "json") {
            run.json = true;
        }
    }
    if (pendingMatch)
        return UsageError{"--replace " + *pendingMatch + " needs --with right after it"};
    if (!run.undo.empty() && (!run.rules.empty() || !run.files.empty() || run.readNulSeparated))
        return UsageError{"--undo takes no files and no rules"};
    if (!run.journal.empty() && !run.apply)
        return UsageError{"--journal records renames, and only --apply makes them"};
    return run;
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString::fromUtf8(description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const OptionInfo& info : options) {
        QStringList names{QString::fromLatin1(info.name)};
        if (info.shortName)
            names.prepend(QString::fromLatin1(info.shortName));
        parser.addOption(info.valueName ? QCommandLineOption(names, QString::fromUtf8(info.description),
                                                             QString::fromLatin1(info.valueName))
                                        : QCommandLineOption(names, QString::fromUtf8(info.description)));
    }
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("The files to rename; folders are "
                                                                         "skipped."),
                                 QStringLiteral("[FILE...]"));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments))
        return UsageError{parser.errorText().toStdString()};
    if (parser.isSet(help))
        return ShowText{parser.helpText().toStdString() + epilogue};
    if (parser.isSet(version))
        return ShowText{"tolvex-rename " TOLVEX_VERSION "\n"};
    return invocationOf(scan(argc, argv));
}
