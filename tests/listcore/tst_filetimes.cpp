// The times of a file as the intake reads them, with one look at its path.
#include "listcore/FileEntry.h"
#include "listcore/FileTimes.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::time_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
        .toSecsSinceEpoch();
}

void setFileTimes(const QByteArray& path, std::time_t accessed, std::time_t modified)
{
    const timespec times[2] = {{accessed, 0}, {modified, 0}};
    QVERIFY(utimensat(AT_FDCWD, path.constData(), times, 0) == 0);
}

void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

enum class Target { File, Missing, SymlinkToFile, DanglingSymlink, NulInPath };
Q_DECLARE_METATYPE(Target)

class TestFileTimes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readFileTimes_data();
    void readFileTimes();
};

void TestFileTimes::readFileTimes_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<bool>("found");

    QTest::newRow("file") << Target::File << true;
    QTest::newRow("missing") << Target::Missing << false;
    QTest::newRow("link to file: the file's times") << Target::SymlinkToFile << true;
    QTest::newRow("dangling link: its own times") << Target::DanglingSymlink << true;
    QTest::newRow("NUL inside the path") << Target::NulInPath << false;
}

void TestFileTimes::readFileTimes()
{
    QFETCH(Target, target);
    QFETCH(bool, found);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDateTime made = QDateTime::currentDateTime();
    const QString filePath = folder.filePath(QStringLiteral("data.bin"));
    writeFile(filePath);
    const std::time_t accessed = UtcSeconds(2020, 2, 3, 4, 5, 6);
    const std::time_t modified = UtcSeconds(2019, 8, 9, 17, 11, 12);
    setFileTimes(QFile::encodeName(filePath), accessed, modified);

    QByteArray path = QFile::encodeName(filePath);
    const QByteArray linkPath = QFile::encodeName(folder.filePath(QStringLiteral("link")));
    switch (target) {
    case Target::File: break;
    case Target::Missing: path = QFile::encodeName(folder.filePath(QStringLiteral("gone"))); break;
    case Target::SymlinkToFile:
    case Target::DanglingSymlink:
        QVERIFY(symlink(target == Target::SymlinkToFile ? path.constData() : "nowhere",
                        linkPath.constData()) == 0);
        path = linkPath;
        break;
    case Target::NulInPath: path.append('\0').append("junk"); break;
    }

    FileEntry entry;
    entry.setTimes({1, 1, 1}); // stale times, to be replaced
    entry.setTimes(lookUpFile(path.toStdString()).times);

    if (!found) {
        QCOMPARE(entry.times(), FileTimes());
        return;
    }
    if (target == Target::DanglingSymlink) {
        // As a listing of the folder shows the link: the link's own times.
        struct stat link {};
        QVERIFY(lstat(linkPath.constData(), &link) == 0);
        QCOMPARE(entry.times().accessed, std::int64_t(link.st_atime));
        QCOMPARE(entry.times().modified, std::int64_t(link.st_mtime));
    } else {
        QCOMPARE(entry.times().accessed, std::int64_t(accessed));
        QCOMPARE(entry.times().modified, std::int64_t(modified));
    }
    // Not every file system keeps a birth time; where it does, it is now.
    if (entry.times().created != FileTimes::none) {
        QVERIFY(qAbs(entry.times().created - made.toSecsSinceEpoch()) < 120);
    }
}

QTEST_GUILESS_MAIN(TestFileTimes)
#include "tst_filetimes.moc"
