#pragma once

#include <string>

// The record behind one row of the list. Every text holds the bytes exactly
// as the file system gave them, so FilePath + FileName always names the
// file the user chose, whatever its encoding.
//
// A split entry keeps the extension apart in FileExt; a joined entry has it
// inside FileName, OldName and NewName, and FileExt stays empty.
struct FileEntry {
    std::string FileName;     // the name on disk, extension included
    std::string OldName;      // the name the rules started from
    std::string NewName;      // the proposed name the rules shape
    std::string FilePath;     // folder, ending in '/'
    std::string FileExt;      // ".txt" when split, else empty
    std::string CreatedText;  // file times as shown in the list
    std::string AccessedText;
    std::string ModifiedText;
};
