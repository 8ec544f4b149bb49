#include "cli/OptionTable.h"

#include "Version.h"
#include "cli/OptionValues.h"
#include "media/HeldValues.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <variant>

namespace {

template <typename Rule, typename Variant>
struct AlternativeIndex;

template <typename Rule, typename... Alternatives>
struct AlternativeIndex<Rule, std::variant<Alternatives...>> {
    static constexpr int value = [] {
        int index = 0;
        const bool found = ((std::is_same_v<Rule, Alternatives> || (++index, false)) || ...);
        return found ? index : -1;
    }();
};

template <typename Rule>
constexpr int ruleIndex = AlternativeIndex<Rule, CommandLineRule>::value;

// An option that adds a rule made by `make` from the reading and the value.
template <typename Rule, auto make>
constexpr OptionSpec ruleOption(const char* name, const char* valueName, const char* description)
{
    static_assert(ruleIndex<Rule> >= 0);
    return {name, 0, valueName, OptionGroup::Rules, description,
            [](CommandLineReading& reading, const std::string& value) { reading.rule(Rule(make(reading, value))); },
            ruleIndex<Rule>};
}

// An option's name as a template argument, so that the functions of its
// entry can name it.
template <std::size_t Size>
struct OptionName {
    char text[Size];
    constexpr OptionName(const char (&name)[Size]) { std::copy_n(name, Size, text); }
};

// An option that begins a rule the --with right after it completes: `make`
// builds the rule from the reading, the option's value and the --with's.
template <typename Rule, OptionName name, auto make>
constexpr OptionSpec ruleAwaitingWith(const char* valueName, const char* description)
{
    static_assert(ruleIndex<Rule> >= 0);
    return {name.text, 0, valueName, OptionGroup::Rules, description,
            [](CommandLineReading& reading, const std::string& value) {
                reading.awaitedWith = AwaitedWith{
                    std::string("--") + name.text + " " + value, value,
                    [](CommandLineReading& r, const std::string& v, const std::string& with) {
                        return CommandLineRule(Rule(make(r, v, with)));
                    }};
            },
            ruleIndex<Rule>};
}

using Reading = CommandLineReading;

// A field --tag reads; the mask pads only a track number.
HeldField heldField(const std::string& field, const std::string& mask)
{
    if (const std::string error = heldFieldError(field); !error.empty())
        throw CommandLineError("--tag " + field + ": " + error);
    return {field, field == "track" ? mask : std::string()};
}

constexpr std::array options{
    OptionSpec{"null", '0', nullptr, OptionGroup::Files,
               "Also read file paths from standard input, each ended by a NUL byte (as find -print0 writes "
               "them).",
               [](Reading& r, const std::string&) { r.run.readNulSeparated = true; }},
    OptionSpec{"include-extension", 'e', nullptr, OptionGroup::Files,
               "The rules see each name with its extension, like the window's \"Include File Extension\".",
               [](Reading& r, const std::string&) { r.run.form = EntryForm::Joined; }},
    OptionSpec{"from-json", 0, "file", OptionGroup::Files,
               "Take the files and their new names from file, in the JSON lines --json prints (\"file\" and "
               "\"new_name\" of each line), as edited by a script or a person; no rules then.",
               [](Reading& r, const std::string& v) { r.run.fromJson = fileNamed("from-json", v); }},
    OptionSpec{"recursive", 'R', nullptr, OptionGroup::Files,
               "Rename the files in every folder below the folders given, folder by folder, each folder's files "
               "in the order of --sort (by name where it is none). Links to folders are never followed. Without "
               "-R or --dirs a folder given is reported and keeps its name.",
               [](Reading& r, const std::string&) { r.run.tree.recursive = true; }},
    OptionSpec{"dirs", 0, nullptr, OptionGroup::Files,
               "Rename folders too: each folder given, and with -R every folder below it, after everything in "
               "it, the deepest first. Their whole names are the rules' to change.",
               [](Reading& r, const std::string&) { r.run.tree.folders = true; }},
    OptionSpec{"include", 0, "glob", OptionGroup::Files,
               "With -R, rename only what the walk finds whose name matches glob (as fnmatch matches it; may be "
               "given again, for any of them). Every folder is still walked.",
               [](Reading& r, const std::string& v) { r.run.tree.include.push_back(v); }},
    OptionSpec{"exclude", 0, "glob", OptionGroup::Files,
               "With -R, leave out what the walk finds whose name matches glob (may be given again); a folder "
               "left out is not walked.",
               [](Reading& r, const std::string& v) { r.run.tree.exclude.push_back(v); }},
    OptionSpec{"hidden", 0, nullptr, OptionGroup::Files,
               "With -R, walk and rename names that begin with a dot too; without it the walk passes them over.",
               [](Reading& r, const std::string&) { r.run.tree.hidden = true; }},
    OptionSpec{"one-file-system", 0, nullptr, OptionGroup::Files,
               "With -R, stay on the file system of each folder given: a folder mounted below it is not walked.",
               [](Reading& r, const std::string&) { r.run.tree.oneFileSystem = true; }},
    OptionSpec{"sort", 0, "order", OptionGroup::Files,
               "The order of the files, in which serial numbers count and the files are renamed: natural (by "
               "name, numbers as numbers: IMG_9 before IMG_10), name (by name, byte by byte), modified (the "
               "oldest first) or none (as given; the default). Names tie by their folders.",
               [](Reading& r, const std::string& v) { r.run.order = rowOrder(v); }},
    OptionSpec{"place", 0, "where", OptionGroup::Settings,
               "Where --add, --tag, --serial and --date put their text in the rules that follow: prefix (the start), "
               "suffix (the end), or a number N, after the Nth character. Starts as prefix.",
               [](Reading& r, const std::string& v) { r.setting("place", v); r.place = placementOf("place", v); }},
    OptionSpec{"dest", 0, "where", OptionGroup::Settings,
               "Where --copy and --move put the range in the rules that follow: prefix, suffix or a number N. "
               "Starts as prefix.",
               [](Reading& r, const std::string& v) { r.setting("dest", v); r.dest = placementOf("dest", v); }},
    OptionSpec{"mask", 0, "mask", OptionGroup::Settings,
               "The serial numbers of the --serial rules that follow, and the track numbers of --tag track, "
               "have at least as many digits as the mask has characters. Starts as 0000.",
               [](Reading& r, const std::string& v) { r.setting("mask", v); r.mask = v; }},
    OptionSpec{"date-of", 0, "time", OptionGroup::Settings,
               "The time the --date rules that follow insert: current, created, modified, accessed, or taken: "
               "a picture's capture time from its Exif data, as the camera's clock showed it, or a movie's "
               "(MP4, MOV, 3GP, M4V) from its QuickTime creationdate, else its header's creation time in local "
               "time; a file without one keeps its name. Starts as current.",
               [](Reading& r, const std::string& v) { r.setting("date-of", v); r.dateOf = dateSource(v); }},
    OptionSpec{"match-case", 0, nullptr, OptionGroup::Settings,
               "The --replace and --remove-chars rules that follow match case exactly, where they otherwise "
               "match in any case.",
               [](Reading& r, const std::string&) { r.setting("match-case"); r.matchCase = true; }},
    OptionSpec{"serial-per-folder", 0, nullptr, OptionGroup::Settings,
               "The --serial rules that follow count the files of each folder apart, each folder from its start "
               "in the order of the files (see --sort).",
               [](Reading& r, const std::string&) { r.setting("serial-per-folder"); r.serialPerFolder = true; }},
    ruleOption<LowerCaseRule, [](Reading&, const std::string&) { return LowerCaseRule{}; }>(
        "lower", nullptr, "Lower Case: A to Z become a to z."),
    ruleOption<UpperCaseRule, [](Reading&, const std::string&) { return UpperCaseRule{}; }>(
        "upper", nullptr, "Upper Case: a to z become A to Z."),
    ruleOption<TitleCaseRule, [](Reading&, const std::string&) { return TitleCaseRule{}; }>(
        "title", nullptr, "Title Case: the first character upper case, the rest lower case."),
    ruleOption<UnicodeCaseRule, [](Reading&, const std::string& v) { return UnicodeCaseRule{unicodeCase(v)}; }>(
        "case", "style",
        "Change case by Unicode's rules, for every letter (ÉCOLE to école, straße to STRASSE): lower, upper, "
        "title (each word's first letter upper case, the rest lower case) or sentence (the first letter only). "
        "--lower, --upper and --title change A to Z alone."),
    ruleOption<NormalFormRule, [](Reading&, const std::string& v) { return NormalFormRule{normalForm(v)}; }>(
        "normalize", "form",
        "Write the name in Unicode normal form nfc (é as one character) or nfd (e and a combining accent)."),
    ruleOption<AsciiSpellingRule, [](Reading&, const std::string&) { return AsciiSpellingRule{}; }>(
        "ascii", nullptr,
        "Spell the name in ASCII: Ærøskøbing to AEroskobing, Straße to Strasse, Москва to Moskva. A character "
        "without an ASCII spelling stays."),
    ruleOption<RemoveFirstRule, [](Reading&, const std::string& v) { return RemoveFirstRule{number("remove-first", v)}; }>(
        "remove-first", "n", "Remove the first n characters."),
    ruleOption<RemoveLastRule, [](Reading&, const std::string& v) { return RemoveLastRule{number("remove-last", v)}; }>(
        "remove-last", "n", "Remove the last n characters."),
    ruleOption<RemoveFromToRule, [](Reading&, const std::string& v) {
        const auto [from, to] = rangeOf("remove-range", v);
        return RemoveFromToRule{from, to};
    }>("remove-range", "from:to", "Remove the characters from position from to position to."),
    ruleOption<RemoveCharsRule, [](Reading& r, const std::string& v) { return RemoveCharsRule{v, r.matchCase}; }>(
        "remove-chars", "text", "Remove every occurrence of text, in any case (see --match-case)."),
    ruleOption<RemoveAllNumbersRule, [](Reading&, const std::string&) { return RemoveAllNumbersRule{}; }>(
        "remove-numbers", nullptr, "Remove every digit."),
    ruleOption<RemoveAllSymbolsRule, [](Reading&, const std::string&) { return RemoveAllSymbolsRule{}; }>(
        "remove-symbols", nullptr, "Remove blanks and the usual punctuation."),
    ruleOption<RemoveAllNonCharactersRule,
               [](Reading&, const std::string&) { return RemoveAllNonCharactersRule{}; }>(
        "remove-non-characters", nullptr, "Remove digits, then blanks and punctuation."),
    ruleAwaitingWith<ReplaceRule, "replace", [](Reading& r, const std::string& match, const std::string& with) {
        return ReplaceRule{match, with, r.matchCase};
    }>("match", "Replace every occurrence of match, in any case (see --match-case), by the text of the --with that "
                "must follow."),
    ruleAwaitingWith<PatternRule, "regex", [](Reading&, const std::string& pattern, const std::string& with) {
        return patternRule(pattern, with);
    }>("pattern",
       "Replace every match of the Perl-style pattern by the text of the --with that must follow, in which $1 or "
       "${1} stands for what the first group matched, $name or ${name} for the group of that name, $0 for the "
       "whole match and $$ for a dollar sign. Case counts unless the pattern says (?i); a byte that is no "
       "UTF-8 matches nothing and stays. A file whose name the pattern takes too many steps on keeps its name and "
       "is reported."),
    OptionSpec{"with", 0, "text", OptionGroup::Rules, "The replacement of the --replace or --regex just before it.",
               [](Reading& r, const std::string& v) { r.completeWith(v); }},
    ruleOption<AddCharactersRule, [](Reading& r, const std::string& v) { return AddCharactersRule{v, r.place}; }>(
        "add", "text", "Add text (see --place)."),
    ruleOption<AddCharactersRule,
               [](Reading& r, const std::string& v) { return AddCharactersRule{{}, r.place, heldField(v, r.mask)}; }>(
        "tag", "field",
        "Add a value the file holds (see --place): artist, album, title, track (see --mask), disc, year or genre "
        "from its audio tags (MP3, FLAC, Ogg, Opus, M4A, WAV), or exif:KEY, any Exif, IPTC or XMP key of a "
        "picture as Exiv2 prints it (exif:Exif.Image.Model). A / or NUL in a value becomes _; a file without "
        "the value keeps its name."),
    ruleOption<AddSerialNumberRule, [](Reading& r, const std::string& v) {
        return AddSerialNumberRule{number("serial", v), r.mask, r.place, r.serialPerFolder};
    }>("serial", "start",
       "Add a serial number: start for the first file, one more for each file after it (see --place, --mask, "
       "--serial-per-folder)."),
    ruleOption<AddDateTimeRule,
               [](Reading& r, const std::string& v) { return AddDateTimeRule{r.dateOf, datePattern(v), r.place}; }>(
        "date", "format",
        "Add a date and time: MMDDYY, MMDDYYYY, DDMMYY, DDMMYYYY, YYMMDD, YYYYMMDD, YYYYMMDDHHMMSS or "
        "YYYYMMDDHHMMSSZZZ (see --place, --date-of)."),
    ruleOption<CopyRule, [](Reading& r, const std::string& v) {
        const auto [from, to] = rangeOf("copy", v);
        return CopyRule{from, to, r.dest};
    }>("copy", "from:to", "Copy the characters from position from to position to (see --dest)."),
    ruleOption<MoveRule, [](Reading& r, const std::string& v) {
        const auto [from, to] = rangeOf("move", v);
        return MoveRule{from, to, r.dest};
    }>("move", "from:to", "Move the characters from position from to position to (see --dest)."),
    OptionSpec{"dry-run", 'n', nullptr, OptionGroup::Running,
               "Only show what would be done: each file with its new name, and why it could not have it. This "
               "is what happens without --apply.",
               [](Reading& r, const std::string&) { r.dryRun = true; }},
    OptionSpec{"apply", 0, nullptr, OptionGroup::Running,
               "Rename the files. Without it nothing is touched: each file is shown with its new name, and why "
               "it could not have it.",
               [](Reading& r, const std::string&) { r.run.apply = true; }},
    OptionSpec{"resolve", 0, nullptr, OptionGroup::Running,
               "Order the renames so that each new name is free when its turn comes: a chain a->b, b->c runs "
               "b->c first, and a cycle (a swap) goes through a temporary name. Nothing is replaced still.",
               [](Reading& r, const std::string&) { r.run.resolve = true; }},
    OptionSpec{"edit", 0, nullptr, OptionGroup::Running,
               "Open the proposed names, one a line, in $VISUAL or $EDITOR (else vi), and take the names as "
               "saved: the same number of lines, none empty. A name a line cannot hold is written as $'...', "
               "with the escapes of the output.",
               [](Reading& r, const std::string&) { r.run.edit = true; }},
    OptionSpec{"journal", 0, "file", OptionGroup::Running,
               "With --apply, write every rename to file before it is made, so that --undo can take it back "
               "even after a crash; with --undo, the journal of the undo itself. Without it --apply writes its "
               "journal to $XDG_STATE_HOME/tolvex-rename/ (~/.local/state/tolvex-rename/), which keeps the "
               "newest 100.",
               [](Reading& r, const std::string& v) { r.run.journal = fileNamed("journal", v); }},
    OptionSpec{"no-journal", 0, nullptr, OptionGroup::Running, "With --apply, write no journal at all.",
               [](Reading& r, const std::string&) { r.run.noJournal = true; }},
    OptionSpec{"undo", 0, "file", OptionGroup::Running,
               "Rename the files of a journal back, last first; last names the newest journal of the state "
               "folder not yet undone.",
               [](Reading& r, const std::string& v) { r.run.undo = fileNamed("undo", v); }},
    OptionSpec{"history", 0, nullptr, OptionGroup::Running,
               "List the journals of the state folder, the newest first: when each run was, its working folder, "
               "how many files it renamed and whether it was undone.",
               [](Reading& r, const std::string&) { r.run.history = true; }},
    OptionSpec{"json", 0, nullptr, OptionGroup::Running, "Print one JSON object a line instead of text.",
               [](Reading& r, const std::string&) { r.run.json = true; }},
    OptionSpec{"verbose", 'v', nullptr, OptionGroup::Running,
               "With --apply, print a line for every file renamed or left as it was, not only for those that "
               "could not be renamed.",
               [](Reading& r, const std::string&) { r.run.verbose = true; }},
    OptionSpec{"help", 'h', nullptr, OptionGroup::Program, "Print this help and stop.",
               [](Reading& r, const std::string&) { r.shown = helpText(); }},
    OptionSpec{"version", 'V', nullptr, OptionGroup::Program, "Print the version and stop.",
               [](Reading& r, const std::string&) { r.shown = "tolvex-rename " TOLVEX_VERSION "\n"; }},
};

constexpr bool offersEveryRule()
{
    for (std::size_t alternative = 0; alternative < std::variant_size_v<RuleCommand>; ++alternative) {
        if (std::none_of(options.begin(), options.end(),
                         [&](const OptionSpec& entry) { return entry.rule == int(alternative); }))
            return false;
    }
    return true;
}
// Each rule has its option: a new rule without one does not build.
static_assert(offersEveryRule(), "a rule of CommandLineRule has no option in tolvex-rename");

constexpr const char* kDescription =
    "Renames files by the rules of Tolvex File Renamer, in the order they are given on the command line, and "
    "never replaces a file. Without --apply it only shows what it would do.";

constexpr const char* kEpilogue = R"(
Names are shown as the shell would read them back: as they are, or in
single quotes, or as $'...' with control characters and bytes that are not
characters written as escapes (\n, \xff), so that no name looks like two.

Exit status: 0 when every file was (or would be) renamed, 1 when some could
not be or the journal or the report could not be written, 2 for a usage
error or a number that is not a valid integer; nothing is renamed then.

Examples:
  tolvex-rename --replace IMG_ --with "Holiday " *.jpg
  tolvex-rename --lower --place suffix --mask 000 --serial 1 --apply *.JPG
  tolvex-rename --sort natural --remove-numbers --place suffix --mask 00 --serial 1 scan*.png
  tolvex-rename --regex 'IMG_(\d+)' --with 'photo-$1' *.jpg
  tolvex-rename --case title --ascii --normalize nfc *
  tolvex-rename --sort natural --serial-per-folder --mask 000 --serial 1 */*.jpg
  tolvex-rename --add _ --date-of taken --date YYYYMMDDHHMMSS --apply *.jpg *.mp4 *.mov
  tolvex-rename --remove-first 255 --place suffix --mask 00 --tag track --add ' - ' --tag title *.mp3
  tolvex-rename --add _ --tag exif:Exif.Image.Model --apply *.jpg
  tolvex-rename --remove-first 9 --mask '' --serial 2 --resolve --apply 1 2 3
  tolvex-rename --json --lower *.JPG > plan; $EDITOR plan
  tolvex-rename --from-json plan --apply --journal undo.log
  find . -name '*.txt' -print0 | tolvex-rename -0 --remove-range 1:4 --apply --journal undo.log
  tolvex-rename --undo undo.log --apply
  tolvex-rename -R --dirs --exclude .git --case lower --apply Photos
  tolvex-rename --undo last --apply
)";

constexpr std::size_t kWidth = 79;
constexpr std::size_t kDescriptionColumn = 29;

// `text` in lines of at most kWidth, the first after `first` and every line
// indented by `indent` blanks.
std::string wrapped(std::string first, std::string_view text, std::size_t indent)
{
    std::string out = std::move(first);
    std::size_t column = out.size();
    if (column >= indent) {
        out.erase(out.find_last_not_of(' ') + 1);
        out += '\n';
        column = 0;
    }
    out.append(indent - column, ' ');
    column = indent;
    bool lineStart = true;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        const std::string_view word = text.substr(pos, end - pos);
        if (!lineStart && column + 1 + word.size() > kWidth) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStart = false;
        pos = end + 1;
    }
    return out + '\n';
}

} // namespace

const std::span<const OptionSpec> kOptions{options};

void CommandLineReading::file(std::string_view path)
{
    if (path.empty())
        throw CommandLineError("an empty file name names no file");
    run.files.emplace_back(path);
}

void CommandLineReading::setting(const char* option, const std::string& value)
{
    trailingSetting = std::string("--") + option + " " + value;
}

void CommandLineReading::setting(const char* option)
{
    trailingSetting = std::string("--") + option;
}

void CommandLineReading::rule(CommandLineRule rule)
{
    trailingSetting.reset();
    run.rules.push_back(std::move(rule));
}

void CommandLineReading::completeWith(const std::string& with)
{
    if (!awaitedWith)
        throw CommandLineError("--with " + with + " comes without a --replace or --regex before it");
    const AwaitedWith begun = *std::exchange(awaitedWith, std::nullopt);
    rule(begun.complete(*this, begun.value, with));
}

Invocation CommandLineReading::finish() const
{
    if (awaitedWith)
        throw CommandLineError(awaitedWith->opening + " needs --with right after it");
    if (dryRun && run.apply)
        throw CommandLineError("--dry-run and --apply ask for opposite things");
    if (trailingSetting)
        throw CommandLineError(*trailingSetting + " comes after the last rule, so no rule would take it");
    if (!run.undo.empty() && (!run.rules.empty() || !run.files.empty() || run.readNulSeparated))
        throw CommandLineError("--undo takes no files and no rules");
    if (!run.undo.empty() && (run.resolve || !run.fromJson.empty()))
        throw CommandLineError("--undo takes back its journal's renames as they were made");
    if (!run.fromJson.empty() && (!run.rules.empty() || !run.files.empty() || run.readNulSeparated))
        throw CommandLineError("--from-json takes its files and new names from the plan, no files or rules");
    if (!run.undo.empty() && run.order != RowOrder::Given)
        throw CommandLineError("--undo takes the journal's renames back last first, in no other order");
    if (!run.journal.empty() && !run.apply)
        throw CommandLineError("--journal records renames, and only --apply makes them");
    if (!run.journal.empty() && run.noJournal)
        throw CommandLineError("--journal and --no-journal ask for opposite things");
    const TreeChoice& tree = run.tree;
    if (!tree.recursive && (tree.hidden || tree.oneFileSystem || !tree.include.empty() || !tree.exclude.empty()))
        throw CommandLineError("--include, --exclude, --hidden and --one-file-system choose what -R finds");
    if (tree.recursive && (!run.undo.empty() || !run.fromJson.empty()))
        throw CommandLineError("-R walks the folders given, and --undo and --from-json take no files");
    if ((run.edit || tree.folders) && !run.undo.empty())
        throw CommandLineError("--undo takes back its journal's renames as they were made");
    if (run.history && (run.apply || run.edit || !run.undo.empty() || !run.fromJson.empty() || !run.rules.empty()
                        || !run.files.empty() || run.readNulSeparated))
        throw CommandLineError("--history lists the journals, and takes nothing else");
    return run;
}

std::string helpText()
{
    constexpr std::array<std::pair<OptionGroup, const char*>, 5> headings{{
        {OptionGroup::Files, "Files:"},
        {OptionGroup::Settings, "Settings for the rules that follow them:"},
        {OptionGroup::Rules, "Rules, run in the order given:"},
        {OptionGroup::Running, "Renaming:"},
        {OptionGroup::Program, "The program:"},
    }};
    std::string text = "Usage: tolvex-rename [OPTION]... [FILE]...\n";
    text += wrapped({}, kDescription, 0);
    for (const auto& [group, heading] : headings) {
        text += '\n';
        text += heading;
        text += '\n';
        for (const OptionSpec& entry : options) {
            if (entry.group != group)
                continue;
            std::string names = entry.shortName ? std::string("  -") + entry.shortName + ", --" : "      --";
            names += entry.name;
            if (entry.valueName)
                (names += ' ') += entry.valueName;
            text += wrapped(names + "  ", entry.description, kDescriptionColumn);
        }
    }
    return text + kEpilogue;
}
