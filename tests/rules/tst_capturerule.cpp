// The date rule with capture times, through a reader the test stands in
// for: which rows it asks about, which it refuses, and what it leaves.

#include "listcore/ListCommands.h"
#include "listcore/RowStore.h"
#include "rules/RuleCommand.h"
#include "text/ReadNumber.h"

#include <QTest>

#include <map>

namespace {

// Times by file name; a file not listed has none.
struct StandInReader {
    std::map<std::string, QDateTime> times;
    std::vector<std::string>* asked;

    CaptureTime operator()(const std::string& path) const
    {
        asked->push_back(path);
        const auto found = times.find(path);
        if (found == times.end())
            return {{}, "no time for " + path};
        return {found->second, {}};
    }
};

} // namespace

class TestCaptureRule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QByteArrayList>("unchecked");
        QTest::addColumn<QByteArrayList>("asked");
        QTest::addColumn<QByteArrayList>("names");    // the proposals afterwards
        QTest::addColumn<QByteArrayList>("refused");  // in list order

        QTest::newRow("every row checked")
            << QByteArrayList{} << QByteArrayList{"a", "b", "c", "d"}
            << QByteArrayList{"020301a", "b", "050604c", "d"}
            << QByteArrayList{"1: no time for b", "3: no time for d"};
        QTest::newRow("unchecked rows are not read")
            << QByteArrayList{"b", "c"} << QByteArrayList{"a", "d"} << QByteArrayList{"020301a", "b", "c", "d"}
            << QByteArrayList{"3: no time for d"};
    }

    void refusals()
    {
        QFETCH(QByteArrayList, unchecked);
        QFETCH(QByteArrayList, asked);
        QFETCH(QByteArrayList, names);
        QFETCH(QByteArrayList, refused);
        RowStore rows;
        appendFiles(rows, {"a", "b", "c", "d"});
        for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row)) {
            if (unchecked.contains(QByteArray::fromStdString(row->Data.path())))
                row->CheckState = csUncheckedNormal;
        }
        std::vector<std::string> reads;
        const StandInReader reader{{{"a", QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC)},
                                    {"c", QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9), Qt::OffsetFromUTC, 3600)}},
                                   &reads};
        const auto now = [] { return QDateTime(QDate(1999, 9, 9), QTime(9, 9, 9)); };

        const std::vector<RowRefusal> refusals
            = runRule(rows, AddDateTimeRule{DateTimeSource::PictureTaken, "MMDDYY", {}}, now, reader);
        QByteArrayList readPaths;
        for (const std::string& path : reads)
            readPaths << QByteArray::fromStdString(path);
        QCOMPARE(readPaths, asked);
        QByteArrayList proposals;
        for (ListRow* row = rows.FirstRow(); row; row = rows.NextRow(row))
            proposals << QByteArray::fromStdString(row->Data.newFileName());
        QCOMPARE(proposals, names);
        QByteArrayList told;
        for (const RowRefusal& refusal : refusals)
            told << QByteArray::number(refusal.rowIndex) + ": " + QByteArray::fromStdString(refusal.reason);
        QCOMPARE(told, refused);
    }

    // A file without the value, or with a blank one, keeps its name; the
    // value goes in where the rule says, and unchecked rows are not read.
    void heldValues()
    {
        RowStore rows;
        appendFiles(rows, {"a", "b", "c", "d"});
        rows.rowAt(3).CheckState = csUncheckedNormal;
        std::vector<std::string> asked;
        const HeldValueReader reader = [&](const std::string& path, const std::string& field) {
            asked.push_back(path + ":" + field);
            return path == "a" ? HeldValue{"AC/DC", {}} : path == "b" ? HeldValue{" ", {}} : HeldValue{{}, "has none"};
        };
        const AddCharactersRule rule{"x", {Placement::AtPosition, "1"}, HeldField{"artist", {}}};
        const auto refusals = runRule(rows, rule, {}, {}, reader);
        QCOMPARE(asked, (std::vector<std::string>{"a:artist", "b:artist", "c:artist"}));
        QCOMPARE(rows.row(0).Data.NewName(), std::string("aAC_DC"));
        QCOMPARE(refusals.size(), std::size_t(2));
        QCOMPARE(refusals[0].reason, std::string("its artist is blank"));
        QCOMPARE(refusals[1].reason, std::string("has none"));
        QVERIFY(!rows.row(1).Data.nameChanged() && !rows.row(2).Data.nameChanged());
    }

    // A bad position fails before any picture is read, as every rule's
    // parameters do; and with no reader every row is refused, none dated
    // by the clock.
    void parametersAndNoReader()
    {
        RowStore rows;
        appendFiles(rows, {"a", "b"});
        std::vector<std::string> reads;
        const StandInReader reader{{}, &reads};
        const auto now = [] { return QDateTime(QDate(1999, 9, 9), QTime(9, 9, 9)); };
        const AddDateTimeRule badPosition{DateTimeSource::PictureTaken, "YYMMDD", {Placement::AtPosition, "x"}};
        QVERIFY_THROWS_EXCEPTION(EConvertError, runRule(rows, badPosition, now, reader));
        QVERIFY(reads.empty());

        const auto refusals = runRule(rows, AddDateTimeRule{DateTimeSource::PictureTaken, "YYMMDD", {}}, now);
        QCOMPARE(refusals.size(), std::size_t(2));
        QVERIFY(!rows.row(0).Data.nameChanged() && !rows.row(1).Data.nameChanged());
    }
};

QTEST_GUILESS_MAIN(TestCaptureRule)
#include "tst_capturerule.moc"
