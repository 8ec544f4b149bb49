#pragma once

#include "rules/RuleCommand.h"
#include "spelling/NormalForm.h"
#include "spelling/UnicodeCase.h"

#include <memory>
#include <variant>
#include <vector>

class NamePattern;
class RowStore;

// The rules of tolvex-rename beyond the window's. Each runs through the same
// rule pass over the checked rows, and only the pattern refuses rows.

// Every match of a pattern replaced (--regex ... --with ...); a name the
// pattern gives up on is refused with the reason.
struct PatternRule {
    std::shared_ptr<const NamePattern> pattern;
};
struct UnicodeCaseRule {
    UnicodeCase target = UnicodeCase::Lower;
};
struct NormalFormRule {
    NormalForm form = NormalForm::Composed;
};
struct AsciiSpellingRule {};

template <typename Variant, typename... More>
struct VariantWith;

template <typename... Alternatives, typename... More>
struct VariantWith<std::variant<Alternatives...>, More...> {
    using type = std::variant<Alternatives..., More...>;
};

// Every rule tolvex-rename runs: the window's commands, then its own.
using CommandLineRule =
    VariantWith<RuleCommand, PatternRule, UnicodeCaseRule, NormalFormRule, AsciiSpellingRule>::type;

// Runs the rule over the checked rows of the list as runRule does, refusing
// rows in list order.
std::vector<RowRefusal> runCommandLineRule(RowStore& rows, const CommandLineRule& rule, const CurrentTimeClock& now,
                                           const CaptureTimeReader& captureTime,
                                           const HeldValueReader& heldValue = {});
