// The rule pages' commands: each reads its parameters from the page's
// controls at the first checked entry and runs the rule's step over the list.
#include "app/Unit1.h"

#include "app/NumberBox.h"
#include "listcore/FileTimes.h"
#include "rename/CaseRules.h"
#include "rename/DateTimeRule.h"
#include "rename/DeleteRules.h"
#include "rename/InsertRules.h"
#include "rename/MoveCopyRules.h"
#include "rename/ReadNumber.h"
#include "rename/RemovalRules.h"
#include "rename/RulePass.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <tuple>
#include <type_traits>
#include <utility>

namespace {

// A rule's parameters, read from its page when the first checked entry asks
// for them and kept for the rest of the pass. Nothing can change a control
// while a pass runs, and reading a box costs more than most rules' steps.
// A bad number still fails at the first checked entry, before any name has
// changed, and a list without checked entries reads nothing at all.
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

std::int32_t readNumber(const NumberBox* box)
{
    return ReadNumber(box->text().toStdString());
}

std::string readText(const QLineEdit* box)
{
    return box->text().toStdString();
}

struct Destination {
    Placement mode;
    std::int32_t position = 0;
};

// The radio buttons are tested in order; the position box is read only
// under "At Position", so a bad position does no harm otherwise.
Destination readDestination(const QRadioButton* prefix, const QRadioButton* suffix, const NumberBox* position)
{
    if (prefix->isChecked())
        return {Placement::Prefix};
    if (suffix->isChecked())
        return {Placement::Suffix};
    return {Placement::AtPosition, readNumber(position)};
}

// A rule whose step needs only the proposed name.
void runNameRule(RowStore& rows, std::string (*rule)(std::string_view))
{
    runRulePass(rows, [rule](const ListRow&, const FileEntry& entry) { return rule(entry.NewName()); });
}

} // namespace

void TForm1::btnLowerClick()
{
    runNameRule(VT->rows(), &lowerCaseName);
}

void TForm1::btnUpperClick()
{
    runNameRule(VT->rows(), &upperCaseName);
}

void TForm1::SpeedButton10Click()
{
    runNameRule(VT->rows(), &titleCaseName);
}

void TForm1::btnDeleteFirstClick()
{
    ReadAtFirstUse count([this] { return readNumber(edFirst); });
    runRulePass(VT->rows(), [&count](const ListRow&, const FileEntry& entry) {
        return removeFirst(entry.NewName(), count());
    });
}

void TForm1::btnDeletelastClick()
{
    ReadAtFirstUse count([this] { return readNumber(edLast); });
    runRulePass(VT->rows(), [&count](const ListRow&, const FileEntry& entry) {
        return removeLast(entry.NewName(), count());
    });
}

void TForm1::btnDeleteFromClick()
{
    ReadAtFirstUse range([this] {
        const std::int32_t to = readNumber(edTo);
        const std::int32_t from = readNumber(edFrom);
        return std::pair{from, to};
    });
    runRulePass(VT->rows(), [&range](const ListRow&, const FileEntry& entry) {
        const auto& [from, to] = range();
        return removeFromTo(entry.NewName(), from, to);
    });
}

void TForm1::SpeedButton7Click()
{
    ReadAtFirstUse piece([this] { return readText(edRemChar); });
    runRulePass(VT->rows(), [&piece](const ListRow&, const FileEntry& entry) {
        return removeChars(entry.NewName(), piece());
    });
}

void TForm1::SpeedButton8Click()
{
    runNameRule(VT->rows(), &removeAllNumbers);
}

void TForm1::SpeedButton11Click()
{
    runNameRule(VT->rows(), &removeAllSymbols);
}

void TForm1::SpeedButton12Click()
{
    for (NameStep pass : kRemoveAllNonCharactersPasses)
        runNameRule(VT->rows(), pass);
}

void TForm1::btnReplaceClick()
{
    ReadAtFirstUse texts([this] { return std::pair{readText(edmatch), readText(edReplace)}; });
    runRulePass(VT->rows(), [&texts](const ListRow&, const FileEntry& entry) {
        const auto& [match, replacement] = texts();
        return replaceText(entry.NewName(), match, replacement);
    });
}

void TForm1::SpeedButton4Click()
{
    ReadAtFirstUse parameters([this] {
        std::string characters = readText(edAddChar);
        return std::pair{std::move(characters), readDestination(rbPre, rbSuf, edAddPos)};
    });
    runRulePass(VT->rows(), [&parameters](const ListRow&, const FileEntry& entry) {
        const auto& [characters, where] = parameters();
        return addCharacters(entry.NewName(), characters, where.mode, where.position);
    });
}

void TForm1::SpeedButton5Click()
{
    ReadAtFirstUse parameters([this] {
        const std::int32_t start = readNumber(edNumStart);
        std::string mask = readText(edNumMask);
        return std::tuple{start, std::move(mask), readDestination(rbPre, rbSuf, edAddPos)};
    });
    runRulePass(VT->rows(), [&parameters](const ListRow& row, const FileEntry& entry) {
        const auto& [start, mask, where] = parameters();
        return addSerialNumber(entry.NewName(), start, row.RowIndex, mask, where.mode, where.position);
    });
}

void TForm1::SpeedButton9Click()
{
    // The time is the entry's own (or the clock's at that row); the kind,
    // layout and destination are the page's.
    ReadAtFirstUse layout([this] {
        const auto source = static_cast<DateTimeSource>(cbDateType->currentIndex());
        return std::pair{source, cbDateFormat->currentText().toStdString()};
    });
    ReadAtFirstUse destination([this] { return readDestination(rbPre, rbSuf, edAddPos); });
    runRulePass(VT->rows(), [this, &layout, &destination](const ListRow&, const FileEntry& entry) {
        const auto& [source, pattern] = layout();
        const QDateTime time = chooseDateTime(source, entry, m_clock, [](const std::string& text) {
            return fileTimeFromText(text);
        });
        const Destination& where = destination();
        return addDateTime(entry.NewName(), time, pattern, where.mode, where.position);
    });
}

// Copy and Move read To, then From, then the destination.
void TForm1::runRangeRule(RangeRule rule)
{
    ReadAtFirstUse parameters([this] {
        const std::int32_t to = readNumber(edStop);
        const std::int32_t from = readNumber(edStart);
        return std::tuple{from, to, readDestination(rb1, rb2, edIPos)};
    });
    runRulePass(VT->rows(), [&parameters, rule](const ListRow&, const FileEntry& entry) {
        const auto& [from, to, where] = parameters();
        return rule(entry.NewName(), from, to, where.mode, where.position);
    });
}

void TForm1::SpeedButton3Click()
{
    runRangeRule(&copyRange);
}

void TForm1::SpeedButton6Click()
{
    runRangeRule(&moveRange);
}
