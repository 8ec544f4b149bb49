#include "icons/Icons.h"

#include <QImage>
#include <QPixmap>
#include <QTest>

namespace {

struct NamedIcon {
    const char* name;
    QIcon (*make)();
    QSize size; // the size the window shows it at
};

template <ButtonImage image>
QIcon button()
{
    return buttonIcon(image);
}

const NamedIcon allIcons[] = {
    {"add files", &button<ButtonImage::AddFiles>, {32, 32}},
    {"reset", &button<ButtonImage::Reset>, {32, 32}},
    {"clear list", &button<ButtonImage::ClearList>, {32, 32}},
    {"apply rename", &button<ButtonImage::ApplyRename>, {32, 32}},
    {"exit", &button<ButtonImage::Exit>, {32, 32}},
    {"apply change", &button<ButtonImage::ApplyChange>, {16, 16}},
    {"application", &applicationIcon, {32, 32}},
};

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 255;
    return count;
}

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsSharpAtEveryScale_data();
    void drawsSharpAtEveryScale();
    void everyImageIsItsOwn();
};

void TestIcons::drawsSharpAtEveryScale_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<qreal>("scale");
    for (int i = 0; i < int(std::size(allIcons)); ++i) {
        for (qreal scale : {1.0, 1.5, 2.0, 3.0})
            QTest::addRow("%s at %gx", allIcons[i].name, scale) << i << scale;
    }
}

// A pixmap the size of the device pixels proves the icon is drawn from its
// vectors: a missing SVG icon engine would hand back a null icon or the
// 1x picture stretched, which looks blurred on a HiDPI screen.
void TestIcons::drawsSharpAtEveryScale()
{
    QFETCH(int, index);
    QFETCH(qreal, scale);
    const NamedIcon& named = allIcons[index];
    const QIcon icon = named.make();
    QVERIFY(!icon.isNull());

    const QPixmap pixmap = icon.pixmap(named.size, scale);
    QCOMPARE(pixmap.size(), (QSizeF(named.size) * scale).toSize());
    // Something is drawn, and it does not just fill the square.
    const int opaque = opaquePixels(pixmap.toImage());
    const int area = pixmap.width() * pixmap.height();
    QVERIFY2(opaque > area / 10, qPrintable(QString::number(opaque)));
    QVERIFY2(opaque < area, qPrintable(QString::number(opaque)));
}

void TestIcons::everyImageIsItsOwn()
{
    QList<QImage> drawn;
    for (const NamedIcon& named : allIcons)
        drawn.append(named.make().pixmap(QSize(32, 32), 1.0).toImage());
    for (int i = 0; i < drawn.size(); ++i) {
        for (int j = i + 1; j < drawn.size(); ++j)
            QVERIFY2(drawn[i] != drawn[j], qPrintable(QStringLiteral("%1 and %2 look the same")
                                                          .arg(QLatin1StringView(allIcons[i].name),
                                                               QLatin1StringView(allIcons[j].name))));
    }
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
