// The rule pages' commands: each reads its page's controls into the rule's
// command and runs it over the list.
#include "app/Unit1.h"

#include "controls/NumberBox.h"
#include "rules/RuleCommand.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

std::string textOf(const NumberBox* box)
{
    return box->text().toStdString();
}

// The radio buttons are tested in order.
PlacementChoice placementOf(const QRadioButton* prefix, const QRadioButton* suffix, const NumberBox* position)
{
    if (prefix->isChecked())
        return {Placement::Prefix, {}};
    if (suffix->isChecked())
        return {Placement::Suffix, {}};
    return {Placement::AtPosition, textOf(position)};
}

} // namespace

void TForm1::runRuleCommand(const RuleCommand& rule)
{
    if (m_ruleRunner)
        m_ruleRunner(VT->rows(), rule);
    else
        runRule(VT->rows(), rule, m_clock);
}

void TForm1::btnLowerClick()
{
    runRuleCommand(LowerCaseRule{});
}

void TForm1::btnUpperClick()
{
    runRuleCommand(UpperCaseRule{});
}

void TForm1::SpeedButton10Click()
{
    runRuleCommand(TitleCaseRule{});
}

void TForm1::btnDeleteFirstClick()
{
    runRuleCommand(RemoveFirstRule{textOf(edFirst)});
}

void TForm1::btnDeletelastClick()
{
    runRuleCommand(RemoveLastRule{textOf(edLast)});
}

void TForm1::btnDeleteFromClick()
{
    runRuleCommand(RemoveFromToRule{textOf(edFrom), textOf(edTo)});
}

void TForm1::SpeedButton7Click()
{
    runRuleCommand(RemoveCharsRule{textOf(edRemChar)});
}

void TForm1::SpeedButton8Click()
{
    runRuleCommand(RemoveAllNumbersRule{});
}

void TForm1::SpeedButton11Click()
{
    runRuleCommand(RemoveAllSymbolsRule{});
}

void TForm1::SpeedButton12Click()
{
    runRuleCommand(RemoveAllNonCharactersRule{});
}

void TForm1::btnReplaceClick()
{
    runRuleCommand(ReplaceRule{textOf(edmatch), textOf(edReplace)});
}

void TForm1::SpeedButton4Click()
{
    runRuleCommand(AddCharactersRule{textOf(edAddChar), placementOf(rbPre, rbSuf, edAddPos)});
}

void TForm1::SpeedButton5Click()
{
    runRuleCommand(AddSerialNumberRule{textOf(edNumStart), textOf(edNumMask), placementOf(rbPre, rbSuf, edAddPos)});
}

void TForm1::SpeedButton9Click()
{
    runRuleCommand(AddDateTimeRule{static_cast<DateTimeSource>(cbDateType->currentIndex()),
                                   cbDateFormat->currentText().toStdString(), placementOf(rbPre, rbSuf, edAddPos)});
}

void TForm1::SpeedButton3Click()
{
    runRuleCommand(CopyRule{textOf(edStart), textOf(edStop), placementOf(rb1, rb2, edIPos)});
}

void TForm1::SpeedButton6Click()
{
    runRuleCommand(MoveRule{textOf(edStart), textOf(edStop), placementOf(rb1, rb2, edIPos)});
}
