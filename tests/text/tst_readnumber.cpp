#include "text/ReadNumber.h"

#include <QtTest>

#include <optional>

class ReadNumberTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void messageNamesTheWholeText_data();
    void messageNamesTheWholeText();
};

void ReadNumberTest::accepted_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << QByteArray("12") << 12;
    QTest::newRow("leading blanks") << QByteArray("  12") << 12;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("minus") << QByteArray("-3") << -3;
    QTest::newRow("blanks then sign") << QByteArray(" -3") << -3;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("many leading zeros") << QByteArray("000000000000000000002147483647") << 2147483647;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("largest with plus") << QByteArray("+2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << std::numeric_limits<int>::min();

    QTest::newRow("$") << QByteArray("$1F") << 31;
    QTest::newRow("0x") << QByteArray("0x10") << 16;
    QTest::newRow("0X") << QByteArray("0X1f") << 31;
    QTest::newRow("x") << QByteArray("x10") << 16;
    QTest::newRow("X") << QByteArray("XaB") << 171;
    QTest::newRow("hex all ones") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("hex top bit") << QByteArray("$80000000") << std::numeric_limits<int>::min();
    QTest::newRow("hex largest positive") << QByteArray("$7FFFFFFF") << 2147483647;
    QTest::newRow("hex leading zeros") << QByteArray("$000000000001") << 1;
    QTest::newRow("hex negated") << QByteArray("-$1") << -1;
    QTest::newRow("hex negated wraps") << QByteArray("-$FFFFFFFF") << 1;
    QTest::newRow("hex plus") << QByteArray("+0x10") << 16;
}

void ReadNumberTest::accepted()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(ReadNumber(text.toStdString()), value);
}

void ReadNumberTest::rejected_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blanks only") << QByteArray("   ");
    QTest::newRow("trailing blank") << QByteArray("12 ");
    QTest::newRow("tab before") << QByteArray("\t12");
    QTest::newRow("blank after sign") << QByteArray("- 3");
    QTest::newRow("sign only") << QByteArray("-");
    QTest::newRow("two signs") << QByteArray("+-3");
    QTest::newRow("grouped") << QByteArray("1,000");
    QTest::newRow("decimal point") << QByteArray("1.0");
    QTest::newRow("exponent") << QByteArray("1e3");
    QTest::newRow("letter") << QByteArray("12a");
    QTest::newRow("one too large") << QByteArray("2147483648");
    QTest::newRow("one too small") << QByteArray("-2147483649");
    QTest::newRow("far too large") << QByteArray("99999999999999999999999");
    QTest::newRow("prefix only $") << QByteArray("$");
    QTest::newRow("prefix only 0x") << QByteArray("0x");
    QTest::newRow("prefix only x") << QByteArray("x");
    QTest::newRow("hex too large") << QByteArray("$100000000");
    QTest::newRow("hex bad digit") << QByteArray("$1G");
    QTest::newRow("sign after prefix") << QByteArray("0x-1");
    QTest::newRow("two prefixes") << QByteArray("$0x1");
    QTest::newRow("blank after prefix") << QByteArray("$ 1");
    QTest::newRow("fullwidth digit") << QByteArray("１");
    QTest::newRow("arabic-indic digit") << QByteArray("٣");
    QTest::newRow("stray byte") << QByteArray("1\xFF");
    QTest::newRow("embedded nul") << QByteArray("12\0", 3);
}

void ReadNumberTest::rejected()
{
    QFETCH(QByteArray, text);
    std::optional<std::int32_t> value;
    QVERIFY_THROWS_EXCEPTION(EConvertError, value = ReadNumber(text.toStdString()));
    QVERIFY(!value);
}

void ReadNumberTest::messageNamesTheWholeText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("empty") << QByteArray() << QByteArray("'' is not a valid integer value");
    QTest::newRow("blanks kept") << QByteArray("  12 ") << QByteArray("'  12 ' is not a valid integer value");
    QTest::newRow("grouped") << QByteArray("1,000") << QByteArray("'1,000' is not a valid integer value");
    QTest::newRow("unicode") << QByteArray("é") << QByteArray("'é' is not a valid integer value");
}

void ReadNumberTest::messageNamesTheWholeText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, message);
    try {
        ReadNumber(text.toStdString());
        QFAIL("no error raised");
    } catch (const std::runtime_error& error) {
        QCOMPARE(QByteArray(error.what()), message);
    }
}

QTEST_APPLESS_MAIN(ReadNumberTest)
#include "tst_readnumber.moc"
