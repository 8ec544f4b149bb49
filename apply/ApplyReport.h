#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One checked entry whose file kept its name, with the names as the user
// saw them (bytes as on disk) and the refusal in plain words.
struct RenameFailure {
    std::size_t rowIndex = 0;
    std::string oldName;
    std::string newName;
    std::string reason;
};

// What one Apply Rename came to.
struct ApplyReport {
    std::size_t checkedCount = 0;
    std::vector<RenameFailure> failures;  // in list order

    bool allRenamed() const noexcept { return failures.empty(); }
};

// "Rename Completed!" alone when every checked file was renamed (or none was
// checked); otherwise that line and a count of the failures.
std::string completionSummary(const ApplyReport& report);

// The text that closes the pass in the window: the summary and one line per
// failure, at most twenty of them, each name shortened. UTF-8.
std::string completionMessage(const ApplyReport& report);

// Every failure of the pass, one line each: the details beside
// completionMessage, which lists only a few. Names longer than maxNameChars
// characters are shortened in the middle (0: never). Empty when every
// checked file was renamed. UTF-8.
std::string completionDetails(const ApplyReport& report, std::size_t maxNameChars = 0);
