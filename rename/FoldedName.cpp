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

}  // namespace

std::u32string foldedName(std::string_view name)
{
    constexpr char32_t kStrayByte = 0x80000000u;
    std::u32string folded;
    folded.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        folded.push_back(c.wellFormed ? foldCase(c.codePoint) : kStrayByte | c.codePoint);
        pos += c.size;
    }
    return folded;
}
