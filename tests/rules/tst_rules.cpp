#include "rules/CaseRules.h"
#include "rules/DeleteRules.h"
#include "rules/RemovalRules.h"

#include "tests/text/ByteText.h"

#include <QtTest>

#include <functional>

class RulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caseRules_data();
    void caseRules();
    void removeFirstLast_data();
    void removeFirstLast();
    void removeFromTo_data();
    void removeFromTo();
    void textRules_data();
    void textRules();
    void symbolRuleKeepsExactlyTheOtherAscii();
};

void RulesTest::caseRules_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("lower");
    QTest::addColumn<QByteArray>("upper");
    QTest::addColumn<QByteArray>("title");

    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("ascii") << QByteArray("IMG_0042 COPY") << QByteArray("img_0042 copy")
                           << QByteArray("IMG_0042 COPY") << QByteArray("Img_0042 copy");
    QTest::newRow("words") << QByteArray("my HOLIDAY photo") << QByteArray("my holiday photo")
                           << QByteArray("MY HOLIDAY PHOTO") << QByteArray("My holiday photo");
    QTest::newRow("extension") << QByteArray("photo.JPG") << QByteArray("photo.jpg")
                               << QByteArray("PHOTO.JPG") << QByteArray("Photo.jpg");
    QTest::newRow("both ends of the alphabet") << QByteArray("aAzZ") << QByteArray("aazz") << QByteArray("AAZZ")
                                               << QByteArray("Aazz");
    QTest::newRow("one character") << QByteArray("x") << QByteArray("x") << QByteArray("X") << QByteArray("X");
    QTest::newRow("Été 2009") << QByteArray("Été 2009") << QByteArray("Été 2009") << QByteArray("ÉTé 2009")
                              << QByteArray("Été 2009");
    QTest::newRow("ÉTÉ") << QByteArray("ÉTÉ") << QByteArray("ÉtÉ") << QByteArray("ÉTÉ") << QByteArray("ÉtÉ");
    QTest::newRow("été") << QByteArray("été") << QByteArray("été") << QByteArray("éTé") << QByteArray("été");
    QTest::newRow("résumé") << QByteArray("résumé") << QByteArray("résumé") << QByteArray("RéSUMé")
                            << QByteArray("Résumé");
    QTest::newRow("first character a digit") << QByteArray("1ABC") << QByteArray("1abc") << QByteArray("1ABC")
                                             << QByteArray("1abc");
    QTest::newRow("stray byte first") << QByteArray("\xFF" "aB") << QByteArray("\xFF" "ab")
                                      << QByteArray("\xFF" "AB") << QByteArray("\xFF" "ab");
}

void RulesTest::caseRules()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, lower);
    QFETCH(QByteArray, upper);
    QFETCH(QByteArray, title);
    QCOMPARE(B(::lowerCaseName(S(name))), lower);
    QCOMPARE(B(::upperCaseName(S(name))), upper);
    QCOMPARE(B(::titleCaseName(S(name))), title);
}

void RulesTest::removeFirstLast_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("withoutFirst");
    QTest::addColumn<QByteArray>("withoutLast");

    QTest::newRow("2") << QByteArray("abcdef") << 2 << QByteArray("cdef") << QByteArray("abcd");
    QTest::newRow("0") << QByteArray("abcdef") << 0 << QByteArray("abcdef") << QByteArray("abcdef");
    QTest::newRow("negative") << QByteArray("abcdef") << -3 << QByteArray("abcdef") << QByteArray("abcdef");
    QTest::newRow("length") << QByteArray("abcdef") << 6 << QByteArray() << QByteArray();
    QTest::newRow("beyond") << QByteArray("abcdef") << 100 << QByteArray() << QByteArray();
    QTest::newRow("largest") << QByteArray("abcdef") << kMax << QByteArray() << QByteArray();
    QTest::newRow("smallest") << QByteArray("abcdef") << kMin << QByteArray("abcdef") << QByteArray("abcdef");
    QTest::newRow("empty name") << QByteArray() << 1 << QByteArray() << QByteArray();
    QTest::newRow("été") << QByteArray("été") << 1 << QByteArray("té") << QByteArray("ét");
    QTest::newRow("ends in ü") << QByteArray("menü") << 1 << QByteArray("enü") << QByteArray("men");
    QTest::newRow("emoji") << QByteArray("😀a😀") << 2 << QByteArray("😀") << QByteArray("😀");
    QTest::newRow("stray byte kept") << QByteArray("a\xFF" "b") << 1 << QByteArray("\xFF" "b")
                                     << QByteArray("a\xFF");
    QTest::newRow("stray byte removed") << QByteArray("\xFF" "b\xFE") << 1 << QByteArray("b\xFE")
                                        << QByteArray("\xFF" "b");
}

void RulesTest::removeFirstLast()
{
    QFETCH(QByteArray, name);
    QFETCH(int, n);
    QFETCH(QByteArray, withoutFirst);
    QFETCH(QByteArray, withoutLast);
    QCOMPARE(B(::removeFirst(S(name), n)), withoutFirst);
    QCOMPARE(B(::removeLast(S(name), n)), withoutLast);
}

void RulesTest::removeFromTo_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("2 to 4") << QByteArray("abcdef") << 2 << 4 << QByteArray("aef");
    QTest::newRow("1 to 1") << QByteArray("abcdef") << 1 << 1 << QByteArray("bcdef");
    QTest::newRow("0 to 2") << QByteArray("abcdef") << 0 << 2 << QByteArray("cdef");
    QTest::newRow("5 to 9") << QByteArray("abcdef") << 5 << 9 << QByteArray("abcd");
    QTest::newRow("3 to 2 is empty") << QByteArray("abcdef") << 3 << 2 << QByteArray("abcdef");
    QTest::newRow("past the end") << QByteArray("abcdef") << 7 << 9 << QByteArray("abcdef");
    QTest::newRow("backwards 5 to 2") << QByteArray("abcdef") << 5 << 2 << QByteArray("af");
    QTest::newRow("backwards 9 to 4") << QByteArray("abcdef") << 9 << 4 << QByteArray("abc");
    QTest::newRow("backwards 1 to -3") << QByteArray("abcdef") << 1 << -3 << QByteArray("bcdef");
    QTest::newRow("whole int range") << QByteArray("abcdef") << kMin << kMax << QByteArray();
    QTest::newRow("whole int range backwards") << QByteArray("abcdef") << kMax << kMin << QByteArray();
    QTest::newRow("largest is past the end") << QByteArray("abcdef") << kMax << kMax << QByteArray("abcdef");
    QTest::newRow("empty name") << QByteArray() << 1 << 3 << QByteArray();
    QTest::newRow("unicode") << QByteArray("aébüc") << 2 << 4 << QByteArray("ac");
    QTest::newRow("stray byte untouched") << QByteArray("\xFF" "abc\xFF") << 2 << 3 << QByteArray("\xFF" "c\xFF");
}

void RulesTest::removeFromTo()
{
    QFETCH(QByteArray, name);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(::removeFromTo(S(name), from, to)), expected);
}

using TextRule = std::function<std::string(const std::string&)>;

void RulesTest::textRules_data()
{
    QTest::addColumn<TextRule>("rule");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("expected");

    const auto replace = [](const char* match, const char* replacement) -> TextRule {
        return [=](const std::string& name) { return ::replaceText(name, match, replacement); };
    };
    const auto removePiece = [](const char* piece) -> TextRule {
        return [=](const std::string& name) { return ::removeChars(name, piece); };
    };
    const TextRule numbers = [](const std::string& name) { return ::removeAllNumbers(name); };
    const TextRule symbols = [](const std::string& name) { return ::removeAllSymbols(name); };
    const TextRule nonCharacters = [](const std::string& name) {
        std::string result = name;
        for (NameStep pass : kRemoveAllNonCharactersPasses)
            result = pass(result);
        return result;
    };

    QTest::newRow("replace prefix") << replace("img_", "Holiday ") << QByteArray("IMG_0042")
                                    << QByteArray("Holiday 0042");
    QTest::newRow("replace with itself in another case") << replace("photo", "Photo")
                                                         << QByteArray("PHOTO photo") << QByteArray("Photo Photo");
    QTest::newRow("replacement holding the match") << replace("a", "aa") << QByteArray("banana")
                                                   << QByteArray("baanaanaa");
    QTest::newRow("overlapping") << replace("aa", "b") << QByteArray("aaa") << QByteArray("ba");
    QTest::newRow("empty match") << replace("", "x") << QByteArray("photo") << QByteArray("photo");
    QTest::newRow("É finds é") << replace("É", "E") << QByteArray("été") << QByteArray("EtE");
    QTest::newRow("replace keeps stray byte") << replace("a", "b") << QByteArray("\xFF" "a") << QByteArray("\xFF" "b");

    QTest::newRow("remove chars as one piece") << removePiece("ab") << QByteArray("xAbyaBzab") << QByteArray("xyz");
    QTest::newRow("remove chars, lone letters stay") << removePiece("ab") << QByteArray("a-b") << QByteArray("a-b");
    QTest::newRow("remove blank") << removePiece(" ") << QByteArray("my holiday photo")
                                  << QByteArray("myholidayphoto");
    QTest::newRow("remove nothing") << removePiece("") << QByteArray("photo") << QByteArray("photo");

    QTest::newRow("numbers") << numbers << QByteArray("IMG_0042 (9)") << QByteArray("IMG_ ()");
    QTest::newRow("numbers with extension") << numbers << QByteArray("track01.mp3") << QByteArray("track.mp");
    QTest::newRow("numbers only") << numbers << QByteArray("2009") << QByteArray();
    QTest::newRow("numbers keep unicode and stray bytes") << numbers << QByteArray("\xFF" "é1") << QByteArray("\xFF" "é");
    QTest::newRow("symbols") << symbols << QByteArray("[2009] my-photo_01!") << QByteArray("2009myphoto01");
    QTest::newRow("symbols keep some punctuation") << symbols << QByteArray("it's a=b; c.d")
                                                   << QByteArray("it'sa=b;cd");
    QTest::newRow("symbols with extension") << symbols << QByteArray("my-file.txt") << QByteArray("myfiletxt");
    QTest::newRow("symbols keep stray bytes") << symbols << QByteArray("\xFF-\xFE") << QByteArray("\xFF\xFE");
    QTest::newRow("non characters") << nonCharacters << QByteArray("[2009] my-photo_01!") << QByteArray("myphoto");
    QTest::newRow("non characters keep unicode") << nonCharacters << QByteArray("été 2009.") << QByteArray("été");
}

void RulesTest::textRules()
{
    QFETCH(TextRule, rule);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(rule(S(name))), expected);
}

void RulesTest::symbolRuleKeepsExactlyTheOtherAscii()
{
    std::string printable;
    for (char c = ' '; c <= '~'; ++c)
        printable.push_back(c);
    const std::string removed = " !#$%&()*+,-./:<>?@[]^_`{|}~";
    std::string kept;
    for (char c : printable) {
        if (removed.find(c) == std::string::npos)
            kept.push_back(c);
    }
    QCOMPARE(removed.size(), std::size_t(28));
    QCOMPARE(B(::removeAllSymbols(printable)), B(kept));
}

QTEST_APPLESS_MAIN(RulesTest)
#include "tst_rules.moc"
