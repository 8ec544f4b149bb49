#include "text/JsonLine.h"

#include "text/HexDigit.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace {

// The bytes a JSON string holds as they are: ASCII but for controls, the
// quote and the backslash.
constexpr std::array<bool, 256> jsonPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

char* writeEscaped(char* out, char32_t unit)
{
    static const char hex[] = "0123456789abcdef";
    *out++ = '\\';
    *out++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = hex[(unit >> shift) & 0xF];
    return out;
}

// Whether the eight bytes at `at` all go in as they stand.
bool eightPlain(const char* at)
{
    const auto plain = [at](int i) { return jsonPlain[static_cast<unsigned char>(at[i])]; };
    return plain(0) & plain(1) & plain(2) & plain(3) & plain(4) & plain(5) & plain(6) & plain(7);
}

// Reads one object of a JSON line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    std::optional<std::vector<std::pair<std::string, std::string>>> object()
    {
        std::vector<std::pair<std::string, std::string>> fields;
        skipBlanks();
        if (!take('{'))
            return std::nullopt;
        skipBlanks();
        if (take('}'))
            return atEnd() ? std::optional(fields) : std::nullopt;
        do {
            skipBlanks();
            std::optional<std::string> key = string();
            skipBlanks();
            if (!key || !take(':'))
                return std::nullopt;
            skipBlanks();
            if (m_pos < m_text.size() && (m_text[m_pos] == '[' || m_text[m_pos] == '{')) {
                if (!skipNested())
                    return std::nullopt;
            } else {
                std::optional<std::string> value = m_pos < m_text.size() && m_text[m_pos] == '"' ? string() : scalar();
                if (!value)
                    return std::nullopt;
                fields.emplace_back(std::move(*key), std::move(*value));
            }
            skipBlanks();
        } while (take(','));
        if (!take('}'))
            return std::nullopt;
        return atEnd() ? std::optional(fields) : std::nullopt;
    }

private:
    bool take(char c)
    {
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void skipBlanks()
    {
        while (m_pos < m_text.size() && std::string_view(" \t\r").find(m_text[m_pos]) != std::string_view::npos)
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos == m_text.size();
    }

    // An array or an object, whole, with whatever it holds.
    bool skipNested()
    {
        int depth = 0;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '"') {
                if (!string())
                    return false;
                continue;
            }
            ++m_pos;
            if (c == '[' || c == '{')
                ++depth;
            else if ((c == ']' || c == '}') && --depth == 0)
                return true;
        }
        return false;
    }

    std::optional<std::string> scalar()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::string_view("+-.0123456789eEtrufalsn").find(m_text[m_pos]) != std::string_view::npos)
            ++m_pos;
        if (m_pos == start)
            return std::nullopt;
        return std::string(m_text.substr(start, m_pos - start));
    }

    std::optional<unsigned> hexUnit()
    {
        if (m_pos + 4 > m_text.size())
            return std::nullopt;
        unsigned unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            const int digit = hexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            unit = unit * 16 + unsigned(digit);
        }
        return unit;
    }

    std::optional<std::string> string()
    {
        if (!take('"'))
            return std::nullopt;
        std::string bytes;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"')
                return bytes;
            if (c != '\\') {
                if (static_cast<unsigned char>(c) < 0x20)
                    return std::nullopt;
                bytes += c;
                continue;
            }
            if (m_pos == m_text.size())
                return std::nullopt;
            const char escape = m_text[m_pos++];
            switch (escape) {
            case '"': case '\\': case '/': bytes += escape; break;
            case 'b': bytes += '\b'; break;
            case 'f': bytes += '\f'; break;
            case 'n': bytes += '\n'; break;
            case 'r': bytes += '\r'; break;
            case 't': bytes += '\t'; break;
            case 'u': {
                std::optional<unsigned> unit = hexUnit();
                if (!unit)
                    return std::nullopt;
                if (*unit >= 0xDC80 && *unit <= 0xDCFF) {  // a byte that is not UTF-8, as --json writes it
                    bytes += char(*unit - 0xDC00);
                } else if (*unit >= 0xD800 && *unit <= 0xDBFF) {
                    if (!take('\\') || !take('u'))
                        return std::nullopt;
                    std::optional<unsigned> low = hexUnit();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF)
                        return std::nullopt;
                    utf8::appendChar(bytes, 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00));
                } else if (*unit >= 0xDC00 && *unit <= 0xDFFF) {
                    return std::nullopt;
                } else {
                    utf8::appendChar(bytes, *unit);
                }
                break;
            }
            default:
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

void appendJsonString(std::string& json, std::string_view bytes)
{
    json += '"';
    appendJsonText(json, bytes);
    json += '"';
}

void appendJsonText(std::string& json, std::string_view bytes)
{
    const std::size_t start = json.size();
    json.resize(start + jsonTextBound(bytes.size()));
    json.resize(std::size_t(writeJsonText(json.data() + start, bytes) - json.data()));
}

char* writeJsonText(char* out, std::string_view bytes)
{
    const char* const end = bytes.data() + bytes.size();
    for (const char* from = bytes.data(); from < end;) {
        // Runs of ASCII that needs no escape go in whole, judged eight bytes
        // a step: a journal writes two paths for every rename.
        const char* plain = from;
        while (end - plain >= 8 && eightPlain(plain))
            plain += 8;
        while (plain < end && jsonPlain[static_cast<unsigned char>(*plain)])
            ++plain;
        out = std::copy(from, plain, out);
        if (plain == end)
            break;
        const utf8::DecodedChar c = utf8::decodeChar(bytes, std::size_t(plain - bytes.data()));
        if (!c.wellFormed) {
            out = writeEscaped(out, 0xDC00 + c.codePoint);
        } else if (c.codePoint == '"' || c.codePoint == '\\') {
            *out++ = '\\';
            *out++ = char(c.codePoint);
        } else if (c.codePoint < 0x20) {
            out = writeEscaped(out, c.codePoint);
        } else {
            out = std::copy(plain, plain + c.size, out);
        }
        from = plain + c.size;
    }
    return out;
}

std::string jsonString(std::string_view bytes)
{
    std::string json;
    appendJsonString(json, bytes);
    return json;
}

std::optional<JsonFields> JsonFields::read(std::string_view line)
{
    auto fields = LineReader(line).object();
    if (!fields)
        return std::nullopt;
    JsonFields object;
    object.m_fields = std::move(*fields);
    return object;
}

const std::string* JsonFields::find(std::string_view key) const
{
    for (const auto& [name, value] : m_fields) {
        if (name == key)
            return &value;
    }
    return nullptr;
}
