#include "media/MovieTime.h"

#include "media/MovieLibrary.h"
#include "media/OpenedFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kNoCreationTime
    = "has no capture time (QuickTime creationdate, or a creation time in the movie header)";

const AVInputFormat* quickTimeDemuxer()
{
    static const AVInputFormat* demuxer = []() -> const AVInputFormat* {
        const MovieLibrary* av = movieLibrary();
        if (!av)
            return nullptr;
        // Its warnings would go to standard error between the lines of the
        // report; what matters comes back as the reason.
        av->logSetLevel(AV_LOG_QUIET);
        return av->findInputFormat("mov");
    }();
    return demuxer;
}

// The movie's bytes as libavformat reads them: from the mapping, so that it
// never opens a path itself.
struct MappedReading {
    const std::uint8_t* data;
    std::int64_t size;
    std::int64_t at = 0;

    static int read(void* opaque, std::uint8_t* buffer, int wanted)
    {
        auto& reading = *static_cast<MappedReading*>(opaque);
        const std::int64_t count = std::min<std::int64_t>(wanted, reading.size - reading.at);
        if (count <= 0)
            return AVERROR_EOF;
        std::memcpy(buffer, reading.data + reading.at, std::size_t(count));
        reading.at += count;
        return int(count);
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence)
    {
        auto& reading = *static_cast<MappedReading*>(opaque);
        if (whence & AVSEEK_SIZE)
            return reading.size;
        const std::int64_t base = (whence & ~AVSEEK_FORCE) == SEEK_CUR ? reading.at
            : (whence & ~AVSEEK_FORCE) == SEEK_END                     ? reading.size
                                                                       : 0;
        if (base + offset < 0 || base + offset > reading.size)
            return AVERROR(EINVAL);
        return reading.at = base + offset;
    }
};

// The movie's metadata as the demuxer reads it from its header, or null.
class MovieHeader {
public:
    explicit MovieHeader(OpenedFile& file)
        : m_av(*movieLibrary()), m_reading{file.data(), std::int64_t(file.size())}
    {
        constexpr int kBufferSize = 1 << 16;
        auto* buffer = static_cast<unsigned char*>(m_av.malloc(kBufferSize));
        m_io = m_av.ioAllocContext(buffer, kBufferSize, 0, &m_reading, &MappedReading::read, nullptr,
                                   &MappedReading::seek);
        m_context = m_av.allocContext();
        if (!m_io || !m_context) {
            m_av.free(buffer);
            return;
        }
        m_context->pb = m_io;
        m_context->flags |= AVFMT_FLAG_CUSTOM_IO;
        // On failure it frees the context and nulls it.
        if (m_av.openInput(&m_context, nullptr, quickTimeDemuxer(), nullptr) < 0)
            m_context = nullptr;
    }
    ~MovieHeader()
    {
        m_av.closeInput(&m_context);
        if (m_io)
            m_av.freep(&m_io->buffer);
        m_av.ioContextFree(&m_io);
    }
    MovieHeader(const MovieHeader&) = delete;
    MovieHeader& operator=(const MovieHeader&) = delete;

    bool isRead() const { return m_context; }
    const char* value(const char* key) const
    {
        const AVDictionaryEntry* entry = m_av.dictGet(m_context->metadata, key, nullptr, AV_DICT_MATCH_CASE);
        return entry ? entry->value : nullptr;
    }

private:
    const MovieLibrary& m_av;
    MappedReading m_reading;
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_context = nullptr;
};

CaptureTime none(const std::string& why)
{
    return {{}, "has no capture time: " + why};
}

} // namespace

bool holdsMovie(OpenedFile& file)
{
    const AVInputFormat* demuxer = quickTimeDemuxer();
    if (!demuxer || !file.data())
        return false;
    constexpr std::size_t kProbeSize = 4096;
    std::vector<unsigned char> start(std::min(file.size(), kProbeSize) + AVPROBE_PADDING_SIZE, 0);
    std::memcpy(start.data(), file.data(), std::min(file.size(), kProbeSize));
    AVProbeData probe{};
    probe.filename = "";
    probe.buf = start.data();
    probe.buf_size = int(std::min(file.size(), kProbeSize));
    int score = 0;
    return movieLibrary()->probeInputFormat2(&probe, 1, &score) == demuxer;
}

std::optional<CaptureTime> movieCaptureTime(OpenedFile& file)
{
    if (!movieLibrary())
        return std::nullopt;
    const MovieHeader header(file);
    if (!header.isRead())
        return std::nullopt;
    if (const char* apple = header.value("com.apple.quicktime.creationdate")) {
        const QDateTime time = QDateTime::fromString(QString::fromUtf8(apple), Qt::ISODateWithMs);
        if (!time.isValid())
            return none(std::string("its QuickTime creationdate \"") + apple + "\" is no date and time");
        // Without an offset it is a time of no zone, as a picture's.
        if (time.timeSpec() == Qt::LocalTime)
            return CaptureTime{QDateTime(time.date(), time.time(), Qt::UTC), {}};
        return CaptureTime{time, {}};
    }
    // The demuxer leaves the zero date out.
    const char* created = header.value("creation_time");
    if (!created)
        return CaptureTime{{}, kNoCreationTime};
    const QDateTime time = QDateTime::fromString(QString::fromUtf8(created), Qt::ISODateWithMs);
    if (!time.isValid())
        return none(std::string("its creation time \"") + created + "\" is no date and time");
    return CaptureTime{time.toLocalTime(), {}};
}
