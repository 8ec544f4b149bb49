#include "text/LetterCase.h"

std::string LowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lowerAscii(c);
    return result;
}

std::string UpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = upperAscii(c);
    return result;
}

std::string foldedName(std::string_view name)
{
    // ASCII, the most of most names, folds byte by byte.
    std::size_t pos = 0;
    while (pos < name.size() && static_cast<unsigned char>(name[pos]) < 0x80)
        ++pos;
    std::string folded(name.substr(0, pos));
    for (char& c : folded)
        c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    if (pos == name.size())
        return folded;
    folded.reserve(name.size() + 8);
    while (pos < name.size()) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (!c.wellFormed) {
            folded += '\xff';
            folded += char(c.codePoint);
        } else {
            utf8::appendChar(folded, foldCase(c));
        }
        pos += c.size;
    }
    return folded;
}
