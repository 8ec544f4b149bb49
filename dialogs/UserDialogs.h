#pragma once

#include <QString>
#include <QUrl>

#include <string>
#include <vector>

class QWidget;

// Everything the main window asks of the person in front of it, or hands to
// the desktop, goes through here, so that tests can stand in for both.
class UserDialogs {
public:
    enum class Icon { None, Warning, Error };

    virtual ~UserDialogs() = default;

    // A modal message with one OK button, captioned with the program's title,
    // and with `details` behind a button of its own when there are any.
    virtual void showMessage(QWidget* parent, const QString& text, Icon icon, const QString& details = {});
    // The chosen files' full paths as bytes, in the order they were typed or
    // picked; empty when cancelled. The name box starts with `preselect`.
    virtual std::vector<std::string> chooseFiles(QWidget* parent, const QString& preselect);
    // Opens an address with the user's default program; does not wait.
    virtual void openUrl(const QUrl& url);
};
