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
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
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
