#include "runs/ShellQuoted.h"

#include "text/Utf8.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// What each byte asks of a name's quoting, as flags in a table: a preview
// quotes two names a file. Bytes beyond ASCII are judged by the character
// they begin.
enum ByteNeed : std::uint8_t { Quotes = 1, Escape = 2, Beyond = 4 };

constexpr std::array<std::uint8_t, 256> byteNeeds = [] {
    std::array<std::uint8_t, 256> needs{};
    for (int c = 0; c < 256; ++c) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        needs[c] = c >= 0x80 ? Beyond : c < 0x20 || c == 0x7F ? Escape : plain ? 0 : Quotes;
    }
    for (const char c : std::string_view("_-./:,+@%="))
        needs[static_cast<unsigned char>(c)] = 0;
    return needs;
}();

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

// What quoting `name` needs from byte `from` on.
unsigned quotingNeeds(std::string_view name, bool utf8, std::size_t from)
{
    // Most names are ASCII throughout, which needs no decoding. Eight bytes
    // are judged a step: a preview judges two names a file.
    unsigned needs = name.empty() ? Quotes : 0;
    const auto* byte = reinterpret_cast<const unsigned char*>(name.data()) + std::min(from, name.size());
    const auto* const end = reinterpret_cast<const unsigned char*>(name.data()) + name.size();
    const auto eight = [](const unsigned char* at) {
        return byteNeeds[at[0]] | byteNeeds[at[1]] | byteNeeds[at[2]] | byteNeeds[at[3]] | byteNeeds[at[4]]
            | byteNeeds[at[5]] | byteNeeds[at[6]] | byteNeeds[at[7]];
    };
    if (end - byte >= 8) {
        // Past an escape, nothing more can change the quoting. The last
        // eight bytes may overlap the step before: a byte judged twice
        // asks for nothing more.
        for (; end - byte > 8 && !(needs & Escape); byte += 8)
            needs |= eight(byte);
        needs |= eight(end - 8);
    } else {
        for (; byte < end; ++byte)
            needs |= byteNeeds[*byte];
    }
    if (needs & Beyond) {
        needs &= ~unsigned(Beyond);
        for (std::size_t pos = from; pos < name.size() && !(needs & Escape);) {
            const utf8::DecodedChar c = utf8::decodeChar(name, pos);
            if (c.codePoint >= 0x80 || !c.wellFormed)
                needs |= showsAsItself(c, utf8) ? 0 : Escape;
            pos += c.size;
        }
    }
    return needs;
}

} // namespace

std::string shellQuoted(std::string_view name, bool utf8)
{
    std::string quoted;
    appendShellQuoted(quoted, name, utf8);
    return quoted;
}

bool standsAsIs(std::string_view text, bool utf8)
{
    return quotingNeeds(text, utf8, 0) == 0;
}

void appendShellQuoted(std::string& text, std::string_view name, bool utf8, std::size_t plainBytes)
{
    const unsigned needs = quotingNeeds(name, utf8, plainBytes);
    if (needs == 0) {
        text.append(name);
        return;
    }
    if (needs & Escape) {
        appendDollarQuoted(text, name, utf8);
        return;
    }
    text += '\'';
    for (std::size_t from = 0;;) {
        const std::size_t quote = name.find('\'', from);
        text.append(name.substr(from, quote - from));
        if (quote == std::string_view::npos)
            break;
        text += "'\\''";
        from = quote + 1;
    }
    text += '\'';
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
