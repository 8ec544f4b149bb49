#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The one written form of names in the program's JSON lines: the preview's
// (--json), the plans a person edits from it, and the journal.

// `bytes` as a JSON string: UTF-8 as it stands, every other byte as the
// escape \udcXX (XX the byte), which decoders that keep such "surrogate
// escapes" turn back into the very bytes.
void appendJsonString(std::string& json, std::string_view bytes);
std::string jsonString(std::string_view bytes);
// The same without the quotes, for a string written in pieces: each piece
// must end where a character does.
void appendJsonText(std::string& json, std::string_view bytes);
// The same written at `out`, which has room for jsonTextBound(bytes.size())
// bytes; where it ends.
char* writeJsonText(char* out, std::string_view bytes);
// The most a text of `size` bytes takes: \udcXX for each byte.
constexpr std::size_t jsonTextBound(std::size_t size)
{
    return 6 * size;
}

// The fields of one JSON object: strings as the bytes they stand for
// (\udcXX escapes included), numbers, true, false and null as their text.
// A field that holds an array or an object is passed over.
class JsonFields {
public:
    // The object a line holds; nothing when the line is not one.
    static std::optional<JsonFields> read(std::string_view line);

    const std::string* find(std::string_view key) const;

private:
    std::vector<std::pair<std::string, std::string>> m_fields;
};
