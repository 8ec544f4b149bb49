#pragma once

#include <string>
#include <string_view>

struct UCaseMap;

enum class UnicodeCase { Lower, Upper, Title, Sentence };

// Changes the case of names by Unicode's rules, in no language's own way: a
// letter may become two (ß to SS), a Greek capital sigma lowers to ς at a
// word's end, a combining accent stays on its letter. Title case makes the
// first letter of each word (by Unicode's word boundaries) a capital and the
// rest small; sentence case the name's first letter only. Stray bytes stay
// where they are; the text between two of them is changed on its own, but
// sentence case still capitalises one letter a name.
class UnicodeCaseMapper {
public:
    explicit UnicodeCaseMapper(UnicodeCase target);
    ~UnicodeCaseMapper();
    UnicodeCaseMapper(const UnicodeCaseMapper&) = delete;
    UnicodeCaseMapper& operator=(const UnicodeCaseMapper&) = delete;

    std::string map(std::string_view name);

private:
    void append(std::string& out, std::string_view text, UnicodeCase target);

    UCaseMap* m_map = nullptr;  // keeps the word boundaries' iterator between names
    UnicodeCase m_target;
};
