// tolvex-rename killed (kill -9) at random points of an apply over 10,000
// files, on tmpfs and on an ext4 image: every rename on disk must then be
// in the journal, and --undo --apply must bring every file back to its own
// name, replacing nothing.

#include "journal/Journal.h"
#include "tests/cli/ProgramRun.h"
#include "tests/disk/DiskFixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>

#include <dirent.h>
#include <map>
#include <random>
#include <sys/mount.h>

namespace {

constexpr int kFiles = 10000;
constexpr int kKillPoints = 200;

// A small ext4 file system in an image, mounted for the life of the object.
class Ext4Image {
public:
    Ext4Image()
    {
        const QString mkfs = QStandardPaths::findExecutable("mkfs.ext4", {"/usr/sbin", "/sbin"});
        if (mkfs.isEmpty() || geteuid() != 0) {
            m_skipReason = "Needs mkfs.ext4 and root to mount an ext4 image.";
            return;
        }
        const QString image = m_dir.filePath("ext4.img");
        m_mountPoint = m_dir.filePath("mnt");
        QFile file(image);
        if (!QDir(m_dir.path()).mkdir("mnt") || !file.open(QIODevice::WriteOnly) || !file.resize(96 << 20)) {
            m_skipReason = "Could not make an image file.";
            return;
        }
        file.close();
        if (QProcess::execute(mkfs, {"-q", "-F", image}) != 0
            || QProcess::execute("mount", {"-o", "loop", image, m_mountPoint}) != 0)
            m_skipReason = "No loop mount of an ext4 image here.";
    }
    ~Ext4Image()
    {
        if (m_skipReason.isEmpty())
            umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
    }

    const QByteArray& skipReason() const { return m_skipReason; }
    QByteArray root() const { return QFile::encodeName(m_mountPoint); }

private:
    QTemporaryDir m_dir;
    QString m_mountPoint;
    QByteArray m_skipReason;
};

// The entries of one folder by inode, from one reading of it: a file keeps
// its inode through every rename, so this tells which file has which name.
std::map<ino_t, QByteArray> namesByInode(const QByteArray& folder)
{
    std::map<ino_t, QByteArray> names;
    DIR* dir = opendir(folder);
    while (const dirent* entry = dir ? readdir(dir) : nullptr) {
        if (entry->d_name[0] != '.')
            names[entry->d_ino] = entry->d_name;
    }
    if (dir)
        closedir(dir);
    return names;
}

// The renames a journal announces, as "old new" of their paths.
QSet<QByteArray> intentsOf(const QByteArray& journal)
{
    QSet<QByteArray> intents;
    std::string error;
    const std::optional<JournalContents> contents = readJournal(journal.toStdString(), error);
    for (const JournalEntry& entry : contents ? contents->entries : std::vector<JournalEntry>())
        intents.insert(QByteArray::fromStdString(entry.oldPath + ' ' + entry.newPath));
    return intents;
}

} // namespace

class TestCrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedAndUndone_data()
    {
        QTest::addColumn<QString>("fileSystem");
        QTest::newRow("tmpfs") << "tmpfs";
        QTest::newRow("ext4 image") << "ext4";
    }

    void killedAndUndone()
    {
        QFETCH(QString, fileSystem);
        std::unique_ptr<Ext4Image> ext4;
        QByteArray base = "/dev/shm";
        if (fileSystem == "ext4") {
            ext4 = std::make_unique<Ext4Image>();
            if (!ext4->skipReason().isEmpty())
                QSKIP(ext4->skipReason());
            base = ext4->root();
        } else if (access(base, W_OK) != 0) {
            QSKIP("Needs a writable /dev/shm.");
        }
        QTemporaryDir scratch(QFile::decodeName(base) + "/tolvex-crash-XXXXXX");
        QVERIFY(scratch.isValid());
        const QByteArray root = QFile::encodeName(scratch.path());

        // Two folders: names that gain a prefix, and numbers that each move
        // down by one, a chain that only unwinds last first.
        const QByteArray prefixed = root + "/prefixed";
        const QByteArray chain = root + "/chain";
        QByteArrayList prefixedNames;
        QByteArrayList chainNames;
        for (int i = 0; i < kFiles; ++i) {
            prefixedNames << "f" + QByteArray::number(i).rightJustified(5, '0') + ".txt";
            chainNames << QByteArray::number(i);
        }
        QVERIFY(mkdir(prefixed, 0755) == 0 && mkdir(chain, 0755) == 0);
        QVERIFY(fixture::makeTree(prefixed, prefixedNames));
        QVERIFY(fixture::makeTree(chain, chainNames));
        const std::map<ino_t, QByteArray> prefixedBefore = namesByInode(prefixed);
        const std::map<ino_t, QByteArray> chainBefore = namesByInode(chain);

        std::mt19937 random(20261209);
        for (int trial = 0; trial < kKillPoints; ++trial) {
            const bool isChain = trial % 2 == 1;
            const QByteArray& folder = isChain ? chain : prefixed;
            const QStringList rules = isChain
                ? QStringList{"--remove-first", "9", "--mask", "", "--serial", "-1"}
                : QStringList{"--add", "X_"};
            const int killAt = std::uniform_int_distribution(1, kFiles)(random);
            const bool after = random() % 2;
            const QByteArray journal = root + "/journal-" + QByteArray::number(trial);

            const ProgramResult killed = runProgram(
                folder, rules + QStringList{"-0", "--apply", "--journal", QFile::decodeName(journal)},
                nulSeparated(isChain ? chainNames : prefixedNames),
                {{"TOLVEX_FAULT_KILL_AT", QString::number(killAt) + (after ? "a" : "")}});
            const QByteArray where = "trial " + QByteArray::number(trial) + ", kill at rename "
                + QByteArray::number(killAt) + (after ? " after" : " before");
            QVERIFY2(killed.crashed, where);

            // Every file away from its own name is in the journal.
            const std::map<ino_t, QByteArray>& before = isChain ? chainBefore : prefixedBefore;
            const QSet<QByteArray> intents = intentsOf(journal);
            const std::map<ino_t, QByteArray> now = namesByInode(folder);
            QVERIFY2(now.size() == before.size(), where + ": files lost or added");
            for (const auto& [inode, name] : now) {
                const QByteArray& own = before.at(inode);
                if (name != own)
                    QVERIFY2(intents.contains(folder + '/' + own + ' ' + folder + '/' + name),
                             where + ": " + own + " -> " + name + " is not in the journal");
            }

            const ProgramResult undone =
                runProgram(folder, {"--undo", QFile::decodeName(journal), "--apply"});
            QVERIFY2(undone.exitCode == 0, where + ": " + undone.output + undone.errors);
            QVERIFY2(namesByInode(folder) == before, where + ": not every name back");
            QVERIFY(unlink(journal) == 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "crash_undo.moc"
