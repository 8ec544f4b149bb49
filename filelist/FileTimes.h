#pragma once

#include "filelist/FileEntry.h"
#include "filelist/TimeTextFormat.h"

#include <QDateTime>

#include <ctime>
#include <optional>
#include <string>

// Fills CreatedText, AccessedText and ModifiedText of the entry with the
// times of the file at path. A symbolic link is followed: the times are
// those of the file whose contents the user sees. A time the file system
// does not keep (many keep no creation time), and all three when the path
// names nothing, give an empty text.
void ReadFileTimes(const std::string& path, FileEntry& entry);

// The text of a file time (seconds since the epoch) in local time, with the
// zone's offset as it was at that moment, so a file written at 14:00 in
// winter shows 14:00 in summer too. Empty for a time the C library cannot
// convert.
std::string FileTimeToText(std::time_t time,
                           const TimeTextFormat& format = TimeTextFormat::system());

// Reads a text made by FileTimeToText back, to the second; see
// TimeTextFormat::parse. The one-argument form uses the user's locale and
// the current year.
std::optional<QDateTime> fileTimeFromText(const std::string& text);
std::optional<QDateTime> fileTimeFromText(const std::string& text,
                                          const TimeTextFormat& format, int currentYear);
