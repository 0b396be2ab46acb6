#include "run/HistoryChecks.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestHistoryChecks : public QObject {
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
};

void TestHistoryChecks::checks_data()
{
    QTest::addColumn<int>("ticked");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const int list = int(HistoryField::CurrencyList), from = int(HistoryField::FromDate),
              to = int(HistoryField::ToDate);
    QTest::newRow("passes") << 2 << u"2022.01.01"_s << u"2022.06.30"_s << QString() << -1;
    QTest::newRow("start after end passes") << 1 << u"2022.05.01"_s << u"2022.04.01"_s << QString() << -1;
    QTest::newRow("end today passes") << 1 << u"2026.01.01"_s << u"2026.12.09"_s << QString() << -1;
    QTest::newRow("no currency") << 0 << u"2022.01.01"_s << u"2022.01.05"_s
                                 << u"Legalább egy pénznemet ki kell választania!"_s << list;
    QTest::newRow("30 February") << 1 << u"2022.02.30"_s << u"2022.03.01"_s
                                 << u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s << from;
    QTest::newRow("blank start") << 1 << u"    .  .  "_s << u"2022.03.01"_s
                                 << u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s << from;
    QTest::newRow("bad end") << 1 << u"2022.01.01"_s << u"2022.13.01"_s
                             << u"A Lekérdezés zárónapja mező érvénytelen dátumot tartalmaz!"_s << to;
    QTest::newRow("two years") << 1 << u"2021.12.31"_s << u"2022.01.05"_s
                               << u"A lekérdezés kezdő és záróéve nem térhet el egymástól!"_s << from;
    QTest::newRow("before 2000") << 1 << u"1999.01.01"_s << u"1999.12.31"_s
                                 << u"A Lekérdezés kezdőnapja nem lehet 2000. évinél kisebb!"_s << from;
    QTest::newRow("2000 is the first year") << 1 << u"2000.01.03"_s << u"2000.12.29"_s << QString() << -1;
    QTest::newRow("tomorrow") << 1 << u"2026.12.01"_s << u"2026.12.10"_s
                              << u"A lekérdezés kezdő- és végnapja nem lehet a mai napnál későbbi!"_s << from;
}

void TestHistoryChecks::checks()
{
    QFETCH(int, ticked);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(int, focus);
    const auto failure = checkHistoryPeriod(ticked, from, to, QDate(2026, 12, 9));
    QCOMPARE(failure.has_value(), !message.isEmpty());
    if (failure) {
        QCOMPARE(failure->message, message);
        QCOMPARE(int(failure->focus), focus);
    }
}

QTEST_GUILESS_MAIN(TestHistoryChecks)
#include "TestHistoryChecks.moc"
