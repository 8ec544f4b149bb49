#pragma once

#include <optional>
#include <string>

// The bytes of a file the user named (a journal, a plan), or of a pipe to
// its end; nothing, with the reason in `error` ("PATH: …"), when it cannot
// be read or is a folder.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error);
