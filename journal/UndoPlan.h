#pragma once

#include "apply/RenamePlan.h"
#include "journal/Journal.h"

#include <string>
#include <vector>

class Folders;

// A journal's renames taken back, the last first, as one plan: each rename
// of the journal is one file of the plan, to be renamed from where it is
// now back to its old path, on the disk as taking back the later renames
// will leave it. A file is told by what the journal recorded of it (see
// FileMark), never by its name: a rename is taken back only where the file
// under its new name (or, where the journal lacks the outcome, under a
// temporary name of the run) is the one the run renamed, in the folders it
// renamed it in; a rename never made is nothing to undo, and any other is
// refused with the reason. Only the first journals, which recorded no
// file, are taken back by name.
class UndoPlan {
public:
    UndoPlan(const JournalContents& journal, Folders& folders);
    UndoPlan(const UndoPlan&) = delete;
    UndoPlan& operator=(const UndoPlan&) = delete;

    RenamePlan& plan() { return m_plan; }

private:
    class Files : public PlanFiles {
    public:
        std::size_t count() const override { return m_moves.size(); }
        std::string path(std::uint32_t file) const override { return m_moves[file].from; }
        std::string newPath(std::uint32_t file) const override { return m_moves[file].to; }
        std::string shownNewName(std::uint32_t file) const override;
        FileMark expected(std::uint32_t file) const override { return m_moves[file].file; }
        std::uint32_t add(std::string from, std::string to, const FileMark& file);

    private:
        struct Move {
            std::string from;  // where it is
            std::string to;    // where it goes back to
            FileMark file;
        };
        std::vector<Move> m_moves;
    };

    Files m_files;
    RenamePlan m_plan{m_files};
};
