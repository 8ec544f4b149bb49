#pragma once

#include "app/UserDialogs.h"

#include <QStringList>

// Stands in for the person at the window: records every message and opened
// address, and answers the file dialog with prepared paths.
class RecordingDialogs : public UserDialogs {
public:
    struct Message {
        QString text;
        Icon icon;
    };

    std::vector<Message> messages;
    std::vector<QUrl> openedUrls;
    std::vector<std::string> filesToChoose;
    QStringList preselections;

    void ShowMessage(QWidget*, const QString& text, Icon icon) override { messages.push_back({text, icon}); }

    std::vector<std::string> ChooseFiles(QWidget*, const QString& preselect) override
    {
        preselections << preselect;
        return filesToChoose;
    }

    void OpenUrl(const QUrl& url) override { openedUrls.push_back(url); }
};

// Installs recording dialogs on a window and hands them back.
template <typename Window>
RecordingDialogs& RecordDialogs(Window& window)
{
    auto dialogs = std::make_unique<RecordingDialogs>();
    RecordingDialogs& recorder = *dialogs;
    window.SetUserDialogs(std::move(dialogs));
    return recorder;
}
