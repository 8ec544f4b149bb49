#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QUrl;

// The about box: product name and version, the copyright line, and links to
// the product page and to our contact mail address. It has no buttons and
// is closed through its title bar, or with Alt+F4 on the box itself.
class TFMAbout : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // `openUrl` hands an address to the desktop; the links call it.
    explicit TFMAbout(UrlOpener openUrl, QWidget* parent = nullptr);

    // The web link: opens the product page.
    void Label5Click();
    // The mail link: starts a new message to our contact address.
    void Label7Click();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    UrlOpener m_openUrl;
};
