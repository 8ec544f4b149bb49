#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// What tolvex-rename prints: names go out as the bytes they are, in text
// lines or in JSON lines for scripts.
class Output {
public:
    Output(std::FILE* out, bool json);

    // One row of a preview or of an undo's preview.
    void outlook(std::string_view file, std::string_view newName, std::string_view outcome,
                 std::string_view reason);
    // A file renamed (or renamed back).
    void renamed(std::string_view oldPath, std::string_view newPath);
    // A file that kept its name.
    void failed(std::string_view file, std::string_view newName, std::string_view reason);
    // Something the user should hear of a rename that was made.
    void note(std::string_view file, std::string_view text);
    // The closing lines: the summary, then every failure, one a line.
    void summary(std::string_view text);

private:
    void line(std::string_view text);

    std::FILE* m_out;
    bool m_json;
};

// `bytes` as a JSON string: UTF-8 as it stands, every other byte as the
// escape \udcXX (XX the byte), which decoders that keep such "surrogate
// escapes" turn back into the very bytes.
std::string jsonString(std::string_view bytes);
