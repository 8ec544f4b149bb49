#pragma once

#include <string>
#include <vector>

// What a folder given to tolvex-rename stands for: without -R and --dirs,
// nothing it can rename (the run reports it).
struct TreeChoice {
    bool recursive = false;      // the files of every folder below it
    bool folders = false;        // --dirs: the folders too, each after what it holds
    bool hidden = false;         // names with a leading dot too, when walking
    bool oneFileSystem = false;  // the walk stays on the file system of each folder given
    std::vector<std::string> include;  // fnmatch patterns on the name; none: every name
    std::vector<std::string> exclude;  // and these never, a folder with all it holds

    bool walks() const noexcept { return recursive || folders; }
};
