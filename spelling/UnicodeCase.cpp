#include "spelling/UnicodeCase.h"

#include "text/Utf8.h"

#include <unicode/uchar.h>
#include <unicode/ucasemap.h>
#include <unicode/utf8.h>

namespace {

std::uint32_t optionsFor(UnicodeCase target)
{
    // Sentence case looks past digits and signs for the first letter: "2009
    // SUMMER" becomes "2009 Summer".
    return target == UnicodeCase::Sentence ? U_TITLECASE_WHOLE_STRING | U_TITLECASE_ADJUST_TO_CASED : 0;
}

bool hasCasedLetter(std::string_view text)
{
    for (std::int32_t pos = 0; pos < std::int32_t(text.size());) {
        UChar32 c;
        U8_NEXT(text.data(), pos, std::int32_t(text.size()), c);
        if (u_hasBinaryProperty(c, UCHAR_CASED))
            return true;
    }
    return false;
}

} // namespace

UnicodeCaseMapper::UnicodeCaseMapper(UnicodeCase target) : m_target(target)
{
    UErrorCode error = U_ZERO_ERROR;
    m_map = ucasemap_open("", optionsFor(target), &error);
    if (U_FAILURE(error))
        m_map = nullptr;
}

UnicodeCaseMapper::~UnicodeCaseMapper()
{
    ucasemap_close(m_map);
}

std::string UnicodeCaseMapper::map(std::string_view name)
{
    bool capitalDue = true;
    return utf8::changeWellFormed(name, [&](std::string& out, std::string_view text) {
        UnicodeCase target = m_target;
        if (target == UnicodeCase::Sentence) {
            if (!capitalDue)
                target = UnicodeCase::Lower;
            else
                capitalDue = !hasCasedLetter(text);
        }
        append(out, text, target);
    });
}

void UnicodeCaseMapper::append(std::string& out, std::string_view text, UnicodeCase target)
{
    const auto mapInto = [&](char* to, std::size_t capacity, UErrorCode& error) {
        const auto length = std::int32_t(text.size());
        const auto room = std::int32_t(capacity);
        switch (target) {
        case UnicodeCase::Lower:
            return ucasemap_utf8ToLower(m_map, to, room, text.data(), length, &error);
        case UnicodeCase::Upper:
            return ucasemap_utf8ToUpper(m_map, to, room, text.data(), length, &error);
        case UnicodeCase::Title:
        case UnicodeCase::Sentence:
            break;
        }
        return ucasemap_utf8ToTitle(m_map, to, room, text.data(), length, &error);
    };
    // Most names fit, and then a short result needs no allocation at all;
    // a longer one is mapped again straight into the name.
    char buffer[256];
    UErrorCode error = U_ZERO_ERROR;
    const std::int32_t length = m_map ? mapInto(buffer, sizeof buffer, error) : 0;
    if (m_map && U_SUCCESS(error)) {
        out.append(buffer, std::size_t(length));
        return;
    }
    const std::size_t at = out.size();
    if (error == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(at + std::size_t(length));
        error = U_ZERO_ERROR;
        mapInto(out.data() + at, std::size_t(length), error);
        if (U_SUCCESS(error))
            return;
    }
    out.resize(at);
    out.append(text);
}
