#pragma once

#include "rules/RuleCommand.h"
#include "runs/Invocation.h"

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A mistake on the command line; the message names the option.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command line as read so far, in order: the settings in force when a
// rule comes are the ones it takes.
struct CommandLineReading {
    Invocation run;
    PlacementChoice place;  // for --add, --serial and --date
    PlacementChoice dest;   // for --copy and --move
    std::string mask = "0000";
    DateTimeSource dateOf = DateTimeSource::CurrentTime;
    std::optional<std::string> pendingMatch;  // a --replace waiting for its --with
    std::optional<std::string> trailingSetting;  // a setting no rule has taken yet
    bool dryRun = false;
    std::optional<std::string> shown;         // --help or --version: print this and stop

    void file(std::string_view path);
    void setting(const char* option, const std::string& value);
    void rule(RuleCommand rule);
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
    int rule = -1;  // the RuleCommand alternative the option adds, if any
};

// Every option of tolvex-rename, in the order --help lists them. A rule of
// the window is one entry here.
extern const std::span<const OptionSpec> kOptions;

// getopt_long hands option i of the table back as this code + i.
inline constexpr int kFirstOptionCode = 0x100;

std::string helpText();
