#include "listcore/ListCommands.h"
#include "listcore/RowStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(EntryForm)

namespace {

constexpr EntryForm Split = EntryForm::Split;
constexpr EntryForm Joined = EntryForm::Joined;

void addNameColumns()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("fileExt");
}

// The entry the real intake makes for one path in the list's form.
FileEntry intakeOf(const std::string& path, EntryForm form)
{
    RowStore rows;
    rows.setEntryForm(form);
    appendFiles(rows, {path});
    return *rows.RowData(rows.FirstRow());
}

void compareNames(const FileEntry& entry)
{
    QFETCH(QString, fileName);
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(QString, fileExt);
    QCOMPARE(QString::fromUtf8(entry.FileName()), fileName);
    QCOMPARE(QString::fromUtf8(entry.OldName()), oldName);
    QCOMPARE(QString::fromUtf8(entry.NewName()), newName);
    QCOMPARE(QString::fromUtf8(entry.FileExt()), fileExt);
}

} // namespace

class TestFileIntake : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void makeEntry_data();
    void makeEntry();
    void makeEntryReadsTimes();
    void toggle_data();
    void toggle();
    void retarget_data();
    void retarget();
};

void TestFileIntake::makeEntry_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<EntryForm>("form");
    QTest::addColumn<QString>("filePath");
    addNameColumns();

    QTest::newRow("split archive.tar.gz") << "/srv/archive.tar.gz" << Split << "/srv/"
                                          << "archive.tar.gz" << "archive.tar" << "archive.tar" << ".gz";
    QTest::newRow("joined archive.tar.gz") << "/srv/archive.tar.gz" << Joined << "/srv/"
                                           << "archive.tar.gz" << "archive.tar.gz" << "archive.tar.gz" << "";
    QTest::newRow("split .profile") << "/home/ann/.profile" << Split << "/home/ann/"
                                    << ".profile" << "" << "" << ".profile";
    QTest::newRow("split README") << "/srv/README" << Split << "/srv/"
                                  << "README" << "README" << "README" << "";
    QTest::newRow("joined README") << "/srv/README" << Joined << "/srv/"
                                   << "README" << "README" << "README" << "";
    QTest::newRow("no folder") << "notes.txt" << Split << ""
                               << "notes.txt" << "notes" << "notes" << ".txt";
}

void TestFileIntake::makeEntry()
{
    QFETCH(QString, path);
    QFETCH(EntryForm, form);
    QFETCH(QString, filePath);

    const FileEntry entry = intakeOf(path.toStdString(), form);
    compareNames(entry);
    QCOMPARE(QString::fromUtf8(entry.FilePath()), filePath);
    // None of these paths exists.
    QCOMPARE(entry.times(), FileTimes());
}

void TestFileIntake::makeEntryReadsTimes()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("present.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const FileEntry entry = intakeOf(QFile::encodeName(path).toStdString(), Split);
    QVERIFY(entry.times().modified != FileTimes::none);
    QVERIFY(entry.times().accessed != FileTimes::none);
}

void TestFileIntake::toggle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<EntryForm>("from");
    QTest::addColumn<QString>("proposed");
    addNameColumns();

    QTest::newRow("join report") << "report.txt" << Split << "Summary"
                                 << "report.txt" << "report.txt" << "Summary.txt" << "";
    QTest::newRow("join archive.tar.gz") << "archive.tar.gz" << Split << "ARCHIVE.TAR"
                                         << "archive.tar.gz" << "archive.tar.gz" << "ARCHIVE.TAR.gz" << "";
    QTest::newRow("join, no extension") << "README" << Split << "READ"
                                        << "README" << "README" << "READ" << "";
    QTest::newRow("split, proposal cut") << "Photo.JPG" << Joined << "photo.jpg"
                                         << "Photo.JPG" << "Photo" << "photo" << ".JPG";
    QTest::newRow("split, proposal without dot kept") << "Photo.JPG" << Joined << "Holiday"
                                                      << "Photo.JPG" << "Photo" << "Holiday" << ".JPG";
    QTest::newRow("split archive.tar.gz") << "archive.tar.gz" << Joined << "archive.tar.gz"
                                          << "archive.tar.gz" << "archive.tar" << "archive.tar" << ".gz";
    QTest::newRow("split .profile") << ".profile" << Joined << ".profile"
                                    << ".profile" << "" << "" << ".profile";
    QTest::newRow("split, no extension") << "README" << Joined << "READ ME"
                                         << "README" << "README" << "READ ME" << "";
    // A dot before a '/' is a folder's, not the extension's.
    QTest::newRow("split, proposal into a dotted folder") << "report.txt" << Joined << "v1.2/report"
                                                          << "report.txt" << "report" << "v1.2/report" << ".txt";
}

// The entry is made in one form, a rule proposes a name, then the box
// turns the entry into the other form.
void TestFileIntake::toggle()
{
    QFETCH(QString, name);
    QFETCH(EntryForm, from);
    QFETCH(QString, proposed);

    FileEntry entry("/missing/" + name.toStdString(), from);
    entry.setNewName(proposed.toStdString());
    entry.setForm(from == Split ? Joined : Split);
    compareNames(entry);
    QCOMPARE(entry.FilePath(), std::string_view("/missing/"));
}

void TestFileIntake::retarget_data()
{
    QTest::addColumn<QString>("oldPath");
    QTest::addColumn<EntryForm>("form");
    QTest::addColumn<QString>("newPath");
    QTest::addColumn<QString>("filePath");
    addNameColumns();

    QTest::newRow("split") << "/d/report.txt" << Split << "/d/Summary.txt" << "/d/"
                           << "Summary.txt" << "Summary" << "Summary" << ".txt";
    QTest::newRow("joined, extension changed") << "/d/photo.jpg" << Joined << "/d/PHOTO.JPEG" << "/d/"
                                               << "PHOTO.JPEG" << "PHOTO.JPEG" << "PHOTO.JPEG" << "";
    QTest::newRow("moved into a sub-folder") << "/d/report.txt" << Split << "/d/2021/report.txt"
                                             << "/d/2021/" << "report.txt" << "report" << "report" << ".txt";
    QTest::newRow("split, empty proposal") << "/d/report.txt" << Split << "/d/.txt" << "/d/"
                                           << ".txt" << "" << "" << ".txt";
}

// A renamed entry shows its new name as unchanged, and keeps its times.
void TestFileIntake::retarget()
{
    QFETCH(QString, oldPath);
    QFETCH(EntryForm, form);
    QFETCH(QString, newPath);
    QFETCH(QString, filePath);

    const FileTimes times{1, 2, 3};
    FileEntry entry(oldPath.toStdString(), form, times);
    entry.setNewName("whatever the rules made");

    entry.retarget(newPath.toStdString());
    compareNames(entry);
    QCOMPARE(QString::fromUtf8(entry.FilePath()), filePath);
    QVERIFY(entry.times() == times);
}

QTEST_APPLESS_MAIN(TestFileIntake)
#include "tst_fileintake.moc"
