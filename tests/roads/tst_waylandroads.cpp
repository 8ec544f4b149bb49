// The window as a client of a Wayland compositor (a headless sway, started
// by run-wayland.sh): it opens at its fixed size, floating, and files
// dropped from another Wayland client, a GTK 3 drag source, become its rows
// in the order dropped.
#include "platform/WaylandDecorations.h"
#include "tests/app/ListContents.h"
#include "tests/app/RecordingDialogs.h"
#include "tests/roads/SwayTree.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

namespace {

// What the GTK drag source and the pointer exit with when they cannot run.
constexpr int CannotRun = 3;

QStringList numberedNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QString::asprintf("w%06d.txt", i);
    return names;
}

// Once sway has mapped the window, which may come after Qt saw it exposed.
std::optional<sway::Window> shownBySway()
{
    std::optional<sway::Window> shown;
    (void)QTest::qWaitFor([&] { return (shown = sway::ourWindow()).has_value(); }, 10000);
    return shown;
}

} // namespace

class TestWaylandRoads : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            QSKIP("no Wayland compositor, or no Qt Wayland plugin (qt6-wayland)");
    }

    void opensAtItsFixedSize()
    {
        TForm1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        const auto shown = shownBySway();
        QVERIFY(shown);
        // A window of fixed size floats; tiled, sway would stretch it.
        QVERIFY(shown->floating);
        QCOMPARE(shown->content.size(), window.minimumSize());
        QCOMPARE(window.size(), window.minimumSize());
    }

    // Sway draws title bars: Qt is told to leave them to it, unless the
    // person has chosen, or Qt is to use another platform.
    void decorationsLeftToTheCompositor_data()
    {
        QTest::addColumn<QByteArray>("chosen");   // QT_WAYLAND_DISABLE_WINDOWDECORATION before; null: unset
        QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("on sway") << QByteArray() << QByteArray("wayland") << QByteArray("1");
        QTest::newRow("platform not named") << QByteArray() << QByteArray() << QByteArray("1");
        QTest::newRow("decorations chosen") << QByteArray("0") << QByteArray("wayland") << QByteArray("0");
        QTest::newRow("on X11") << QByteArray() << QByteArray("xcb") << QByteArray();
    }

    void decorationsLeftToTheCompositor()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, expected);
        const QByteArray ownPlatform = qgetenv("QT_QPA_PLATFORM");
        const char* variable = "QT_WAYLAND_DISABLE_WINDOWDECORATION";
        chosen.isNull() ? qunsetenv(variable) : qputenv(variable, chosen);
        platform.isEmpty() ? qunsetenv("QT_QPA_PLATFORM") : qputenv("QT_QPA_PLATFORM", platform);
        leaveDecorationsToCompositor();
        const QByteArray result = qgetenv(variable);
        qputenv("QT_QPA_PLATFORM", ownPlatform);
        qunsetenv(variable);
        QCOMPARE(result, expected);
    }

    void drop_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("10000 files") << numberedNames(10'000);
        QTest::newRow("odd names") << QStringList {"b one.txt", "a\"quote.txt", "c-\u00e9.txt", "d#1%20?.txt", "e"};
    }

    void drop()
    {
        QFETCH(QStringList, names);
        QTemporaryDir folder;
        QTemporaryFile uriList;
        QVERIFY(uriList.open());
        for (const QString& name : names) {
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
            uriList.write("file://" + QFile::encodeName(folder.filePath(name)).toPercentEncoding("/") + "\r\n");
        }
        uriList.close();

        TForm1 window;
        RecordingDialogs& recorded = recordDialogs(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto shown = shownBySway();
        QVERIFY(shown);
        // Beside the list, where the window takes drops.
        const QPoint at = shown->content.topLeft() + window.VT->mapTo(&window, QPoint(window.VT->width() + 40, 200));

        QProcess drag;
        drag.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(TOLVEX_GTK_SOURCE), uriList.fileName(), QString::number(at.x()),
                    QString::number(at.y()), QStringLiteral(TOLVEX_WAYLAND_POINTER)});
        QVERIFY(drag.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return drag.state() == QProcess::NotRunning; }, 120000));
        if (drag.exitCode() == CannotRun)
            QSKIP(drag.readAllStandardError().constData());
        QVERIFY2(drag.exitCode() == 0, drag.readAllStandardError().constData());
        // The source has its answer once the data is read and the rows are in.
        QVERIFY(recorded.messages.empty());
        QStringList rows;
        for (const FileEntry& entry : listEntries(window))
            rows << QFile::decodeName(QByteArray::fromStdString(std::string(entry.FilePath()) + std::string(entry.FileName())));
        QStringList expected;
        for (const QString& name : names)
            expected << folder.filePath(name);
        QCOMPARE(rows, expected);
    }
};

QTEST_MAIN(TestWaylandRoads)
#include "tst_waylandroads.moc"
