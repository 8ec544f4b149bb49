#pragma once

#include "runs/RowOrder.h"
#include "runs/TreeChoice.h"

#include <functional>
#include <string>
#include <string_view>

class Folders;

// The walk of -R below one folder given, one folder read at a time: what
// each holds comes folder by folder, the folder's own files first, then each
// folder in it with all it holds, and (for --dirs) that folder after it, so
// that nothing is renamed after the folder it is in. Links to folders are
// never followed, only renamed with --dirs. Hidden names, and names an
// --exclude matches, are passed over (a folder with all it holds); an
// --include chooses among the rest, but every folder is walked. Each
// folder's one reading is also the names of the run's Folder for it.
class TreeWalk {
public:
    enum class Found { File, Folder, Unreadable };
    // `path` names what was found from the folder given on; for an
    // Unreadable folder, `reason` says why.
    using Take = std::function<void(std::string_view path, Found found, std::string_view reason)>;

    TreeWalk(const TreeChoice& choice, RowOrder order, Folders& folders, Take take);

    // What `folder` holds, not the folder itself.
    void walk(const std::string& folder);

private:
    bool walkOpen(int fd, std::string& path, unsigned long device);
    bool matches(const std::vector<std::string>& globs, const char* name) const;

    const TreeChoice& m_choice;
    RowOrder m_order;
    Folders& m_folders;
    Take m_take;
};

// A folder path as the walk and the rows take it: without its trailing
// slashes ("/" stays).
std::string folderAsGiven(std::string_view path);
