// What a pattern's replacement says and how its matches follow each other,
// and the replacements that are refused before any name is looked at.

#include "patterns/NamePattern.h"

#include <QTest>

class TestNamePattern : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replaced_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("expected");  // or the start of the error

        QTest::newRow("a name unbraced, digits end a number") << QByteArray("(?<y>\\d+)-(\\w)") << QByteArray("$y.$2x")
                                                             << QByteArray("2023-a") << QByteArray("2023.ax");
        QTest::newRow("a braced number") << QByteArray("(a)") << QByteArray("${1}0") << QByteArray("a") << QByteArray("a0");
        QTest::newRow("a group that took no part") << QByteArray("(a)|(b)") << QByteArray("[$1$2]") << QByteArray("b")
                                                   << QByteArray("[b]");
        QTest::newRow("an empty match after a longer one") << QByteArray("a*") << QByteArray("-") << QByteArray("baaac")
                                                           << QByteArray("-b--c-");
        QTest::newRow("empty matches beside a stray byte") << QByteArray("x*") << QByteArray("-")
                                                           << QByteArray("a\xff" "b") << QByteArray("-a-\xff-b-");
        QTest::newRow("stray bytes of the replacement") << QByteArray("a") << QByteArray("\xfe") << QByteArray("cat")
                                                        << QByteArray("c\xfet");
        QTest::newRow("a $ at the end") << QByteArray("a") << QByteArray("x$") << QByteArray()
                                        << QByteArray("a $ must be followed");
        QTest::newRow("an open brace") << QByteArray("(a)") << QByteArray("${1") << QByteArray()
                                       << QByteArray("a $ must be followed");
        QTest::newRow("no such name") << QByteArray("(a)") << QByteArray("${b}") << QByteArray()
                                      << QByteArray("the pattern has no single group named b");
        QTest::newRow("a number past any group") << QByteArray("(a)") << QByteArray("$99999999999") << QByteArray()
                                                 << QByteArray("the pattern has no group 99999999999");
    }

    void replaced()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, expected);
        try {
            const NamePattern compiled(pattern.toStdString(), replacement.toStdString());
            std::string failure;
            QCOMPARE(QByteArray::fromStdString(compiled.replaceAll(name.toStdString(), failure)), expected);
            QVERIFY(failure.empty());
        } catch (const PatternError& error) {
            QCOMPARE(error.part(), PatternError::Part::Replacement);
            QVERIFY2(QByteArray(error.what()).startsWith(expected), error.what());
        }
    }
};

QTEST_GUILESS_MAIN(TestNamePattern)
#include "tst_namepattern.moc"
