#include "run/ErrorEntry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestErrorEntry : public QObject {
    Q_OBJECT

private slots:
    void lines();
};

void TestErrorEntry::lines()
{
    QCOMPARE(errorEntryLines(1, u"Hiba"_s), (QStringList{u"[Hibaüzenet sorszáma: 1]"_s, u"Hiba"_s, u" "_s}));
    // Two CR LF pairs in a row leave an empty line.
    QCOMPARE(errorEntryLines(12, u"a\r\n\r\nb"_s),
             (QStringList{u"[Hibaüzenet sorszáma: 12]"_s, u"a"_s, QString(), u"b"_s, u" "_s}));
}

QTEST_GUILESS_MAIN(TestErrorEntry)
#include "TestErrorEntry.moc"
