#include "sources/DownloadedLines.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDownloadedLines : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestDownloadedLines::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("LF, last unterminated") << QByteArray("a\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\nb\n\nc")
                                      << QStringList{u"a"_s, u""_s, u"b"_s, u""_s, u"c"_s};
    QTest::newRow("CR then CR LF") << QByteArray("a\r\r\nb") << QStringList{u"a"_s, u""_s, u"b"_s};
    QTest::newRow("only a terminator") << QByteArray("\r\n") << QStringList{u""_s};
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFN\xC3\xA9v;x\r\n") << QStringList{u"Név;x"_s};
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QStringList();
    QTest::newRow("second mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringList{u"\uFEFFx"_s};
    QTest::newRow("Windows-1250") << QByteArray("N\xE9v;\xC1rfolyam\r\nEUR;1\r\n") << QStringList();
    QTest::newRow("cut-off sequence") << QByteArray("EUR;1\r\n\xC3") << QStringList();
    QTest::newRow("NUL ends the text") << QByteArray("a\r\nb\0c\r\nd", 10) << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("invalid after NUL") << QByteArray("a\r\n\0\xFF", 5) << QStringList();
}

void TestDownloadedLines::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(decodeDownloadedLines(bytes), lines);
}

QTEST_GUILESS_MAIN(TestDownloadedLines)
#include "TestDownloadedLines.moc"
