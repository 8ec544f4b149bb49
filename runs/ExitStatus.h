#pragma once

// Exit statuses of tolvex-rename.
enum ExitStatus : int {
    AllDone = 0,     // every file renamed, or would be
    SomeFailed = 1,  // some kept their names, or would; or the journal or the report could not be written
    BadUsage = 2,    // a usage error or a bad number; nothing was renamed
};
