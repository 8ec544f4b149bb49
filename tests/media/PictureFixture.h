#pragma once

// Tiny pictures with chosen Exif tags, made by Exiv2 itself: a blank 1×1
// JPEG of its own, or a 1×1 grey TIFF written here byte by byte.

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <string>
#include <utility>

namespace fixture {

enum class Picture { Jpeg, Tiff };

// Exif keys and their texts, "Exif.Photo.DateTimeOriginal" and so on.
using ExifTags = QList<std::pair<QByteArray, QByteArray>>;

// A little-endian TIFF of one grey pixel: its header, one directory of
// eight entries, and the pixel.
inline QByteArray tinyTiff()
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](unsigned value) { tiff += char(value & 0xFF); tiff += char(value >> 8); };
    const auto u32 = [&](unsigned value) { for (int i = 0; i < 4; ++i) tiff += char((value >> (8 * i)) & 0xFF); };
    const auto entry = [&](unsigned tag, unsigned type, unsigned value) { u16(tag); u16(type); u32(1); u32(value); };
    constexpr unsigned entries = 8;
    constexpr unsigned pixelAt = 8 + 2 + entries * 12 + 4;
    constexpr unsigned shortType = 3, longType = 4;
    u16(entries);
    entry(256, shortType, 1);        // width
    entry(257, shortType, 1);        // height
    entry(258, shortType, 8);        // bits per sample
    entry(259, shortType, 1);        // no compression
    entry(262, shortType, 1);        // black is zero
    entry(273, longType, pixelAt);   // the strip's offset
    entry(278, shortType, 1);        // rows per strip
    entry(279, longType, 1);         // the strip's size
    u32(0);                          // no next directory
    tiff += char(0x80);
    return tiff;
}

// Writes the picture at path with the tags; none: a picture without Exif.
inline bool writePicture(const QByteArray& path, Picture kind, const ExifTags& tags)
{
    try {
        if (kind == Picture::Jpeg) {
            Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, path.toStdString());
        } else {
            const QByteArray tiff = tinyTiff();
            std::FILE* file = std::fopen(path.constData(), "wbx");
            if (!file)
                return false;
            const bool written = std::fwrite(tiff.constData(), 1, std::size_t(tiff.size()), file) == std::size_t(tiff.size());
            if (std::fclose(file) != 0 || !written)
                return false;
        }
        if (tags.isEmpty())
            return true;
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        for (const auto& [key, value] : tags)
            exif[key.toStdString()] = value.toStdString();
        image->writeMetadata();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace fixture
