#include "cli/OptionValues.h"

#include "cli/CommandLineError.h"
#include "patterns/NamePattern.h"
#include "text/ErrorText.h"
#include "text/LetterCase.h"
#include "text/ReadNumber.h"

#include <algorithm>
#include <array>
#include <memory>

const std::string& number(const char* option, const std::string& text)
{
    try {
        ReadNumber(text);
    } catch (const EConvertError& error) {
        throw CommandLineError(std::string("--") + option + " " + text + ": " + withFullStop(error.what()));
    }
    return text;
}

PlacementChoice placementOf(const char* option, const std::string& where)
{
    if (where == "prefix")
        return {Placement::Prefix, {}};
    if (where == "suffix")
        return {Placement::Suffix, {}};
    if (where.empty())
        throw CommandLineError(std::string("--") + option + ": expected prefix, suffix or a position");
    return {Placement::AtPosition, number(option, where)};
}

std::pair<std::string, std::string> rangeOf(const char* option, const std::string& text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        throw CommandLineError(std::string("--") + option + " " + text + ": expected from:to");
    try {
        return {number(option, text.substr(0, colon)), number(option, text.substr(colon + 1))};
    } catch (const CommandLineError&) {
        throw CommandLineError(std::string("--") + option + " " + text + ": expected from:to, two whole numbers");
    }
}

const std::string& fileNamed(const char* option, const std::string& path)
{
    if (path.empty())
        throw CommandLineError(std::string("--") + option + " needs a file name, not an empty text");
    return path;
}

std::string datePattern(const std::string& format)
{
    for (std::string_view pattern : kDateTimePatterns) {
        if (std::equal(format.begin(), format.end(), pattern.begin(), pattern.end(),
                       [](char a, char b) { return upperAscii(a) == b; }))
            return std::string(pattern);
    }
    throw CommandLineError("--date " + format + ": not one of the date formats");
}

DateTimeSource dateSource(const std::string& time)
{
    constexpr std::array<std::pair<std::string_view, DateTimeSource>, 5> sources{{
        {"current", DateTimeSource::CurrentTime},
        {"created", DateTimeSource::FileCreated},
        {"modified", DateTimeSource::FileModified},
        {"accessed", DateTimeSource::FileAccessed},
        {"taken", DateTimeSource::PictureTaken},
    }};
    for (const auto& [name, source] : sources) {
        if (time == name)
            return source;
    }
    throw CommandLineError("--date-of " + time + ": expected current, created, modified, accessed or taken");
}

UnicodeCase unicodeCase(const std::string& target)
{
    constexpr std::array<std::pair<std::string_view, UnicodeCase>, 4> targets{{
        {"lower", UnicodeCase::Lower},
        {"upper", UnicodeCase::Upper},
        {"title", UnicodeCase::Title},
        {"sentence", UnicodeCase::Sentence},
    }};
    for (const auto& [name, value] : targets) {
        if (target == name)
            return value;
    }
    throw CommandLineError("--case " + target + ": expected lower, upper, title or sentence");
}

NormalForm normalForm(const std::string& form)
{
    if (form == "nfc")
        return NormalForm::Composed;
    if (form == "nfd")
        return NormalForm::Decomposed;
    throw CommandLineError("--normalize " + form + ": expected nfc or nfd");
}

PatternRule patternRule(const std::string& pattern, const std::string& replacement)
{
    try {
        return {std::make_shared<const NamePattern>(pattern, replacement)};
    } catch (const PatternError& error) {
        if (error.part() == PatternError::Part::Pattern)
            throw CommandLineError("--regex " + pattern + ": " + error.what());
        throw CommandLineError("--with " + replacement + ": " + error.what());
    }
}

RowOrder rowOrder(const std::string& order)
{
    constexpr std::array<std::pair<std::string_view, RowOrder>, 4> orders{{
        {"natural", RowOrder::Natural},
        {"name", RowOrder::Name},
        {"modified", RowOrder::Modified},
        {"none", RowOrder::Given},
    }};
    for (const auto& [name, value] : orders) {
        if (order == name)
            return value;
    }
    throw CommandLineError("--sort " + order + ": expected natural, name, modified or none");
}
