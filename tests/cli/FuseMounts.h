#pragma once

// File systems users keep files on, mounted through FUSE for the life of an
// object: a folder of a loopback sshd through sshfs (the way to a NAS), and
// an exFAT image through exfat-fuse (a USB stick). Each says why it could
// not be mounted, and the test skips.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace fixture {

inline int runQuietly(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return process.exitCode();
}

class FuseMount {
public:
    virtual ~FuseMount() = default;
    bool isMounted() const { return m_skipReason.isEmpty(); }
    const char* skipReason() const { return m_skipReason.constData(); }
    QByteArray root() const { return QFile::encodeName(m_dir.filePath("mnt")); }

protected:
    bool needs(const QStringList& programs)
    {
        for (const QString& program : programs) {
            if (QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"}).isEmpty())
                m_skipReason = "Needs " + program.toLatin1() + '.';
        }
        if (m_skipReason.isEmpty() && (geteuid() != 0 || access("/dev/fuse", R_OK | W_OK) != 0))
            m_skipReason = "Needs root and /dev/fuse to mount a FUSE file system.";
        return m_skipReason.isEmpty() && QDir(m_dir.path()).mkdir("mnt");
    }

    QTemporaryDir m_dir;
    QByteArray m_skipReason;
};

// sshfs over an sshd of its own on a free loopback port, with keys of its own.
class SshfsMount : public FuseMount {
public:
    SshfsMount()
    {
        if (!needs({"sshd", "sshfs", "ssh-keygen"}))
            return;
        const QString dir = m_dir.path();
        QDir().mkpath("/run/sshd");
        if (runQuietly("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", dir + "/host"}) != 0
            || runQuietly("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", dir + "/user"}) != 0
            || !QDir(dir).mkdir("remote")) {
            m_skipReason = "Could not make the keys of an sshd.";
            return;
        }
        QFile::copy(dir + "/user.pub", dir + "/authorized");
        QFile config(dir + "/sshd_config");
        if (!config.open(QIODevice::WriteOnly))
            return;
        const QString port = QString::number(freePort());
        config.write(("ListenAddress 127.0.0.1\nPort " + port + "\nHostKey " + dir + "/host\nAuthorizedKeysFile " + dir
                      + "/authorized\nStrictModes no\nPermitRootLogin yes\nPasswordAuthentication no\nUsePAM no\n"
                        "Subsystem sftp internal-sftp\n")
                         .toLocal8Bit());
        config.close();
        m_sshd.start(QStandardPaths::findExecutable("sshd", {"/usr/sbin", "/sbin"}),
                     {"-D", "-e", "-f", dir + "/sshd_config"});
        for (int attempt = 0; attempt < 50 && isMounted(); ++attempt) {
            if (runQuietly("sshfs", {"-p", port, "-o", "IdentityFile=" + dir + "/user", "-o", "BatchMode=yes", "-o",
                                     "StrictHostKeyChecking=no", "-o", "UserKnownHostsFile=/dev/null",
                                     "root@127.0.0.1:" + dir + "/remote", dir + "/mnt"})
                == 0)
                return;
            QThread::msleep(100);
        }
        m_skipReason = "sshfs could not reach the loopback sshd.";
    }
    ~SshfsMount() override
    {
        if (isMounted())
            runQuietly("fusermount", {"-u", m_dir.filePath("mnt")});
        m_sshd.kill();
        m_sshd.waitForFinished();
    }

private:
    static int freePort()
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
            && getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        close(fd);
        return bound ? ntohs(address.sin_port) : 22022;
    }

    QProcess m_sshd;
};

// An exFAT image on a loop device, through exfat-fuse.
class ExfatImage : public FuseMount {
public:
    ExfatImage()
    {
        if (!needs({"mkfs.exfat", "mount.exfat-fuse", "losetup"}))
            return;
        const QString image = m_dir.filePath("exfat.img");
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(16 << 20) || runQuietly("mkfs.exfat", {image}) != 0
            || runQuietly("losetup", {"-f", "--show", image}, &m_device) != 0
            || runQuietly("mount.exfat-fuse", {QString::fromLocal8Bit(m_device), m_dir.filePath("mnt")}) != 0)
            m_skipReason = "Could not mount an exFAT image on a loop device here.";
    }
    ~ExfatImage() override
    {
        if (isMounted())
            runQuietly("fusermount", {"-u", m_dir.filePath("mnt")});
        if (!m_device.isEmpty())
            runQuietly("losetup", {"-d", QString::fromLocal8Bit(m_device)});
    }

private:
    QByteArray m_device;
};

}  // namespace fixture
