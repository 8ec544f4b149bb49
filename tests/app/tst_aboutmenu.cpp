#include "about/Addresses.h"
#include "about/UAbout.h"
#include "app/Unit1.h"
#include "dialogs/UserDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QtTest>

namespace {

// Stands in for the desktop: keeps every address and message it is given.
struct RecordingDialogs : UserDialogs {
    QList<QUrl>* opened;
    int* messages;
    RecordingDialogs(QList<QUrl>* opened, int* messages)
        : opened(opened)
        , messages(messages)
    {
    }
    void showMessage(QWidget*, const QString&, Icon, const QString&) override { ++*messages; }
    std::vector<std::string> chooseFiles(QWidget*, const QString&) override { return {}; }
    void openUrl(const QUrl& url) override { opened->append(url); }
};

} // namespace

class AboutMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void aboutShowsAFreshModalBoxEachTime();
    void helpOpensTheSamePageAsTheWebLink();
    void menuIsDeadWhileTheBoxIsUp();

private:
    // Runs `whileOpen` on the modal box that `open` brings up, then closes it.
    // `seen` keeps the box as it was seen, to check that it is gone afterwards.
    void withModalBox(const std::function<void()>& open, const std::function<void(TFMAbout*)>& whileOpen,
                      QPointer<TFMAbout>& seen);
    void clickMenu(QAction* action);

    std::unique_ptr<TForm1> m_form;
    QList<QUrl> m_opened;
    int m_messages = 0;
};

void AboutMenuTest::init()
{
    m_opened.clear();
    m_messages = 0;
    m_form = std::make_unique<TForm1>();
    m_form->setUserDialogs(std::make_unique<RecordingDialogs>(&m_opened, &m_messages));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void AboutMenuTest::cleanup()
{
    m_form.reset();
}

void AboutMenuTest::withModalBox(const std::function<void()>& open,
                                 const std::function<void(TFMAbout*)>& whileOpen, QPointer<TFMAbout>& seen)
{
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        ran = true;
        seen = qobject_cast<TFMAbout*>(QApplication::activeModalWidget());
        if (seen) {
            whileOpen(seen);
            seen->close();
        }
    });
    open();
    if (!ran) // the box did not block: let the check run now so it can fail
        QVERIFY(QTest::qWaitFor([&] { return ran; }, 1000));
}

// Clicks through the window system, as a person would, so that a modal box
// gets the chance to stop the click.
void AboutMenuTest::clickMenu(QAction* action)
{
    QMenuBar* menu = m_form->MainMenu1;
    const QPoint place = menu->mapTo(m_form.get(), menu->actionGeometry(action).center());
    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, place);
}

void AboutMenuTest::aboutShowsAFreshModalBoxEachTime()
{
    for (int round = 0; round < 2; ++round) {
        bool checked = false;
        QPointer<TFMAbout> box;
        withModalBox([this] { m_form->About1->trigger(); }, [&](TFMAbout* open) {
            checked = open->isModal() && open->isVisible() && open->parentWidget() == m_form.get()
                      && open->objectName() == QStringLiteral("FMAbout");
            open->Label5Click(); // a link leaves the box up
            checked = checked && open->isVisible();
        }, box);
        QVERIFY(checked);
        QVERIFY2(box.isNull(), "the closed box must be destroyed");
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(m_form->findChildren<TFMAbout*>().isEmpty());
    }
    QCOMPARE(m_messages, 0);
}

void AboutMenuTest::helpOpensTheSamePageAsTheWebLink()
{
    m_form->help1->trigger();
    QCOMPARE(m_opened, QList<QUrl>{QUrl(WebPageAddress)});
    QCOMPARE(m_messages, 0);

    QPointer<TFMAbout> box;
    withModalBox([this] { m_form->About1->trigger(); }, [](TFMAbout* open) {
        QTest::mouseClick(open->Label5, Qt::LeftButton, {}, open->Label5->rect().center());
    }, box);
    QVERIFY(box.isNull());
    QCOMPARE(m_opened.size(), 2);
    QCOMPARE(m_opened.at(1), m_opened.at(0));
}

void AboutMenuTest::menuIsDeadWhileTheBoxIsUp()
{
    clickMenu(m_form->help1);
    QCOMPARE(m_opened.size(), 1); // the click reaches the menu when nothing blocks it

    QPointer<TFMAbout> box;
    bool boxWasUp = false;
    withModalBox([this] { clickMenu(m_form->About1); }, [&](TFMAbout*) {
        boxWasUp = true;
        clickMenu(m_form->help1);
    }, box);
    QVERIFY(boxWasUp);
    QCOMPARE(m_opened.size(), 1);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(AboutMenuTest)
#include "tst_aboutmenu.moc"
