#include "run/RateList.h"
#include "sources/BankCatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
OTPCurrencyRecord otpRecord()
{
    OTPCurrencyRecord r;
    r.code = u"JPY"_s;
    r.priceQty = 100;
    r.middle = 200.61;
    r.cashBuy = 193.59;
    r.cashSale = 207.63;
    r.chequeBuy = 196.6;
    r.chequeSale = 204.62;
    r.currencyBuy = 198.6;
    r.currencySale = 202.62;
    return r;
}

QStringList captions(const RateList &list)
{
    QStringList result;
    for (const RateListColumn &c : list.columns)
        result << c.caption;
    return result;
}

CurrencyObjectList centralBankList()
{
    CurrencyObjectList list;
    const std::tuple<const char16_t *, int, double, QDate> rates[] = {
        {u"EUR", 1, 1234.5, QDate(2026, 9, 8)},
        {u"JPY", 100, 200.59, QDate(2026, 9, 8)},
        {u"EUR", 1, 0.123456789, QDate(2026, 9, 7)},
    };
    for (const auto &[code, unit, rate, day] : rates) {
        CurrencyObject o;
        o.fillWithData(QString::fromUtf16(code), {}, u"MNB"_s, DateTime::fromDate(day), quint16(unit), rate, rate,
                       rate);
        list.addCurrency(std::move(o));
    }
    return list;
}
} // namespace

class TestRateList : public QObject {
    Q_OBJECT

private slots:
    void centralBank();
    void otpColumns_data();
    void otpColumns();
    void history();
    void catalogue();
    void otpRatePair_data();
    void otpRatePair();
};

void TestRateList::centralBank()
{
    const CurrencyObjectList objects = centralBankList();
    // The central bank has no sell and buy columns, whatever the options say.
    const RateList list = currentRateList(MNBBankIndex, 0, false, &objects, {});
    QCOMPARE(captions(list), (QStringList{u"Pénznem"_s, u"Egység"_s, u"Közép"_s}));
    QCOMPARE(list.columns[0].width, 75);
    QCOMPARE(list.columns[0].alignment, Qt::AlignLeft);
    QCOMPARE(list.columns[1].width, 50);
    QCOMPARE(list.columns[2].alignment, Qt::AlignRight);
    QCOMPARE(list.rows.size(), 3);
    QCOMPARE(list.rows[0].cells, (QStringList{u"EUR"_s, u"1"_s, u"1,234.50"_s}));
    QCOMPARE(list.rows[1].cells, (QStringList{u"JPY"_s, u"100"_s, u"2.01"_s}));
    QCOMPARE(list.rows[2].cells[2], u"0.12"_s);
    QVERIFY(!list.rows[0].checked);

    const RateList none = currentRateList(MNBBankIndex, 0, true, nullptr, {});
    QCOMPARE(none.columns.size(), 3);
    QVERIFY(none.rows.isEmpty());
}

void TestRateList::otpColumns_data()
{
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("Deviza") << 0 << false << QStringList{u"JPY"_s, u"100"_s, u"200.61"_s, u"202.62"_s, u"198.60"_s};
    QTest::newRow("Valuta") << 1 << false << QStringList{u"JPY"_s, u"100"_s, u"200.61"_s, u"207.63"_s, u"193.59"_s};
    QTest::newRow("Csekk") << 2 << false << QStringList{u"JPY"_s, u"100"_s, u"200.61"_s, u"204.62"_s, u"196.60"_s};
    QTest::newRow("middle only") << 1 << true << QStringList{u"JPY"_s, u"100"_s, u"200.61"_s};
}

void TestRateList::otpColumns()
{
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(QStringList, cells);
    const RateList list = currentRateList(OTPBankIndex, rateType, onlyMiddle, nullptr, {otpRecord()});
    QCOMPARE(list.columns.size(), cells.size());
    if (!onlyMiddle) {
        QCOMPARE(list.columns[3].caption, u"Eladási"_s);
        QCOMPARE(list.columns[4].caption, u"Vételi"_s);
        QCOMPARE(list.columns[4].width, 80);
        QCOMPARE(list.columns[4].alignment, Qt::AlignRight);
    }
    QCOMPARE(list.rows.size(), 1);
    QCOMPARE(list.rows[0].cells, cells);
}

void TestRateList::history()
{
    const CurrencyObjectList objects = centralBankList();
    const RateList list = historyRateList(&objects);
    QCOMPARE(captions(list), (QStringList{u"Dátum"_s, u"Pénznem"_s, u"Egység"_s, u"Közép"_s}));
    QCOMPARE(list.columns[0].width, 100);
    QCOMPARE(list.rows.size(), 3);
    QCOMPARE(list.rows[2].cells, (QStringList{u"2026.09.07"_s, u"EUR"_s, u"1"_s, u"0.12"_s}));
    QVERIFY(list.rows[0].checked);

    const RateList empty = historyRateList(nullptr);
    QCOMPARE(empty.columns.size(), 4);
    QVERIFY(empty.rows.isEmpty());
}

void TestRateList::catalogue()
{
    QCOMPARE(bankCatalogue().size(), 2);
    const BankInfo *mnb = bankAt(MNBBankIndex);
    QCOMPARE(mnb->label, u"Magyar Nemzeti Bank (MNB)"_s);
    QCOMPARE(mnb->code, u"MNB"_s);
    QCOMPARE(mnb->rateTypes, QStringList{u"Deviza"_s});
    QVERIFY(!mnb->rateTypesEnabled && mnb->onlyMiddleChecked && !mnb->onlyMiddleEnabled && mnb->historyEnabled);
    QCOMPARE(mnb->history, HistoryOption::KeepChecked);
    QCOMPARE(mnb->selectionSection, u"Magyar Nemzeti Bank"_s);
    const BankInfo *otp = bankAt(OTPBankIndex);
    QCOMPARE(otp->label, u"OTP Bank (OTP)"_s);
    QCOMPARE(otp->rateTypes, (QStringList{u"Deviza"_s, u"Valuta"_s, u"Csekk"_s}));
    QVERIFY(otp->rateTypesEnabled && !otp->onlyMiddleChecked && otp->onlyMiddleEnabled && !otp->historyEnabled);
    QCOMPARE(otp->history, HistoryOption::Uncheck);
    QCOMPARE(otp->selectionSection, u"Országos TakarékPénztár"_s);
    QCOMPARE(otp->suiteName, u"Országos TakarékPénztár"_s);
    QCOMPARE(bankAt(-1), nullptr);
    QCOMPARE(bankAt(2), nullptr);
}

void TestRateList::otpRatePair_data()
{
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<double>("buy");
    QTest::addColumn<double>("sell");
    QTest::newRow("Deviza") << 0 << false << 1.986 << 2.0262;
    QTest::newRow("Valuta") << 1 << false << 1.9359 << 2.0763;
    QTest::newRow("Csekk") << 2 << false << 1.966 << 2.0462;
    QTest::newRow("middle") << 2 << true << 2.0061 << 2.0061;
    // OTP Bank has three rate types; any other must write nothing.
    QTest::newRow("rate type 3") << 3 << false << 0.0 << 0.0;
    QTest::newRow("no rate type") << -1 << false << 0.0 << 0.0;
    QTest::newRow("rate type 3, middle") << 3 << true << 2.0061 << 2.0061;
}

void TestRateList::otpRatePair()
{
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);
    const RatePair pair = ::otpRatePair(otpRecord(), rateType, onlyMiddle);
    QTEST(pair.buy, "buy");
    QTEST(pair.sell, "sell");
}

QTEST_GUILESS_MAIN(TestRateList)
#include "TestRateList.moc"
