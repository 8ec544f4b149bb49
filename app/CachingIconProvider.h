#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>

// The icons and "Type" texts of Qt's file dialog, worded as Qt's own
// provider words them, with each MIME type's description looked up once
// instead of once per file: the dialog asks for the type of every file of a
// folder while it lists the folder, and reading a description costs far
// more than finding the type. Finding the type is kept once per kind of
// name, too: a camera's IMG_0001.jpg and IMG_0002.jpg differ only in digits
// before their extension, which no file type goes by.
class CachingIconProvider : public QFileIconProvider {
public:
    // One provider for every dialog, never destroyed: Qt's file model reads
    // it from a thread of its own that can outlive a dialog's members.
    static CachingIconProvider* shared();

    QString type(const QFileInfo& info) const override;

private:
    CachingIconProvider() = default;

    QMimeDatabase m_mimeDatabase;
    mutable QMutex m_mutex; // that thread, and the dialogs of other threads
    mutable QHash<QString, QString> m_typeByMimeName;
    mutable QHash<QString, QString> m_typeByNameShape;
};
