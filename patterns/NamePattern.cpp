#include "patterns/NamePattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <charconv>
#include <cstdint>
#include <new>
#include <utility>

namespace {

// A name is short: a pattern that takes more steps than this on one has
// nested repeats backtracking without end, and giving that name up keeps
// the run going.
constexpr std::uint32_t kMatchLimit = 1'000'000;
// Machine-code matching keeps its backtracking here; the default 32 KiB on
// the thread's stack is too little for some patterns on a long name.
constexpr std::size_t kJitStackSize = std::size_t(1) << 20;

std::string errorText(int code)
{
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof message);
    return reinterpret_cast<const char*>(message);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNameChar(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

[[noreturn]] void refuseReplacement(const std::string& why)
{
    throw PatternError(PatternError::Part::Replacement, why);
}

} // namespace

struct NamePattern::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* jitStack = nullptr;
    pcre2_match_data* data = nullptr;
    const PCRE2_SIZE* ovector = nullptr;
    bool jit = false;

    ~Compiled()
    {
        pcre2_match_data_free(data);
        pcre2_jit_stack_free(jitStack);
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

NamePattern::NamePattern(std::string_view pattern, std::string_view replacement)
    : m_compiled(std::make_unique<Compiled>())
{
    Compiled& compiled = *m_compiled;
    int error = 0;
    PCRE2_SIZE offset = 0;
    compiled.code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                  PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP, &error, &offset, nullptr);
    if (!compiled.code)
        throw PatternError(PatternError::Part::Pattern, errorText(error) + " at offset " + std::to_string(offset));
    // Where the system allows no machine code, the pattern is interpreted:
    // slower, with the same results.
    compiled.jit = pcre2_jit_compile(compiled.code, PCRE2_JIT_COMPLETE) == 0;
    compiled.context = pcre2_match_context_create(nullptr);
    compiled.data = pcre2_match_data_create_from_pattern(compiled.code, nullptr);
    if (!compiled.context || !compiled.data)
        throw std::bad_alloc();
    compiled.ovector = pcre2_get_ovector_pointer(compiled.data);
    pcre2_set_match_limit(compiled.context, kMatchLimit);
    if (compiled.jit) {
        compiled.jitStack = pcre2_jit_stack_create(32 * 1024, kJitStackSize, nullptr);
        if (compiled.jitStack)
            pcre2_jit_stack_assign(compiled.context, nullptr, compiled.jitStack);
    }
    readReplacement(replacement);
}

NamePattern::~NamePattern() = default;

void NamePattern::readReplacement(std::string_view replacement)
{
    std::uint32_t groups = 0;
    pcre2_pattern_info(m_compiled->code, PCRE2_INFO_CAPTURECOUNT, &groups);
    const std::size_t end = replacement.size();
    std::string text;
    for (std::size_t pos = 0; pos < end;) {
        const char c = replacement[pos++];
        if (c != '$') {
            text += c;
            continue;
        }
        if (pos < end && replacement[pos] == '$') {
            text += '$';
            ++pos;
            continue;
        }
        const bool braced = pos < end && replacement[pos] == '{';
        pos += braced;
        const std::size_t from = pos;
        const bool numbered = pos < end && isDigit(replacement[pos]);
        while (pos < end && (numbered ? isDigit(replacement[pos]) : isNameChar(replacement[pos])))
            ++pos;
        const std::string reference(replacement.substr(from, pos - from));
        if (reference.empty() || (braced && (pos == end || replacement[pos++] != '}')))
            refuseReplacement("a $ must be followed by a group's number or name, or by another $");
        int group = -1;
        if (numbered) {
            unsigned number = 0;
            const auto [last, failed] = std::from_chars(reference.data(), reference.data() + reference.size(), number);
            if (failed != std::errc() || number > groups)
                refuseReplacement("the pattern has no group " + reference);
            group = int(number);
        } else {
            group = pcre2_substring_number_from_name(m_compiled->code, reinterpret_cast<PCRE2_SPTR>(reference.c_str()));
            if (group < 0)
                refuseReplacement("the pattern has no single group named " + reference);
        }
        if (!text.empty())
            m_replacement.push_back({std::exchange(text, {}), -1});
        m_replacement.push_back({{}, group});
    }
    if (!text.empty())
        m_replacement.push_back({std::move(text), -1});
}

std::string NamePattern::replaceAll(std::string_view name, std::string& failure) const
{
    const Compiled& compiled = *m_compiled;
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(name.data());
    const PCRE2_SIZE* ovector = compiled.ovector;
    std::string out;
    std::size_t copied = 0;
    std::size_t start = 0;
    std::uint32_t options = 0;
    for (;;) {
        const int found = compiled.jit
            ? pcre2_jit_match(compiled.code, subject, name.size(), start, options, compiled.data, compiled.context)
            : pcre2_match(compiled.code, subject, name.size(), start, options, compiled.data, compiled.context);
        if (found == PCRE2_ERROR_NOMATCH)
            break;
        if (found < 0) {
            failure = errorText(found);
            return std::string(name);
        }
        const std::size_t matchStart = ovector[0];
        const std::size_t matchEnd = ovector[1];
        out.append(name, copied, matchStart - copied);
        for (const Piece& piece : m_replacement) {
            if (piece.group < 0)
                out += piece.text;
            else if (piece.group < found && ovector[2 * piece.group] != PCRE2_UNSET)
                out.append(name, ovector[2 * piece.group], ovector[2 * piece.group + 1] - ovector[2 * piece.group]);
        }
        copied = matchEnd;
        start = matchEnd;
        // Perl's rule: no second empty match where the last one was.
        options = matchStart == matchEnd ? PCRE2_NOTEMPTY_ATSTART : 0;
    }
    out.append(name, copied);
    return out;
}
