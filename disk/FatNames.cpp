#include "disk/FatNames.h"

#include "text/Utf8.h"

#include <cstdio>

namespace {

constexpr std::size_t kMaxUtf16Units = 255;
constexpr std::string_view kReserved = "\"*/:<>?\\|";

std::string refused(const std::string& why)
{
    return "name not allowed on this file system: " + why;
}

}  // namespace

std::string fatNameRefusal(std::string_view name)
{
    std::size_t utf16Units = 0;
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (!c.wellFormed)
            return refused("not valid UTF-8");
        if (c.codePoint < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", unsigned(c.codePoint));
            return refused("control character " + std::string(code));
        }
        if (c.codePoint < 0x80 && kReserved.find(char(c.codePoint)) != std::string_view::npos)
            return refused('\'' + std::string(1, char(c.codePoint)) + '\'');
        utf16Units += c.codePoint > 0xFFFF ? 2 : 1;
        pos += c.size;
    }
    if (name.ends_with('.'))
        return refused("it ends in a dot");
    if (name.ends_with(' '))
        return refused("it ends in a blank");
    if (utf16Units > kMaxUtf16Units)
        return refused("too long, " + std::to_string(utf16Units) + " UTF-16 units where at most "
                       + std::to_string(kMaxUtf16Units) + " fit");
    return {};
}

std::string asciiFatNameRefusal(std::string_view name)
{
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (c.wellFormed && c.codePoint >= 0x7F) {
            const std::string shown =
                c.codePoint == 0x7F ? std::string("DEL") : '\'' + std::string(name.substr(pos, c.size)) + '\'';
            return refused("its driver holds ASCII names only, not " + shown);
        }
        pos += c.size;
    }
    return fatNameRefusal(name);
}
