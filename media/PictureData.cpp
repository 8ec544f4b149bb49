#include "media/PictureData.h"

#include "media/OpenedFile.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

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

// The types of the movies Exiv2's video readers take, where it is built
// with them: RIFF, Matroska, QuickTime and ASF (their headers, which name
// them, do not build on their own).
constexpr std::array<int, 4> kVideoTypes = {20, 21, 22, 24};

template <typename Data, typename Key>
HeldValue printed(const Data& data, const Key& key, const Exiv2::ExifData* exif = nullptr)
{
    const auto found = data.findKey(key);
    if (found == data.end())
        return {{}, "has no " + key.key()};
    return {found->print(exif), {}};
}

} // namespace

bool holdsPicture(OpenedFile& file)
{
    setUpExiv2();
    if (!file.data())
        return false;
    try {
        const int type = Exiv2::ImageFactory::getType(file.data(), long(file.size()));
        return type != Exiv2::ImageType::none
            && std::find(kVideoTypes.begin(), kVideoTypes.end(), type) == kVideoTypes.end();
    } catch (const std::exception&) {
        // Some of its checks throw on a short file instead of saying no.
        return false;
    }
}

std::string readPicture(OpenedFile& file, const std::function<void(Exiv2::Image&)>& use)
{
    if (!holdsPicture(file))
        return file.isOpen() ? "not a picture that Exiv2 reads" : file.error();
    try {
        auto image = Exiv2::ImageFactory::open(file.data(), long(file.size()));
        image->readMetadata();
        use(*image);
        return {};
    } catch (const std::exception& error) {
        return std::string("its picture data cannot be read (") + error.what() + ")";
    }
}

HeldValue pictureValue(OpenedFile& file, const std::string& key)
{
    HeldValue value;
    const std::string error = readPicture(file, [&](Exiv2::Image& image) {
        if (key.starts_with("Iptc."))
            value = printed(image.iptcData(), Exiv2::IptcKey(key));
        else if (key.starts_with("Xmp."))
            value = printed(image.xmpData(), Exiv2::XmpKey(key));
        else
            value = printed(image.exifData(), Exiv2::ExifKey(key), &image.exifData());
    });
    if (!error.empty())
        return {{}, error};
    return value;
}

std::string pictureKeyError(const std::string& key)
{
    setUpExiv2();
    try {
        if (key.starts_with("Iptc."))
            Exiv2::IptcKey{key};
        else if (key.starts_with("Xmp."))
            Exiv2::XmpKey{key};
        else
            Exiv2::ExifKey{key};
        return {};
    } catch (const std::exception&) {
        return "Exiv2 knows no key " + key
            + " (keys look like Exif.Image.Model, Iptc.Application2.City, Xmp.dc.creator)";
    }
}
