#include "about/UAbout.h"

#include <QAbstractButton>
#include <QLabel>
#include <QtTest>

namespace {

// A box whose links are recorded instead of handed to the desktop.
struct RecordedBox {
    QList<QUrl> opened;
    TFMAbout box{[this](const QUrl& url) { opened.append(url); }};
};

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frame();
    void labels_data();
    void labels();
    void linkClicks_data();
    void linkClicks();
    void escapeLeavesTheBoxOpen();
    void closingKeys_data();
    void closingKeys();
    void altF4EndsTheModalBox();
};

void AboutTest::frame()
{
    RecordedBox recorded;
    TFMAbout& box = recorded.box;
    QCOMPARE(box.objectName(), QStringLiteral("FMAbout"));
    QCOMPARE(box.windowTitle(), QStringLiteral("About File Renamer"));
    QCOMPARE(box.size(), QSize(292, 152));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.font().pixelSize(), 13);

    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(box.findChildren<QAbstractButton*>().isEmpty());
}

void AboutTest::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("place"); // an empty size: the label fits its text
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("link");

    QTest::newRow("product") << "Label1" << "Tolvex File Renamer 2.1.7" << QRect(63, 20, 212, 16) << true << false;
    QTest::newRow("copyright") << "Label2" << "© 2026 Tolvex. All rights reserved."
                               << QRect(35, 43, 248, 16) << false << false;
    QTest::newRow("web caption") << "Label4" << "Web: " << QRect(56, 75, 0, 0) << false << false;
    QTest::newRow("web link") << "Label5" << "www.tolvex.com/file-renamer" << QRect(95, 75, 169, 13) << false << true;
    QTest::newRow("mail caption") << "Label6" << "Email: " << QRect(58, 99, 0, 0) << false << false;
    QTest::newRow("mail link") << "Label7" << "support@tolvex.com" << QRect(103, 99, 146, 13) << false << true;
}

void AboutTest::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, place);
    QFETCH(bool, bold);
    QFETCH(bool, link);

    RecordedBox recorded;
    auto* label = recorded.box.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), place.topLeft());
    if (!place.size().isEmpty())
        QCOMPARE(label->size(), place.size());

    // Nothing may be cut off, whatever face the system picked.
    const QSize needed = label->fontMetrics().size(Qt::TextSingleLine, text);
    QVERIFY2(needed.width() <= label->width(), qPrintable(QStringLiteral("needs %1 px").arg(needed.width())));
    QVERIFY(label->geometry().right() < recorded.box.width());

    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().underline(), link);
    QCOMPARE(label->font().pixelSize(), link ? 11 : 13);
    QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(Qt::blue), link);
    QCOMPARE(label->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void AboutTest::linkClicks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releasedOnLabel");
    QTest::addColumn<QList<QUrl>>("expected");

    const QList<QUrl> page{QUrl(QStringLiteral("https://www.tolvex.com/file-renamer/"))};
    const QList<QUrl> mail{QUrl(QStringLiteral("mailto:support@tolvex.com"))};
    QTest::newRow("web link") << "Label5" << Qt::LeftButton << true << page;
    QTest::newRow("mail link") << "Label7" << Qt::LeftButton << true << mail;
    QTest::newRow("right button") << "Label5" << Qt::RightButton << true << QList<QUrl>();
    QTest::newRow("dragged off") << "Label7" << Qt::LeftButton << false << QList<QUrl>();
    QTest::newRow("plain label") << "Label4" << Qt::LeftButton << true << QList<QUrl>();
}

void AboutTest::linkClicks()
{
    QFETCH(QString, name);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releasedOnLabel);
    QFETCH(QList<QUrl>, expected);

    RecordedBox recorded;
    recorded.box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&recorded.box));
    auto* label = recorded.box.findChild<QLabel*>(name);
    QVERIFY(label);

    const QPoint inside = label->rect().center();
    QTest::mousePress(label, button, {}, inside);
    QTest::mouseRelease(label, button, {}, releasedOnLabel ? inside : QPoint(inside.x(), -20));

    QCOMPARE(recorded.opened, expected);
    QVERIFY(recorded.box.isVisible());
}

void AboutTest::escapeLeavesTheBoxOpen()
{
    RecordedBox recorded;
    recorded.box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&recorded.box));
    QTest::keyClick(&recorded.box, Qt::Key_Escape);
    QTest::keyClick(&recorded.box, Qt::Key_Return);
    QVERIFY(recorded.box.isVisible());

    QVERIFY(recorded.box.close());
    QVERIFY(!recorded.box.isVisible());
}

void AboutTest::closingKeys_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Alt+F4") << Qt::Key_F4 << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("F4") << Qt::Key_F4 << Qt::KeyboardModifiers() << false;
    QTest::newRow("Ctrl+F4") << Qt::Key_F4 << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    QTest::newRow("Alt+Shift+F4") << Qt::Key_F4 << (Qt::AltModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Alt+F5") << Qt::Key_F5 << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    QTest::newRow("Escape") << Qt::Key_Escape << Qt::KeyboardModifiers() << false;
    QTest::newRow("Alt+Escape") << Qt::Key_Escape << Qt::KeyboardModifiers(Qt::AltModifier) << false;
}

void AboutTest::closingKeys()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, closes);

    RecordedBox recorded;
    recorded.box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&recorded.box));
    QTest::keyClick(&recorded.box, key, modifiers);
    QCOMPARE(recorded.box.isVisible(), !closes);
    QVERIFY(recorded.opened.isEmpty());
}

// As the About menu shows it: modal, and Alt+F4 ends its exec().
void AboutTest::altF4EndsTheModalBox()
{
    RecordedBox recorded;
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&recorded.box));
        QTest::keyClick(&recorded.box, Qt::Key_F4, Qt::AltModifier);
    });
    bool rescued = false; // a key that failed must not hang the test
    QTimer::singleShot(10000, &recorded.box, [&] {
        rescued = true;
        recorded.box.reject();
    });
    recorded.box.exec();
    QVERIFY(!rescued);
    QVERIFY(!recorded.box.isVisible());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
