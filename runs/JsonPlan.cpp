#include "runs/JsonPlan.h"

#include "text/HexDigit.h"
#include "text/Utf8.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>

namespace {

// Reads the JSON lines --json writes: one flat object a line, values
// strings, numbers, true, false or null.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    std::optional<std::map<std::string, std::string>> object()
    {
        std::map<std::string, std::string> fields;
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
            std::optional<std::string> value = m_pos < m_text.size() && m_text[m_pos] == '"' ? string() : scalar();
            if (!value)
                return std::nullopt;
            fields[*key] = std::move(*value);
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
        while (m_pos < m_text.size() && std::strchr(" \t\r", m_text[m_pos]))
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos == m_text.size();
    }

    std::optional<std::string> scalar()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::strchr("+-.0123456789eEtrufalsn", m_text[m_pos]))
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

std::optional<std::vector<PlannedName>> readJsonPlan(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<PlannedName> plan;
    std::string line;
    for (std::size_t number = 1; std::getline(file, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        std::optional<std::map<std::string, std::string>> object = LineReader(line).object();
        if (!object) {
            error = path + ": line " + std::to_string(number) + " is not a JSON object of the preview";
            return std::nullopt;
        }
        const auto named = object->find("file");
        const auto newName = object->find("new_name");
        if (named == object->end() || newName == object->end())
            continue;
        if (named->second.empty()) {
            error = path + ": line " + std::to_string(number) + " names no file";
            return std::nullopt;
        }
        plan.emplace_back(std::move(named->second), std::move(newName->second));
    }
    return plan;
}
