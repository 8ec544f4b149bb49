// Names in tolvex-rename's text output, quoted as the shell reads them back.
#include "runs/NameEditor.h"
#include "runs/ShellQuoted.h"

#include <QTest>

class TestShellQuoted : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void quoted_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("plain") << QByteArray("IMG_0001.jpg") << true << QByteArray("IMG_0001.jpg");
        QTest::newRow("a path") << QByteArray("/srv/a-b/c,d+e@f%g=h:i") << true << QByteArray("/srv/a-b/c,d+e@f%g=h:i");
        QTest::newRow("empty") << QByteArray() << true << QByteArray("''");
        QTest::newRow("blank") << QByteArray("my photo") << true << QByteArray("'my photo'");
        QTest::newRow("an arrow inside") << QByteArray("x → y") << true << QByteArray("'x → y'");
        QTest::newRow("a quote") << QByteArray("it's") << true << QByteArray("'it'\\''s'");
        QTest::newRow("shell characters") << QByteArray("a$b*c") << true << QByteArray("'a$b*c'");
        QTest::newRow("newline") << QByteArray("a\nb") << true << QByteArray("$'a\\nb'");
        QTest::newRow("tab and quote") << QByteArray("a\t'b") << true << QByteArray("$'a\\t\\'b'");
        QTest::newRow("backslash with a control") << QByteArray("a\\\x01") << true << QByteArray("$'a\\\\\\x01'");
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9") << true << QByteArray("$'caf\\xe9'");
        QTest::newRow("accented, UTF-8 shown") << QByteArray("caf\xc3\xa9") << true << QByteArray("caf\xc3\xa9");
        QTest::newRow("accented, codeset not UTF-8") << QByteArray("caf\xc3\xa9") << false
                                                     << QByteArray("$'caf\\xc3\\xa9'");
        QTest::newRow("turns the text around") << QByteArray("a\xe2\x80\xae" "gpj.exe") << true
                                               << QByteArray("$'a\\xe2\\x80\\xaegpj.exe'");
        QTest::newRow("a blank that is no space") << QByteArray("a\xc2\xa0" "b") << true
                                                  << QByteArray("$'a\\xc2\\xa0b'");
        QTest::newRow("DEL") << QByteArray("a\x7f") << true << QByteArray("$'a\\x7f'");
        QTest::newRow("NUL") << QByteArray("x\0y", 3) << true << QByteArray("$'x\\x00y'");
        // Long names are judged eight bytes a step, the last eight perhaps twice.
        QTest::newRow("the ninth byte a quote") << QByteArray("IMG_0001'") << true << QByteArray("'IMG_0001'\\'''");
        QTest::newRow("a newline in the second eight") << QByteArray("IMG_0001 \ncopy.jpg") << true
                                                      << QByteArray("$'IMG_0001 \\ncopy.jpg'");
    }

    void quoted()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, utf8);
        QFETCH(QByteArray, shown);
        QCOMPARE(QByteArray::fromStdString(shellQuoted(name.toStdString(), utf8)), shown);
        // --edit reads the $'…' form back to the very bytes.
        if (shown.startsWith("$'"))
            QCOMPARE(QByteArray::fromStdString(dollarUnquoted(shown.toStdString()).value_or("<unread>")), name);
        // The same name in a folder known to stand as it is: the whole path
        // is one word, quoted as the name asks.
        if (name.isEmpty())
            return;
        const std::string folder = "srv/";
        std::string path;
        appendShellQuoted(path, folder + name.toStdString(), utf8, folder.size());
        const qsizetype opening = shown.startsWith("$'") ? 2 : shown.startsWith('\'') ? 1 : 0;
        QCOMPARE(QByteArray::fromStdString(path), QByteArray(shown).insert(opening, folder.c_str()));
    }

    // A line of --edit's file holds a name as it is where nothing of it
    // could be lost or misread; else in the $'…' form.
    void editedLines_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("blanks and quotes inside") << QByteArray("it's my file") << QByteArray("it's my file");
        QTest::newRow("a blank at its end") << QByteArray("a ") << QByteArray("$'a '");
        QTest::newRow("a beginning of $'") << QByteArray("$'x'") << QByteArray("$'$\\'x\\''");
        QTest::newRow("a newline") << QByteArray("a\nb") << QByteArray("$'a\\nb'");
    }

    void editedLines()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, line);
        QCOMPARE(QByteArray::fromStdString(editedLine(name.toStdString())), line);
        QCOMPARE(QByteArray::fromStdString(nameOfLine(line.toStdString()).value_or("<unread>")), name);
    }
};

QTEST_APPLESS_MAIN(TestShellQuoted)
#include "tst_shellquoted.moc"
