#pragma once

#include "rules/InsertRules.h"

#include <string>
#include <string_view>

class OpenedFile;

// The fields of audio tags that --tag inserts, in the order --help names
// them.
inline constexpr std::string_view kAudioFields[] = {"artist", "album", "title", "track", "disc", "year", "genre"};

// A field of the audio file's tags, read with TagLib from whichever tag its
// format keeps (ID3v2 or ID3v1 in MP3; Vorbis comments in FLAC, Ogg Vorbis
// and Opus; the MP4 item list in M4A; ID3v2 or RIFF INFO in WAV). The track
// and the disc are their numbers alone ("7", not "7/12"). The path only
// names the file: its extension is the first guess at its format.
HeldValue audioTagValue(OpenedFile& file, const std::string& path, std::string_view field);
