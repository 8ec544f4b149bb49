// The file dialog's icons and "Type" texts come from a provider that finds
// each once per shape of name; whatever came before, every file must get
// what Qt's own provider gives it.
#include "dialogs/CachingIconProvider.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestCachingIconProvider : public QObject {
    Q_OBJECT

    static void write(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private Q_SLOTS:
    void answersAsQtsOwnProvider()
    {
        QTemporaryDir dir;
        const auto at = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
        // In this order, so that each file meets what its predecessors of
        // the same shape left in the cache.
        const QByteArray png("\x89PNG\r\n\x1a\n", 8);
        write(at("IMG_0001.jpg"), {});
        write(at("IMG_0002.jpg"), png); // a name decides, whatever the content
        QVERIFY(QFile::link(at("IMG_0001.jpg"), at("IMG_0003.jpg"))); // a link's icon is a link's
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("IMG_0004.jpg"))); // a folder is a folder
        write(at("x1.3pm"), {});             // no pattern knows the name: the content decides
        write(at("x2.3pm"), "plain words\n");
        write(at("x3.3pm"), png);
        write(at("notes1"), "#!/bin/sh\necho\n"); // no extension at all
        write(at("notes2"), "plain words\n");
        write(at("page.1"), {});
        write(at("page.2"), {});
        write(at("file.7z"), {});
        write(at("file.8z"), {});
        write(at("tar1.tar.gz"), {});
        write(at("tar2.gz"), {});
        const QStringList names = {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg", "IMG_0004.jpg", "x1.3pm",
                                   "x2.3pm",       "x3.3pm",       "notes1",       "notes2",       "page.1",
                                   "page.2",       "file.7z",      "file.8z",      "tar1.tar.gz",  "tar2.gz"};

        const CachingIconProvider& cached = *CachingIconProvider::shared();
        const QFileIconProvider qts;
        for (int round = 0; round < 2; ++round) {
            for (const QString& name : names) {
                const QFileInfo info(dir.filePath(name));
                const QString where = QStringLiteral("%1, round %2").arg(name).arg(round);
                QVERIFY2(cached.type(info) == qts.type(info), qPrintable(where));
                const QIcon icon = cached.icon(info);
                const QIcon expected = qts.icon(info);
                QVERIFY2(icon.name() == expected.name(), qPrintable(where));
                QVERIFY2(icon.pixmap(16).toImage() == expected.pixmap(16).toImage(), qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestCachingIconProvider)
#include "tst_cachingiconprovider.moc"
