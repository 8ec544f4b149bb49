#pragma once

#include "rules/InsertRules.h"

// Exiv2 0.27 declares its pointers as std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <functional>
#include <string>

class OpenedFile;

// Whether the file begins as a picture that Exiv2 reads: JPEG, TIFF, HEIF
// and AVIF, the common raw formats, PNG, WebP; not the movies its video
// readers take, whose times come from libavformat.
bool holdsPicture(OpenedFile& file);

// Reads the metadata of the picture in the file with Exiv2 and hands the
// image to `use`; the reason when it cannot (empty when it could).
std::string readPicture(OpenedFile& file, const std::function<void(Exiv2::Image&)>& use);

// The value of an Exif, IPTC or XMP key ("Exif.Photo.FNumber") of the
// picture in the file, as Exiv2 prints it ("F2.8").
HeldValue pictureValue(OpenedFile& file, const std::string& key);

// Why Exiv2 knows no such key; empty when it does.
std::string pictureKeyError(const std::string& key);
