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
    TCurrencyObject o;
    const DateTime day = DateTime::fromDate(QDate(2026, 9, 18));
    o.FillWithData(u"JPY"_s, QString(), u"MNB"_s, day, quint16(unit), rate, rate * 2, rate * 3);
    QCOMPARE(o.Code(), u"JPY"_s);
    QCOMPARE(o.CurrencyUnit(), quint16(unit));
    QCOMPARE(o.Day(), day);
    QTEST(o.Buy(), "perUnit");
    QCOMPARE(o.Sell(), o.Buy() * 2);
    QCOMPARE(o.Middle(), o.Buy() * 3);
}

void TestCurrencyObjects::list()
{
    TCurrencyObjectList list;
    QCOMPARE(list.ListCount(), 0);
    QCOMPARE(list.GetCurrency(0), nullptr);
    for (int i = 0; i < 3; ++i) {
        TCurrencyObject o;
        o.FillWithData(QString::number(i), {}, {}, DateTime(), 1, i, i, i);
        QCOMPARE(list.AddCurrency(std::move(o)), i);
    }
    QCOMPARE(list.ListCount(), 3);
    QCOMPARE(list.GetCurrency(list.ListCount()), nullptr);
    QCOMPARE(list.GetCurrency(list.ListCount() - 1)->Code(), u"2"_s);
    QCOMPARE(list.GetCurrency(-1), nullptr);
    // Entries stay where they are while the list grows.
    const TCurrencyObject *first = list.GetCurrency(0);
    for (int i = 0; i < 1000; ++i)
        list.AddCurrency(TCurrencyObject());
    QCOMPARE(list.GetCurrency(0), first);
    QCOMPARE(first->Code(), u"0"_s);
}

QTEST_GUILESS_MAIN(TestCurrencyObjects)
#include "TestCurrencyObjects.moc"
