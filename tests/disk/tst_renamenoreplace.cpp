#include "disk/Folders.h"
#include "disk/RenameSession.h"
#include "disk/SystemCalls.h"
#include "tests/disk/DiskFixture.h"
#include "tests/disk/FatImage.h"

#include <QTest>

using fixture::FileSystem;
using fixture::HardLinks;

Q_DECLARE_METATYPE(FileSystem)
Q_DECLARE_METATYPE(HardLinks)

class TestRenameNoReplace : public QObject {
    Q_OBJECT

private:
    static std::string at(const QByteArray& root, const QByteArray& relative)
    {
        return (root + '/' + relative).toStdString();
    }

    // One rename in a session of its own.
    static RenameResult renamed(const std::string& from, const std::string& to)
    {
        Folders folders;
        return RenameSession(folders).rename(from, to);
    }

private Q_SLOTS:
    void renames_data();
    void renames();
    void caseOnlyChangeWhoseSecondStepFails_data();
    void caseOnlyChangeWhoseSecondStepFails();
    void withoutWriteRights_data();
    void withoutWriteRights();
    void anotherProgramBetweenTheSteps_data();
    void anotherProgramBetweenTheSteps();
    void sessionFollowsItsRenames_data();
    void sessionFollowsItsRenames();
    void caseChangesAfterOneTurnedAway();
    void onFatFileSystem();
};

void TestRenameNoReplace::renames_data()
{
    QTest::addColumn<FileSystem>("fileSystem");
    QTest::addColumn<HardLinks>("hardLinks");
    QTest::addColumn<QByteArrayList>("layout");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QByteArrayList>("expectedTree");
    QTest::addColumn<QByteArray>("expectedReason");  // empty: the words of the error

    struct Case {
        const char* name;
        QByteArrayList layout;
        QByteArray from;
        QByteArray to;
        int error;
        QByteArrayList tree;
        QByteArray reason = {};
    };
    const QByteArray longName = QByteArray(252, 'x') + ".txt";
    const Case cases[] = {
        {"plain", {"a.txt"}, "a.txt", "b.txt", 0, {"b.txt:a.txt"}},
        {"same path", {"a.txt"}, "a.txt", "a.txt", 0, {"a.txt:a.txt"}},
        {"onto a file", {"a.txt", "b.txt"}, "a.txt", "b.txt", EEXIST, {"a.txt:a.txt", "b.txt:b.txt"}},
        {"onto a folder", {"a.txt", "b/", "b/c"}, "a.txt", "b", EEXIST,
         {"a.txt:a.txt", "b/", "b/c:b/c"}},
        {"onto an empty folder", {"a.txt", "b/"}, "a.txt", "b", EEXIST, {"a.txt:a.txt", "b/"}},
        {"folder onto an empty folder", {"a/", "b/"}, "a", "b", EEXIST, {"a/", "b/"}},
        {"folder", {"a/", "a/x"}, "a", "b", 0, {"b/", "b/x:a/x"}},
        {"onto a dangling link", {"a.txt", "b@nowhere"}, "a.txt", "b", EEXIST,
         {"a.txt:a.txt", "b@nowhere"}},
        {"a link, not its target", {"a.txt", "l@a.txt"}, "l", "m", 0, {"a.txt:a.txt", "m@a.txt"}},
        {"onto the folder itself", {"a.txt"}, "a.txt", "", EINVAL, {"a.txt:a.txt"}, "the new name is empty"},
        {"onto \".\"", {"a.txt"}, "a.txt", ".", EINVAL, {"a.txt:a.txt"},
         "the new name \".\" stands for the folder itself"},
        {"onto \"..\"", {"sub/", "sub/a"}, "sub/a", "sub/..", EINVAL, {"sub/", "sub/a:sub/a"},
         "the new name \"..\" stands for the folder above"},
        {"source gone", {"b.txt"}, "a.txt", "c.txt", ENOENT, {"b.txt:b.txt"}},
        {"into a sub-folder", {"a.txt", "sub/"}, "a.txt", "sub/a.txt", 0, {"sub/", "sub/a.txt:a.txt"}},
        {"out of a sub-folder", {"sub/", "sub/a"}, "sub/a", "sub/../a", 0, {"a:sub/a", "sub/"}},
        {"into a missing sub-folder", {"a.txt"}, "a.txt", "none/a.txt", ENOENT, {"a.txt:a.txt"}},
        {"name too long", {"a.txt"}, "a.txt", longName, ENAMETOOLONG, {"a.txt:a.txt"}},
        {"bytes that are not UTF-8", {"\xff\xfe.txt"}, "\xff\xfe.txt", "\xc3(.txt", 0,
         {"\xc3(.txt:\xff\xfe.txt"}},
        {"case only", {"Photo.JPG"}, "Photo.JPG", "photo.jpg", 0, {"photo.jpg:Photo.JPG"}},
        {"case only, beyond ASCII", {"\xc3\xa9t\xc3\xa9"}, "\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89", 0,
         {"\xc3\x89T\xc3\x89:\xc3\xa9t\xc3\xa9"}},
        {"case only, with a stray byte", {"A\xff"}, "A\xff", "a\xff", 0, {"a\xff:A\xff"}},
        // Two names of one file: the other spelling is a name of its own.
        {"case only onto a hard link", {"Photo.JPG", "photo.jpg=Photo.JPG"}, "Photo.JPG", "photo.jpg",
         EEXIST, {"Photo.JPG:Photo.JPG", "photo.jpg:Photo.JPG"}},
    };
    const std::tuple<const char*, FileSystem, HardLinks> fileSystems[] = {
        {"native", FileSystem::Native, HardLinks::Made},
        {"refuses flag", FileSystem::RefusesFlag, HardLinks::Made},
        {"no hard links", FileSystem::RefusesFlag, HardLinks::Refused},
        {"ignores case", FileSystem::IgnoresCase, HardLinks::Made},
        {"ignores case, no hard links", FileSystem::IgnoresCase, HardLinks::Refused},
    };
    for (const auto& [fsName, fileSystem, hardLinks] : fileSystems) {
        for (const Case& c : cases) {
            QTest::addRow("%s: %s", fsName, c.name) << fileSystem << hardLinks << c.layout << c.from
                                                    << c.to << c.error << c.tree << c.reason;
        }
        if (fileSystem != FileSystem::IgnoresCase)
            continue;
        // Only where case is ignored does the other spelling answer for the file.
        QTest::addRow("%s: onto another file in other case", fsName)
            << fileSystem << hardLinks << QByteArrayList{"a.txt", "b.txt"} << QByteArray("a.txt")
            << QByteArray("B.TXT") << EEXIST << QByteArrayList{"a.txt:a.txt", "b.txt:b.txt"} << QByteArray();
        QTest::addRow("%s: case only in a sub-folder", fsName)
            << fileSystem << hardLinks << QByteArrayList{"sub/", "sub/a"} << QByteArray("sub/a")
            << QByteArray("sub/A") << 0 << QByteArrayList{"sub/", "sub/A:sub/a"} << QByteArray();
    }
}

void TestRenameNoReplace::renames()
{
    QFETCH(FileSystem, fileSystem);
    QFETCH(HardLinks, hardLinks);
    QFETCH(QByteArrayList, layout);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(int, expectedError);
    QFETCH(QByteArrayList, expectedTree);
    QFETCH(QByteArray, expectedReason);

    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, layout));

    fixture::StandInFileSystem standIn(fileSystem, {}, hardLinks);
    const RenameResult result = renamed(at(root, from), at(root, to));

    QCOMPARE(result.error.value(), expectedError);
    QCOMPARE(result.succeeded(), expectedError == 0);
    if (expectedReason.isEmpty() && expectedError)
        expectedReason = std::strerror(expectedError);
    QCOMPARE(QByteArray::fromStdString(result.reason), expectedReason);
    std::sort(expectedTree.begin(), expectedTree.end());
    QCOMPARE(fixture::readTree(root), expectedTree);
}

void TestRenameNoReplace::caseOnlyChangeWhoseSecondStepFails_data()
{
    QTest::addColumn<bool>("moveBackFails");
    QTest::newRow("moved back") << false;
    QTest::newRow("moving back fails too") << true;
}

void TestRenameNoReplace::caseOnlyChangeWhoseSecondStepFails()
{
    QFETCH(bool, moveBackFails);
    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, {"Photo.JPG"}));

    // Calls: the rename refused as existing, the move to a temporary name,
    // the move to the new name, the move back.
    std::set<int> refused{3};
    if (moveBackFails)
        refused.insert(4);
    fixture::StandInFileSystem standIn(FileSystem::IgnoresCase, refused);
    const RenameResult result = renamed(at(root, "Photo.JPG"), at(root, "photo.jpg"));
    QCOMPARE(fixture::g_calls, 4);

    QCOMPARE(result.error.value(), EACCES);
    const QByteArrayList tree = fixture::readTree(root);
    QCOMPARE(tree.size(), 1);
    if (!moveBackFails) {
        QCOMPARE(QByteArray::fromStdString(result.reason), QByteArray(std::strerror(EACCES)));
        QCOMPARE(tree.first(), QByteArray("Photo.JPG:Photo.JPG"));
        return;
    }
    // The file is not lost: the message says where it is.
    const QByteArray temporary = tree.first().left(tree.first().indexOf(':'));
    QVERIFY2(temporary.startsWith(".tolvex-rename-"), tree.first().constData());
    QVERIFY(tree.first().endsWith(":Photo.JPG"));
    QVERIFY2(result.reason.find(at(root, temporary)) != std::string::npos, result.reason.c_str());
    QVERIFY(result.reason.starts_with(std::strerror(EACCES)));
}

void TestRenameNoReplace::withoutWriteRights_data()
{
    QTest::addColumn<FileSystem>("fileSystem");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QByteArrayList>("expectedTree");

    // closed/    folder the other user may not write to, holding a file of theirs
    // sticky/    world-writable sticky folder holding root's file
    // open/      world-writable folder holding root's unreadable file
    // drop/      world-writable, empty
    const QByteArrayList untouched{"closed/", "closed/mine:closed/mine", "drop/", "open/",
                                   "open/secret:open/secret", "sticky/", "sticky/root:sticky/root"};
    for (auto [name, fileSystem] : {std::pair{"native", FileSystem::Native},
                                    std::pair{"refuses flag", FileSystem::RefusesFlag}}) {
        QTest::addRow("%s: folder not writable", name)
            << fileSystem << QByteArray("closed/mine") << QByteArray("closed/yours") << EACCES
            << untouched;
        QTest::addRow("%s: someone else's file in a sticky folder", name)
            << fileSystem << QByteArray("sticky/root") << QByteArray("sticky/mine") << EPERM
            << untouched;
        // The new name can be linked in drop/, but the old one cannot go.
        QTest::addRow("%s: old name cannot be removed", name)
            << fileSystem << QByteArray("closed/mine") << QByteArray("drop/mine") << EACCES
            << untouched;
    }
    // A hard link of a file one may not read is refused (protected hard
    // links); a plain rename is all that is left, and it is allowed here.
    QByteArrayList renamed = untouched;
    renamed.replace(renamed.indexOf("open/secret:open/secret"), "open/public:open/secret");
    std::sort(renamed.begin(), renamed.end());
    QTest::newRow("refuses flag: hard link refused")
        << FileSystem::RefusesFlag << QByteArray("open/secret") << QByteArray("open/public") << 0
        << renamed;
}

void TestRenameNoReplace::withoutWriteRights()
{
    QFETCH(FileSystem, fileSystem);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(int, expectedError);
    QFETCH(QByteArrayList, expectedTree);

    if (geteuid() != 0)
        QSKIP("Acting as another user needs root; as an ordinary user the rights checked here are the user's own.");
    if (from == "open/secret" && fixture::readContent("/proc/sys/fs/protected_hardlinks").trimmed() != "1")
        QSKIP("fs.protected_hardlinks is off, so the hard link is not refused here.");

    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(chmod(root, 0755) == 0);
    QVERIFY(fixture::makeTree(root, {"closed/", "closed/mine", "sticky/", "sticky/root", "open/",
                                     "open/secret", "drop/"}));
    QVERIFY(chown(root + "/closed/mine", fixture::kNobody, fixture::kNoGroup) == 0);
    QVERIFY(chmod(root + "/sticky", 01777) == 0);
    QVERIFY(chmod(root + "/open", 0777) == 0);
    QVERIFY(chmod(root + "/open/secret", 0600) == 0);
    QVERIFY(chmod(root + "/drop", 0777) == 0);

    fixture::StandInFileSystem standIn(fileSystem);
    const int error = fixture::runAsNobody([&] {
        return renamed(at(root, from), at(root, to)).error.value();
    });
    if (error == fixture::kCouldNotSwitchUser)
        QSKIP("Could not switch to nobody:nogroup in a child process.");

    QCOMPARE(error, expectedError);
    QCOMPARE(fixture::readTree(root), expectedTree);
}

// Another program acts right after the hard link is made or refused: in
// the gap between the steps of the fallbacks.
void TestRenameNoReplace::anotherProgramBetweenTheSteps_data()
{
    QTest::addColumn<HardLinks>("hardLinks");
    QTest::addColumn<QByteArray>("act");  // "save over a.txt", "remove a.txt" or "create b.txt"
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QByteArrayList>("expectedTree");

    QTest::newRow("old name saved over after the link: both kept")
        << HardLinks::Made << QByteArray("save over a.txt") << EBUSY
        << QByteArrayList{"a.txt:other", "b.txt:a.txt"};
    QTest::newRow("old name removed after the link")
        << HardLinks::Made << QByteArray("remove a.txt") << 0 << QByteArrayList{"b.txt:a.txt"};
    QTest::newRow("new name created where links are refused")
        << HardLinks::Refused << QByteArray("create b.txt") << EEXIST
        << QByteArrayList{"a.txt:a.txt", "b.txt:other"};
    // The one moment left open where there are neither: what is written
    // into the placeholder after the last look at it goes with it; the
    // renamed file is whole.
    QTest::newRow("placeholder saved into just before the rename over it")
        << HardLinks::Refused << QByteArray("save into b.txt") << 0
        << QByteArrayList{"b.txt:a.txt", "other:other"};
}

void TestRenameNoReplace::anotherProgramBetweenTheSteps()
{
    QFETCH(HardLinks, hardLinks);
    QFETCH(QByteArray, act);
    QFETCH(int, expectedError);
    QFETCH(QByteArrayList, expectedTree);

    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, {"a.txt", "other"}));
    fixture::StandInFileSystem standIn(FileSystem::RefusesFlag, {}, hardLinks);
    fixture::g_afterLink = [&] {
        fixture::g_afterLink = nullptr;
        const QByteArray name = root + '/' + act.mid(act.lastIndexOf(' ') + 1);
        if (act.startsWith("save into")) {
            fixture::g_beforePlainRename = [name] {
                QVERIFY(chmod(name, 0644) == 0);
                const int fd = open(name, O_WRONLY | O_TRUNC);
                QVERIFY(fd >= 0 && write(fd, "saved", 5) == 5 && close(fd) == 0);
            };
        } else if (act.startsWith("save over"))
            QVERIFY(rename(root + "/other", name) == 0);
        else if (act.startsWith("remove"))
            QVERIFY(unlink(name) == 0 && unlink(root + "/other") == 0);
        else
            QVERIFY(link(root + "/other", name) == 0 && unlink(root + "/other") == 0);
    };
    const RenameResult result = renamed(at(root, "a.txt"), at(root, "b.txt"));
    QCOMPARE(result.error.value(), expectedError);
    QCOMPARE(fixture::readTree(root), expectedTree);
}

// One session, several renames: what it read of a folder follows its own
// renames, whatever the spelling of the folder; and a folder is the one the
// session first found under its path, even once renamed and another one
// took its name.
void TestRenameNoReplace::sessionFollowsItsRenames_data()
{
    QTest::addColumn<QByteArrayList>("layout");
    QTest::addColumn<QByteArrayList>("steps");  // "from>to", each must succeed
    QTest::addColumn<QByteArrayList>("expectedTree");

    QTest::newRow("folder spelled two ways")
        << QByteArrayList{"M", "AB", "K", "sub/"}
        << QByteArrayList{"M>m", "sub/../AB>sub/../Q", "sub/../K>sub/../Ab", "Ab>ab"}
        << QByteArrayList{"Q:AB", "ab:K", "m:M", "sub/"};
    QTest::newRow("folder renamed, another one under its name")
        << QByteArrayList{"d/", "d/X", "g/", "g/Y", "s/"}
        << QByteArrayList{"d/X>d/x", "s/../d>h", "g>d", "d/x>d/z"}
        << QByteArrayList{"d/", "d/Y:g/Y", "h/", "h/z:d/X", "s/"};
}

void TestRenameNoReplace::sessionFollowsItsRenames()
{
    QFETCH(QByteArrayList, layout);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, expectedTree);

    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, layout));
    fixture::StandInFileSystem standIn(FileSystem::IgnoresCase);
    Folders folders;
    RenameSession session(folders);
    for (const QByteArray& step : steps) {
        const auto arrow = step.indexOf('>');
        const RenameResult result = session.rename(at(root, step.left(arrow)), at(root, step.mid(arrow + 1)));
        QVERIFY2(result.succeeded(), qPrintable(step + ": " + QByteArray::fromStdString(result.reason)));
    }
    QCOMPARE(fixture::readTree(root), expectedTree);
}

// Once the kernel turned a change of case away in a folder, the next ones
// there go straight to their two steps, and a hard link spelled the new
// way still stays.
void TestRenameNoReplace::caseChangesAfterOneTurnedAway()
{
    fixture::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QByteArray& root = scratch.root();
    QVERIFY(fixture::makeTree(root, {"A.JPG", "B.JPG", "C.JPG", "c.jpg=C.JPG"}));
    fixture::StandInFileSystem standIn(FileSystem::IgnoresCase);
    Folders folders;
    RenameSession session(folders);
    QVERIFY(session.rename(at(root, "A.JPG"), at(root, "a.jpg")).succeeded());
    QCOMPARE(fixture::g_calls, 3);  // turned away, aside, to the new name
    QVERIFY(session.rename(at(root, "B.JPG"), at(root, "b.jpg")).succeeded());
    QCOMPARE(fixture::g_calls, 5);
    QCOMPARE(session.rename(at(root, "C.JPG"), at(root, "c.jpg")).error.value(), EEXIST);
    QCOMPARE(fixture::g_calls, 5);
    QCOMPARE(fixture::readTree(root), (QByteArrayList{"C.JPG:C.JPG", "a.jpg:A.JPG", "b.jpg:B.JPG", "c.jpg:C.JPG"}));
}

void TestRenameNoReplace::onFatFileSystem()
{
    const fixture::FatImage fat;
    if (!fat.isMounted())
        QSKIP(fat.skipReason());
    const QByteArray root = fat.root();
    QVERIFY(fixture::makeTree(root, {"Photo.JPG", "a.txt", "b.txt"}));

    QVERIFY(renamed(at(root, "Photo.JPG"), at(root, "photo.jpg")).succeeded());
    const RenameResult onOther = renamed(at(root, "a.txt"), at(root, "B.TXT"));
    QCOMPARE(onOther.error.value(), EEXIST);
    QVERIFY(renamed(at(root, "a.txt"), at(root, "c.txt")).succeeded());
    QCOMPARE(fixture::readTree(root),
             (QByteArrayList{"b.txt:b.txt", "c.txt:a.txt", "photo.jpg:Photo.JPG"}));
}

QTEST_GUILESS_MAIN(TestRenameNoReplace)
#include "tst_renamenoreplace.moc"
