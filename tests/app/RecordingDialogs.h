#pragma once

#include "dialogs/UserDialogs.h"

#include <QStringList>

// Stands in for the person at the window: records every message and opened
// address, and answers the file dialog with prepared paths.
class RecordingDialogs : public UserDialogs {
public:
    struct Message {
        QString text;
        Icon icon;
        QString details;
    };

    std::vector<Message> messages;
    std::vector<QUrl> openedUrls;
    std::vector<std::string> filesToChoose;
    QStringList preselections;

    void showMessage(QWidget*, const QString& text, Icon icon, const QString& details) override
    {
        messages.push_back({text, icon, details});
    }

    std::vector<std::string> chooseFiles(QWidget*, const QString& preselect) override
    {
        preselections << preselect;
        return filesToChoose;
    }

    void openUrl(const QUrl& url) override { openedUrls.push_back(url); }
};

// Installs recording dialogs on a window and hands them back.
template <typename Window>
RecordingDialogs& recordDialogs(Window& window)
{
    auto dialogs = std::make_unique<RecordingDialogs>();
    RecordingDialogs& recorder = *dialogs;
    window.setUserDialogs(std::move(dialogs));
    return recorder;
}
