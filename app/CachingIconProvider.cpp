#include "app/CachingIconProvider.h"

#include <QMutexLocker>

CachingIconProvider* CachingIconProvider::shared()
{
    static CachingIconProvider* const provider = new CachingIconProvider;
    return provider;
}

QString CachingIconProvider::type(const QFileInfo& info) const
{
    // Drives, folders and links are named without a MIME type.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    // Qt's wording: the type's description, else its name.
    const QMimeType mime = m_mimeDatabase.mimeTypeForFile(info);
    const QString name = mime.name();
    const QMutexLocker lock(&m_mutex);
    auto known = m_typeByMimeName.constFind(name);
    if (known == m_typeByMimeName.constEnd())
        known = m_typeByMimeName.insert(name, mime.comment().isEmpty() ? name : mime.comment());
    return *known;
}
