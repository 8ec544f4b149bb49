#include "cli/CommandLine.h"

#include "cli/OptionTable.h"

#include <getopt.h>

#include <string_view>
#include <vector>

namespace {

// getopt_long's view of the table: each option answers with its index.
std::vector<option> longOptions()
{
    std::vector<option> longs;
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        const OptionSpec& entry = kOptions[i];
        longs.push_back({entry.name, entry.valueName ? required_argument : no_argument, nullptr,
                         kFirstOptionCode + int(i)});
    }
    longs.push_back({nullptr, 0, nullptr, 0});
    return longs;
}

// The short options, as getopt takes them: "-" first, so that files come in
// their place among the options, and ":" to be told of a missing value.
std::string shortOptions()
{
    std::string shorts = "-:";
    for (const OptionSpec& entry : kOptions) {
        if (entry.shortName) {
            shorts += entry.shortName;
            if (entry.valueName)
                shorts += ':';
        }
    }
    return shorts;
}

// getopt_long takes any unambiguous beginning of a long name; a renamer
// takes only whole names, so that "--app" never means "--apply".
void checkSpelledWhole(std::string_view argument, const OptionSpec& entry)
{
    if (!argument.starts_with("--"))
        return;
    const std::string_view word = argument.substr(2, argument.find('=') - 2);
    if (word != entry.name)
        throw CommandLineError("unknown option --" + std::string(word) + " (--" + entry.name + "?)");
}

const OptionSpec* optionOfCode(int code)
{
    if (code >= kFirstOptionCode)
        return &kOptions[std::size_t(code - kFirstOptionCode)];
    for (const OptionSpec& entry : kOptions) {
        if (entry.shortName == code)
            return &entry;
    }
    return nullptr;
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv)
{
    const std::vector<option> longs = longOptions();
    const std::string shorts = shortOptions();
    // getopt keeps its place in globals; 0 starts it afresh.
    optind = 0;
    opterr = 0;
    auto* arguments = const_cast<char* const*>(argv);
    CommandLineReading reading;
    try {
        for (int code; (code = getopt_long(argc, arguments, shorts.c_str(), longs.data(), nullptr)) != -1;) {
            const std::string_view current = argv[optind - 1];
            if (code == 1) {
                reading.file(optarg);
            } else if (const OptionSpec* entry = optionOfCode(code)) {
                if (code >= kFirstOptionCode)
                    checkSpelledWhole(current, *entry);
                if (reading.awaitedWith && std::string_view(entry->name) != "with")
                    throw CommandLineError(reading.awaitedWith->opening + " needs --with right after it");
                entry->read(reading, optarg ? std::string(optarg) : std::string());
            } else if (code == ':') {
                throw CommandLineError("option " + std::string(current) + " needs a value");
            } else if (optopt >= kFirstOptionCode) {
                throw CommandLineError("option --" + std::string(optionOfCode(optopt)->name) + " takes no value");
            } else {
                const std::string unknown = optopt ? std::string("-") + char(optopt) : std::string(current);
                throw CommandLineError("unknown option " + unknown);
            }
            if (reading.shown)
                return ShowText{*reading.shown};
        }
        // What follows "--" is files only.
        for (int i = optind; i < argc; ++i)
            reading.file(argv[i]);
        return reading.finish();
    } catch (const CommandLineError& error) {
        return UsageError{error.what()};
    }
}
