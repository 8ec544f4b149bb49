// The rule pages' commands: each reads its parameters from the page's
// controls for every checked entry and runs the rule's step over the list.
#include "app/Unit1.h"

#include "app/NumberBox.h"
#include "filelist/FileTimes.h"
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

namespace {

std::int32_t readNumber(const TNumberBox* box)
{
    return ReadNumber(box->Text().toStdString());
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
Destination readDestination(const QRadioButton* prefix, const QRadioButton* suffix, const TNumberBox* position)
{
    if (prefix->isChecked())
        return {Placement::Prefix};
    if (suffix->isChecked())
        return {Placement::Suffix};
    return {Placement::AtPosition, readNumber(position)};
}

// A rule whose step needs only the proposed name.
template <typename List>
void runNameRule(List& list, std::string (*rule)(std::string_view))
{
    RunRulePass(list, [rule](const TVirtualNode&, const FileEntry& entry) { return rule(entry.NewName); });
}

} // namespace

void TForm1::btnLowerClick()
{
    runNameRule(*VT, &LowerCaseName);
}

void TForm1::btnUpperClick()
{
    runNameRule(*VT, &UpperCaseName);
}

void TForm1::SpeedButton10Click()
{
    runNameRule(*VT, &TitleCaseName);
}

void TForm1::btnDeleteFirstClick()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        return RemoveFirst(entry.NewName, readNumber(edFirst));
    });
}

void TForm1::btnDeletelastClick()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        return RemoveLast(entry.NewName, readNumber(edLast));
    });
}

void TForm1::btnDeleteFromClick()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        const std::int32_t to = readNumber(edTo);
        const std::int32_t from = readNumber(edFrom);
        return RemoveFromTo(entry.NewName, from, to);
    });
}

void TForm1::SpeedButton7Click()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        return RemoveChars(entry.NewName, readText(edRemChar));
    });
}

void TForm1::SpeedButton8Click()
{
    runNameRule(*VT, &RemoveAllNumbers);
}

void TForm1::SpeedButton11Click()
{
    runNameRule(*VT, &RemoveAllSymbols);
}

void TForm1::SpeedButton12Click()
{
    for (NameStep pass : kRemoveAllNonCharactersPasses)
        runNameRule(*VT, pass);
}

void TForm1::btnReplaceClick()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        return ReplaceText(entry.NewName, readText(edmatch), readText(edReplace));
    });
}

void TForm1::SpeedButton4Click()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        const std::string characters = readText(edAddChar);
        const Destination where = readDestination(rbPre, rbSuf, edAddPos);
        return AddCharacters(entry.NewName, characters, where.mode, where.position);
    });
}

void TForm1::SpeedButton5Click()
{
    RunRulePass(*VT, [this](const TVirtualNode& row, const FileEntry& entry) {
        const std::int32_t start = readNumber(edNumStart);
        const std::string mask = readText(edNumMask);
        const Destination where = readDestination(rbPre, rbSuf, edAddPos);
        return AddSerialNumber(entry.NewName, start, row.RowIndex, mask, where.mode, where.position);
    });
}

void TForm1::SpeedButton9Click()
{
    RunRulePass(*VT, [this](const TVirtualNode&, const FileEntry& entry) {
        const auto source = static_cast<DateTimeSource>(cbDateType->currentIndex());
        const std::string pattern = cbDateFormat->currentText().toStdString();
        const QDateTime time = ChooseDateTime(source, entry, Clock, [](const std::string& text) {
            return FileTimeFromText(text);
        });
        const Destination where = readDestination(rbPre, rbSuf, edAddPos);
        return AddDateTime(entry.NewName, time, pattern, where.mode, where.position);
    });
}

// Copy and Move read To, then From, then the destination.
void TForm1::runRangeRule(RangeRule rule)
{
    RunRulePass(*VT, [this, rule](const TVirtualNode&, const FileEntry& entry) {
        const std::int32_t to = readNumber(edStop);
        const std::int32_t from = readNumber(edStart);
        const Destination where = readDestination(rb1, rb2, edIPos);
        return rule(entry.NewName, from, to, where.mode, where.position);
    });
}

void TForm1::SpeedButton3Click()
{
    runRangeRule(&CopyRange);
}

void TForm1::SpeedButton6Click()
{
    runRangeRule(&MoveRange);
}
