#include "photo/CaptureTime.h"

#include <QDate>
#include <QTime>

// Exiv2 0.27 declares its pointers as std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kNoCaptureTime = "has no capture time (Exif DateTimeOriginal)";

CaptureTime none(std::string why)
{
    return {{}, "has no capture time: " + std::move(why)};
}

void setUpExiv2()
{
    static const bool done = [] {
        // Its warnings would go to standard error between the lines of the
        // report; what matters comes back as the reason.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
#ifdef EXV_ENABLE_BMFF
        Exiv2::enableBMFF(true);  // HEIF, AVIF and CR3
#endif
        return true;
    }();
    (void)done;
}

// A file mapped into memory for as long as it is read.
class MappedFile {
public:
    explicit MappedFile(const std::string& path)
    {
        // Not blocking, so that a named pipe in the list cannot hang the
        // run; it is refused below as no regular file.
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            m_error = std::strerror(errno);
            return;
        }
        struct stat status;
        if (fstat(fd, &status) != 0) {
            m_error = std::strerror(errno);
        } else if (!S_ISREG(status.st_mode)) {
            m_error = "not a regular file";
        } else if (status.st_size == 0) {
            m_error = "the file is empty";
        } else {
            m_size = std::size_t(status.st_size);
            void* data = mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (data == MAP_FAILED)
                m_error = std::strerror(errno);
            else
                m_data = static_cast<const Exiv2::byte*>(data);
        }
        close(fd);
    }
    ~MappedFile()
    {
        if (m_data)
            munmap(const_cast<Exiv2::byte*>(m_data), m_size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const Exiv2::byte* data() const { return m_data; }
    long size() const { return long(m_size); }
    const std::string& error() const { return m_error; }

private:
    const Exiv2::byte* m_data = nullptr;
    std::size_t m_size = 0;
    std::string m_error;
};

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

// Whether the file begins as a format Exiv2 reads. Some of its checks
// throw on a short file instead of saying no.
bool isPicture(const MappedFile& file)
{
    try {
        return Exiv2::ImageFactory::getType(file.data(), file.size()) != Exiv2::ImageType::none;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

CaptureTime readCaptureTime(const std::string& path)
{
    setUpExiv2();
    // The path never reaches Exiv2, which would take "-" for standard input
    // and a name like "http://..." for an address to fetch.
    const MappedFile file(path);
    if (!file.data())
        return none(file.error());
    if (!isPicture(file))
        return none("not a picture that Exiv2 reads");
    try {
        auto image = Exiv2::ImageFactory::open(file.data(), file.size());
        image->readMetadata();
        return captureTimeOf(image->exifData());
    } catch (const std::exception& error) {
        return none(std::string("its picture data cannot be read (") + error.what() + ")");
    }
}
