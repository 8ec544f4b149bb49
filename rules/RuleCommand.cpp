#include "rules/RuleCommand.h"

#include "rules/CaseRules.h"
#include "rules/DeleteRules.h"
#include "rules/InsertRules.h"
#include "rules/MoveCopyRules.h"
#include "rules/RemovalRules.h"
#include "rules/RulePass.h"
#include "text/ReadNumber.h"

#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace {

// A rule's numbers, read when the first checked entry asks for them and kept
// for the rest of the pass: nothing can change them while a pass runs, and
// reading them costs more than most rules' steps.
template <typename Read>
class ReadAtFirstUse {
public:
    explicit ReadAtFirstUse(Read read) : m_read(std::move(read)) {}

    const auto& operator()()
    {
        if (!m_done) {
            m_value = m_read();
            m_done = true;
        }
        return m_value;
    }

private:
    Read m_read;
    std::invoke_result_t<Read&> m_value{};
    bool m_done = false;
};

struct Destination {
    Placement mode;
    std::int32_t position = 0;
};

Destination readDestination(const PlacementChoice& where)
{
    if (where.mode != Placement::AtPosition)
        return {where.mode};
    return {Placement::AtPosition, ReadNumber(where.position)};
}

// A rule whose step needs only the proposed name.
void runNameRule(RowStore& rows, std::string (*rule)(std::string_view))
{
    runRulePass(rows, [rule](const ListRow&, const FileEntry& entry) { return rule(entry.NewName()); });
}

using RangeStep = std::string (*)(std::string_view, std::int32_t, std::int32_t, Placement, std::int32_t);

void runRangeRule(RowStore& rows, const std::string& fromText, const std::string& toText,
                  const PlacementChoice& where, RangeStep step)
{
    ReadAtFirstUse parameters([&] {
        const std::int32_t to = ReadNumber(toText);
        const std::int32_t from = ReadNumber(fromText);
        return std::tuple{from, to, readDestination(where)};
    });
    runRulePass(rows, [&parameters, step](const ListRow&, const FileEntry& entry) {
        const auto& [from, to, destination] = parameters();
        return step(entry.NewName(), from, to, destination.mode, destination.position);
    });
}

// Each row's place among the rows of its folder, in list order, by row
// index: a folder is the text its paths share.
std::vector<std::uint32_t> placesInFolders(RowStore& rows)
{
    std::vector<std::uint32_t> places(rows.rowCount());
    std::unordered_map<std::string_view, std::uint32_t> counted;
    for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row))
        places[row->RowIndex] = counted[row->Data.FilePath()]++;
    return places;
}

// Each rule's pass, chosen by the command's type.
struct Runner {
    RowStore& rows;
    const CurrentTimeClock& now;
    const CaptureTimeReader& captureTime;
    const HeldValueReader& heldValue;
    std::vector<RowRefusal>& refusals;

    void operator()(const LowerCaseRule&) const { runNameRule(rows, &lowerCaseName); }
    void operator()(const UpperCaseRule&) const { runNameRule(rows, &upperCaseName); }
    void operator()(const TitleCaseRule&) const { runNameRule(rows, &titleCaseName); }

    void operator()(const RemoveFirstRule& rule) const
    {
        ReadAtFirstUse count([&] { return ReadNumber(rule.count); });
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) { return removeFirst(entry.NewName(), count()); });
    }

    void operator()(const RemoveLastRule& rule) const
    {
        ReadAtFirstUse count([&] { return ReadNumber(rule.count); });
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) { return removeLast(entry.NewName(), count()); });
    }

    void operator()(const RemoveFromToRule& rule) const
    {
        ReadAtFirstUse range([&] {
            const std::int32_t to = ReadNumber(rule.to);
            const std::int32_t from = ReadNumber(rule.from);
            return std::pair{from, to};
        });
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) {
            const auto& [from, to] = range();
            return removeFromTo(entry.NewName(), from, to);
        });
    }

    void operator()(const RemoveCharsRule& rule) const
    {
        const auto remove = rule.matchCase ? &removeCharsExactly : &removeChars;
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) { return remove(entry.NewName(), rule.piece); });
    }

    void operator()(const RemoveAllNumbersRule&) const { runNameRule(rows, &removeAllNumbers); }
    void operator()(const RemoveAllSymbolsRule&) const { runNameRule(rows, &removeAllSymbols); }

    void operator()(const RemoveAllNonCharactersRule&) const
    {
        for (NameStep pass : kRemoveAllNonCharactersPasses)
            runNameRule(rows, pass);
    }

    void operator()(const ReplaceRule& rule) const
    {
        const auto replace = rule.matchCase ? &replaceTextExactly : &replaceText;
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) {
            return replace(entry.NewName(), rule.match, rule.replacement);
        });
    }

    void operator()(const AddCharactersRule& rule) const
    {
        ReadAtFirstUse where([&] { return readDestination(rule.where); });
        if (rule.held) {
            const HeldField& field = *rule.held;
            runRulePass(rows, [&](const ListRow& row, const FileEntry& entry) {
                const Destination& at = where();
                const HeldValue value = heldValue ? heldValue(entry.path(), field.name)
                                                  : HeldValue{{}, "the values files hold are not read here"};
                if (!value.missing.empty()) {
                    refusals.push_back({row.RowIndex, value.missing});
                    return std::string(entry.NewName());
                }
                const std::string text = heldValueText(value.text, field.mask);
                if (text.empty()) {
                    refusals.push_back({row.RowIndex, "its " + field.name + " is blank"});
                    return std::string(entry.NewName());
                }
                return addCharacters(entry.NewName(), text, at.mode, at.position);
            });
            return;
        }
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) {
            return addCharacters(entry.NewName(), rule.characters, where().mode, where().position);
        });
    }

    void operator()(const AddSerialNumberRule& rule) const
    {
        ReadAtFirstUse parameters([&] {
            const std::int32_t start = ReadNumber(rule.start);
            return std::pair{start, readDestination(rule.where)};
        });
        const std::vector<std::uint32_t> places = rule.perFolder ? placesInFolders(rows) : std::vector<std::uint32_t>();
        runRulePass(rows, [&](const ListRow& row, const FileEntry& entry) {
            const auto& [start, where] = parameters();
            const std::int64_t place = rule.perFolder ? places[row.RowIndex] : row.RowIndex;
            return addSerialNumber(entry.NewName(), start, place, rule.mask, where.mode, where.position);
        });
    }

    void operator()(const AddDateTimeRule& rule) const
    {
        ReadAtFirstUse where([&] { return readDestination(rule.where); });
        if (rule.source == DateTimeSource::PictureTaken) {
            runRulePass(rows, [&](const ListRow& row, const FileEntry& entry) {
                const Destination& at = where();
                const CaptureTime taken
                    = captureTime ? captureTime(entry.path()) : CaptureTime{{}, "capture times are not read here"};
                if (!taken.time.isValid()) {
                    refusals.push_back({row.RowIndex, taken.missing});
                    return std::string(entry.NewName());
                }
                return addDateTime(entry.NewName(), taken.time, rule.pattern, at.mode, at.position);
            });
            return;
        }
        runRulePass(rows, [&](const ListRow&, const FileEntry& entry) {
            // The time is the entry's own, or the clock's at that entry.
            const QDateTime time = chooseDateTime(rule.source, entry, now);
            return addDateTime(entry.NewName(), time, rule.pattern, where().mode, where().position);
        });
    }

    void operator()(const CopyRule& rule) const { runRangeRule(rows, rule.from, rule.to, rule.where, &copyRange); }
    void operator()(const MoveRule& rule) const { runRangeRule(rows, rule.from, rule.to, rule.where, &moveRange); }
};

} // namespace

std::vector<RowRefusal> runRule(RowStore& rows, const RuleCommand& rule, const CurrentTimeClock& now,
                                const CaptureTimeReader& captureTime, const HeldValueReader& heldValue)
{
    std::vector<RowRefusal> refusals;
    std::visit(Runner{rows, now, captureTime, heldValue, refusals}, rule);
    return refusals;
}
