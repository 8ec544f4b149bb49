#pragma once

#include "apply/StepResult.h"

#include <cstdio>
#include <string>
#include <string_view>

// What tolvex-rename prints. In text, one line a file, every name quoted
// as the shell would read it back (see ShellQuoted.h), so that no name can
// look like two or split a line; "→" between old and new where the
// locale's codeset is UTF-8, else "->". In JSON, one object a line, names as
// the bytes they are (see text/JsonLine.h).
class Output {
public:
    struct Style {
        bool json = false;
        bool verbose = false;  // in text, a line for each file renamed or left as it was
        bool utf8 = true;      // the locale's codeset is UTF-8
    };
    Output(std::FILE* out, Style style);

    // One step of a preview: its outcome is "renames", "fails" or
    // "unchanged". `plan` tells where a rename stands in its plan.
    void previewed(std::string_view file, std::string_view newName, StepResult::Outcome outcome,
                   std::string_view reason, std::string_view plan = {});
    // Whether a line goes out for every file of an apply, not only for
    // those that kept their names.
    bool tellsEveryFile() const noexcept { return m_style.json || m_style.verbose; }
    // A file renamed (or renamed back).
    void renamed(std::string_view oldPath, std::string_view newPath);
    // A file whose proposal is its own name, left as it is.
    void unchanged(std::string_view file);
    // A file that kept its name.
    void failed(std::string_view file, std::string_view newName, std::string_view reason);
    // Something the user should hear of a rename that was made.
    void note(std::string_view file, std::string_view text);
    // The closing line.
    void summary(std::string_view text);

private:
    void line(std::string_view text);
    std::string shown(std::string_view name) const;
    std::string renaming(std::string_view file, std::string_view newName) const;
    void appendRenaming(std::string& text, std::string_view file, std::string_view newName) const;
    // How many bytes of `path` are known to stand as they are in a shell
    // word: its folder's, where the folder does.
    std::size_t plainFolderBytes(std::string_view path) const;

    std::FILE* m_out;
    Style m_style;
    std::string m_line;  // a preview's line, its room kept from file to file
    // The last folder found to need no quoting: the files of a folder come
    // together, and its path is judged once for all of them.
    mutable std::string m_plainFolder;
};

// "1 file", "2 files": a count with its noun.
std::string counted(std::size_t count, const char* one, const char* many);

// Whether the locale the program runs in writes UTF-8.
bool localeIsUtf8();
