#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>
#include <utility>

class FolderListing;

// The outcome of one rename on disk. A refusal of the file system is an
// ordinary outcome, never an exception: the apply pass goes on after it.
struct RenameResult {
    std::error_code error;  // empty when the file now has its new name
    std::string reason;     // the refusal in plain words; empty on success
    std::string note{};     // on success, what else the user should hear of

    bool succeeded() const noexcept { return !error; }
    static RenameResult refusal(int error, std::string reason)
    {
        return {std::error_code(error, std::generic_category()), std::move(reason)};
    }
};

// Why a new path cannot be a file's new name, whatever the file system: its
// last component is empty, "." or ".." (the kernel would take these for the
// folder itself or the one above it). Null when it can.
const char* refusalOfNewName(std::string_view path);

// The renames of one pass. Each rename never replaces anything that stands
// at its new path, whatever the file system (see moveNoReplace); a newPath
// byte-equal to oldPath is left alone and succeeds; an empty new name, "."
// or ".." is refused with a reason that says so.
//
// A change of letter case only in the last component (ASCII letters and the
// simple case mapping of Unicode, on well-formed UTF-8) also works where the
// file system ignores case: it goes through a temporary name in the same
// folder, unless the folder lists an entry spelled exactly like the new name
// (say a hard link of the same file), which is kept. A folder is read for
// that at most once per session, and the session keeps what it read in step
// with its own renames, so a pass of many changes of case stays linear.
class RenameSession {
public:
    RenameSession();
    ~RenameSession();
    RenameSession(const RenameSession&) = delete;
    RenameSession& operator=(const RenameSession&) = delete;

    RenameResult rename(const std::string& oldPath, const std::string& newPath);

private:
    // What a folder as spelled in this session's paths was found to be, when
    // there were `listings` listings and `renames` renames other than
    // changes of case: the listing of that folder, or none.
    struct Spelling {
        FolderListing* listing = nullptr;
        std::size_t listings = 0;
        std::size_t renames = 0;
    };

    RenameResult renameCaseOnly(const std::string& oldPath, const std::string& newPath,
                                const std::string& folded);
    FolderListing* listingOf(std::string_view folder, bool readIfNew, int& error);
    void forgetSpellingsBelow(const std::string& oldPath);
    void noteRenamed(const std::string& oldPath, const std::string& newPath);

    std::map<std::pair<dev_t, ino_t>, std::unique_ptr<FolderListing>> m_listings;  // by folder identity
    std::map<std::string, Spelling, std::less<>> m_spellings;
    std::size_t m_renames = 0;    // other than changes of case, once there are listings
    std::string m_temporaryName;  // for the middle step of a change of case
};
