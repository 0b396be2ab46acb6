#include "rates/CurrencyObjects.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCurrencyObjects : public QObject {
    Q_OBJECT

private slots:
    void fillWithData_data();
    void fillWithData();
    void list();
};

void TestCurrencyObjects::fillWithData_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("perUnit");
    QTest::newRow("unit 100") << 100 << 250.0 << 2.5;
    QTest::newRow("unit 0 keeps the rate") << 0 << 250.0 << 250.0;
    QTest::newRow("unit 1") << 1 << 363.47 << 363.47;
}

void TestCurrencyObjects::fillWithData()
{
    QFETCH(int, unit);
    QFETCH(double, rate);
    CurrencyObject o;
    const DateTime day = DateTime::fromDate(QDate(2026, 9, 18));
    o.fillWithData(u"JPY"_s, QString(), u"MNB"_s, day, quint16(unit), rate, rate * 2, rate * 3);
    QCOMPARE(o.code(), u"JPY"_s);
    QCOMPARE(o.currencyUnit(), quint16(unit));
    QCOMPARE(o.day(), day);
    QTEST(o.buy(), "perUnit");
    QCOMPARE(o.sell(), o.buy() * 2);
    QCOMPARE(o.middle(), o.buy() * 3);
}

void TestCurrencyObjects::list()
{
    CurrencyObjectList list;
    QCOMPARE(list.listCount(), 0);
    QCOMPARE(list.getCurrency(0), nullptr);
    for (int i = 0; i < 3; ++i) {
        CurrencyObject o;
        o.fillWithData(QString::number(i), {}, {}, DateTime(), 1, i, i, i);
        QCOMPARE(list.addCurrency(std::move(o)), i);
    }
    QCOMPARE(list.listCount(), 3);
    QCOMPARE(list.getCurrency(list.listCount()), nullptr);
    QCOMPARE(list.getCurrency(list.listCount() - 1)->code(), u"2"_s);
    QCOMPARE(list.getCurrency(-1), nullptr);
    // Entries stay where they are while the list grows.
    const CurrencyObject *first = list.getCurrency(0);
    for (int i = 0; i < 1000; ++i)
        list.addCurrency(CurrencyObject());
    QCOMPARE(list.getCurrency(0), first);
    QCOMPARE(first->code(), u"0"_s);
}

QTEST_GUILESS_MAIN(TestCurrencyObjects)
#include "TestCurrencyObjects.moc"
