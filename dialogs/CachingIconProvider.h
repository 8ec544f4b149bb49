#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QMutex>

// The icons and "Type" texts of Qt's file dialog, as Qt's own provider
// gives them, with each found once per kind of name instead of once per
// file: the dialog asks for both for every file of a folder while it lists
// the folder, and finding a file's type by its name, or its icon, costs far
// more than looking the answer up. A camera's IMG_0001.jpg and IMG_0002.jpg
// differ only in digits before their extension, which no file type goes by:
// they are of one kind. A MIME type's description is likewise read once.
class CachingIconProvider : public QFileIconProvider {
public:
    // One provider for every dialog, never destroyed: Qt's file model reads
    // it from a thread of its own that can outlive a dialog's members.
    static CachingIconProvider* shared();

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    CachingIconProvider() = default;

    // What files of one kind of name look like; only kinds whose type the
    // name alone decides are kept.
    struct Look {
        QString type;
        QIcon icon;
        bool iconKnown = false;
    };

    QMimeDatabase m_mimeDatabase;
    mutable QMutex m_mutex; // that thread, and the dialogs of other threads
    mutable QHash<QString, QString> m_typeByMimeName;
    mutable QHash<QString, Look> m_lookByNameShape;
};
