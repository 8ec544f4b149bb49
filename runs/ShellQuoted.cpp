#include "runs/ShellQuoted.h"

#include "text/Utf8.h"

#include <QChar>

#include <array>

namespace {

// The bytes no shell treats apart, as a table: a preview quotes two names a
// file.
constexpr std::array<bool, 256> plainBytes = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c)
        plain[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    for (const char c : std::string_view("_-./:,+@%="))
        plain[static_cast<unsigned char>(c)] = true;
    return plain;
}();

bool isPlain(unsigned char c)
{
    return plainBytes[c];
}

// Whether a character beyond ASCII shows as itself, and only as itself: a
// character of a UTF-8 terminal, not a control, not a blank that looks
// like a space, nor one that is invisible or turns the text around.
bool showsAsItself(const utf8::DecodedChar& c, bool utf8)
{
    if (!utf8 || !c.wellFormed || c.codePoint < 0xA0)
        return false;
    switch (QChar::category(c.codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

void appendEscape(std::string& text, unsigned char byte)
{
    static const char hex[] = "0123456789abcdef";
    switch (byte) {
    case '\n': text += "\\n"; return;
    case '\t': text += "\\t"; return;
    case '\r': text += "\\r"; return;
    case '\\': text += "\\\\"; return;
    case '\'': text += "\\'"; return;
    default:
        text += "\\x";
        text += hex[byte >> 4];
        text += hex[byte & 0xF];
    }
}

} // namespace

std::string shellQuoted(std::string_view name, bool utf8)
{
    std::string quoted;
    appendShellQuoted(quoted, name, utf8);
    return quoted;
}

void appendShellQuoted(std::string& text, std::string_view name, bool utf8)
{
    // Most names are plain ASCII throughout, which needs no decoding.
    std::size_t plainAscii = 0;
    while (plainAscii < name.size() && isPlain(static_cast<unsigned char>(name[plainAscii])))
        ++plainAscii;
    bool plain = !name.empty();
    bool needsEscapes = false;
    for (std::size_t pos = plainAscii; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        if (c.codePoint < 0x80 && c.wellFormed) {
            plain = plain && isPlain(static_cast<unsigned char>(c.codePoint));
            needsEscapes = needsEscapes || c.codePoint < 0x20 || c.codePoint == 0x7F;
        } else if (!showsAsItself(c, utf8)) {
            plain = false;
            needsEscapes = true;
        }
        pos += c.size;
    }
    if (plain) {
        text.append(name);
        return;
    }
    if (!needsEscapes) {
        text += '\'';
        for (const char c : name) {
            if (c == '\'')
                text += "'\\''";
            else
                text += c;
        }
        text += '\'';
        return;
    }
    appendDollarQuoted(text, name, utf8);
}

std::string dollarQuoted(std::string_view name, bool utf8)
{
    std::string quoted;
    appendDollarQuoted(quoted, name, utf8);
    return quoted;
}

void appendDollarQuoted(std::string& text, std::string_view name, bool utf8)
{
    text += "$'";
    for (std::size_t pos = 0; pos < name.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(name, pos);
        const bool asIs = c.codePoint < 0x80 && c.wellFormed
            ? c.codePoint >= 0x20 && c.codePoint != 0x7F && c.codePoint != '\\' && c.codePoint != '\''
            : showsAsItself(c, utf8);
        if (asIs) {
            text.append(name.substr(pos, c.size));
        } else {
            for (std::size_t i = 0; i < c.size; ++i)
                appendEscape(text, static_cast<unsigned char>(name[pos + i]));
        }
        pos += c.size;
    }
    text += '\'';
}

std::optional<std::string> dollarUnquoted(std::string_view word)
{
    if (!word.starts_with("$'") || word.size() < 3 || word.back() != '\'')
        return std::nullopt;
    const std::string_view inside = word.substr(2, word.size() - 3);
    const auto digitOf = [](char c, int base) {
        const int value = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : base;
        return value < base ? value : -1;
    };
    std::string bytes;
    for (std::size_t pos = 0; pos < inside.size(); ++pos) {
        const char c = inside[pos];
        if (c == '\'')
            return std::nullopt;
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++pos == inside.size())
            return std::nullopt;
        const char escape = inside[pos];
        const int base = escape == 'x' ? 16 : digitOf(escape, 8) >= 0 ? 8 : 0;
        if (base != 0) {
            const std::size_t first = base == 16 ? pos + 1 : pos;
            int value = 0;
            std::size_t end = first;
            for (; end < inside.size() && end < first + (base == 16 ? 2 : 3) && digitOf(inside[end], base) >= 0; ++end)
                value = value * base + digitOf(inside[end], base);
            if (end == first)
                return std::nullopt;
            bytes += char(value);
            pos = end - 1;
            continue;
        }
        constexpr std::string_view from = "ntrabefv\\'\"?";
        constexpr std::string_view to = "\n\t\r\a\b\x1b\f\v\\'\"?";
        const std::size_t known = from.find(escape);
        if (known == std::string_view::npos)
            return std::nullopt;
        bytes += to[known];
    }
    return bytes;
}
