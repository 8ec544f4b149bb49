#include "rename/FoldedName.h"

#include "rename/Utf8.h"

#include <cwctype>
#include <locale.h>

namespace {

// Case mapping that does not hang on the user's locale: the C.UTF-8 locale
// is built into glibc. Without it only ASCII letters fold.
locale_t caseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

char32_t foldCase(char32_t c)
{
    if (const locale_t locale = caseLocale())
        return static_cast<char32_t>(towlower_l(towupper_l(static_cast<wint_t>(c), locale), locale));
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

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
        // ASCII, the bulk of most names, without the cost of the locale's tables.
        if (c.codePoint < 0x80) {
            folded += char(c.codePoint >= U'A' && c.codePoint <= U'Z' ? c.codePoint + 0x20 : c.codePoint);
        } else if (!c.wellFormed) {
            folded += '\xff';
            folded += char(c.codePoint);
        } else {
            appendUtf8(folded, foldCase(c.codePoint));
        }
        pos += c.size;
    }
    return folded;
}
