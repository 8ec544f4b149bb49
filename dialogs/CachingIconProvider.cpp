#include "dialogs/CachingIconProvider.h"

#include <QMutexLocker>
#include <QVarLengthArray>

CachingIconProvider* CachingIconProvider::shared()
{
    static CachingIconProvider* const provider = new CachingIconProvider;
    return provider;
}

namespace {

// A file name with each run of digits before its extension made one '#':
// names of one shape have one type, as far as the names tell it. Made in
// place, since it is made for every file a folder lists.
using Shape = QVarLengthArray<QChar, 256>;

// False for a name without extension, whose type may hang on its content
// alone.
bool nameShape(const QString& fileName, Shape& shape)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return false;
    shape.clear();
    for (qsizetype i = 0; i < dot; ++i) {
        const QChar c = fileName[i];
        if (!c.isDigit())
            shape.append(c);
        else if (shape.isEmpty() || shape.back() != u'#')
            shape.append(u'#');
    }
    shape.append(fileName.constData() + dot, fileName.size() - dot);
    return true;
}

// The shape as a key to look up, without a copy of its characters.
QString lookupKey(const Shape& shape)
{
    return QString::fromRawData(shape.constData(), shape.size());
}

// A plain file, neither a link nor anything else that is named without a
// MIME type.
bool isPlainFile(const QFileInfo& info)
{
    return info.isFile() && !info.isSymLink();
}

} // namespace

QIcon CachingIconProvider::icon(const QFileInfo& info) const
{
    Shape shape;
    if (!isPlainFile(info) || !nameShape(info.fileName(), shape))
        return QFileIconProvider::icon(info);
    {
        const QMutexLocker lock(&m_mutex);
        const auto known = m_lookByNameShape.constFind(lookupKey(shape));
        if (known == m_lookByNameShape.constEnd())
            return QFileIconProvider::icon(info); // type() tells first whether the name decides
        if (known->iconKnown)
            return known->icon;
    }
    const QIcon icon = QFileIconProvider::icon(info);
    const QMutexLocker lock(&m_mutex);
    if (const auto look = m_lookByNameShape.find(lookupKey(shape)); look != m_lookByNameShape.end()) {
        look->icon = icon;
        look->iconKnown = true;
    }
    return icon;
}

QString CachingIconProvider::type(const QFileInfo& info) const
{
    // Drives, folders and links are named without a MIME type.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    // Only names the glob patterns alone decide are kept by their shape: the
    // type of any other name may hang on what the file holds.
    Shape shape;
    const QString fileName = info.fileName();
    const bool shaped = nameShape(fileName, shape);
    if (shaped) {
        const QMutexLocker lock(&m_mutex);
        if (const auto known = m_lookByNameShape.constFind(lookupKey(shape)); known != m_lookByNameShape.constEnd())
            return known->type;
    }
    // Qt's wording: the type's description, else its name.
    const QMimeType mime = m_mimeDatabase.mimeTypeForFile(info);
    const bool byNameAlone = shaped && m_mimeDatabase.mimeTypesForFileName(fileName).size() == 1;
    const QString name = mime.name();
    const QMutexLocker lock(&m_mutex);
    auto known = m_typeByMimeName.constFind(name);
    if (known == m_typeByMimeName.constEnd())
        known = m_typeByMimeName.insert(name, mime.comment().isEmpty() ? name : mime.comment());
    if (byNameAlone && !m_lookByNameShape.contains(lookupKey(shape)))
        m_lookByNameShape.insert(QString(shape.constData(), shape.size()), Look {*known, {}, false});
    return *known;
}
