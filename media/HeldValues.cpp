#include "media/HeldValues.h"

#include "media/AudioTags.h"
#include "media/OpenedFile.h"
#include "media/PictureData.h"

#include <algorithm>

namespace {

constexpr std::string_view kPictureKey = "exif:";

} // namespace

HeldValue readHeldValue(const std::string& path, const std::string& field)
{
    OpenedFile file(path);
    if (field.starts_with(kPictureKey))
        return pictureValue(file, field.substr(kPictureKey.size()));
    return audioTagValue(file, path, field);
}

std::string heldFieldError(const std::string& field)
{
    if (field.starts_with(kPictureKey))
        return pictureKeyError(field.substr(kPictureKey.size()));
    if (std::find(std::begin(kAudioFields), std::end(kAudioFields), field) != std::end(kAudioFields))
        return {};
    return "expected artist, album, title, track, disc, year, genre or exif: and a key";
}
