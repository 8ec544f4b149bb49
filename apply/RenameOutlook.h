#pragma once

#include <string>

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

// The outlook in a sentence, as the row's tooltip shows it. UTF-8.
std::string outlookText(const RenameOutlook& outlook);
