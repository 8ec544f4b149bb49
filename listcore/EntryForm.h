#pragma once

// Whether an entry keeps the extension apart (Split: OldName and NewName
// without it, FileExt with it) or inside its names (Joined: FileExt empty).
// The "Include File Extension" box decides which form the list uses.
enum class EntryForm : unsigned char { Split, Joined };
