#include "runs/JournalRecorder.h"

#include "disk/MoveNoReplace.h"
#include "listcore/FileNames.h"
#include "runs/Output.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

JournalRecorder::JournalRecorder(std::unique_ptr<JournalWriter> journal, Output& output, std::string workingFolder)
    : m_journal(std::move(journal))
    , m_output(output)
    , m_workingFolder(std::move(workingFolder))
{
}

std::unique_ptr<JournalRecorder> JournalRecorder::open(const std::string& path, Output& output, std::FILE* errors)
{
    std::string here = workingFolder();
    std::unique_ptr<JournalWriter> journal;
    if (!path.empty()) {
        // The journal names absolute paths, so that it undoes the same files
        // from any folder.
        std::string error = "the working folder cannot be told, so a journal could not name the files";
        if (!here.empty())
            journal = JournalWriter::create(path, error);
        if (!journal) {
            std::fprintf(errors, "tolvex-rename: %s\n", error.c_str());
            return nullptr;
        }
    }
    return std::unique_ptr<JournalRecorder>(new JournalRecorder(std::move(journal), output, std::move(here)));
}

bool JournalRecorder::finish()
{
    return !m_journal || m_journal->finish();
}

std::string JournalRecorder::journalError() const
{
    return m_journal ? m_journal->error() : std::string();
}

bool JournalRecorder::beforeBatch(std::span<const PassRename> batch)
{
    if (!m_journal)
        return true;
    m_intents.clear();
    for (const PassRename& rename : batch) {
        if (!rename.renames())
            continue;
        struct stat status;
        std::uint64_t inode = lstat(rename.oldPath.c_str(), &status) == 0 ? status.st_ino : 0;
        // A name an earlier step of the batch gives the file (a temporary
        // one) is not there yet; the file is the same.
        const bool temporary = NameOfPath(rename.oldPath).starts_with(temporaryNamePrefix());
        for (auto earlier = m_intents.rbegin(); inode == 0 && temporary && earlier != m_intents.rend(); ++earlier) {
            if (earlier->newPath == absolutePath(m_workingFolder, rename.oldPath))
                inode = earlier->inode;
        }
        m_intents.push_back({inode, absolutePath(m_workingFolder, rename.oldPath),
                             absolutePath(m_workingFolder, rename.newPath)});
    }
    return m_journal->intend(m_intents);
}

bool JournalRecorder::afterRename(const PassRename& rename, const RenameResult& result)
{
    if (m_journal && rename.renames())
        m_journal->noteOutcome(result.succeeded());
    if (!rename.renames() && result.succeeded())
        m_output.unchanged(rename.oldPath);
    else if (result.succeeded())
        m_output.renamed(rename.oldPath, rename.newPath);
    else
        m_output.failed(rename.oldPath, shownNewName(rename), result.reason);
    if (!result.note.empty())
        m_output.note(rename.oldPath, result.note);
    return true;
}

std::string workingFolder()
{
    std::string folder(256, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}

std::string absolutePath(const std::string& folder, const std::string& path)
{
    return path.starts_with('/') ? path : folder + path;
}

std::string_view shownNewName(const PassRename& rename)
{
    const std::string_view folder = FolderOfPath(rename.oldPath);
    const std::string_view path(rename.newPath);
    return path.starts_with(folder) ? path.substr(folder.size()) : path;
}
