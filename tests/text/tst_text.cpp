#include "text/LetterCase.h"
#include "text/ReplaceExact.h"
#include "text/ReplaceIgnoreCase.h"
#include "text/SubText.h"
#include "text/Utf8.h"

#include "tests/text/ByteText.h"

#include <QtTest>

class TextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitChars_data();
    void splitChars();
    void subText_data();
    void subText();
    void asciiCase_data();
    void asciiCase();
    void replaceAllIgnoreCase_data();
    void replaceAllIgnoreCase();
    void replaceAllExactly_data();
    void replaceAllExactly();
    void removeEachChar_data();
    void removeEachChar();
    void onlyLettersFoldIntoAscii();
};

void TextTest::splitChars_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("chars");

    QTest::newRow("empty") << QByteArray() << QByteArrayList{};
    QTest::newRow("ascii") << QByteArray("ab") << QByteArrayList{"a", "b"};
    QTest::newRow("two-byte") << QByteArray("été") << QByteArrayList{"é", "t", "é"};
    QTest::newRow("three-byte") << QByteArray("a€") << QByteArrayList{"a", "€"};
    QTest::newRow("four-byte") << QByteArray("😀x") << QByteArrayList{"😀", "x"};
    QTest::newRow("stray 0xFF") << QByteArray("a\xFF" "b") << QByteArrayList{"a", "\xFF", "b"};
    QTest::newRow("lone continuation") << QByteArray("\x80\xBF") << QByteArrayList{"\x80", "\xBF"};
    QTest::newRow("truncated at end") << QByteArray("\xE2\x82") << QByteArrayList{"\xE2", "\x82"};
    QTest::newRow("truncated before ascii")
        << QByteArray("\xF0\x9F\x98" "a") << QByteArrayList{"\xF0", "\x9F", "\x98", "a"};
    QTest::newRow("overlong two-byte") << QByteArray("\xC0\x80") << QByteArrayList{"\xC0", "\x80"};
    QTest::newRow("overlong three-byte")
        << QByteArray("\xE0\x9F\xBF") << QByteArrayList{"\xE0", "\x9F", "\xBF"};
    QTest::newRow("overlong four-byte")
        << QByteArray("\xF0\x8F\xBF\xBF") << QByteArrayList{"\xF0", "\x8F", "\xBF", "\xBF"};
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << QByteArrayList{"\xED", "\xA0", "\x80"};
    QTest::newRow("last before surrogates") << QByteArray("\xED\x9F\xBF") << QByteArrayList{"\xED\x9F\xBF"};
    QTest::newRow("above U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << QByteArrayList{"\xF4", "\x90", "\x80", "\x80"};
    QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << QByteArrayList{"\xF4\x8F\xBF\xBF"};
    QTest::newRow("F5 lead") << QByteArray("\xF5\x80") << QByteArrayList{"\xF5", "\x80"};
    QTest::newRow("long ascii runs around é")
        << QByteArray("abcdefghijé0123456789")
        << QByteArrayList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "é",
                          "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
}

void TextTest::splitChars()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, chars);
    const std::string s = S(text);

    QByteArrayList split;
    for (std::string_view c : utf8::splitChars(s))
        split << QByteArray(c.data(), qsizetype(c.size()));
    QCOMPARE(split, chars);
    QCOMPARE(utf8::charCount(s), std::size_t(chars.size()));

    std::size_t offset = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        QCOMPARE(utf8::byteOffsetOfChar(s, std::size_t(i)), offset);
        offset += std::size_t(chars[i].size());
    }
    QCOMPARE(utf8::byteOffsetOfChar(s, std::size_t(chars.size())), s.size());
    QCOMPARE(utf8::byteOffsetOfChar(s, std::size_t(chars.size()) + 100), s.size());
}

void TextTest::subText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("middle") << QByteArray("abcdef") << 3LL << 2LL << QByteArray("cd");
    QTest::newRow("whole") << QByteArray("abcdef") << 1LL << 6LL << QByteArray("abcdef");
    QTest::newRow("start 0 keeps count") << QByteArray("abcdef") << 0LL << 2LL << QByteArray("ab");
    QTest::newRow("start -5 keeps count") << QByteArray("abcdef") << -5LL << 2LL << QByteArray("ab");
    QTest::newRow("to the end") << QByteArray("abcdef") << 5LL << 2147483647LL << QByteArray("ef");
    QTest::newRow("last") << QByteArray("abcdef") << 6LL << 1LL << QByteArray("f");
    QTest::newRow("one past end") << QByteArray("abcdef") << 7LL << 1LL << QByteArray();
    QTest::newRow("count 0") << QByteArray("abcdef") << 2LL << 0LL << QByteArray();
    QTest::newRow("count -1") << QByteArray("abcdef") << 2LL << -1LL << QByteArray();
    QTest::newRow("empty text") << QByteArray() << 1LL << 5LL << QByteArray();
    QTest::newRow("far start") << QByteArray("abcdef") << qint64(kToTheEnd) << qint64(kToTheEnd) << QByteArray();
    QTest::newRow("lowest start") << QByteArray("abcdef") << std::numeric_limits<qint64>::min() << 3LL
                                  << QByteArray("abc");

    QTest::newRow("é is one character") << QByteArray("été") << 1LL << 1LL << QByteArray("é");
    QTest::newRow("after é") << QByteArray("été") << 2LL << qint64(kToTheEnd) << QByteArray("té");
    QTest::newRow("past the end in characters") << QByteArray("été") << 4LL << 1LL << QByteArray();
    QTest::newRow("count cut in characters") << QByteArray("été") << 3LL << 2LL << QByteArray("é");
    QTest::newRow("cjk") << QByteArray("日本語テキスト") << 3LL << 2LL << QByteArray("語テ");
    QTest::newRow("emoji") << QByteArray("a😀b") << 2LL << 1LL << QByteArray("😀");
    QTest::newRow("stray byte") << QByteArray("a\xFF" "b") << 2LL << 1LL << QByteArray("\xFF");
    QTest::newRow("truncated sequence")
        << QByteArray("\xE2\x82" "a") << 2LL << 2LL << QByteArray("\x82" "a");
    QTest::newRow("after a long ascii run")
        << QByteArray("0123456789abcdéf") << 15LL << 2LL << QByteArray("éf");
}

void TextTest::subText()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, start);
    QFETCH(qint64, count);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(SubText(S(text), start, count)), expected);
}

void TextTest::asciiCase_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("lower");
    QTest::addColumn<QByteArray>("upper");

    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("ascii") << QByteArray("IMG_0042 Copy") << QByteArray("img_0042 copy")
                           << QByteArray("IMG_0042 COPY");
    QTest::newRow("accents keep their case") << QByteArray("ÉCOLE.TXT") << QByteArray("École.txt")
                                             << QByteArray("ÉCOLE.TXT");
    QTest::newRow("résumé") << QByteArray("résumé") << QByteArray("résumé") << QByteArray("RéSUMé");
    QTest::newRow("letters next to A-Z") << QByteArray("@[`{") << QByteArray("@[`{") << QByteArray("@[`{");
    QTest::newRow("stray bytes") << QByteArray("\xFF" "aB\xC3") << QByteArray("\xFF" "ab\xC3")
                                 << QByteArray("\xFF" "AB\xC3");
}

void TextTest::asciiCase()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, lower);
    QFETCH(QByteArray, upper);
    QCOMPARE(B(LowerAscii(S(text))), lower);
    QCOMPARE(B(UpperAscii(S(text))), upper);
}

void TextTest::replaceAllExactly_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("expected");  // each match replaced by "x"

    QTest::newRow("case counts") << QByteArray("Photo_photo") << QByteArray("photo") << QByteArray("Photo_x");
    QTest::newRow("a stray byte never takes a piece of a character")
        << QByteArray("caf\xc3\xa9") << QByteArray("\xa9") << QByteArray("caf\xc3\xa9");
    QTest::newRow("nor a character's lead, which a stray byte further on is")
        << QByteArray("\xc3\xa9\xc3") << QByteArray("\xc3") << QByteArray("\xc3\xa9x");
}

void TextTest::replaceAllExactly()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(ReplaceAllExactly(S(text), S(pattern), "x")), expected);
}

void TextTest::replaceAllIgnoreCase_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("every case") << QByteArray("Photo_photo_PHOTO") << QByteArray("photo")
                                << QByteArray("img") << QByteArray("img_img_img");
    QTest::newRow("no overlap") << QByteArray("aaa") << QByteArray("aa") << QByteArray("b") << QByteArray("ba");
    QTest::newRow("replacement not searched") << QByteArray("banana") << QByteArray("a")
                                              << QByteArray("aa") << QByteArray("baanaanaa");
    QTest::newRow("empty replacement") << QByteArray("Abc") << QByteArray("B") << QByteArray()
                                       << QByteArray("Ac");
    QTest::newRow("empty pattern") << QByteArray("abc") << QByteArray() << QByteArray("x") << QByteArray("abc");
    QTest::newRow("pattern longer than text") << QByteArray("ab") << QByteArray("abc") << QByteArray("x")
                                              << QByteArray("ab");
    QTest::newRow("empty text") << QByteArray() << QByteArray("a") << QByteArray("x") << QByteArray();
    QTest::newRow("match at both ends") << QByteArray("xax") << QByteArray("X") << QByteArray("-")
                                        << QByteArray("-a-");
    QTest::newRow("only A-Z fold among ascii") << QByteArray("[{") << QByteArray("{") << QByteArray("x")
                                               << QByteArray("[x");

    QTest::newRow("É finds é") << QByteArray("été") << QByteArray("É") << QByteArray("e") << QByteArray("ete");
    QTest::newRow("outside matches unchanged") << QByteArray("PHOTO été") << QByteArray("ÉTÉ")
                                               << QByteArray("x") << QByteArray("PHOTO x");
    QTest::newRow("greek") << QByteArray("αβγ ΑΒΓ") << QByteArray("βγ") << QByteArray("-")
                           << QByteArray("α- Α-");
    QTest::newRow("fold changes byte length") << QByteArray("aſb") << QByteArray("S") << QByteArray("x")
                                              << QByteArray("axb");
    QTest::newRow("dotless ı finds ascii I") << QByteArray("TiMID") << QByteArray("ı") << QByteArray("-")
                                             << QByteArray("T-M-D");
    QTest::newRow("É cannot match ascii") << QByteArray("Ecole") << QByteArray("É") << QByteArray("-")
                                          << QByteArray("Ecole");
    QTest::newRow("simple mapping only: ß") << QByteArray("straße") << QByteArray("SS") << QByteArray("x")
                                            << QByteArray("straße");
    QTest::newRow("ascii pattern in unicode text") << QByteArray("Été_été") << QByteArray("T")
                                                   << QByteArray("") << QByteArray("Éé_éé");
    QTest::newRow("stray byte matches stray byte") << QByteArray("\xFF" "a\xFF") << QByteArray("\xFF")
                                                   << QByteArray("x") << QByteArray("xax");
    QTest::newRow("stray byte is not ÿ") << QByteArray("ÿ") << QByteArray("\xFF") << QByteArray("x")
                                         << QByteArray("ÿ");
    QTest::newRow("never inside a character") << QByteArray("é") << QByteArray("\xA9") << QByteArray("x")
                                              << QByteArray("é");
    QTest::newRow("never a lead byte alone") << QByteArray("é") << QByteArray("\xC3") << QByteArray("x")
                                             << QByteArray("é");
    QTest::newRow("stray bytes around a match kept")
        << QByteArray("\xFF" "Abc\xFE") << QByteArray("b") << QByteArray("é") << QByteArray("\xFF" "Aéc\xFE");
}

void TextTest::replaceAllIgnoreCase()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, replacement);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(ReplaceAllIgnoreCase(S(text), S(pattern), S(replacement))), expected);
}

void TextTest::removeEachChar_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("digits") << QByteArray("IMG_0042 (9)") << QByteArray("0123456789") << QByteArray("IMG_ ()");
    QTest::newRow("each character on its own") << QByteArray("xAbyaBz") << QByteArray("ab") << QByteArray("xyz");
    QTest::newRow("repeated in set") << QByteArray("a-b") << QByteArray("--") << QByteArray("ab");
    QTest::newRow("empty set") << QByteArray("abc") << QByteArray() << QByteArray("abc");
    QTest::newRow("everything removed") << QByteArray("123") << QByteArray("321") << QByteArray();
    QTest::newRow("unicode kept") << QByteArray("é1t2é") << QByteArray("12") << QByteArray("été");
    QTest::newRow("unicode set") << QByteArray("étÉ") << QByteArray("é") << QByteArray("t");
    QTest::newRow("dotless i folds to I") << QByteArray("aıb") << QByteArray("i") << QByteArray("ab");
    QTest::newRow("stray bytes kept") << QByteArray("\xFF" "1.2\xFF") << QByteArray("0123456789")
                                      << QByteArray("\xFF.\xFF");
    // Removing the dot joins C4 B1 into "ı", which the next character then finds.
    QTest::newRow("one character after the other") << QByteArray("\xC4.\xB1") << QByteArray(".i")
                                                   << QByteArray();
}

void TextTest::removeEachChar()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, set);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(RemoveEachChar(S(text), S(set))), expected);
}

// Removing digits or symbols never needs to fold the characters outside
// ASCII: none of them upper-cases to an ASCII character other than a letter.
void TextTest::onlyLettersFoldIntoAscii()
{
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        const char32_t upper = QChar::toUpper(c);
        if (upper < 0x80 && !(upper >= 'A' && upper <= 'Z'))
            QFAIL(qPrintable(QStringLiteral("U+%1 folds to %2").arg(uint(c), 4, 16).arg(uint(upper))));
    }
}

QTEST_APPLESS_MAIN(TextTest)
#include "tst_text.moc"
