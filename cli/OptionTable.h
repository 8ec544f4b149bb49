#pragma once

#include "cli/CommandLineError.h"
#include "extrarules/CommandLineRule.h"
#include "runs/Invocation.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

struct CommandLineReading;

// A rule begun by its option (--replace, --regex) that the --with right
// after it completes.
struct AwaitedWith {
    std::string opening;  // the option and its value, as typed
    std::string value;
    CommandLineRule (*complete)(CommandLineReading& reading, const std::string& value, const std::string& with);
};

// The command line as read so far, in order: the settings in force when a
// rule comes are the ones it takes.
struct CommandLineReading {
    Invocation run;
    PlacementChoice place;  // for --add, --serial and --date
    PlacementChoice dest;   // for --copy and --move
    std::string mask = "0000";
    DateTimeSource dateOf = DateTimeSource::CurrentTime;
    bool matchCase = false;        // for --replace and --remove-chars
    bool serialPerFolder = false;  // for --serial
    std::optional<AwaitedWith> awaitedWith;
    std::optional<std::string> trailingSetting;  // a setting no rule has taken yet
    bool dryRun = false;
    std::optional<std::string> shown;         // --help or --version: print this and stop

    void file(std::string_view path);
    void setting(const char* option, const std::string& value);
    void setting(const char* option);
    void rule(CommandLineRule rule);
    void completeWith(const std::string& with);
    // The run, once every argument is read.
    Invocation finish() const;
};

// The parts of --help, in order.
enum class OptionGroup { Files, Settings, Rules, Running, Program };

struct OptionSpec {
    const char* name;
    char shortName;         // or 0
    const char* valueName;  // nullptr when the option takes no value
    OptionGroup group;
    const char* description;
    void (*read)(CommandLineReading& reading, const std::string& value);
    int rule = -1;  // the CommandLineRule alternative the option adds, if any
};

// Every option of tolvex-rename, in the order --help lists them. A rule is
// one entry here.
extern const std::span<const OptionSpec> kOptions;

// getopt_long hands option i of the table back as this code + i.
inline constexpr int kFirstOptionCode = 0x100;

std::string helpText();
