#include "runs/JournalHistory.h"

#include "runs/ExitStatus.h"
#include "runs/Output.h"
#include "runs/ShellQuoted.h"
#include "runs/StateJournals.h"
#include "text/JsonLine.h"

int showHistory(bool json, bool utf8, std::FILE* out, std::FILE* errors)
{
    std::string error;
    const auto journals = stateJournals(error);
    if (!journals) {
        std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
        return SomeFailed;
    }
    for (const StateJournal& journal : *journals) {
        std::string line;
        if (json) {
            line = "{\"time\":" + jsonString(journal.time) + ",\"working_folder\":" + jsonString(journal.workingFolder)
                + ",\"renamed\":" + (journal.renamed ? std::to_string(*journal.renamed) : "null")
                + ",\"undone\":" + (journal.undone ? "true" : "false") + ",\"journal\":" + jsonString(journal.path)
                + "}";
        } else {
            line = journal.time + "  "
                + (journal.workingFolder.empty() ? "?" : shellQuoted(journal.workingFolder, utf8)) + "  "
                + (journal.renamed ? counted(*journal.renamed, "file", "files") : "? files") + " renamed"
                + (journal.undone ? ", undone" : "");
        }
        std::fprintf(out, "%s\n", line.c_str());
    }
    return AllDone;
}

std::string lastJournal(std::string& error)
{
    const auto journals = stateJournals(error);
    if (!journals)
        return {};
    for (const StateJournal& journal : *journals) {
        if (!journal.undone)
            return journal.path;
    }
    error = "no journal of the state folder is left to undo (see --history)";
    return {};
}
