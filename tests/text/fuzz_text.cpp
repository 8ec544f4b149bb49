// libFuzzer target for the text operations the rules are built from; see
// fuzz.sh. Each operation is checked against a deliberately naive reference
// that works on a vector of characters split by its own decoder.
#include "text/ReadNumber.h"
#include "text/ReplaceIgnoreCase.h"
#include "text/SubText.h"
#include "text/Utf8.h"

#include <QChar>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

// --- Reference character model ----------------------------------------------

struct RefChar {
    std::string bytes;
    bool wellFormed;
    char32_t codePoint; // the byte for a stray byte
};

// Decodes by the lead byte's high bits, then rejects overlongs, surrogates and
// values above U+10FFFF by value rather than by byte ranges.
std::vector<RefChar> RefSplit(const std::string& text)
{
    std::vector<RefChar> chars;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 0;
        char32_t cp = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool ok = lead < 0x80;
        if (ok) {
            length = 1;
            cp = lead;
        } else if (length != 0 && pos + length <= text.size()) {
            ok = true;
            for (std::size_t i = 1; i < length; ++i) {
                const auto b = static_cast<unsigned char>(text[pos + i]);
                ok = ok && (b >> 6) == 2;
                cp = (cp << 6) | (b & 0x3F);
            }
            const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
            ok = ok && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        }
        if (ok) {
            chars.push_back({text.substr(pos, length), true, cp});
            pos += length;
        } else {
            chars.push_back({text.substr(pos, 1), false, lead});
            pos += 1;
        }
    }
    return chars;
}

std::string Join(const std::vector<RefChar>& chars, std::size_t begin, std::size_t end)
{
    std::string text;
    for (std::size_t i = begin; i < end; ++i)
        text += chars[i].bytes;
    return text;
}

std::string EncodeUtf8(char32_t cp)
{
    std::string s;
    if (cp < 0x80) {
        s += char(cp);
    } else if (cp < 0x800) {
        s += char(0xC0 | (cp >> 6));
        s += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += char(0xE0 | (cp >> 12));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    } else {
        s += char(0xF0 | (cp >> 18));
        s += char(0x80 | ((cp >> 12) & 0x3F));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    }
    return s;
}

// Folded character as a comparable value; stray bytes stay apart from code points.
std::uint64_t RefFold(const RefChar& c)
{
    if (!c.wellFormed)
        return 0x100000000ULL + c.codePoint;
    return QChar::toUpper(c.codePoint);
}

// --- References ---------------------------------------------------------------

std::string RefSubText(const std::string& text, std::int64_t start, std::int64_t count)
{
    const std::vector<RefChar> chars = RefSplit(text);
    const auto length = static_cast<std::int64_t>(chars.size());
    if (start < 1)
        start = 1;
    if (count <= 0 || start > length)
        return {};
    const std::int64_t end = count > length - start + 1 ? length + 1 : start + count;
    return Join(chars, std::size_t(start - 1), std::size_t(end - 1));
}

std::string RefReplace(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    const std::vector<RefChar> t = RefSplit(text);
    const std::vector<RefChar> p = RefSplit(pattern);
    if (p.empty())
        return text;
    std::string result;
    std::size_t i = 0;
    while (i < t.size()) {
        bool match = i + p.size() <= t.size();
        for (std::size_t k = 0; match && k < p.size(); ++k)
            match = RefFold(t[i + k]) == RefFold(p[k]);
        if (match) {
            result += replacement;
            i += p.size();
        } else {
            result += t[i].bytes;
            ++i;
        }
    }
    return result;
}

std::optional<std::int32_t> RefReadNumber(const std::string& text)
{
    static const std::regex form("^ *([+-]?)(?:(\\$|0[xX]|[xX])([0-9A-Fa-f]+)|([0-9]+))$");
    std::smatch m;
    if (!std::regex_match(text, m, form))
        return std::nullopt;
    const bool negative = m[1] == "-";
    const bool hex = m[2].matched;
    std::string digits = hex ? m[3].str() : m[4].str();
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > (hex ? 8u : 10u))
        return std::nullopt;
    if (hex) {
        std::uint32_t v = digits.empty() ? 0 : std::uint32_t(std::stoul(digits, nullptr, 16));
        if (negative)
            v = ~v + 1;
        return std::int32_t(v);
    }
    long long v = digits.empty() ? 0 : std::stoll(digits);
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return std::int32_t(v);
}

// --- Checks -------------------------------------------------------------------

void CheckCharModel(const std::string& text)
{
    const std::vector<RefChar> ref = RefSplit(text);
    const std::vector<std::string_view> split = utf8::splitChars(text);
    Check(split.size() == ref.size(), "split: same number of characters");
    for (std::size_t i = 0; i < ref.size(); ++i)
        Check(split[i] == ref[i].bytes, "split: same characters");
    Check(utf8::charCount(text) == ref.size(), "charCount");
    std::size_t offset = 0;
    for (std::size_t i = 0; i <= ref.size(); ++i) {
        Check(utf8::byteOffsetOfChar(text, i) == offset, "byteOffsetOfChar");
        if (i < ref.size())
            offset += ref[i].bytes.size();
    }
    // Folding maps each character to exactly one character.
    std::string folded;
    for (const RefChar& c : ref)
        folded += c.wellFormed ? EncodeUtf8(QChar::toUpper(c.codePoint)) : c.bytes;
    Check(RefSplit(folded).size() == ref.size(), "fold keeps the length in characters");
}

std::int64_t PickPosition(FuzzedDataProvider& data)
{
    switch (data.ConsumeIntegralInRange(0, 7)) {
    case 0:
        return data.ConsumeIntegral<std::int32_t>();
    case 1:
        return kToTheEnd;
    case 2:
        return std::numeric_limits<std::int64_t>::min();
    default:
        return data.ConsumeIntegralInRange<std::int64_t>(-3, 40);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0: {
        const std::string text = data.ConsumeRemainingBytesAsString();
        std::optional<std::int32_t> value;
        std::string message;
        try {
            value = ReadNumber(text);
        } catch (const EConvertError& error) {
            message = error.what();
        }
        const std::optional<std::int32_t> expected = RefReadNumber(text);
        Check(value == expected, "ReadNumber agrees with the reference");
        // what() ends at a NUL byte of the text; the message as built does not.
        if (!value)
            Check(message == ("'" + text + "' is not a valid integer value").c_str(), "ReadNumber message");
        break;
    }
    case 1: {
        const std::int64_t start = PickPosition(data);
        const std::int64_t count = PickPosition(data);
        const std::string text = data.ConsumeRemainingBytesAsString();
        CheckCharModel(text);
        Check(SubText(text, start, count) == RefSubText(text, start, count), "SubText agrees with the reference");
        break;
    }
    case 2: {
        const std::string pattern = data.ConsumeRandomLengthString(12);
        const std::string replacement = data.ConsumeRandomLengthString(12);
        const std::string text = data.ConsumeRemainingBytesAsString();
        Check(ReplaceAllIgnoreCase(text, pattern, replacement) == RefReplace(text, pattern, replacement),
              "ReplaceAllIgnoreCase agrees with the reference");
        break;
    }
    case 3: {
        const std::string set = data.ConsumeRandomLengthString(8);
        const std::string text = data.ConsumeRemainingBytesAsString();
        std::string expected = text;
        for (const RefChar& c : RefSplit(set))
            expected = RefReplace(expected, c.bytes, {});
        Check(RemoveEachChar(text, set) == expected, "RemoveEachChar agrees with the reference");
        break;
    }
    }
    return 0;
}
