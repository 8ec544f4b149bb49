#include "spelling/AsciiSpelling.h"

#include "text/Utf8.h"

#include <unicode/translit.h>

#include <stdexcept>

struct AsciiSpeller::Transliteration {
    std::unique_ptr<icu::Transliterator> transliterator;
    icu::UnicodeString buffer;
};

AsciiSpeller::AsciiSpeller() : m_transliteration(std::make_unique<Transliteration>())
{
    UErrorCode error = U_ZERO_ERROR;
    m_transliteration->transliterator.reset(
        icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, error));
    if (U_FAILURE(error) || !m_transliteration->transliterator)
        throw std::runtime_error(std::string("ICU cannot spell names in ASCII here: ") + u_errorName(error));
}

AsciiSpeller::~AsciiSpeller() = default;

std::string AsciiSpeller::spell(std::string_view name)
{
    if (utf8::isAscii(name))
        return std::string(name);
    return utf8::changeWellFormed(name, [this](std::string& out, std::string_view text) {
        icu::UnicodeString& buffer = m_transliteration->buffer;
        buffer = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), std::int32_t(text.size())));
        m_transliteration->transliterator->transliterate(buffer);
        buffer.toUTF8String(out);
    });
}
