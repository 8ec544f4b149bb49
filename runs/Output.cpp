#include "runs/Output.h"

#include "runs/ShellQuoted.h"
#include "text/FileNames.h"
#include "text/JsonLine.h"
#include "text/Utf8.h"

#include <cstring>
#include <langinfo.h>

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

bool localeIsUtf8()
{
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

Output::Output(std::FILE* out, Style style)
    : m_out(out)
    , m_style(style)
{
}

void Output::line(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), m_out);
    std::fputc('\n', m_out);
}

std::string Output::shown(std::string_view name) const
{
    return shellQuoted(name, m_style.utf8);
}

std::string Output::renaming(std::string_view file, std::string_view newName) const
{
    std::string text;
    appendRenaming(text, file, newName);
    return text;
}

std::size_t Output::plainFolderBytes(std::string_view path) const
{
    const std::string_view folder = FolderOfPath(path);
    if (folder.empty() || folder == m_plainFolder)
        return folder.size();
    if (!standsAsIs(folder, m_style.utf8))
        return 0;
    m_plainFolder = folder;
    return folder.size();
}

void Output::appendRenaming(std::string& text, std::string_view file, std::string_view newName) const
{
    appendShellQuoted(text, file, m_style.utf8, plainFolderBytes(file));
    text += m_style.utf8 ? " → " : " -> ";
    appendShellQuoted(text, newName, m_style.utf8);
}

void Output::previewed(std::string_view file, std::string_view newName, StepResult::Outcome outcome,
                       std::string_view reason, std::string_view plan)
{
    const bool fails = outcome == StepResult::Outcome::Failed;
    const bool unchanged = outcome == StepResult::Outcome::Unchanged;
    if (m_style.json) {
        std::string object = "{\"file\":" + jsonString(file) + ",\"new_name\":" + jsonString(newName)
            + ",\"outcome\":" + (fails ? "\"fails\"" : unchanged ? "\"unchanged\"" : "\"renames\"");
        if (!reason.empty())
            object += ",\"reason\":" + jsonString(reason);
        if (!plan.empty())
            object += ",\"plan\":" + jsonString(plan);
        line(object + '}');
        return;
    }
    std::string& text = m_line;
    text.clear();
    appendRenaming(text, file, newName);
    if (fails)
        text.append(": ").append(reason);
    else if (unchanged && reason.empty())
        text += " (unchanged)";
    else if (unchanged)
        text.append(" (unchanged: ").append(reason) += ')';
    if (!plan.empty())
        text.append(" (").append(plan) += ')';
    text += '\n';
    // One thread writes the report: a preview writes a line a file, and
    // taking the stream's lock for each cost more than the line's bytes.
    fwrite_unlocked(text.data(), 1, text.size(), m_out);
}

void Output::renamed(std::string_view oldPath, std::string_view newPath)
{
    if (m_style.json)
        line("{\"file\":" + jsonString(oldPath) + ",\"renamed_to\":" + jsonString(newPath) + '}');
    else if (m_style.verbose)
        line(renaming(oldPath, newPath));
}

void Output::unchanged(std::string_view file)
{
    if (m_style.json)
        line("{\"file\":" + jsonString(file) + ",\"outcome\":\"unchanged\"}");
    else if (m_style.verbose)
        line(shown(file) + " (unchanged)");
}

void Output::failed(std::string_view file, std::string_view newName, std::string_view reason)
{
    if (m_style.json) {
        line("{\"file\":" + jsonString(file) + ",\"new_name\":" + jsonString(newName)
             + ",\"outcome\":\"failed\",\"reason\":" + jsonString(reason) + '}');
        return;
    }
    line(renaming(file, newName) + ": " + std::string(reason));
}

void Output::note(std::string_view file, std::string_view text)
{
    if (m_style.json) {
        line("{\"file\":" + jsonString(file) + ",\"note\":" + jsonString(text) + '}');
        return;
    }
    line(shown(file) + ": " + std::string(text));
}

void Output::summary(std::string_view text)
{
    if (m_style.json)
        line("{\"summary\":" + jsonString(text) + '}');
    else
        line(text);
}
