// The five rule pages of the main window and their controls.
#include "app/Unit1.h"

#include "controls/NumberBox.h"
#include "icons/Icons.h"
#include "ui/Named.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int ApplyButtonX = 226;
constexpr int NumberBoxWidth = 29 + 16; // the edit part plus its arrows

} // namespace

QLabel* TForm1::label(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

NumberBox* TForm1::numberBox(QWidget* parent, const char* name, const char* upDownName, int min, int max,
                              QRect geometry)
{
    auto* box = new NumberBox(QString::fromLatin1(name), QString::fromLatin1(upDownName), min, max, parent);
    box->setGeometry(geometry);
    box->setKeyFilter([this](NumberBox* sender, QChar& key) { edFirstKeyPress(sender, key); });
    return box;
}

QToolButton* TForm1::applyButton(QWidget* page, const char* name, int y)
{
    auto* button = named(new QToolButton(page), name);
    button->setIcon(buttonIcon(ButtonImage::ApplyChange));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QStringLiteral("Apply Change"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->setGeometry(ApplyButtonX, y, 23, 22);
    return button;
}

void TForm1::buildAddPage()
{
    QWidget* page = TabSheet2;
    GroupBox5 = named(new QGroupBox(QStringLiteral("Mode"), page), "GroupBox5");
    GroupBox5->setGeometry(8, 6, 240, 70);
    rbPre = named(new QRadioButton(QStringLiteral("Prefix"), GroupBox5), "rbPre");
    rbPre->setGeometry(10, 18, 70, 17);
    rbPre->setChecked(true);
    rbSuf = named(new QRadioButton(QStringLiteral("Suffix"), GroupBox5), "rbSuf");
    rbSuf->setGeometry(100, 18, 70, 17);
    rbPos = named(new QRadioButton(QStringLiteral("At Position"), GroupBox5), "rbPos");
    rbPos->setGeometry(10, 43, 85, 17);
    edAddPos = numberBox(GroupBox5, "edAddPos", "UpDown5", 1, 100, QRect(100, 41, NumberBoxWidth, 21));

    label(page, QStringLiteral("Add Characters:"), 8, 88);
    edAddChar = named(new QLineEdit(page), "edAddChar");
    edAddChar->setGeometry(8, 106, 200, 21);
    SpeedButton4 = applyButton(page, "SpeedButton4", 105);

    label(page, QStringLiteral("Add Serial Number:"), 8, 142);
    label(page, QStringLiteral("Start"), 20, 164);
    edNumStart = numberBox(page, "edNumStart", "UpDown8", 1, 9999, QRect(70, 161, 95 + 16, 21));
    label(page, QStringLiteral("Mask"), 20, 191);
    edNumMask = named(new QLineEdit(QStringLiteral("0000"), page), "edNumMask");
    edNumMask->setGeometry(70, 188, 111, 21);
    SpeedButton5 = applyButton(page, "SpeedButton5", 187);

    label(page, QStringLiteral("Add DateTime:"), 8, 224);
    label(page, QStringLiteral("Type"), 20, 246);
    cbDateType = named(new QComboBox(page), "cbDateType");
    cbDateType->addItems({QStringLiteral("Current Time"), QStringLiteral("File Created Time"),
                          QStringLiteral("File Modified Time"), QStringLiteral("File Accessed Time")});
    cbDateType->setGeometry(70, 243, 145, 21);
    label(page, QStringLiteral("Format"), 20, 273);
    cbDateFormat = named(new QComboBox(page), "cbDateFormat");
    for (std::string_view pattern : kDateTimePatterns)
        cbDateFormat->addItem(QString::fromLatin1(pattern.data(), qsizetype(pattern.size())));
    cbDateFormat->setGeometry(70, 270, 145, 21);
    SpeedButton9 = applyButton(page, "SpeedButton9", 269);
}

void TForm1::buildDeletePage()
{
    QWidget* page = TabSheet3;
    label(page, QStringLiteral("Remove First:"), 8, 15);
    edFirst = numberBox(page, "edFirst", "UpDown1", 1, 100, QRect(150, 12, NumberBoxWidth, 21));
    btnDeleteFirst = applyButton(page, "btnDeleteFirst", 11);

    label(page, QStringLiteral("Remove Last:"), 8, 45);
    edLast = numberBox(page, "edLast", "UpDown2", 1, 100, QRect(150, 42, NumberBoxWidth, 21));
    btnDeletelast = applyButton(page, "btnDeletelast", 41);

    label(page, QStringLiteral("Remove From:"), 8, 75);
    edFrom = numberBox(page, "edFrom", "UpDown3", 1, 100, QRect(90, 72, NumberBoxWidth, 21));
    label(page, QStringLiteral("To"), 142, 75);
    edTo = numberBox(page, "edTo", "UpDown4", 1, 100, QRect(160, 72, NumberBoxWidth, 21));
    btnDeleteFrom = applyButton(page, "btnDeleteFrom", 71);

    label(page, QStringLiteral("Remove Chars:"), 8, 105);
    edRemChar = named(new QLineEdit(page), "edRemChar");
    edRemChar->setGeometry(90, 102, 125, 21);
    SpeedButton7 = applyButton(page, "SpeedButton7", 101);

    label(page, QStringLiteral("Remove All Numbers:"), 8, 135);
    SpeedButton8 = applyButton(page, "SpeedButton8", 131);
    label(page, QStringLiteral("Remove All Symbol:"), 8, 165);
    SpeedButton11 = applyButton(page, "SpeedButton11", 161);
    label(page, QStringLiteral("Remove All Non Characters:"), 8, 195);
    SpeedButton12 = applyButton(page, "SpeedButton12", 191);
}

void TForm1::buildReplacePage()
{
    QWidget* page = TabSheet4;
    label(page, QStringLiteral("Match"), 8, 15);
    edmatch = named(new QLineEdit(page), "edmatch");
    edmatch->setGeometry(60, 12, 155, 21);
    label(page, QStringLiteral("Replace"), 8, 45);
    edReplace = named(new QLineEdit(page), "edReplace");
    edReplace->setGeometry(60, 42, 155, 21);
    btnReplace = applyButton(page, "btnReplace", 41);
}

void TForm1::buildCasePage()
{
    QWidget* page = TabSheet5;
    label(page, QStringLiteral("Lower Case"), 8, 15);
    SpeedButton1 = applyButton(page, "SpeedButton1", 11);
    label(page, QStringLiteral("Upper Case"), 8, 45);
    SpeedButton2 = applyButton(page, "SpeedButton2", 41);
    label(page, QStringLiteral("Title Case"), 8, 75);
    SpeedButton10 = applyButton(page, "SpeedButton10", 71);
    for (QToolButton* button : {SpeedButton1, SpeedButton2, SpeedButton10})
        button->move(100, button->y());
}

void TForm1::buildMoveCopyPage()
{
    QWidget* page = TabSheet1;
    label(page, QStringLiteral("Source From"), 8, 15);
    edStart = numberBox(page, "edStart", "UpDown6", 1, 100, QRect(80, 12, NumberBoxWidth, 21));
    label(page, QStringLiteral("To"), 132, 15);
    edStop = numberBox(page, "edStop", "UpDown7", 1, 100, QRect(150, 12, NumberBoxWidth, 21));

    GroupBox3 = named(new QGroupBox(QStringLiteral("Destination"), page), "GroupBox3");
    GroupBox3->setGeometry(8, 44, 240, 70);
    rb1 = named(new QRadioButton(QStringLiteral("Prefix"), GroupBox3), "rb1");
    rb1->setGeometry(10, 18, 70, 17);
    rb1->setChecked(true);
    rb2 = named(new QRadioButton(QStringLiteral("Suffix"), GroupBox3), "rb2");
    rb2->setGeometry(100, 18, 70, 17);
    rb3 = named(new QRadioButton(QStringLiteral("At Position"), GroupBox3), "rb3");
    rb3->setGeometry(10, 43, 85, 17);
    edIPos = numberBox(GroupBox3, "edIPos", "UpDown9", 1, 100, QRect(100, 41, NumberBoxWidth, 21));

    label(page, QStringLiteral("Copy"), 190, 135);
    SpeedButton3 = applyButton(page, "SpeedButton3", 131);
    label(page, QStringLiteral("Move"), 190, 165);
    SpeedButton6 = applyButton(page, "SpeedButton6", 161);
}
