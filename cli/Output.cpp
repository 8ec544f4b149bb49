#include "cli/Output.h"

#include "text/Utf8.h"

namespace {

void appendEscaped(std::string& json, char32_t unit)
{
    static const char hex[] = "0123456789abcdef";
    json += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        json += hex[(unit >> shift) & 0xF];
}

} // namespace

std::string jsonString(std::string_view bytes)
{
    std::string json = "\"";
    for (std::size_t pos = 0; pos < bytes.size();) {
        const utf8::DecodedChar c = utf8::decodeChar(bytes, pos);
        if (!c.wellFormed) {
            appendEscaped(json, 0xDC00 + c.codePoint);
        } else if (c.codePoint == '"' || c.codePoint == '\\') {
            json += '\\';
            json += char(c.codePoint);
        } else if (c.codePoint < 0x20) {
            appendEscaped(json, c.codePoint);
        } else {
            json.append(bytes.substr(pos, c.size));
        }
        pos += c.size;
    }
    return json + '"';
}

Output::Output(std::FILE* out, bool json)
    : m_out(out)
    , m_json(json)
{
}

void Output::line(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), m_out);
    std::fputc('\n', m_out);
}

void Output::outlook(std::string_view file, std::string_view newName, std::string_view outcome,
                     std::string_view reason)
{
    if (m_json) {
        std::string object = "{\"file\":" + jsonString(file) + ",\"new_name\":" + jsonString(newName)
            + ",\"outcome\":" + jsonString(outcome);
        if (!reason.empty())
            object += ",\"reason\":" + jsonString(reason);
        line(object + '}');
        return;
    }
    std::string text(file);
    text += " → ";
    text += newName;
    if (!reason.empty())
        (text += ": ") += reason;
    else if (outcome == "unchanged")
        text += " (unchanged)";
    line(text);
}

void Output::renamed(std::string_view oldPath, std::string_view newPath)
{
    if (m_json)
        line("{\"file\":" + jsonString(oldPath) + ",\"renamed_to\":" + jsonString(newPath) + '}');
}

void Output::failed(std::string_view file, std::string_view newName, std::string_view reason)
{
    if (m_json) {
        line("{\"file\":" + jsonString(file) + ",\"new_name\":" + jsonString(newName)
             + ",\"outcome\":\"failed\",\"reason\":" + jsonString(reason) + '}');
        return;
    }
    std::string text(file);
    (((text += " → ") += newName) += ": ") += reason;
    line(text);
}

void Output::note(std::string_view file, std::string_view text)
{
    if (m_json) {
        line("{\"file\":" + jsonString(file) + ",\"note\":" + jsonString(text) + '}');
        return;
    }
    std::string shown(file);
    (shown += ": ") += text;
    line(shown);
}

void Output::summary(std::string_view text)
{
    if (m_json)
        line("{\"summary\":" + jsonString(text) + '}');
    else
        line(text);
}
