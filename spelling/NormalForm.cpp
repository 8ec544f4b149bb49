#include "spelling/NormalForm.h"

#include "text/Utf8.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>

std::string normalized(std::string_view name, NormalForm form)
{
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* normalizer = form == NormalForm::Composed ? icu::Normalizer2::getNFCInstance(error)
                                                                       : icu::Normalizer2::getNFDInstance(error);
    if (U_FAILURE(error))
        return std::string(name);
    return utf8::changeWellFormed(name, [&](std::string& out, std::string_view text) {
        const std::size_t at = out.size();
        icu::StringByteSink<std::string> sink(&out);
        UErrorCode failure = U_ZERO_ERROR;
        normalizer->normalizeUTF8(0, icu::StringPiece(text.data(), std::int32_t(text.size())), sink, nullptr, failure);
        if (U_FAILURE(failure)) {
            out.resize(at);
            out.append(text);
        }
    });
}
