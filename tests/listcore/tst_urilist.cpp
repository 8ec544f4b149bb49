// A drop's text/uri-list read as the exact bytes of its local paths.
#include "listcore/UriList.h"

#include <QTest>

class TestUriList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paths_data()
    {
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<QByteArrayList>("paths");
        QTest::newRow("plain") << QByteArray("file:///tmp/a.txt\r\n") << QByteArrayList{"/tmp/a.txt"};
        QTest::newRow("ends in an escape") << QByteArray("file:///tmp/caf%C3%A9") << QByteArrayList{"/tmp/caf\xc3\xa9"};
        QTest::newRow("ends in an escape, then CRLF")
            << QByteArray("file:///tmp/caf%C3%A9\r\nfile:///tmp/b") << QByteArrayList{"/tmp/caf\xc3\xa9", "/tmp/b"};
        QTest::newRow("a byte that is not UTF-8") << QByteArray("file:///tmp/%FF%fe") << QByteArrayList{"/tmp/\xff\xfe"};
        QTest::newRow("a percent sign cut short stays") << QByteArray("file:///tmp/100%\nfile:///tmp/5%2")
                                                        << QByteArrayList{"/tmp/100%", "/tmp/5%2"};
        QTest::newRow("localhost") << QByteArray("file://localhost/srv/x") << QByteArrayList{"/srv/x"};
        QTest::newRow("another host, a comment, another scheme")
            << QByteArray("file://elsewhere/x\n# file:///c\nhttp://h/y\nfile:///z") << QByteArrayList{"/z"};
        QTest::newRow("an encoded NUL names no file") << QByteArray("file:///a%00b\nfile:///c")
                                                      << QByteArrayList{"/c"};
    }

    void paths()
    {
        QFETCH(QByteArray, uriList);
        QFETCH(QByteArrayList, paths);
        UriListReader reader({uriList.constData(), std::size_t(uriList.size())});
        QByteArrayList read;
        for (std::string path; reader.next(path);)
            read << QByteArray::fromStdString(path);
        QCOMPARE(read, paths);
    }
};

QTEST_APPLESS_MAIN(TestUriList)
#include "tst_urilist.moc"
