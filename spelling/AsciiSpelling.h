#pragma once

#include <memory>
#include <string>
#include <string_view>

// Names spelled in ASCII, with ICU's transliteration of every script into
// Latin letters and of those into ASCII: Ærøskøbing to AEroskobing, Straße to
// Strasse, Москва to Moskva, ½ to 1/2. A character with no ASCII spelling
// (an emoji, €) stays, and so do stray bytes.
class AsciiSpeller {
public:
    // Throws std::runtime_error with ICU's reason where it cannot be made.
    AsciiSpeller();
    ~AsciiSpeller();
    AsciiSpeller(const AsciiSpeller&) = delete;
    AsciiSpeller& operator=(const AsciiSpeller&) = delete;

    std::string spell(std::string_view name);

private:
    struct Transliteration;
    std::unique_ptr<Transliteration> m_transliteration;
};
