#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A pattern or a replacement that cannot be used, and why: for a pattern,
// the library's own message and the byte offset it points at.
class PatternError : public std::runtime_error {
public:
    enum class Part { Pattern, Replacement };
    PatternError(Part part, const std::string& message) : std::runtime_error(message), m_part(part) {}
    Part part() const { return m_part; }

private:
    Part m_part;
};

// A Perl-style pattern (PCRE2, compiled to machine code where the system
// allows it) and the text each of its matches becomes.
//
// The pattern reads a name as UTF-8: its well-formed parts as characters,
// with case counting unless the pattern says (?i), and \w, \d and \b knowing
// letters and digits beyond ASCII. A stray byte matches nothing and no match
// reaches across it; it stays in the name as it was.
//
// The replacement is taken as written but for $: $1 or ${1} stands for what
// the first group matched (nothing, where it took no part), $name or ${name}
// for the group of that name, $0 for the whole match and $$ for a dollar.
//
// A pattern serves one thread at a time: it keeps its match data between
// names.
class NamePattern {
public:
    // Throws PatternError.
    NamePattern(std::string_view pattern, std::string_view replacement);
    ~NamePattern();
    NamePattern(const NamePattern&) = delete;
    NamePattern& operator=(const NamePattern&) = delete;

    // Every match replaced, from the left and without overlap. After an
    // empty match the next one may not be empty at the same place, so x* on
    // "ab" gives "-a-b-" for "-", as Perl's s///g does. A name on which the
    // pattern would take too many steps (nested repeats that fail) is given
    // up: it comes back as it was, and `failure` says why.
    std::string replaceAll(std::string_view name, std::string& failure) const;

private:
    // A piece of the replacement: its text, or the number of a group.
    struct Piece {
        std::string text;
        int group = -1;
    };
    void readReplacement(std::string_view replacement);
    int groupNamed(std::string_view name) const;

    struct Compiled;
    std::unique_ptr<Compiled> m_compiled;
    std::vector<Piece> m_replacement;
};
