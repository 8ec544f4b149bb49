#pragma once

// A small FAT image mounted through the FUSE driver fusefat for the life of
// the object: case is ignored, RENAME_NOREPLACE and hard links are refused,
// the two spellings of a name answer with different inode numbers, and a
// rename to a name FAT cannot hold removes the file.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>

namespace fixture {

class FatImage {
public:
    FatImage()
    {
        const QString mkfs = QStandardPaths::findExecutable("mkfs.fat", {"/usr/sbin", "/sbin", "/usr/bin"});
        const QString fusefat = QStandardPaths::findExecutable("fusefat");
        m_fusermount = QStandardPaths::findExecutable("fusermount");
        if (mkfs.isEmpty() || fusefat.isEmpty() || m_fusermount.isEmpty()) {
            m_skipReason = "Needs mkfs.fat (dosfstools), fusefat and fusermount.";
            return;
        }
        if (geteuid() != 0 || access("/dev/fuse", R_OK | W_OK) != 0) {
            m_skipReason = "Needs root and /dev/fuse to mount a FUSE file system.";
            return;
        }
        const QString image = m_dir.filePath("fat.img");
        m_mountPoint = m_dir.filePath("mnt");
        QFile file(image);
        if (!m_dir.isValid() || !QDir(m_dir.path()).mkdir("mnt") || !file.open(QIODevice::WriteOnly)
            || !file.resize(8 * 1024 * 1024) || run(mkfs, {image}) != 0) {
            m_skipReason = "Could not make a FAT image in a temporary folder.";
            return;
        }
        file.close();
        if (run(fusefat, {"-o", "rw+", image, m_mountPoint}) != 0)
            m_skipReason = "fusefat could not mount the image here.";
    }
    ~FatImage()
    {
        if (isMounted())
            run(m_fusermount, {"-u", m_mountPoint});
    }
    FatImage(const FatImage&) = delete;
    FatImage& operator=(const FatImage&) = delete;

    bool isMounted() const { return m_skipReason.isEmpty(); }
    const char* skipReason() const { return m_skipReason.constData(); }
    QByteArray root() const { return QFile::encodeName(m_mountPoint); }

private:
    static int run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }

    QTemporaryDir m_dir;
    QString m_fusermount;
    QString m_mountPoint;
    QByteArray m_skipReason;
};

}  // namespace fixture
