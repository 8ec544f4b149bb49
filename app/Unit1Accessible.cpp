// What a screen reader says of the window's controls: each control a person
// can operate is named after what it does, and each label beside a box is
// that box's buddy.
#include "app/Unit1.h"

#include "controls/NumberBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

// The label with this text on the page; every caption of a page is unique.
QLabel* labelOn(QWidget* page, const QString& text)
{
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

void TForm1::describeControls()
{
    VT->setAccessibleName(QStringLiteral("Files"));

    // The sixteen Apply Change buttons share one image and one tooltip; the
    // rule they apply tells them apart.
    const std::pair<QToolButton*, const char*> applyButtons[] = {
        {SpeedButton4, "Add Characters"}, {SpeedButton5, "Add Serial Number"},
        {SpeedButton9, "Add DateTime"},   {btnDeleteFirst, "Remove First"},
        {btnDeletelast, "Remove Last"},   {btnDeleteFrom, "Remove From To"},
        {SpeedButton7, "Remove Chars"},   {SpeedButton8, "Remove All Numbers"},
        {SpeedButton11, "Remove All Symbols"}, {SpeedButton12, "Remove All Non Characters"},
        {btnReplace, "Replace"},          {SpeedButton1, "Lower Case"},
        {SpeedButton2, "Upper Case"},     {SpeedButton10, "Title Case"},
        {SpeedButton3, "Copy"},           {SpeedButton6, "Move"},
    };
    for (const auto& [button, rule] : applyButtons)
        button->setAccessibleName(QStringLiteral("Apply ") + QLatin1String(rule));

    // Boxes named after their labels, with the page's words where the label
    // alone ("To", "Start") would leave the listener guessing.
    const std::tuple<QWidget*, QWidget*, const char*, const char*> boxes[] = {
        {edAddChar, TabSheet2, "Add Characters:", "Add Characters"},
        {edNumStart, TabSheet2, "Start", "Serial Number Start"},
        {edNumMask, TabSheet2, "Mask", "Serial Number Mask"},
        {cbDateType, TabSheet2, "Type", "DateTime Type"},
        {cbDateFormat, TabSheet2, "Format", "DateTime Format"},
        {edFirst, TabSheet3, "Remove First:", "Remove First"},
        {edLast, TabSheet3, "Remove Last:", "Remove Last"},
        {edFrom, TabSheet3, "Remove From:", "Remove From"},
        {edTo, TabSheet3, "To", "Remove To"},
        {edRemChar, TabSheet3, "Remove Chars:", "Remove Chars"},
        {edmatch, TabSheet4, "Match", "Match"},
        {edReplace, TabSheet4, "Replace", "Replace"},
        {edStart, TabSheet1, "Source From", "Source From"},
        {edStop, TabSheet1, "To", "Source To"},
    };
    for (const auto& [box, page, caption, name] : boxes) {
        if (QLabel* label = labelOn(page, QLatin1String(caption)))
            label->setBuddy(box);
        box->setAccessibleName(QLatin1String(name));
    }
    // The position boxes stand beside their "At Position" radio button.
    edAddPos->setAccessibleName(QStringLiteral("Add At Position"));
    edIPos->setAccessibleName(QStringLiteral("Destination At Position"));
}
