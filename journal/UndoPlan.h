#pragma once

#include "apply/RenamePlan.h"
#include "journal/Journal.h"

#include <string>
#include <utility>
#include <vector>

class Folders;

// A journal's renames taken back, the last first, as one plan: each rename
// of the journal is one file of the plan, to be renamed from where it is
// now back to its old path. Where the journal lacks a rename's outcome (a
// crash came between), the disk is asked where the file is, on the disk as
// taking back the later renames will leave it.
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
        std::string path(std::uint32_t file) const override { return m_moves[file].first; }
        std::string newPath(std::uint32_t file) const override { return m_moves[file].second; }
        std::string shownNewName(std::uint32_t file) const override;
        std::uint32_t add(std::string from, std::string to);

    private:
        std::vector<std::pair<std::string, std::string>> m_moves;  // where it is, where it goes back to
    };

    Files m_files;
    RenamePlan m_plan{m_files};
};
