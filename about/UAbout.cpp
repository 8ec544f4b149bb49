#include "about/UAbout.h"

#include "Version.h"
#include "about/Addresses.h"
#include "about/LinkLabel.h"
#include "ui/Named.h"
#include "ui/UiFont.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QUrl>

namespace {

constexpr int ClientWidth = 292;
constexpr int ClientHeight = 152;

// The product page as people would type it: no scheme, no trailing slash.
QString readableAddress(const QString& address)
{
    const QUrl url = QUrl(address).adjusted(QUrl::StripTrailingSlash);
    return url.host() + url.path();
}

QLabel* placedLabel(QLabel* label, int x, int y, int width = 0, int height = 0)
{
    if (width > 0)
        label->setGeometry(x, y, width, height);
    else {
        label->move(x, y);
        label->adjustSize();
    }
    return label;
}

} // namespace

TFMAbout::TFMAbout(UrlOpener openUrl, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("FMAbout"));
    setWindowTitle(QStringLiteral("About File Renamer"));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(uiFont(13));

    Label1 = named(new QLabel(QStringLiteral("Tolvex File Renamer " TOLVEX_VERSION), this), "Label1");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    placedLabel(Label1, 63, 20, 212, 16);

    Label2 = named(new QLabel(QStringLiteral("© 2026 Tolvex. All rights reserved."), this), "Label2");
    placedLabel(Label2, 35, 43, 248, 16);

    Label4 = placedLabel(named(new QLabel(QStringLiteral("Web: "), this), "Label4"), 56, 75);
    Label6 = placedLabel(named(new QLabel(QStringLiteral("Email: "), this), "Label6"), 58, 99);

    auto* webLink = named(new LinkLabel(readableAddress(WebPageAddress), this), "Label5");
    Label5 = placedLabel(webLink, 95, 75, 169, 13);
    connect(webLink, &LinkLabel::clicked, this, &TFMAbout::Label5Click);

    auto* mailLink = named(new LinkLabel(ContactMailAddress, this), "Label7");
    Label7 = placedLabel(mailLink, 103, 99, 146, 13);
    connect(mailLink, &LinkLabel::clicked, this, &TFMAbout::Label7Click);

    // Centred on the screen the program is on; an explicit position keeps
    // QDialog from placing the box over its parent instead.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void TFMAbout::Label5Click()
{
    m_openUrl(QUrl(WebPageAddress));
}

void TFMAbout::Label7Click()
{
    m_openUrl(QUrl(QStringLiteral("mailto:") + ContactMailAddress));
}

// The box has no Cancel button, so Escape does not close it either. Alt+F4
// is the title bar's key, taken here too: where the window manager has no
// such key and draws no close button, as on tiling desktops, it is the only
// way to close the box.
void TFMAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
        event->accept();
        close();
        return;
    }
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
