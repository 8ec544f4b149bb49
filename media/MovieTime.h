#pragma once

#include "rules/DateTimeRule.h"

#include <optional>

class OpenedFile;

// Whether the file is a QuickTime or ISO media movie (MOV, MP4, M4V, 3GP),
// as libavformat's probe tells.
bool holdsMovie(OpenedFile& file);

// The time a movie was made, read with libavformat's QuickTime demuxer:
// Apple's com.apple.quicktime.creationdate where the movie has one, the
// camera's clock with its offset from UTC (as a picture's capture time);
// else the movie header's creation time, which is UTC, in this computer's
// local time. A header that holds the zero date has none. Nothing when the
// demuxer finds no movie header: the file is no movie after all.
std::optional<CaptureTime> movieCaptureTime(OpenedFile& file);
