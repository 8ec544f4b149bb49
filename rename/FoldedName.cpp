#include "rename/FoldedName.h"

#include "rename/CaseFold.h"
#include "rename/Utf8.h"

namespace {

void appendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string foldedName(std::string_view name)
{
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (!c.wellFormed) {
            folded += '\xff';
            folded += char(c.codePoint);
        } else {
            appendUtf8(folded, foldCase(c));
        }
        pos += c.size;
    }
    return folded;
}
