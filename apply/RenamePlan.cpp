#include "apply/RenamePlan.h"

#include "disk/RenameSession.h"
#include "text/FileNames.h"

const char* PlanFiles::refusalOf(std::uint32_t file) const
{
    return refusalOfNewName(newPath(file));
}

PlanStep::Kind RenamePlan::kindOf(std::uint32_t file, const char** refusal) const
{
    if (const char* refused = m_files.refusalOf(file)) {
        if (refusal)
            *refusal = refused;
        return PlanStep::Kind::Refused;
    }
    return m_files.keepsPath(file) ? PlanStep::Kind::Unchanged : PlanStep::Kind::Rename;
}

void RenamePlan::add(std::uint32_t file, PlanStep::Role role)
{
    const char* refusal = nullptr;
    switch (kindOf(file, &refusal)) {
    case PlanStep::Kind::Refused:
        return refuse(file, refusal);
    case PlanStep::Kind::Unchanged:
        return unchanged(file);
    case PlanStep::Kind::Rename:
        break;
    }
    m_steps.push_back({file, PlanStep::Kind::Rename, role});
}

void RenamePlan::addPlanned(std::uint32_t file, std::string note)
{
    if (!note.empty())
        m_reasons.emplace(m_steps.size(), std::move(note));
    m_steps.push_back({file, PlanStep::Kind::Rename, PlanStep::Role::Plain, true});
}

void RenamePlan::refuse(std::uint32_t file, std::string reason)
{
    m_reasons.emplace(m_steps.size(), std::move(reason));
    m_steps.push_back({file, PlanStep::Kind::Refused});
}

void RenamePlan::unchanged(std::uint32_t file, std::string reason)
{
    if (!reason.empty())
        m_reasons.emplace(m_steps.size(), std::move(reason));
    m_steps.push_back({file, PlanStep::Kind::Unchanged});
}

void RenamePlan::addCycleStep(std::uint32_t file, PlanStep::Role role, std::string temporaryName)
{
    if (role == PlanStep::Role::ToTemporary)
        m_temporary.insert_or_assign(file, std::move(temporaryName));
    m_steps.push_back({file, PlanStep::Kind::Rename, role, role != PlanStep::Role::ToTemporary});
}

void RenamePlan::temporaryPathInto(std::uint32_t file, std::string& buffer) const
{
    m_files.pathInto(file, buffer);
    buffer.resize(FolderOfPath(buffer).size());
    buffer += m_temporary.at(file);
}

std::string RenamePlan::oldPath(const PlanStep& step) const
{
    std::string path;
    oldPath(step, path);
    return path;
}

std::string RenamePlan::newPath(const PlanStep& step) const
{
    std::string path;
    newPath(step, path);
    return path;
}

std::string RenamePlan::shownNewName(const PlanStep& step) const
{
    std::string name;
    shownNewName(step, name);
    return name;
}

std::string_view RenamePlan::oldPath(const PlanStep& step, std::string& buffer) const
{
    if (step.fromTemporary())
        temporaryPathInto(step.file, buffer);
    else
        m_files.pathInto(step.file, buffer);
    return buffer;
}

std::string_view RenamePlan::newPath(const PlanStep& step, std::string& buffer) const
{
    switch (step.role) {
    case PlanStep::Role::ToTemporary:
        temporaryPathInto(step.file, buffer);
        break;
    case PlanStep::Role::BackHome:
        m_files.pathInto(step.file, buffer);
        break;
    default:
        m_files.newPathInto(step.file, buffer);
        break;
    }
    return buffer;
}

std::string_view PlanFiles::folderOf(std::uint32_t file, std::string& buffer) const
{
    pathInto(file, buffer);
    return FolderOfPath(buffer);
}

std::string_view PlanFiles::newFolderOf(std::uint32_t file, std::string& buffer) const
{
    newPathInto(file, buffer);
    return FolderOfPath(buffer);
}

// A temporary name is in the file's own folder.
std::string_view RenamePlan::oldFolder(const PlanStep& step, std::string& buffer) const
{
    return m_files.folderOf(step.file, buffer);
}

std::string_view RenamePlan::newFolder(const PlanStep& step, std::string& buffer) const
{
    if (step.role == PlanStep::Role::ToTemporary || step.role == PlanStep::Role::BackHome)
        return m_files.folderOf(step.file, buffer);
    return m_files.newFolderOf(step.file, buffer);
}

std::string_view RenamePlan::shownNewName(const PlanStep& step, std::string& buffer, std::string_view newPath) const
{
    switch (step.role) {
    case PlanStep::Role::ToTemporary:
        buffer = m_temporary.at(step.file);
        break;
    case PlanStep::Role::BackHome:
        m_files.pathInto(step.file, buffer);
        buffer.erase(0, buffer.size() - NameOfPath(buffer).size());
        break;
    default:
        if (!newPath.empty())
            return m_files.shownNewNameIn(step.file, newPath, buffer);
        m_files.shownNewNameInto(step.file, buffer);
        break;
    }
    return buffer;
}

std::string_view RenamePlan::reason(std::size_t stepIndex) const
{
    // Most plans give no step a reason: no hashing for them.
    if (m_reasons.empty())
        return {};
    const auto found = m_reasons.find(stepIndex);
    return found == m_reasons.end() ? std::string_view() : std::string_view(found->second);
}
