#include "cli/Completion.h"

#include "cli/OptionTable.h"

#include <algorithm>
#include <string_view>

namespace {

// The words an option's value is one of; empty for any text.
std::string_view choicesOf(std::string_view option)
{
    constexpr std::pair<std::string_view, std::string_view> choices[] = {
        {"sort", "natural name modified none"},
        {"place", "prefix suffix"},
        {"dest", "prefix suffix"},
        {"date-of", "current created modified accessed taken"},
        {"case", "lower upper title sentence"},
        {"normalize", "nfc nfd"},
        {"date", "MMDDYY MMDDYYYY DDMMYY DDMMYYYY YYMMDD YYYYMMDD YYYYMMDDHHMMSS YYYYMMDDHHMMSSZZZ"},
        {"tag", "artist album title track disc year genre exif:"},
        {"undo", "last"},
    };
    for (const auto& [name, words] : choices) {
        if (name == option)
            return words;
    }
    return {};
}

bool takesFile(const OptionSpec& option)
{
    return option.valueName && std::string_view(option.valueName) == "file";
}

// The description up to its first full stop, for a line of a menu.
std::string summaryOf(const OptionSpec& option)
{
    const std::string_view text = option.description;
    std::size_t stop = text.size() - 1;
    for (const std::string_view end : {". ", ": ", " ("})
        stop = std::min(stop, text.find(end));
    return std::string(text.substr(0, stop));
}

std::string replaced(std::string text, std::string_view what, std::string_view with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

std::string singleQuoted(const std::string& text)
{
    return "'" + replaced(text, "'", "'\\''") + "'";
}

} // namespace

std::string bashCompletion()
{
    std::string words;
    std::string files;
    std::string text;
    std::string cases;
    for (const OptionSpec& option : kOptions) {
        const std::string name = std::string("--") + option.name;
        words += ' ' + name;
        if (option.shortName)
            words += std::string(" -") + option.shortName;
        if (!option.valueName)
            continue;
        const std::string_view choices = choicesOf(option.name);
        if (takesFile(option) || !choices.empty()) {
            cases += "        " + name + ")\n            COMPREPLY=($(compgen -W '" + std::string(choices) + "' -- \"$cur\")";
            if (takesFile(option))
                cases += " $(compgen -f -- \"$cur\")";
            cases += ")\n            return ;;\n";
        } else {
            (text += text.empty() ? "" : "|") += name;
        }
    }
    return "# bash completion for tolvex-rename, made from its table of options\n"
           "_tolvex_rename()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n"
        + cases + "        " + text
        + ")\n"
          "            return ;;\n"
          "    esac\n"
          "    if [[ $cur == -* ]]; then\n"
          "        COMPREPLY=($(compgen -W '"
        + words.substr(1)
        + "' -- \"$cur\"))\n"
          "        return\n"
          "    fi\n"
          "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
          "}\n"
          "complete -o filenames -F _tolvex_rename tolvex-rename\n";
}

std::string zshCompletion()
{
    std::string text = "#compdef tolvex-rename\n# zsh completion for tolvex-rename, made from its table of options\n\n"
                       "_arguments -s -S \\\n";
    for (const OptionSpec& option : kOptions) {
        // Rules and the patterns of the walk may come again; the rest once.
        const std::string description =
            "[" + replaced(replaced(replaced(summaryOf(option), "\\", "\\\\"), "]", "\\]"), ":", "\\:") + "]";
        std::string value;
        if (option.valueName) {
            const std::string_view choices = choicesOf(option.name);
            value = ":" + std::string(option.valueName) + ":"
                + (takesFile(option) ? (choices.empty() ? "_files" : "{_files; compadd " + std::string(choices) + "}")
                   : choices.empty() ? " "
                                     : "(" + std::string(choices) + ")");
        }
        const std::string name = std::string("--") + option.name + (option.valueName ? "=" : "");
        const std::string argument = option.shortName
            ? "{-" + std::string(1, option.shortName) + "," + name + "}" + singleQuoted(description + value)
            : singleQuoted("*" + name + description + value);
        text += "  " + (option.shortName ? "'*'" + argument : argument) + " \\\n";
    }
    return text + "  '*:file:_files'\n";
}

std::string fishCompletion()
{
    std::string text = "# fish completion for tolvex-rename, made from its table of options\n"
                       "complete -c tolvex-rename -F\n";
    for (const OptionSpec& option : kOptions) {
        text += "complete -c tolvex-rename";
        if (option.shortName)
            text += std::string(" -s ") + option.shortName;
        text += std::string(" -l ") + option.name;
        if (option.valueName) {
            const std::string_view choices = choicesOf(option.name);
            text += takesFile(option) ? " -r -F" : " -x";
            if (!choices.empty())
                text += " -a " + singleQuoted(std::string(choices));
        }
        text += " -d " + singleQuoted(summaryOf(option)) + "\n";
    }
    return text;
}
