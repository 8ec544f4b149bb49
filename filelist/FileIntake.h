#pragma once

#include "filelist/FileEntry.h"

#include <string>

// Whether an entry keeps the extension apart (Split: OldName and NewName
// without it, FileExt with it) or inside its names (Joined: FileExt empty).
// The "Include File Extension" box decides which form the list uses.
enum class EntryForm { Split, Joined };

// The entry for one file the user adds, in the list's current form:
// names taken from the path, NewName equal to OldName, file times read.
FileEntry makeFileEntry(const std::string& path, EntryForm form);

// After the entry's file was renamed to newPath: the entry becomes what
// makeFileEntry would make for newPath, keeping its time texts (a rename
// does not change them).
void retargetEntry(FileEntry& entry, const std::string& newPath, EntryForm form);

// The extension toggle, for one entry.
// Split to joined: FileExt goes back into OldName and NewName.
void joinExtension(FileEntry& entry);
// Joined to split: the extension is taken from FileName again, and cut from
// the proposed name; a proposed name without a dot keeps its whole text.
void splitExtension(FileEntry& entry);
