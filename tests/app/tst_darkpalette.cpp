#include "WindowFixture.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>

// Tinted rows keep their fixed light tint in every palette; their text must
// stay legible on it, in a dark palette too.
class TestDarkPalette : public QObject {
    Q_OBJECT

    static double luminance(QColor c)
    {
        auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    }

    // The strongest contrast any pixel of the rectangle has with `background`:
    // the glyphs' cores reach the text colour itself.
    static double strongestContrast(const QImage& image, QRect area, QColor background)
    {
        const double lb = luminance(background);
        double best = 1;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const double l = luminance(image.pixelColor(x, y));
                best = std::max(best, (std::max(l, lb) + 0.05) / (std::min(l, lb) + 0.05));
            }
        }
        return best;
    }

private Q_SLOTS:
    void tintedTextIsLegible_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light palette") << false;
        QTest::newRow("dark palette") << true;
    }

    void tintedTextIsLegible()
    {
        QFETCH(bool, dark);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette palette = QApplication::style()->standardPalette();
        if (dark) {
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
                palette.setColor(role, QColor(40, 40, 40));
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                palette.setColor(role, QColor(230, 230, 230));
        }
        QApplication::setPalette(palette);

        WindowFixture f({"alpha.txt", "beta.txt"});
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.setChecked(1, false);
        f.window.SpeedButton2->click(); // Upper Case: the first row is tinted

        const QColor tint(204, 234, 255);
        const QImage shot = f.window.VT->viewport()->grab().toImage();
        const QRect nameCell = f.window.VT->visualRect(f.window.VT->model()->index(0, 1));
        QCOMPARE(shot.pixelColor(nameCell.right() - 2, nameCell.center().y()), tint);
        QVERIFY2(strongestContrast(shot, nameCell, tint) >= 4.5, "text on the tint is not legible");
        // The untinted row keeps the palette's own text colour.
        const QRect plainCell = f.window.VT->visualRect(f.window.VT->model()->index(1, 1));
        QVERIFY(strongestContrast(shot, plainCell, palette.color(QPalette::Base)) >= 4.5);
    }
};

QTEST_MAIN(TestDarkPalette)
#include "tst_darkpalette.moc"
