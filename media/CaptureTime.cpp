#include "media/CaptureTime.h"

#include "media/MovieTime.h"
#include "media/OpenedFile.h"
#include "media/PictureData.h"

#include <QDate>
#include <QTime>

#include <optional>
#include <string_view>

namespace {

constexpr const char* kNoCaptureTime = "has no capture time (Exif DateTimeOriginal)";

CaptureTime none(std::string why)
{
    return {{}, "has no capture time: " + std::move(why)};
}

// The text of a tag, without the blanks and NULs cameras pad it with;
// empty when the tag is missing.
std::string tagText(const Exiv2::ExifData& exif, const char* key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found == exif.end())
        return {};
    std::string text = found->toString();
    const std::size_t end = text.find_last_not_of(std::string_view(" \0", 2));
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

// The number the digits at text[pos, pos + count) write; none if any is not
// a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t pos, std::size_t count)
{
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY:MM:DD HH:MM:SS", as Exif writes it; any one byte between the fields.
QDateTime wallTimeOf(std::string_view text)
{
    if (text.size() != 19)
        return {};
    const auto year = digitsAt(text, 0, 4);
    const auto month = digitsAt(text, 5, 2);
    const auto day = digitsAt(text, 8, 2);
    const auto hour = digitsAt(text, 11, 2);
    const auto minute = digitsAt(text, 14, 2);
    const auto second = digitsAt(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second)
        return {};
    const QDate date(*year, *month, *day);
    const QTime time(*hour, *minute, *second);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

// The fraction of a second SubSecTimeOriginal writes ("5" is half a
// second), in milliseconds; 0 when it is missing or not digits.
int millisecondsOf(std::string_view text)
{
    int milliseconds = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i < text.size() && (text[i] < '0' || text[i] > '9'))
            return 0;
        milliseconds = milliseconds * 10 + (i < text.size() ? text[i] - '0' : 0);
    }
    return milliseconds;
}

// "+HH:MM" or "-HH:MM" in seconds east of UTC; none for anything else.
std::optional<int> offsetOf(std::string_view text)
{
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':')
        return std::nullopt;
    const auto hours = digitsAt(text, 1, 2);
    const auto minutes = digitsAt(text, 4, 2);
    if (!hours || !minutes || *hours > 14 || *minutes > 59)
        return std::nullopt;
    const int seconds = (*hours * 60 + *minutes) * 60;
    return text[0] == '-' ? -seconds : seconds;
}

CaptureTime captureTimeOf(const Exiv2::ExifData& exif)
{
    // Exif keeps it with the picture's other Exif tags; TIFF/EP raw files
    // keep the same tag in their first image directory.
    std::string original = tagText(exif, "Exif.Photo.DateTimeOriginal");
    if (original.empty())
        original = tagText(exif, "Exif.Image.DateTimeOriginal");
    if (original.empty())
        return {{}, kNoCaptureTime};
    QDateTime wall = wallTimeOf(original);
    if (!wall.isValid())
        return none("its Exif DateTimeOriginal \"" + original + "\" is no date and time");
    wall = wall.addMSecs(millisecondsOf(tagText(exif, "Exif.Photo.SubSecTimeOriginal")));
    if (const auto offset = offsetOf(tagText(exif, "Exif.Photo.OffsetTimeOriginal")))
        return {QDateTime(wall.date(), wall.time(), Qt::OffsetFromUTC, *offset), {}};
    return {wall, {}};
}

} // namespace

CaptureTime readCaptureTime(const std::string& path)
{
    OpenedFile file(path);
    const bool picture = holdsPicture(file);
    if (!file.isOpen())
        return none(file.error());
    CaptureTime taken{{}, kNoCaptureTime};
    std::string error;
    if (picture)
        error = readPicture(file, [&](Exiv2::Image& image) { taken = captureTimeOf(image.exifData()); });
    // To Exiv2 an MP4 is ISO media like HEIF: whatever holds no Exif time
    // and reads as a movie is dated as one.
    if (!taken.time.isValid() && holdsMovie(file)) {
        if (const std::optional<CaptureTime> movie = movieCaptureTime(file))
            return *movie;
    }
    if (!picture)
        return none("neither a picture that Exiv2 reads nor a QuickTime or MP4 movie");
    return error.empty() ? taken : none(error);
}
