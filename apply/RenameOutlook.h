#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct ListRow;
class FolderNames;
class FolderNamesCache;
class RowStore;

// What Apply Rename will do with one row, told before it runs: for the row's
// tooltip in the window and the preview of the command line.
struct RenameOutlook {
    enum class Kind {
        Unchecked,  // not renamed, whatever it proposes
        Unchanged,  // the proposed name is the file's own
        Renames,
        Fails,
    };
    Kind kind = Kind::Unchanged;
    std::string newName;  // the whole proposed name, extension included
    std::string reason;   // why it fails, in plain words
};

// What is known of one row's rename, from the list and from a look at the
// disk; the outlook follows from these alone.
struct RenameFacts {
    bool checked = true;
    std::string oldPath;
    std::string newPath;
    std::string newName;              // NewName + FileExt
    bool sourceOnDisk = true;
    bool targetFolderExists = true;
    bool targetTaken = false;         // something else than the file stands at newPath
    bool takenOneRenamedEarlier = false;  // an earlier checked row renames that away
    bool proposedEarlier = false;     // an earlier checked row proposes the same path
    long nameMax = 0;                 // the file system's longest name, 0 if unknown
    std::string fileSystemRefusal;    // a name the file system cannot hold
};

// The outlook the facts give, checking in the order the rename meets them.
RenameOutlook decideOutlook(const RenameFacts& facts);

// The outlook of one row, worked out when asked: from the rows before it and
// a few calls to the file system. Costs one pass over the earlier rows, so
// it is for one row at a time (a tooltip), not for a whole list.
RenameOutlook outlookOfRow(const RowStore& rows, const ListRow& row);

// The outlooks of all the rows of a list, row after row in list order, as
// for a preview of the whole list: each folder concerned is read once, and
// what the earlier rows claim and move away is kept as it goes, so the cost
// does not grow with the square of the list. Gives what outlookOfRow gives.
class ListOutlook {
public:
    // `folders` may hold the folders the intake has read already.
    explicit ListOutlook(FolderNamesCache* folders = nullptr);
    ~ListOutlook();
    ListOutlook(const ListOutlook&) = delete;
    ListOutlook& operator=(const ListOutlook&) = delete;

    // The outlook of the next row; rows come in list order, from the first.
    RenameOutlook next(const ListRow& row);

private:
    struct Target;
    Target& targetIn(FolderNames& folder, std::string_view path);

    std::unique_ptr<FolderNamesCache> m_ownFolders;
    FolderNamesCache& m_folders;
    std::unordered_map<const FolderNames*, std::unique_ptr<Target>> m_targets;
};

// The outlook in a sentence, as the row's tooltip shows it. UTF-8.
std::string outlookText(const RenameOutlook& outlook);
