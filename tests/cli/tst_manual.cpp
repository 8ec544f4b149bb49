// The man page names every option of the table, and every value --sort,
// --date-of, --case and --normalize take.

#include "cli/OptionTable.h"

#include <QFile>
#include <QTest>

class TestManual : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesEveryOption()
    {
        QFile page(QStringLiteral(TOLVEX_MANUAL));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray text = page.readAll();
        for (const OptionSpec& option : kOptions) {
            const QByteArray name = QByteArray(option.name).replace('-', "\\-");
            QVERIFY2(text.contains("\\-\\-" + name), option.name);
        }
        for (const char* value : {"natural", "name", "modified", "none", "taken", "sentence", "nfd"})
            QVERIFY2(text.contains(QByteArray("\\fB") + value + "\\fR"), value);
    }
};

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
