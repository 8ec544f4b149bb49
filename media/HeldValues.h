#pragma once

#include "rules/InsertRules.h"

#include <string>

// The value of a field --tag names in the file at a path: "exif:" and an
// Exif, IPTC or XMP key of a picture (PictureData.h), or a field of audio
// tags (AudioTags.h). A reader for the rules.
HeldValue readHeldValue(const std::string& path, const std::string& field);

// Why --tag cannot read such a field; empty when it can.
std::string heldFieldError(const std::string& field);
