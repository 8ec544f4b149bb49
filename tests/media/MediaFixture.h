#pragma once

// The smallest files of each audio and video container, written here byte by
// byte, and their tags written into them by TagLib itself.

#include <QByteArray>
#include <QFile>
#include <QMap>

#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

namespace fixture {

inline QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

inline QByteArray le32(quint32 value)
{
    QByteArray bytes = be32(value);
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

inline QByteArray atom(const QByteArray& type, const QByteArray& payload)
{
    return be32(quint32(8 + payload.size())) + type + payload;
}

// A QuickTime or MP4 file with no track: its movie header's creation time
// (seconds since 1904, UTC; 0 is none) and, unless empty, Apple's
// com.apple.quicktime.creationdate.
inline QByteArray movie(const QByteArray& brand, quint32 created, const QByteArray& appleDate = {})
{
    const QByteArray matrix = be32(0x10000) + be32(0) + be32(0) + be32(0) + be32(0x10000) + be32(0) + be32(0)
        + be32(0) + be32(0x40000000);
    QByteArray moov = atom("mvhd", be32(0) + be32(created) + be32(created) + be32(1000) + be32(0) + be32(0x10000)
                                       + QByteArray("\x01\0", 2) + QByteArray(10, '\0') + matrix
                                       + QByteArray(24, '\0') + be32(1));
    if (!appleDate.isEmpty()) {
        const QByteArray key = "com.apple.quicktime.creationdate";
        moov += atom("meta", atom("hdlr", be32(0) + be32(0) + "mdta" + QByteArray(13, '\0'))
                                 + atom("keys", be32(0) + be32(1) + be32(quint32(8 + key.size())) + "mdta" + key)
                                 + atom("ilst", atom(be32(1), atom("data", be32(1) + be32(0) + appleDate))));
    }
    return atom("ftyp", brand + be32(0) + brand + "isom") + atom("moov", moov) + atom("mdat", {});
}

// An Ogg page holding whole packets, with its checksum.
inline QByteArray oggPage(const QList<QByteArray>& packets, quint32 sequence, char flags)
{
    QByteArray lacing;
    QByteArray body;
    for (const QByteArray& packet : packets) {
        lacing += QByteArray(packet.size() / 255, char(255)) + char(packet.size() % 255);
        body += packet;
    }
    QByteArray page = "OggS" + QByteArray(1, '\0') + flags + QByteArray(8, '\0') + le32(7) + le32(sequence)
        + le32(0) + char(lacing.size()) + lacing + body;
    quint32 crc = 0;
    for (const char byte : page) {
        crc ^= quint32(quint8(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return page.replace(22, 4, le32(crc));
}

// A container without tags, by the extension of the file it is for.
inline QByteArray emptyAudio(const QByteArray& extension)
{
    if (extension == "mp3")  // three silent MPEG-1 layer III frames
        return (QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(413, '\0')).repeated(3);
    if (extension == "flac")  // STREAMINFO alone: 44.1 kHz, mono, 16 bits, no samples
        return "fLaC" + QByteArray("\x80\0\0\x22\x10\0\x10\0", 8) + QByteArray(6, '\0')
            + QByteArray("\x0A\xC4\x40\xF0\0\0\0\0", 8) + QByteArray(16, '\0') + QByteArray(8, '\0');
    if (extension == "wav")
        return "RIFF" + le32(36 + 2) + "WAVE" + "fmt " + le32(16) + QByteArray("\1\0\1\0", 4) + le32(8000)
            + le32(16000) + QByteArray("\2\0\x10\0", 4) + "data" + le32(2) + QByteArray(2, '\0');
    if (extension == "m4a")
        return movie("M4A ", 0);
    // TagLib reads no packet from the stream's last page: one of sound ends it.
    const QByteArray vendor = le32(4) + "test" + le32(0);
    const QByteArray end = oggPage({QByteArray(1, '\0')}, 2, 4);
    if (extension == "opus")
        return oggPage({"OpusHead" + QByteArray("\1\1\0\0", 4) + le32(48000) + QByteArray(3, '\0')}, 0, 2)
            + oggPage({"OpusTags" + vendor}, 1, 0) + end;
    return oggPage({"\x01vorbis" + le32(0) + '\1' + le32(44100) + QByteArray(12, '\0') + "\xB8\1"}, 0, 2)
        + oggPage({"\x03vorbis" + vendor + '\1', "\x05vorbis"}, 1, 0) + end;
}

// Tag names as TagLib's property maps spell them: ARTIST, TRACKNUMBER, ….
using AudioTags = QMap<QByteArray, QByteArray>;

// Writes an audio file of the type its extension names, with the tags
// (none: an untagged file); an MP3 named *.v1.mp3 gets an ID3v1 tag only.
inline bool writeAudio(const QByteArray& path, const AudioTags& tags)
{
    QFile file(QString::fromLocal8Bit(path));
    const QByteArray bytes = emptyAudio(path.mid(path.lastIndexOf('.') + 1));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    if (tags.isEmpty())
        return true;
    TagLib::PropertyMap properties;
    for (auto tag = tags.begin(); tag != tags.end(); ++tag)
        properties.insert(tag.key().constData(), TagLib::String(tag.value().constData(), TagLib::String::UTF8));
    TagLib::FileRef ref(path.constData(), false);
    if (ref.isNull())
        return false;
    if (!path.endsWith(".v1.mp3")) {
        ref.file()->setProperties(properties);
        return ref.save();
    }
    auto* mpeg = static_cast<TagLib::MPEG::File*>(ref.file());
    mpeg->ID3v1Tag(true)->setProperties(properties);
    return mpeg->save(TagLib::MPEG::File::ID3v1);
}

} // namespace fixture
