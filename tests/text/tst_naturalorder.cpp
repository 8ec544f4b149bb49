// Natural order against plain byte order, pair by pair, and that the pairs'
// texts together sort consistently (a sort needs a strict weak order).

// moc cannot parse <compare>.
#ifndef Q_MOC_RUN
#include "text/NaturalOrder.h"
#endif

#include <QTest>

#include <algorithm>
#include <cctype>
#include <random>
#include <string_view>
#include <vector>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

int sign(std::strong_ordering order)
{
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

struct Pair {
    const char* name;
    QByteArray a;
    QByteArray b;
    int natural;  // the sign of naturalCompare(a, b)
    int bytes;    // the sign of byteCompare(a, b)
};

const std::vector<Pair> kPairs{
    {"9 before 10", "IMG_9.jpg", "IMG_10.jpg", -1, 1},
    {"a number at the start", "9 lives", "10 lives", -1, 1},
    {"numbers longer than 64 bits", "f99999999999999999999999", "f100000000000000000000000", -1, 1},
    {"long numbers, one digit apart", "f123456789012345678901234567890", "f123456789012345678901234567891", -1, -1},
    {"leading zeros count for nothing", "IMG_07", "IMG_8", -1, -1},
    {"equal numbers: fewer zeros after", "IMG_007", "IMG_7", -1, -1},
    {"only zeros: more zeros first", "0", "00", 1, -1},
    {"a name ending in zeros", "p0.jpg", "p00.jpg", 1, -1},
    {"a later number decides before zeros", "a01b2", "a1b1", 1, -1},
    {"the text after the number", "IMG_7a", "IMG_7b", -1, -1},
    {"a text before a longer one", "IMG", "IMG1", -1, -1},
    {"a number before a letter", "x1", "xa", -1, -1},
    {"a hyphen before a number", "x-1", "x1", -1, -1},
    {"a slash before a number", "x/", "x1", -1, -1},
    {"an underscore after a number", "x_", "x1", 1, 1},
    {"upper case before lower case", "Zebra", "apple", -1, -1},
    {"UTF-8 after ASCII", "caf\xc3\xa9", "cafz", 1, 1},
    {"a byte that is not UTF-8", "\xff", "z", 1, 1},
    {"digits after a byte over 127", "\xc3\xa9" "10", "\xc3\xa9" "9", 1, -1},
    {"equal", "same 12", "same 12", 0, 0},
    {"empty", "", "0", -1, -1},
};

// Natural order the slow way: the texts cut into numbers and single bytes,
// the lists compared; of numbers equal but for their zeros, the first pair
// that differs puts more zeros first.
int referenceCompare(const QByteArray& a, const QByteArray& b)
{
    struct Token {
        bool number;
        QByteArray text;  // a number's digits without leading zeros
        qsizetype digits = 0;  // with them
    };
    const auto tokens = [](const QByteArray& text) {
        std::vector<Token> list;
        for (qsizetype pos = 0; pos < text.size();) {
            qsizetype end = pos;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            if (end == pos) {
                list.push_back({false, text.mid(pos, 1)});
                ++pos;
                continue;
            }
            QByteArray digits = text.mid(pos, end - pos);
            while (digits.startsWith('0'))
                digits.remove(0, 1);
            list.push_back({true, digits, end - pos});
            pos = end;
        }
        return list;
    };
    // Every number stands where the digits stand among the bytes.
    const auto rank = [](const Token& token) { return token.number ? 0x30 : static_cast<unsigned char>(token.text[0]); };
    const std::vector<Token> left = tokens(a);
    const std::vector<Token> right = tokens(b);
    int zeros = 0;
    for (std::size_t i = 0; i < std::min(left.size(), right.size()); ++i) {
        if (rank(left[i]) != rank(right[i]))
            return rank(left[i]) < rank(right[i]) ? -1 : 1;
        if (left[i].number && left[i].text != right[i].text) {
            if (left[i].text.size() != right[i].text.size())
                return left[i].text.size() < right[i].text.size() ? -1 : 1;
            return left[i].text < right[i].text ? -1 : 1;
        }
        if (left[i].number && zeros == 0 && left[i].digits != right[i].digits)
            zeros = left[i].digits > right[i].digits ? -1 : 1;
    }
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    return zeros;
}

} // namespace

class TestNaturalOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pairs_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("natural");
        QTest::addColumn<int>("bytes");
        for (const Pair& pair : kPairs)
            QTest::newRow(pair.name) << pair.a << pair.b << pair.natural << pair.bytes;
    }

    void pairs()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, natural);
        QFETCH(int, bytes);
        QCOMPARE(sign(naturalCompare(view(a), view(b))), natural);
        QCOMPARE(sign(naturalCompare(view(b), view(a))), -natural);
        QCOMPARE(sign(byteCompare(view(a), view(b))), bytes);
    }

    // Random texts of digits, zeros and a few other bytes against the slow
    // way, which has no shortcut to get wrong.
    void agreesWithTheSlowWay()
    {
        const QByteArray alphabet("0019a-\xc3z", 8);
        std::mt19937 random(24);
        const auto text = [&] {
            QByteArray made;
            for (std::size_t length = random() % 7; length > 0; --length)
                made += alphabet[random() % alphabet.size()];
            return made;
        };
        for (int round = 0; round < 50000; ++round) {
            const QByteArray a = text();
            const QByteArray b = random() % 4 == 0 ? a + text() : text();
            QVERIFY2(sign(naturalCompare(view(a), view(b))) == referenceCompare(a, b), a.toHex() + " / " + b.toHex());
        }
    }

    // Sorted, each text of the table comes before every later one: a
    // comparison that is not transitive shows here even where each pair
    // looks right.
    void sortsConsistently()
    {
        std::vector<QByteArray> texts;
        for (const Pair& pair : kPairs)
            texts.insert(texts.end(), {pair.a, pair.b});
        std::sort(texts.begin(), texts.end(),
                  [](const QByteArray& a, const QByteArray& b) { return naturalCompare(view(a), view(b)) < 0; });
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = i + 1; j < texts.size(); ++j)
                QVERIFY2(naturalCompare(view(texts[i]), view(texts[j])) <= 0, texts[i] + " / " + texts[j]);
        }
    }
};

QTEST_GUILESS_MAIN(TestNaturalOrder)
#include "tst_naturalorder.moc"
