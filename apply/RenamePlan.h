#pragma once

#include "disk/FileIdentity.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where the files of a run are and where they go: the rows of a list, or
// the renames of a journal taken back. A file is known by its number.
class PlanFiles {
public:
    virtual ~PlanFiles() = default;
    virtual std::size_t count() const = 0;
    virtual std::string path(std::uint32_t file) const = 0;
    virtual std::string newPath(std::uint32_t file) const = 0;
    // The new name as the user gave it: from the file's folder on, so that
    // a name reaching into a sub-folder shows it.
    virtual std::string shownNewName(std::uint32_t file) const = 0;
    // The file the plan means at path(), where it knows (a journal taken
    // back): a rename of another file there is refused.
    virtual FileMark expected(std::uint32_t) const { return {}; }
    // Why the new path cannot be a file's (see refusalOfNewName), and
    // whether it is the file's own path: asked of every file, so the rows
    // answer without making the paths.
    virtual const char* refusalOf(std::uint32_t file) const;
    virtual bool keepsPath(std::uint32_t file) const { return newPath(file) == path(file); }

    // The same texts made in `buffer`, which the caller keeps from file to
    // file, so that a preview of a million files allocates none for each.
    virtual void pathInto(std::uint32_t file, std::string& buffer) const { buffer = path(file); }
    virtual void newPathInto(std::uint32_t file, std::string& buffer) const { buffer = newPath(file); }
    virtual void shownNewNameInto(std::uint32_t file, std::string& buffer) const { buffer = shownNewName(file); }
    // The shown new name of a file whose new path was made already: where
    // that path ends in it, a view of its end.
    virtual std::string_view shownNewNameIn(std::uint32_t file, std::string_view, std::string& buffer) const
    {
        shownNewNameInto(file, buffer);
        return buffer;
    }
    // The folders of path() and newPath() (see FolderOfPath), made in
    // `buffer` where the files do not keep them.
    virtual std::string_view folderOf(std::uint32_t file, std::string& buffer) const;
    virtual std::string_view newFolderOf(std::uint32_t file, std::string& buffer) const;
};

// One step of a run: a rename of one of its files, or why there is none.
struct PlanStep {
    enum class Kind : std::uint8_t {
        Rename,
        Unchanged,  // the new path is the file's own
        Refused,    // before the disk is asked; the plan keeps the reason
    };
    enum class Role : std::uint8_t {
        Plain,
        AfterAnother,   // once the file at its new name has moved away
        ToTemporary,    // the first half of a broken cycle
        FromTemporary,  // its second half, last of its cycle
        BackHome,       // from the temporary name back to the old one, when the second half failed
    };

    std::uint32_t file = 0;
    Kind kind = Kind::Rename;
    Role role = Role::Plain;
    // The step knows which file is at its old path, even one an earlier
    // step put there: it is not refused for a path an earlier step moved
    // away or gave.
    bool planned = false;

    bool renames() const noexcept { return kind == Kind::Rename; }
    bool fromTemporary() const noexcept { return role == Role::FromTemporary || role == Role::BackHome; }
};

// What a run is to do, step by step, whatever kind of run it is: every kind
// builds one, and the one preview and the one executor act it out (see
// PlanPreview.h, PlanRun.h). Steps that are no rename keep their place, so
// whoever hears of the steps hears of every file.
class RenamePlan {
public:
    explicit RenamePlan(const PlanFiles& files) : m_files(files) {}

    const PlanFiles& files() const noexcept { return m_files; }
    const std::vector<PlanStep>& steps() const noexcept { return m_steps; }
    std::size_t cycles() const noexcept { return m_temporary.size(); }
    void reserve(std::size_t steps) { m_steps.reserve(steps); }

    // What add() makes of the file: a rename, or why none. This is the one
    // place where a new path is refused for itself, or found to be the
    // file's own.
    PlanStep::Kind kindOf(std::uint32_t file, const char** refusal = nullptr) const;
    void add(std::uint32_t file, PlanStep::Role role = PlanStep::Role::Plain);
    // A rename that knows which file is at its path (see PlanStep), with
    // what else the user should hear of it.
    void addPlanned(std::uint32_t file, std::string note = {});
    void refuse(std::uint32_t file, std::string reason);
    void unchanged(std::uint32_t file, std::string reason = {});
    // A step of a cycle broken at the file through `temporaryName` in its
    // folder: ToTemporary (which names it), FromTemporary or BackHome.
    void addCycleStep(std::uint32_t file, PlanStep::Role role, std::string temporaryName = {});

    std::string oldPath(const PlanStep& step) const;
    std::string newPath(const PlanStep& step) const;
    std::string shownNewName(const PlanStep& step) const;
    // The same made in `buffer` (see PlanFiles), and seen through it.
    std::string_view oldPath(const PlanStep& step, std::string& buffer) const;
    std::string_view newPath(const PlanStep& step, std::string& buffer) const;
    // `newPath`: the step's new path (newPath(step)) where it was made
    // already, which a file's shown new name may be read from.
    std::string_view shownNewName(const PlanStep& step, std::string& buffer, std::string_view newPath = {}) const;
    // The folders of oldPath() and newPath(), without making the paths where
    // the files keep their folders.
    std::string_view oldFolder(const PlanStep& step, std::string& buffer) const;
    std::string_view newFolder(const PlanStep& step, std::string& buffer) const;
    // Why a Refused step is one, or what another step adds to it.
    std::string_view reason(std::size_t stepIndex) const;

private:
    void temporaryPathInto(std::uint32_t file, std::string& buffer) const;

    const PlanFiles& m_files;
    std::vector<PlanStep> m_steps;
    std::unordered_map<std::size_t, std::string> m_reasons;      // by step
    std::unordered_map<std::uint32_t, std::string> m_temporary;  // by file, the name its cycle goes through
};
