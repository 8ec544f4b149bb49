#include "runs/NameEditor.h"

#include "listcore/RowStore.h"
#include "runs/Output.h"
#include "runs/ShellQuoted.h"
#include "text/Utf8.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

bool lineHolds(std::string_view name)
{
    if (name.empty() || name.starts_with("$'") || name.front() == ' ' || name.back() == ' ')
        return false;
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (!c.wellFormed || c.codePoint < 0x20 || c.codePoint == 0x7F)
            return false;
        pos += c.size;
    }
    return true;
}

std::string editorCommand()
{
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "vi";
}

// The editor's exit status, or why it could not run. It gets the terminal
// where standard input or output is not one (a pipe of paths, a report sent
// to a file).
std::string runEditor(const std::string& path)
{
    const std::string editor = editorCommand();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return std::string("could not start the editor: ") + std::strerror(errno);
    if (child == 0) {
        const int terminal = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
        if (terminal >= 0) {
            if (!isatty(STDIN_FILENO))
                dup2(terminal, STDIN_FILENO);
            if (!isatty(STDOUT_FILENO))
                dup2(terminal, STDOUT_FILENO);
        }
        // As git does: the variable may hold arguments, and the shell reads them.
        execl("/bin/sh", "sh", "-c", (editor + " \"$1\"").c_str(), "sh", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {};
    return "the editor " + shellQuoted(editor, true) + " did not end well (status "
        + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) + ")";
}

} // namespace

std::string editedLine(std::string_view name)
{
    return lineHolds(name) ? std::string(name) : dollarQuoted(name, true);
}

std::optional<std::string> nameOfLine(std::string_view line)
{
    if (!line.starts_with("$'"))
        return std::string(line);
    return dollarUnquoted(line);
}

std::string editNames(RowStore& rows)
{
    rows.setEntryForm(EntryForm::Joined);
    std::vector<std::size_t> edited;
    std::string text;
    for (std::size_t index = 0; index < rows.rowCount(); ++index) {
        const ListRow& row = rows.row(index);
        if (!isChecked(row))
            continue;
        edited.push_back(index);
        (text += editedLine(row.Data.newFileName())) += '\n';
    }
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder && *folder ? folder : "/tmp") + "/tolvex-rename-XXXXXX.txt";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0)
        return "could not make the file to edit in: " + std::string(std::strerror(errno));
    const bool written = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    std::string error = written ? runEditor(path) : "could not write the file to edit: " + std::string(std::strerror(errno));
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> names;
    for (std::string line; error.empty() && std::getline(file, line);) {
        const std::optional<std::string> name = nameOfLine(line);
        if (line.empty())
            error = "line " + std::to_string(names.size() + 1) + " of the edited names is empty";
        else if (!name)
            error = "line " + std::to_string(names.size() + 1) + " of the edited names begins a $'...' it does not close";
        else
            names.push_back(*name);
    }
    ::unlink(path.c_str());
    if (error.empty() && names.size() != edited.size())
        error = "the edited names are " + counted(names.size(), "line", "lines") + " for "
            + counted(edited.size(), "file", "files") + ": a line was added or taken away";
    if (!error.empty())
        return error + "; nothing was renamed";
    for (std::size_t i = 0; i < edited.size(); ++i)
        rows.rowAt(edited[i]).Data.setNewName(std::move(names[i]));
    return {};
}
