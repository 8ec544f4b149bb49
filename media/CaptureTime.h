#pragma once

#include "rules/DateTimeRule.h"

#include <string>

// The capture time a picture's Exif data holds: DateTimeOriginal, with
// SubSecTimeOriginal for its milliseconds, read with Exiv2 from any format
// it reads (JPEG, TIFF, HEIF and AVIF, the common raw formats, PNG, WebP).
//
// The time is the camera's clock as it showed it where the picture was
// taken, and it is written as such: 23:30 on a night in Tokyo stays 23:30,
// whatever this computer's zone. An OffsetTimeOriginal tag, where there is
// one, rides along as the time's offset from UTC, so the moment is known;
// without it the time is one of no zone (held as UTC), so that no wall
// time is moved for a change to or from summer time here.
//
// A movie's (MP4, MOV, 3GP, M4V) is read with libavformat: Apple's
// com.apple.quicktime.creationdate, the camera's clock with its offset,
// where there is one; else the movie header's creation time, which is UTC,
// in this computer's local time (see MovieTime.h).
//
// A file without that tag, or with a blank or impossible one, has none, and
// `missing` says why; no other time of the file ever stands in.
CaptureTime readCaptureTime(const std::string& path);
