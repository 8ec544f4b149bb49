#include "media/AudioTags.h"

#include "media/OpenedFile.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

namespace {

// The file as TagLib reads it: through the descriptor already open, under
// the file's name, so that TagLib tries the format its extension names
// first, and probes the bytes only when that fails.
class NamedStream : public TagLib::FileStream {
public:
    NamedStream(int descriptor, const std::string& path) : TagLib::FileStream(descriptor, true), m_path(path) {}
    TagLib::FileName name() const override { return m_path.c_str(); }

private:
    std::string m_path;
};

std::string text(const TagLib::String& value)
{
    return value.to8Bit(true);
}

std::string number(unsigned value)
{
    return value == 0 ? std::string() : std::to_string(value);
}

// "2/3" is disc 2 of 3.
std::string discOf(TagLib::File& file)
{
    const TagLib::StringList discs = file.properties()["DISCNUMBER"];
    if (discs.isEmpty())
        return {};
    const std::string disc = text(discs.front());
    return disc.substr(0, disc.find('/'));
}

std::string fieldOf(TagLib::File& file, const TagLib::Tag& tag, std::string_view field)
{
    if (field == "artist")
        return text(tag.artist());
    if (field == "album")
        return text(tag.album());
    if (field == "title")
        return text(tag.title());
    if (field == "track")
        return number(tag.track());
    if (field == "year")
        return number(tag.year());
    if (field == "genre")
        return text(tag.genre());
    return discOf(file);
}

} // namespace

HeldValue audioTagValue(OpenedFile& file, const std::string& path, std::string_view field)
{
    if (!file.isOpen())
        return {{}, file.error()};
    NamedStream stream(file.releaseDescriptor(), path);
    const TagLib::FileRef audio(&stream, false);
    if (audio.isNull() || !audio.tag())
        return {{}, "not an audio file that TagLib reads"};
    const std::string value = fieldOf(*audio.file(), *audio.tag(), field);
    if (value.empty())
        return {{}, "has no " + std::string(field) + " tag"};
    return {value, {}};
}
