#include "extrarules/CommandLineRule.h"

#include "patterns/NamePattern.h"
#include "rules/RulePass.h"
#include "spelling/AsciiSpelling.h"

#include <stdexcept>
#include <type_traits>
#include <utility>

namespace {

template <typename Rule, typename Variant>
struct IsAlternative;

template <typename Rule, typename... Alternatives>
struct IsAlternative<Rule, std::variant<Alternatives...>> : std::disjunction<std::is_same<Rule, Alternatives>...> {};

struct Runner {
    RowStore& rows;
    const CurrentTimeClock& now;
    const CaptureTimeReader& captureTime;
    const HeldValueReader& heldValue;

    template <typename Rule>
    std::vector<RowRefusal> operator()(const Rule& rule) const
        requires IsAlternative<Rule, RuleCommand>::value
    {
        return runRule(rows, RuleCommand(rule), now, captureTime, heldValue);
    }

    std::vector<RowRefusal> operator()(const PatternRule& rule) const
    {
        std::vector<RowRefusal> refusals;
        std::string failure;
        runRulePass(rows, [&](const ListRow& row, const FileEntry& entry) {
            std::string replaced = rule.pattern->replaceAll(entry.NewName(), failure);
            if (!failure.empty())
                refusals.push_back({row.RowIndex, "the pattern gave up on this name: " + std::exchange(failure, {})});
            return replaced;
        });
        return refusals;
    }

    std::vector<RowRefusal> operator()(const UnicodeCaseRule& rule) const
    {
        UnicodeCaseMapper mapper(rule.target);
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) { return mapper.map(entry.NewName()); });
        return {};
    }

    std::vector<RowRefusal> operator()(const NormalFormRule& rule) const
    {
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) { return normalized(entry.NewName(), rule.form); });
        return {};
    }

    std::vector<RowRefusal> operator()(const AsciiSpellingRule&) const
    {
        std::unique_ptr<AsciiSpeller> speller;
        std::string unavailable;
        try {
            speller = std::make_unique<AsciiSpeller>();
        } catch (const std::runtime_error& error) {
            unavailable = error.what();
        }
        std::vector<RowRefusal> refusals;
        runRulePass(rows, [&](const ListRow& row, const FileEntry& entry) {
            if (speller)
                return speller->spell(entry.NewName());
            refusals.push_back({row.RowIndex, unavailable});
            return std::string(entry.NewName());
        });
        return refusals;
    }
};

} // namespace

std::vector<RowRefusal> runCommandLineRule(RowStore& rows, const CommandLineRule& rule, const CurrentTimeClock& now,
                                           const CaptureTimeReader& captureTime, const HeldValueReader& heldValue)
{
    return std::visit(Runner{rows, now, captureTime, heldValue}, rule);
}
