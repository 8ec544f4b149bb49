#include "ListContents.h"
#include "RecordingDialogs.h"
#include "app/Unit1.h"
#include "listcore/FileTimes.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Bytes = std::vector<QByteArray>;
Q_DECLARE_METATYPE(Bytes)

namespace {

QByteArray B(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// Creates a file whose name is given as raw bytes, which need not be UTF-8,
// and returns its full path as bytes.
std::string makeFile(const QTemporaryDir& dir, const QByteArray& name)
{
    const std::string path = QFile::encodeName(dir.path()).toStdString() + "/" + name.toStdString();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        qFatal("cannot create %s", path.c_str());
    ::close(fd);
    return path;
}

// The time texts the file system gives for a path right now.
FileEntry timesOf(const std::string& path)
{
    FileEntry times;
    times.setTimes(lookUpFile(path).times);
    return times;
}

} // namespace

// "&Add Files" on the real window: the rows that arrive, their entries and
// what the list shows for them.
class TestIntake : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string m_folder; // m_dir's path with the trailing slash


    static void choose(TForm1& window, RecordingDialogs& dialogs, std::vector<std::string> paths)
    {
        dialogs.filesToChoose = std::move(paths);
        window.BitBtn1->click();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = QFile::encodeName(m_dir.path()).toStdString() + "/";
        for (const char* name : {"beta.tar.gz", "README", "alpha.txt", ".profile", "trailing.", "back\\slash:c.txt"})
            makeFile(m_dir, name);
    }

    // Qt cannot remove names that are not UTF-8; the standard library
    // works on the bytes.
    void cleanupTestCase() { std::filesystem::remove_all(m_folder); }

    void threeFiles_data()
    {
        QTest::addColumn<bool>("include");
        QTest::addColumn<Bytes>("names");
        QTest::addColumn<Bytes>("extensions");
        // The dialog's order, not the alphabet's.
        QTest::newRow("extension apart") << false << Bytes{"beta.tar", "README", "alpha"}
                                         << Bytes{".gz", "", ".txt"};
        QTest::newRow("extension included") << true << Bytes{"beta.tar.gz", "README", "alpha.txt"}
                                            << Bytes{"", "", ""};
    }

    // New rows follow the "Include File Extension" box, so that they show
    // their names the way the rows already listed do.
    void threeFiles()
    {
        QFETCH(bool, include);
        QFETCH(Bytes, names);
        QFETCH(Bytes, extensions);
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        window.cbInclude->setChecked(include);

        const Bytes fileNames{"beta.tar.gz", "README", "alpha.txt"};
        std::vector<std::string> paths;
        for (const QByteArray& name : fileNames)
            paths.push_back(m_folder + name.toStdString());
        choose(window, dialogs, paths);

        const std::vector<FileEntry> added = listEntries(window);
        QCOMPARE(added.size(), std::size_t(3));
        for (std::size_t i = 0; i < added.size(); ++i) {
            const FileEntry& entry = added[i];
            QCOMPARE(B(entry.FileName()), fileNames[i]);
            QCOMPARE(B(entry.OldName()), names[i]);
            QCOMPARE(B(entry.NewName()), names[i]);
            QCOMPARE(B(entry.FileExt()), extensions[i]);
            QCOMPARE(entry.FilePath(), m_folder);
            const FileEntry times = timesOf(paths[i]);
            QVERIFY(entry.times().modified != FileTimes::none);
            QCOMPARE(entry.times(), times.times());
        }
        for (ListRow* row : listRows(window)) {
            QCOMPARE(row->CheckState, csCheckedNormal);
            QCOMPARE(row->CheckType, ctCheckBox);
        }
        QCOMPARE(window.VT->model()->rowCount(), 3);
        QVERIFY(dialogs.messages.empty());
    }

    void nameParts_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("oldName");
        QTest::addColumn<QByteArray>("fileExt");
        QTest::newRow("dot file") << QByteArray(".profile") << QByteArray("") << QByteArray(".profile");
        QTest::newRow("trailing dot") << QByteArray("trailing.") << QByteArray("trailing") << QByteArray(".");
        // Only '/' separates folders here: backslash and colon belong to the name.
        QTest::newRow("backslash and colon") << QByteArray("back\\slash:c.txt") << QByteArray("back\\slash:c")
                                             << QByteArray(".txt");
        QTest::newRow("invalid UTF-8") << QByteArray("bad\xff\xfe name.\xe9xt") << QByteArray("bad\xff\xfe name")
                                       << QByteArray(".\xe9xt");
        QTest::newRow("truncated sequence") << QByteArray("cut\xc3.txt") << QByteArray("cut\xc3")
                                            << QByteArray(".txt");
    }

    // The entry keeps the file system's bytes, whatever they encode, and
    // those bytes still find the file: its times are read.
    void nameParts()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, oldName);
        QFETCH(QByteArray, fileExt);
        const std::string path = makeFile(m_dir, name);
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        choose(window, dialogs, {path});

        const std::vector<FileEntry> added = listEntries(window);
        QCOMPARE(added.size(), std::size_t(1));
        QCOMPARE(B(added[0].FileName()), name);
        QCOMPARE(B(added[0].OldName()), oldName);
        QCOMPARE(B(added[0].NewName()), oldName);
        QCOMPARE(B(added[0].FileExt()), fileExt);
        QCOMPARE(std::string(added[0].FilePath()) + std::string(added[0].FileName()), path);
        QVERIFY(added[0].times().modified != FileTimes::none);
        QCOMPARE(added[0].times().modified, timesOf(path).times().modified);
    }

    void appendsAfterExistingRows()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const std::string alpha = m_folder + "alpha.txt";
        const std::string readme = m_folder + "README";
        choose(window, dialogs, {alpha});
        window.VT->RowData(window.VT->FirstRow())->setNewName("edited");
        window.VT->FirstRow()->CheckState = csUncheckedNormal;

        choose(window, dialogs, {readme, alpha, alpha});

        const std::vector<FileEntry> added = listEntries(window);
        QCOMPARE(added.size(), std::size_t(4));
        // The earlier row keeps its place, its proposal and its check mark.
        QCOMPARE(added[0].NewName(), std::string("edited"));
        QCOMPARE(listRows(window)[0]->CheckState, csUncheckedNormal);
        QCOMPARE(added[1].OldName(), std::string("README"));
        // The same file again is a row of its own, every time.
        QCOMPARE(added[2].FileName(), std::string("alpha.txt"));
        QCOMPARE(added[3].FileName(), std::string("alpha.txt"));
        QCOMPARE(added[2].NewName(), std::string("alpha"));
        QCOMPARE(listRows(window)[3]->CheckState, csCheckedNormal);
        QCOMPARE(window.VT->model()->rowCount(), 4);
    }

    void missingFileGetsRowWithoutTimes()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const std::string missing = m_folder + "typed-but-missing.doc";
        choose(window, dialogs, {missing, m_folder + "alpha.txt"});

        const std::vector<FileEntry> added = listEntries(window);
        QCOMPARE(added.size(), std::size_t(2));
        QCOMPARE(added[0].OldName(), std::string("typed-but-missing"));
        QCOMPARE(added[0].FileExt(), std::string(".doc"));
        QCOMPARE(added[0].FilePath(), m_folder);
        QCOMPARE(added[0].times(), FileTimes());
        QCOMPARE(listRows(window)[0]->CheckState, csCheckedNormal);
        // The file after it still has its times.
        QVERIFY(added[1].times().modified != FileTimes::none);
        QVERIFY(dialogs.messages.empty());
    }

    // A link that leads nowhere is listed with its own times, as a listing
    // of its folder shows them.
    void danglingLinkGetsItsOwnTimes()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const std::string link = m_folder + "dangling";
        QVERIFY(::symlink("nowhere", link.c_str()) == 0);
        choose(window, dialogs, {link});
        struct stat own {};
        QVERIFY(::lstat(link.c_str(), &own) == 0);
        QCOMPARE(listEntries(window).at(0).times().modified, std::int64_t(own.st_mtime));
    }

    void cancelAddsNothing()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        choose(window, dialogs, {});
        QCOMPARE(window.VT->rowCount(), std::size_t(0));
        choose(window, dialogs, {m_folder + "README"});
        choose(window, dialogs, {});
        QCOMPARE(window.VT->rowCount(), std::size_t(1));
        QCOMPARE(window.VT->model()->rowCount(), 1);
        QVERIFY(dialogs.messages.empty());
    }

    // The dialog opens where the first file of the last successful choice
    // is; a cancelled choice does not move it.
    void preselectsFirstChosenFile()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const std::string beta = m_folder + "beta.tar.gz";
        const std::string readme = m_folder + "README";
        choose(window, dialogs, {beta, readme});
        choose(window, dialogs, {});
        choose(window, dialogs, {readme});
        choose(window, dialogs, {});

        const QString betaPath = QFile::decodeName(B(beta));
        const QString readmePath = QFile::decodeName(B(readme));
        QCOMPARE(dialogs.preselections, (QStringList{QString(), betaPath, betaPath, readmePath}));
    }

    void columnTexts()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const std::string umlaut = makeFile(m_dir, "Übersicht été.pdf");
        choose(window, dialogs, {m_folder + "alpha.txt", umlaut});
        window.VT->RowData(window.VT->FirstRow())->setNewName("omega");

        const QAbstractItemModel* model = window.VT->model();
        QCOMPARE(model->columnCount(), 3);
        const QString folder = QFile::decodeName(B(m_folder));
        const QStringList expected[] = {
            {QStringLiteral("alpha"), QStringLiteral("omega"), folder},
            {QStringLiteral("Übersicht été"), QStringLiteral("Übersicht été"), folder},
        };
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 3; ++c)
                QCOMPARE(model->index(r, c).data().toString(), expected[r][c]);
        }
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("File Name"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("New File Name"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Full Path"));
    }

    // A name that is not UTF-8 still shows, and showing it leaves the
    // entry's bytes alone.
    void columnTextOfInvalidName()
    {
        TForm1 window;
        RecordingDialogs& dialogs = recordDialogs(window);
        const QByteArray name("odd\xff.txt");
        const std::string path = makeFile(m_dir, name);
        choose(window, dialogs, {path});

        const QString shown = window.VT->model()->index(0, 0).data().toString();
        QVERIFY(shown.startsWith(QStringLiteral("odd")));
        QCOMPARE(shown.size(), 4);
        QCOMPARE(B(window.VT->RowData(window.VT->FirstRow())->OldName()), QByteArray("odd\xff"));
    }
};

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
