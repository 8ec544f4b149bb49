#include "app/Unit1.h"

#include "controls/BevelPanel.h"
#include "controls/CompactTabStyle.h"
#include "controls/NumberBox.h"
#include "dialogs/UserDialogs.h"
#include "platform/XdndDropReader.h"
#include "ui/Named.h"
#include "ui/UiFont.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 726;
constexpr int ClientHeight = 495;

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_dialogs(std::make_unique<UserDialogs>())
    , m_clock(&QDateTime::currentDateTime)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvex File Renamer"));
    buildWindow();
    wireCommands();
    setFocusOrder();
    describeControls();
}

TForm1::~TForm1() = default;

void TForm1::setUserDialogs(std::unique_ptr<UserDialogs> dialogs)
{
    m_dialogs = std::move(dialogs);
}

QPushButton* TForm1::bigButton(const char* name, const QString& caption, int x, ButtonImage icon)
{
    auto* button = named(new QPushButton(buttonIcon(icon), caption, centralWidget()), name);
    button->setIconSize(QSize(32, 32));
    button->setGeometry(x, 10, 119, 41);
    return button;
}

void TForm1::buildWindow()
{
    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    client->setFont(uiFont(11));
    setCentralWidget(client);

    MainMenu1 = named(new QMenuBar(this), "MainMenu1");
    MainMenu1->setFont(uiFont(11));
    help1 = named(MainMenu1->addAction(QStringLiteral("Help")), "help1");
    About1 = named(MainMenu1->addAction(QStringLiteral("About")), "About1");
    setMenuBar(MainMenu1);

    VT = named(new TVirtualStringTree(client), "VT");
    VT->setGeometry(8, 62, 432, 423);

    BitBtn1 = bigButton("BitBtn1", QStringLiteral("&Add Files"), 17, ButtonImage::AddFiles);
    BitBtn3 = bigButton("BitBtn3", QStringLiteral("&Reset"), 153, ButtonImage::Reset);
    BitBtn4 = bigButton("BitBtn4", QStringLiteral("  &Clear List"), 289, ButtonImage::ClearList);
    BitBtn2 = bigButton("BitBtn2", QStringLiteral("Apply Re&name"), 425, ButtonImage::ApplyRename);
    BitBtn5 = bigButton("BitBtn5", QStringLiteral("Exit"), 562, ButtonImage::Exit);

    cbInclude = named(new QCheckBox(QStringLiteral("Include File Extension"), client), "cbInclude");
    cbInclude->setGeometry(453, 64, 138, 17);

    rbCheck = named(new QRadioButton(QStringLiteral("Check All"), client), "rbCheck");
    rbCheck->setGeometry(453, 92, 81, 17);
    rbCheck->setChecked(true);
    rbUncheck = named(new QRadioButton(QStringLiteral("Uncheck All"), client), "rbUncheck");
    rbUncheck->setGeometry(545, 92, 81, 17);
    rbReverse = named(new QRadioButton(QStringLiteral("Reverse"), client), "rbReverse");
    rbReverse->setGeometry(637, 92, 81, 17);
    // A group of their own: without it Qt counts the pages' selected radio
    // buttons as their neighbours, so the selected one could be unselected
    // and the arrow keys would wander into "Mode" or "Destination".
    auto* listCommands = new QButtonGroup(client);
    for (QRadioButton* radio : {rbCheck, rbUncheck, rbReverse})
        listCommands->addButton(radio);

    Panel1 = named(new BevelPanel(client), "Panel1");
    Panel1->setGeometry(451, 120, 267, 366);

    PageControl1 = named(new QTabWidget(Panel1), "PageControl1");
    PageControl1->setGeometry(Panel1->contentsRect());
    PageControl1->setUsesScrollButtons(false);
    PageControl1->setElideMode(Qt::ElideNone);
    PageControl1->tabBar()->setStyle(new CompactTabStyle(PageControl1));
    TabSheet2 = named(new QWidget, "TabSheet2");
    TabSheet3 = named(new QWidget, "TabSheet3");
    TabSheet4 = named(new QWidget, "TabSheet4");
    TabSheet5 = named(new QWidget, "TabSheet5");
    TabSheet1 = named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet2, QStringLiteral("Add"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Delete"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Replace"));
    PageControl1->addTab(TabSheet5, QStringLiteral("Case"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Move/Copy"));
    PageControl1->setCurrentWidget(TabSheet2);

    buildAddPage();
    buildDeletePage();
    buildReplacePage();
    buildCasePage();
    buildMoveCopyPage();

    // A fixed window: the client area keeps its size and the window can
    // neither be resized nor maximised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::connectCommand(QAbstractButton* button, void (TForm1::*handler)())
{
    connect(button, &QAbstractButton::clicked, this, [this, handler] { runCommand([=, this] { (this->*handler)(); }); });
}

void TForm1::wireCommands()
{
    VT->setEvents(this);

    connectCommand(BitBtn1, &TForm1::BitBtn1Click);
    connectCommand(BitBtn2, &TForm1::BitBtn2Click);
    connectCommand(BitBtn3, &TForm1::BitBtn3Click);
    connectCommand(BitBtn4, &TForm1::BitBtn4Click);
    connectCommand(BitBtn5, &TForm1::BitBtn5Click);
    connect(cbInclude, &QCheckBox::toggled, this, [this] { runCommand([this] { cbIncludeClick(); }); });
    // A radio button's command runs only when it becomes selected.
    for (QRadioButton* radio : {rbCheck, rbUncheck, rbReverse})
        connect(radio, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected)
                runCommand([this] { RadioClick(); });
        });
    connect(help1, &QAction::triggered, this, [this] { runCommand([this] { help1Click(); }); });
    connect(About1, &QAction::triggered, this, [this] { runCommand([this] { About1Click(); }); });

    connectCommand(SpeedButton4, &TForm1::SpeedButton4Click);
    connectCommand(SpeedButton5, &TForm1::SpeedButton5Click);
    connectCommand(SpeedButton9, &TForm1::SpeedButton9Click);
    connectCommand(btnDeleteFirst, &TForm1::btnDeleteFirstClick);
    connectCommand(btnDeletelast, &TForm1::btnDeletelastClick);
    connectCommand(btnDeleteFrom, &TForm1::btnDeleteFromClick);
    connectCommand(SpeedButton7, &TForm1::SpeedButton7Click);
    connectCommand(SpeedButton8, &TForm1::SpeedButton8Click);
    connectCommand(SpeedButton11, &TForm1::SpeedButton11Click);
    connectCommand(SpeedButton12, &TForm1::SpeedButton12Click);
    connectCommand(btnReplace, &TForm1::btnReplaceClick);
    connectCommand(SpeedButton1, &TForm1::btnLowerClick);
    connectCommand(SpeedButton2, &TForm1::btnUpperClick);
    connectCommand(SpeedButton10, &TForm1::SpeedButton10Click);
    connectCommand(SpeedButton3, &TForm1::SpeedButton3Click);
    connectCommand(SpeedButton6, &TForm1::SpeedButton6Click);
}

void TForm1::setFocusOrder()
{
    QWidget* order[] = {VT,           BitBtn1, BitBtn2,   BitBtn3,   cbInclude, BitBtn4,
                        PageControl1, rbCheck, rbUncheck, rbReverse, BitBtn5};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}
