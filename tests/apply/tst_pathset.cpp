// The marks a pass keeps for paths survive the table's growth and a reserve
// made part way, and one path's marks never show on another.

#include "apply/PathSet.h"

#include <QTest>

#include <string>

class TestPathSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void marksKept_data()
    {
        QTest::addColumn<int>("reserved");
        QTest::addColumn<int>("reservedAfter");
        QTest::newRow("grown from empty") << 0 << 0;
        QTest::newRow("reserved first") << 20000 << 0;
        QTest::newRow("reserved part way") << 0 << 50000;
    }

    void marksKept()
    {
        QFETCH(int, reserved);
        QFETCH(int, reservedAfter);
        constexpr int count = 10000;
        const auto path = [](int i) { return "/d/f" + std::to_string(i); };
        const auto expected = [](int i) { return std::uint8_t(i % 4); };  // none, moved, placed, both
        PathSet paths;
        paths.reserve(std::size_t(reserved));
        for (int i = 0; i < count; ++i) {
            const std::uint64_t hash = PathSet::hashOf(path(i));
            QCOMPARE(hash & 3, 0u);
            if (expected(i) & PathSet::MovedAway)
                paths.mark(hash, PathSet::MovedAway);
            if (expected(i) & PathSet::Placed)
                paths.mark(hash, PathSet::Placed);
            if (i == count / 2)
                paths.reserve(std::size_t(reservedAfter));
        }
        for (int i = 0; i < count; ++i)
            QCOMPARE(paths.marks(PathSet::hashOf(path(i))), expected(i));
        QCOMPARE(paths.marks(PathSet::hashOf("/d/g")), std::uint8_t(0));
    }
};

QTEST_APPLESS_MAIN(TestPathSet)
#include "tst_pathset.moc"
