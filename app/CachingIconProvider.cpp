#include "app/CachingIconProvider.h"

#include <QMutexLocker>

CachingIconProvider* CachingIconProvider::shared()
{
    static CachingIconProvider* const provider = new CachingIconProvider;
    return provider;
}

namespace {

// A file name with each run of digits before its extension made one '#':
// names of one shape have one type, as far as the names tell it. Empty for
// a name without extension, whose type may hang on its content alone.
QString nameShape(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return {};
    QString shape;
    shape.reserve(fileName.size());
    for (qsizetype i = 0; i < dot; ++i) {
        if (!fileName[i].isDigit())
            shape += fileName[i];
        else if (shape.isEmpty() || shape.back() != u'#')
            shape += u'#';
    }
    return shape + fileName.mid(dot);
}

} // namespace

QString CachingIconProvider::type(const QFileInfo& info) const
{
    // Drives, folders and links are named without a MIME type.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    // Only names the glob patterns alone decide are kept by their shape: the
    // type of any other name may hang on what the file holds.
    const QString shape = nameShape(info.fileName());
    if (!shape.isEmpty()) {
        const QMutexLocker lock(&m_mutex);
        if (const auto known = m_typeByNameShape.constFind(shape); known != m_typeByNameShape.constEnd())
            return *known;
    }
    // Qt's wording: the type's description, else its name.
    const QMimeType mime = m_mimeDatabase.mimeTypeForFile(info);
    const bool byNameAlone = !shape.isEmpty() && m_mimeDatabase.mimeTypesForFileName(info.fileName()).size() == 1;
    const QString name = mime.name();
    const QMutexLocker lock(&m_mutex);
    auto known = m_typeByMimeName.constFind(name);
    if (known == m_typeByMimeName.constEnd())
        known = m_typeByMimeName.insert(name, mime.comment().isEmpty() ? name : mime.comment());
    if (byNameAlone)
        m_typeByNameShape.insert(shape, *known);
    return *known;
}
