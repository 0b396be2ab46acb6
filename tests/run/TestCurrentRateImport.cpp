#include "export/SuiteConnection.h"
#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "run/ImportFixture.h"
#include "run/RateImport.h"
#include "sources/BankCatalogue.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A Wednesday, two days before the 15 March holiday.
const QDate RateDay(2024, 3, 13);
const QDateTime OtpTime(RateDay, QTime(10, 15));

const QStringList Success = {u"active 1"_s, u"done 1"_s,   u"active 2"_s, u"done 2"_s,  u"active 3"_s,
                             u"done 3"_s,   u"active 4"_s, u"done 4"_s,   u"active 5"_s};
const QString UndatedMessage = u"A következő devizák árfolyamának dátuma ismeretlen vagy nem a mai nap, ezért nem "
                               "kerültek az adatbázisba: "_s;
const QString LockedStart = u"Az árfolyamtábla egyik sorát egy másik felhasználó zárolja"_s;
const QString BookEur = u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s;

ImportResult write(const RunChoices &choices, RecordingView &view, const FilledSession &source, const SuiteDatabase &db)
{
    return writeCurrentRates(choices, view, source.session(), settingsOf(db));
}

QVector<CurrencyTick> ticked(const QStringList &codes)
{
    QVector<CurrencyTick> ticks;
    for (const QString &code : codes)
        ticks.append({code, true});
    return ticks;
}

// The same rates from either source: the central bank's one rate, or OTP
// Bank's Deviza pair around the middle.
FilledSession &addRate(FilledSession &source, int bank, const QString &code, double middle, const QDateTime &published)
{
    if (bank == MNBBankIndex)
        return source.centralBank(code, published.date(), middle);
    return source.otp(otpRecord(code, published, middle));
}

QStringList rateOf(int bank, const QDateTime &at, const QString &bankCode, const QString &code, double middle)
{
    const double spread = bank == MNBBankIndex ? 0 : 1;
    return rateRow(stamp(at), bankCode, code, u"HUF"_s, middle + spread, middle - spread, middle);
}

QStringList sameRates(const QDateTime &at, const QString &code, const QString &priced, double rate)
{
    return rateRow(stamp(at), u"MNB"_s, code, priced, rate, rate, rate);
}

RunChoices choicesOf(int bank, const QStringList &ticks)
{
    return bank == MNBBankIndex ? centralBankChoices(ticked(ticks)) : otpChoices(0, ticked(ticks));
}

} // namespace

class TestCurrentRateImport : public QObject {
    Q_OBJECT

private slots:
    void interactiveRunWritesTickedCodes();
    void writeDateFollowsDatumChoice_data();
    void writeDateFollowsDatumChoice();
    void bankCodeOfRun_data();
    void bankCodeOfRun();
    void setUpAddsWhatIsMissing_data();
    void setUpAddsWhatIsMissing();
    void unattendedRunWritesKnownCurrencies_data();
    void unattendedRunWritesKnownCurrencies();
    void crossAndReversedRows_data();
    void crossAndReversedRows();
    void zeroRatesWriteNothing_data();
    void zeroRatesWriteNothing();
    void repeatedRuns_data();
    void repeatedRuns();
    void otpRateTypes_data();
    void otpRateTypes();
    void otpLastRecordOfACode();
    void missingCurrencies_data();
    void missingCurrencies();
    void undatedEntriesAreReported_data();
    void undatedEntriesAreReported();
    void failureLeavesEveryKeyAsItWas_data();
    void failureLeavesEveryKeyAsItWas();
    void failedConnection();
    void codesAreData();
};

void TestCurrentRateImport::interactiveRunWritesTickedCodes()
{
    const SuiteDatabase db;
    const QStringList dayBefore = sameRates(QDateTime(RateDay.addDays(-1), QTime(0, 0)), u"EUR"_s, u"HUF"_s, 399);
    db.execute({u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s, rateRowInsert(dayBefore),
                rateRowInsert(rateRow(u"1899-12-30 00:00:00.000"_s, u"OTP"_s, u"GBP"_s, u"HUF"_s, 1, 1, 1))});
    FilledSession source;
    source.centralBank(u"EUR"_s, RateDay, 400).centralBank(u"USD"_s, RateDay, 380).centralBank(u"CHF"_s, RateDay, 420);
    RunChoices choices = centralBankChoices({{u"EUR"_s, false}, {u"USD"_s, true}, {u"CHF"_s, true}});

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);

    // The ticked list is longer than the suite's: still only the ticked
    // codes, CHF too although the suite lacks it. The undated row is gone.
    const QDateTime at(RateDay, QTime(0, 0));
    QCOMPARE(rateRows(db),
             sorted({dayBefore, sameRates(at, u"USD"_s, u"HUF"_s, 380), sameRates(at, u"CHF"_s, u"HUF"_s, 420)}));
    QVERIFY(result.succeeded);
    QCOMPARE(result.written, 2);
    QCOMPARE(result.replaced + result.kept + result.skipped, 0);
    // Step 5 stays under way.
    QCOMPARE(view.calls, Success);
}

void TestCurrentRateImport::writeDateFollowsDatumChoice_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QDateTime>("published");
    QTest::addColumn<int>("datumIndex");
    QTest::addColumn<QDateTime>("written");

    const auto at = [](int y, int m, int d, QTime time = QTime(0, 0)) { return QDateTime(QDate(y, m, d), time); };
    const QTime quarterPast(10, 15);
    QTest::newRow("T-2") << MNBBankIndex << at(2024, 3, 13) << 0 << at(2024, 3, 11);
    QTest::newRow("T-1") << MNBBankIndex << at(2024, 3, 13) << 1 << at(2024, 3, 12);
    QTest::newRow("T") << MNBBankIndex << at(2024, 3, 13) << 2 << at(2024, 3, 13);
    QTest::newRow("T+1") << MNBBankIndex << at(2024, 3, 13) << 3 << at(2024, 3, 14);
    QTest::newRow("T+2 past 15 March and a weekend") << MNBBankIndex << at(2024, 3, 13) << 4 << at(2024, 3, 18);
    QTest::newRow("T-1 of a Monday moves forward from Sunday")
        << MNBBankIndex << at(2022, 3, 14) << 1 << at(2022, 3, 14);
    QTest::newRow("OTP 10:15, T+1 onto 15 March")
        << OTPBankIndex << at(2024, 3, 14, quarterPast) << 3 << at(2024, 3, 18, quarterPast);
    QTest::newRow("OTP, T+1 past Christmas")
        << OTPBankIndex << at(2022, 12, 23, quarterPast) << 3 << at(2022, 12, 27, quarterPast);
    QTest::newRow("OTP, T on 26 December, milliseconds kept")
        << OTPBankIndex << at(2022, 12, 26, QTime(9, 30, 15, 250)) << 2 << at(2022, 12, 27, QTime(9, 30, 15, 250));
}

void TestCurrentRateImport::writeDateFollowsDatumChoice()
{
    QFETCH(int, bank);
    QFETCH(QDateTime, published);
    QFETCH(int, datumIndex);
    QFETCH(QDateTime, written);

    const SuiteDatabase db;
    FilledSession source;
    addRate(source, bank, u"EUR"_s, 400, published);
    RunChoices choices = choicesOf(bank, {u"EUR"_s});
    choices.datumIndex = datumIndex;
    RecordingView view;
    QVERIFY(write(choices, view, source, db).succeeded);
    QCOMPARE(db.rows(u"SELECT DAT FROM ARFOLYAM"_s), QList<QStringList>{{stamp(written)}});
}

void TestCurrentRateImport::bankCodeOfRun_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("suiteCode");
    QTest::addColumn<QString>("bankCode");

    const QString longItem = u"KONYVELO - Könyvelő bank"_s;
    QTest::newRow("the item's code") << MNBBankIndex << false << CentralBankItem << QString() << u"MNB"_s;
    QTest::newRow("the item's first five characters") << MNBBankIndex << false << longItem << QString() << u"KONYV"_s;
    QTest::newRow("OTP under a code of its own")
        << OTPBankIndex << false << u"B2    - Második bank"_s << QString() << u"B2"_s;
    QTest::newRow("unattended: the central bank's own") << MNBBankIndex << true << longItem << QString() << u"MNB"_s;
    QTest::newRow("unattended: OTP Bank's own") << OTPBankIndex << true << longItem << QString() << u"OTP"_s;
    QTest::newRow("the runner's code, whole") << MNBBankIndex << true << QString() << u"KONYVELO"_s << u"KONYVELO"_s;
    QTest::newRow("the runner's code for OTP") << OTPBankIndex << true << QString() << u"B2"_s << u"B2"_s;
}

void TestCurrentRateImport::bankCodeOfRun()
{
    QFETCH(int, bank);
    QFETCH(bool, silent);
    QFETCH(QString, item);
    QFETCH(QString, suiteCode);
    QFETCH(QString, bankCode);

    const SuiteDatabase db;
    db.execute({u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s});
    FilledSession source;
    addRate(source, bank, u"EUR"_s, 400, OtpTime);
    RunChoices choices = choicesOf(bank, silent ? QStringList() : QStringList{u"EUR"_s});
    choices.silent = silent;
    choices.suiteBankItem = item;
    choices.suiteCode = suiteCode;
    RecordingView view;
    QVERIFY(write(choices, view, source, db).succeeded);
    QCOMPARE(db.rows(u"SELECT BANK FROM ARFOLYAM"_s), QList<QStringList>{{bankCode}});
    // Only the source's own code goes into VHELY, whatever the rates go under.
    QCOMPARE(db.rows(u"SELECT KOD FROM VHELY"_s), QList<QStringList>{{bankAt(bank)->code}});
}

void TestCurrentRateImport::setUpAddsWhatIsMissing_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QList<QStringList>>("banks");
    QTest::addColumn<QList<QStringList>>("currencies");

    const QStringList centralBank{u"MNB"_s, u"Magyar Nemzeti Bank"_s};
    const QStringList forint{u"HUF"_s, u"Magyar forint"_s, u"2"_s};
    const QString otherItem = u"B2    - Második bank"_s;
    const QString otherBank = u"INSERT INTO VHELY (KOD, NEV) VALUES ('B2', 'Második bank')"_s;
    QTest::newRow("empty suite") << MNBBankIndex << CentralBankItem << QStringList() << QList<QStringList>{centralBank}
                                 << QList<QStringList>{forint};
    QTest::newRow("empty suite, OTP Bank")
        << OTPBankIndex << OtpBankItem << QStringList() << QList<QStringList>{{u"OTP"_s, u"Országos TakarékPénztár"_s}}
        << QList<QStringList>{forint};
    QTest::newRow("both there, named otherwise")
        << MNBBankIndex << CentralBankItem
        << QStringList{u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Jegybank')"_s,
                       u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 0)"_s}
        << QList<QStringList>{{u"MNB"_s, u"Jegybank"_s}} << QList<QStringList>{{u"HUF"_s, u"forint"_s, u"0"_s}};
    QTest::newRow("forint in lower case")
        << MNBBankIndex << CentralBankItem
        << QStringList{u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('huf', 'forint', 2)"_s}
        << QList<QStringList>{centralBank} << QList<QStringList>{{u"huf"_s, u"forint"_s, u"2"_s}};
    QTest::newRow("rates under another code")
        << MNBBankIndex << otherItem << QStringList{otherBank}
        << QList<QStringList>{{u"B2"_s, u"Második bank"_s}, centralBank} << QList<QStringList>{forint};
    QTest::newRow("another code and the fixed one")
        << MNBBankIndex << otherItem
        << QStringList{otherBank, u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s}
        << QList<QStringList>{{u"B2"_s, u"Második bank"_s}, centralBank} << QList<QStringList>{forint};
}

void TestCurrentRateImport::setUpAddsWhatIsMissing()
{
    QFETCH(int, bank);
    QFETCH(QString, item);
    QFETCH(QStringList, before);
    QFETCH(QList<QStringList>, banks);
    QFETCH(QList<QStringList>, currencies);

    const SuiteDatabase db;
    if (!before.isEmpty())
        db.execute(before);
    FilledSession source;
    addRate(source, bank, u"EUR"_s, 400, OtpTime);
    RunChoices choices = choicesOf(bank, {u"EUR"_s});
    choices.suiteBankItem = item;
    RecordingView view;
    QVERIFY(write(choices, view, source, db).succeeded);
    QCOMPARE(db.rows(u"SELECT KOD, NEV FROM VHELY ORDER BY KOD"_s), banks);
    QCOMPARE(db.rows(u"SELECT KOD, NEV, TIZ FROM DEVIZA ORDER BY KOD"_s), currencies);
    QCOMPARE(db.rows(u"SELECT DKOD FROM ARFOLYAM"_s), QList<QStringList>{{u"EUR"_s}});
}

void TestCurrentRateImport::unattendedRunWritesKnownCurrencies_data()
{
    QTest::addColumn<int>("bank");
    QTest::newRow("central bank") << MNBBankIndex;
    QTest::newRow("OTP Bank") << OTPBankIndex;
}

void TestCurrentRateImport::unattendedRunWritesKnownCurrencies()
{
    QFETCH(int, bank);

    const SuiteDatabase db;
    db.execute({u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'dollár', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('GBP', 'font', 2)"_s});
    FilledSession source;
    addRate(source, bank, u"EUR"_s, 400, OtpTime);
    addRate(source, bank, u"USD"_s, 380, OtpTime);
    addRate(source, bank, u"CHF"_s, 420, OtpTime);
    // As the switches give it: nothing ticked, /createcurrency.
    RunChoices choices = choicesOf(bank, {});
    choices.silent = true;
    choices.suiteBankItem = u"B2    - Második bank"_s;
    choices.createMissingCurrencies = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);

    // What the suite knows and the source lists, under the source's code;
    // GBP is not listed, CHF not known.
    const QString code = bankAt(bank)->code;
    const QDateTime at = bank == MNBBankIndex ? QDateTime(RateDay, QTime(0, 0)) : OtpTime;
    QCOMPARE(rateRows(db), sorted({rateOf(bank, at, code, u"EUR"_s, 400), rateOf(bank, at, code, u"USD"_s, 380)}));
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA ORDER BY KOD"_s),
             (QList<QStringList>{{u"EUR"_s}, {u"GBP"_s}, {u"HUF"_s}, {u"USD"_s}}));
    QVERIFY(result.succeeded);
    QCOMPARE(result.written, 2);
    QCOMPARE(result.skipped, 1);
    QCOMPARE(view.calls, Success);
}

void TestCurrentRateImport::crossAndReversedRows_data()
{
    QTest::addColumn<QStringList>("company");
    QTest::addColumn<bool>("cross");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<QList<QStringList>>("rows");

    const QDateTime at(RateDay, QTime(0, 0));
    const QList<QStringList> rates{sameRates(at, u"EUR"_s, u"HUF"_s, 400), sameRates(at, u"USD"_s, u"HUF"_s, 380),
                                   sameRates(at, u"CHF"_s, u"HUF"_s, 250)};
    const QList<QStringList> crosses{sameRates(at, u"USD"_s, u"EUR"_s, 380.0 / 400),
                                     sameRates(at, u"CHF"_s, u"EUR"_s, 250.0 / 400)};
    const auto reversed = [&](const QStringList &codes) {
        QList<QStringList> rows;
        for (const QString &code : codes) {
            const double middle = code == u"EUR" ? 400 : code == u"USD" ? 380 : 250;
            rows << sameRates(at, u"HUF"_s, code, 1 / middle);
        }
        return rows;
    };
    const QList<QStringList> foreign = reversed({u"USD"_s, u"CHF"_s});
    const QList<QStringList> all = reversed({u"EUR"_s, u"USD"_s, u"CHF"_s});
    const auto company = [](const QString &book) {
        return QStringList{u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('%1')"_s.arg(book)};
    };

    // USD at 380 and EUR at 400 make 0.95; 1 / 250 makes 0.004.
    QTest::newRow("book EUR") << company(u"EUR"_s) << true << true << sorted(rates + crosses + foreign);
    QTest::newRow("book EUR blank-padded") << company(u"EUR  "_s) << true << true << sorted(rates + crosses + foreign);
    QTest::newRow("book EUR, cross rows only") << company(u"EUR"_s) << true << false << sorted(rates + crosses);
    QTest::newRow("book EUR, reversed rows only") << company(u"EUR"_s) << false << true << sorted(rates + foreign);
    QTest::newRow("book EUR, neither") << company(u"EUR"_s) << false << false << sorted(rates);
    QTest::newRow("book HUF") << company(u"HUF"_s) << true << true << sorted(rates + all);
    QTest::newRow("book blank") << company(u"   "_s) << true << true << sorted(rates + all);
    QTest::newRow("no company row") << QStringList() << true << true << sorted(rates + all);
    QTest::newRow("book not in the download") << company(u"GBP"_s) << true << true << sorted(rates + all);
}

void TestCurrentRateImport::crossAndReversedRows()
{
    QFETCH(QStringList, company);
    QFETCH(bool, cross);
    QFETCH(bool, reversed);
    QFETCH(QList<QStringList>, rows);

    const SuiteDatabase db;
    if (!company.isEmpty())
        db.execute(company);
    FilledSession source;
    source.centralBank(u"EUR"_s, RateDay, 400).centralBank(u"USD"_s, RateDay, 380).centralBank(u"CHF"_s, RateDay, 250);
    RunChoices choices = centralBankChoices(ticked({u"EUR"_s, u"USD"_s, u"CHF"_s}));
    choices.createCrossRates = cross;
    choices.createReversedRates = reversed;
    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(result.succeeded);
    QCOMPARE(rateRows(db), rows);
    QCOMPARE(result.written, rows.size());
}

void TestCurrentRateImport::zeroRatesWriteNothing_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<double>("sale");
    QTest::addColumn<double>("buy");
    QTest::addColumn<double>("middle");

    QTest::newRow("central bank, sale 0") << MNBBankIndex << 0 << 0.0 << 380.0 << 380.0;
    QTest::newRow("central bank, buy 0") << MNBBankIndex << 0 << 380.0 << 0.0 << 380.0;
    QTest::newRow("central bank, middle 0") << MNBBankIndex << 0 << 380.0 << 380.0 << 0.0;
    QTest::newRow("OTP Deviza, sale 0") << OTPBankIndex << 0 << 0.0 << 379.0 << 380.0;
    QTest::newRow("OTP Valuta, buy 0") << OTPBankIndex << 1 << 383.0 << 0.0 << 380.0;
    QTest::newRow("OTP Csekk, sale 0") << OTPBankIndex << 2 << 0.0 << 378.0 << 380.0;
    QTest::newRow("OTP, middle 0") << OTPBankIndex << 0 << 381.0 << 379.0 << 0.0;
}

void TestCurrentRateImport::zeroRatesWriteNothing()
{
    QFETCH(int, bank);
    QFETCH(int, rateType);
    QFETCH(double, sale);
    QFETCH(double, buy);
    QFETCH(double, middle);

    const SuiteDatabase db;
    db.execute({BookEur});
    FilledSession source;
    addRate(source, bank, u"EUR"_s, 400, OtpTime);
    if (bank == MNBBankIndex) {
        source.centralBank(u"USD"_s, RateDay, middle, buy, sale);
    } else {
        // Only the chosen type's pair is zero; the others would do.
        OTPCurrencyRecord usd = otpRecord(u"USD"_s, OtpTime, middle);
        double &usdSale = rateType == 0 ? usd.currencySale : rateType == 1 ? usd.cashSale : usd.chequeSale;
        double &usdBuy = rateType == 0 ? usd.currencyBuy : rateType == 1 ? usd.cashBuy : usd.chequeBuy;
        usdSale = sale;
        usdBuy = buy;
        source.otp(usd);
    }
    RunChoices choices = choicesOf(bank, {u"EUR"_s, u"USD"_s});
    choices.rateTypeIndex = rateType;
    choices.createCrossRates = true;
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    // No rate, cross or reversed row for USD; EUR, the book currency, makes
    // its rate row alone.
    QCOMPARE(db.rows(u"SELECT DKOD, DKKOD FROM ARFOLYAM"_s), (QList<QStringList>{{u"EUR"_s, u"HUF"_s}}));
    QVERIFY(result.succeeded);
    QCOMPARE(result.written, 1);
    QCOMPARE(result.skipped, 1);
}

void TestCurrentRateImport::repeatedRuns_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<QTime>("later");
    QTest::addColumn<double>("change");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("replaced");
    QTest::addColumn<int>("kept");

    QTest::newRow("central bank, same run again") << MNBBankIndex << QTime(0, 0) << 0.0 << 4 << 4 << 0;
    QTest::newRow("OTP, same table again") << OTPBankIndex << QTime(10, 15) << 0.0 << 4 << 4 << 0;
    QTest::newRow("OTP, later table, same rates") << OTPBankIndex << QTime(11, 30) << 0.0 << 0 << 0 << 4;
    QTest::newRow("OTP, later table, new rates") << OTPBankIndex << QTime(11, 30) << 0.5 << 4 << 0 << 0;
}

void TestCurrentRateImport::repeatedRuns()
{
    QFETCH(int, bank);
    QFETCH(QTime, later);
    QFETCH(double, change);
    QFETCH(int, written);
    QFETCH(int, replaced);
    QFETCH(int, kept);

    const SuiteDatabase db;
    db.execute({BookEur});
    const QString code = bankAt(bank)->code;
    // EUR and USD: rate rows, the USD cross row and USD's reversed row.
    const auto run = [&](const QDateTime &at, double eur, double usd) {
        FilledSession source;
        addRate(source, bank, u"EUR"_s, eur, at);
        addRate(source, bank, u"USD"_s, usd, at);
        RunChoices choices = choicesOf(bank, {u"EUR"_s, u"USD"_s});
        choices.createCrossRates = true;
        choices.createReversedRates = true;
        RecordingView view;
        return write(choices, view, source, db);
    };
    const auto rowsOf = [&](const QDateTime &at, double eur, double usd) {
        return QList<QStringList>{rateOf(bank, at, code, u"EUR"_s, eur), rateOf(bank, at, code, u"USD"_s, usd),
                                  rateRow(stamp(at), code, u"USD"_s, u"EUR"_s, usd / eur, usd / eur, usd / eur),
                                  rateRow(stamp(at), code, u"HUF"_s, u"USD"_s, 1 / usd, 1 / usd, 1 / usd)};
    };
    const QDateTime first(RateDay, bank == MNBBankIndex ? QTime(0, 0) : QTime(10, 15));
    const QDateTime second(RateDay, later);
    QCOMPARE(run(first, 400, 380).written, 4);

    const ImportResult again = run(second, 400 + change, 380 + change);
    QVERIFY(again.succeeded);
    QCOMPARE(again.written, written);
    QCOMPARE(again.replaced, replaced);
    QCOMPARE(again.kept, kept);
    QList<QStringList> expected = rowsOf(first, 400, 380);
    if (change != 0)
        expected += rowsOf(second, 400 + change, 380 + change);
    QCOMPARE(rateRows(db), sorted(expected));
}

void TestCurrentRateImport::otpRateTypes_data()
{
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<double>("sale");
    QTest::addColumn<double>("buy");

    QTest::newRow("Deviza") << 0 << false << 260.0 / 100 << 240.0 / 100;
    QTest::newRow("Valuta") << 1 << false << 270.0 / 100 << 230.0 / 100;
    QTest::newRow("Csekk") << 2 << false << 265.0 / 100 << 235.0 / 100;
    QTest::newRow("middle only, whatever the type") << 1 << true << 250.0 / 100 << 250.0 / 100;
    QTest::newRow("a type OTP Bank lacks") << 3 << false << 0.0 << 0.0;
}

void TestCurrentRateImport::otpRateTypes()
{
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(double, sale);
    QFETCH(double, buy);

    const SuiteDatabase db;
    OTPCurrencyRecord yen = otpRecord(u"JPY"_s, OtpTime, 250);
    yen.priceQty = 100;
    yen.currencyBuy = 240;
    yen.currencySale = 260;
    yen.cashBuy = 230;
    yen.cashSale = 270;
    yen.chequeBuy = 235;
    yen.chequeSale = 265;
    FilledSession source;
    source.otp(yen);
    RunChoices choices = otpChoices(rateType, ticked({u"JPY"_s}));
    choices.onlyMiddleRate = onlyMiddle;
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(result.succeeded);
    const double middle = 250.0 / 100;
    const QList<QStringList> rows = sale == 0
        ? QList<QStringList>{}
        : sorted({rateRow(stamp(OtpTime), u"OTP"_s, u"JPY"_s, u"HUF"_s, sale, buy, middle),
                  rateRow(stamp(OtpTime), u"OTP"_s, u"HUF"_s, u"JPY"_s, 1 / middle, 1 / middle, 1 / middle)});
    QCOMPARE(rateRows(db), rows);
    QCOMPARE(result.skipped, sale == 0 ? 1 : 0);
}

// A table with two versions of EUR: its rates and the book currency's middle
// both come from the last one, so the cross row matches the rate row.
void TestCurrentRateImport::otpLastRecordOfACode()
{
    const SuiteDatabase db;
    db.execute({BookEur});
    FilledSession source;
    source.otp(otpRecord(u"EUR"_s, OtpTime, 390))
        .otp(otpRecord(u"USD"_s, OtpTime, 380))
        .otp(otpRecord(u"EUR"_s, OtpTime, 400));
    // The rate list has a line per record; a code's first line decides.
    RunChoices choices = otpChoices(0, {{u"EUR"_s, true}, {u"USD"_s, true}, {u"EUR"_s, false}});
    choices.createCrossRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(result.succeeded);
    QCOMPARE(rateRows(db),
             sorted({rateOf(OTPBankIndex, OtpTime, u"OTP"_s, u"EUR"_s, 400),
                     rateOf(OTPBankIndex, OtpTime, u"OTP"_s, u"USD"_s, 380),
                     rateRow(stamp(OtpTime), u"OTP"_s, u"USD"_s, u"EUR"_s, 380.0 / 400, 380.0 / 400, 380.0 / 400)}));
    QCOMPARE(result.written, 3);
}

void TestCurrentRateImport::missingCurrencies_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("fourth");
    QTest::addColumn<QList<QStringList>>("currencies");
    QTest::addColumn<QStringList>("written");

    const QStringList eur{u"EUR"_s, u"euró"_s, u"2"_s};
    const QStringList forint{u"HUF"_s, u"Magyar forint"_s, u"2"_s};
    const QStringList usd{u"USD"_s, u"usd"_s, u"2"_s};
    QTest::newRow("created when asked") << true << QString() << QList<QStringList>{eur, forint, usd}
                                        << QStringList{u"EUR"_s, u"USD"_s};
    QTest::newRow("not asked, written all the same")
        << false << QString() << QList<QStringList>{eur, forint} << QStringList{u"EUR"_s, u"USD"_s};
    // EURO is too long for the narrowed rate table: the rates fail, the
    // currencies were committed before them.
    QTest::newRow("committed before the rates")
        << true << u"EURO"_s << QList<QStringList>{eur, {u"EURO"_s, u"euro"_s, u"2"_s}, forint, usd} << QStringList();
}

void TestCurrentRateImport::missingCurrencies()
{
    QFETCH(bool, create);
    QFETCH(QString, fourth);
    QFETCH(QList<QStringList>, currencies);
    QFETCH(QStringList, written);

    const SuiteDatabase db;
    db.execute({u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s});
    QStringList codes{u"EUR"_s, u"USD"_s};
    FilledSession source;
    source.centralBank(u"EUR"_s, RateDay, 400).centralBank(u"USD"_s, RateDay, 380);
    if (!fourth.isEmpty()) {
        narrowRateCodes(db);
        source.centralBank(fourth, RateDay, 410);
        codes << fourth;
    }
    RunChoices choices = centralBankChoices(ticked(codes));
    choices.createMissingCurrencies = create;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QCOMPARE(result.succeeded, fourth.isEmpty());
    QCOMPARE(db.rows(u"SELECT KOD, NEV, TIZ FROM DEVIZA ORDER BY KOD"_s), currencies);
    QStringList rateCodes;
    for (const QStringList &row : db.rows(u"SELECT DKOD FROM ARFOLYAM ORDER BY DKOD"_s))
        rateCodes << row[0];
    QCOMPARE(rateCodes, written);
}

void TestCurrentRateImport::undatedEntriesAreReported_data()
{
    QTest::addColumn<int>("bank");
    QTest::newRow("central bank, unreadable date") << MNBBankIndex;
    QTest::newRow("OTP, a table not of today") << OTPBankIndex;
}

void TestCurrentRateImport::undatedEntriesAreReported()
{
    QFETCH(int, bank);

    const SuiteDatabase db;
    FilledSession source;
    if (bank == MNBBankIndex) {
        source.centralBank(u"EUR"_s, DateTime(), 400).centralBank(u"USD"_s, DateTime(), 380);
        source.centralBank(u"GBP"_s, DateTime(), 0);
    } else {
        source.otp(otpRecord(u"EUR"_s, {}, 400)).otp(otpRecord(u"USD"_s, {}, 380)).otp(otpRecord(u"GBP"_s, {}, 0));
    }
    RunChoices choices = choicesOf(bank, {u"EUR"_s, u"USD"_s, u"GBP"_s});
    choices.createReversedRates = true;

    RecordingView view;
    const ImportResult result = write(choices, view, source, db);
    QVERIFY(rateRows(db).isEmpty());
    // Named once the closing commit is done; GBP, with no rate, is not.
    const QString message = UndatedMessage + u"EUR, USD"_s;
    QCOMPARE(view.calls, withError(Success, message));
    QCOMPARE(view.errors, QStringList{message});
    QVERIFY(!result.succeeded);
    QCOMPARE(result.written, 0);
    QCOMPARE(result.skipped, 3);
    // The set-up stands.
    QCOMPARE(db.rows(u"SELECT KOD FROM DEVIZA"_s), QList<QStringList>{{u"HUF"_s}});
}

void TestCurrentRateImport::failureLeavesEveryKeyAsItWas_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("a statement fails") << false;
    QTest::newRow("another user holds a row") << true;
}

// Every key the run touched before the failure holds its old row again: the
// rows written before it, those it replaced, and the one it failed on.
void TestCurrentRateImport::failureLeavesEveryKeyAsItWas()
{
    QFETCH(bool, locked);

    const SuiteDatabase db;
    if (!locked)
        narrowRateCodes(db);
    const QDateTime at(RateDay, QTime(0, 0));
    const QList<QStringList> before{sameRates(at, u"EUR"_s, u"HUF"_s, 1), sameRates(at, u"USD"_s, u"HUF"_s, 2),
                                    sameRates(at, u"USD"_s, u"EUR"_s, 3), sameRates(at, u"HUF"_s, u"USD"_s, 4)};
    QStringList statements{BookEur};
    for (const QStringList &row : before)
        statements << rateRowInsert(row);
    db.execute(statements);

    // With the table narrowed EURO fails after EUR and USD are written; the
    // other user holds USD's row, so EUR is written before the wait.
    const QString last = locked ? u"GBP"_s : u"EURO"_s;
    FilledSession source;
    source.centralBank(u"EUR"_s, RateDay, 400).centralBank(u"USD"_s, RateDay, 380).centralBank(last, RateDay, 500);
    RunChoices choices = centralBankChoices(ticked({u"EUR"_s, u"USD"_s, last}));
    choices.createCrossRates = true;
    choices.createReversedRates = true;

    std::optional<SuiteConnection> otherUser;
    if (locked) {
        otherUser.emplace(settingsOf(db));
        otherUser->begin();
        otherUser->execute(
            otherUser->statement(u"UPDATE ARFOLYAM SET ELAD = 2 WHERE DKOD = 'USD' AND DKKOD = 'HUF'"_s));
    }
    RecordingView view;
    // A connection belongs to its thread: the writer opens its own there,
    // and the test does not hang if it waits for ever.
    std::future<ImportResult> run = std::async(std::launch::async, [&] { return write(choices, view, source, db); });
    const bool inTime = run.wait_for(20s) == std::future_status::ready;
    if (otherUser)
        otherUser->rollback();
    const ImportResult result = run.get();
    otherUser.reset();
    QVERIFY2(inTime, "the writer still waited after 20 s");

    QCOMPARE(view.errors.size(), 1);
    const QString error = view.errors[0];
    QVERIFY2(locked ? error.startsWith(LockedStart) : error.contains(u"string right truncation"_s), qPrintable(error));
    // Reported once the closing step has begun and the connection is closed.
    QCOMPARE(view.calls, withError(Success, error));
    QVERIFY(!result.succeeded);
    QCOMPARE(result.written, 0);
    QCOMPARE(rateRows(db), sorted(before));
}

void TestCurrentRateImport::failedConnection()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(u"hianyzik.fdb"_s);
    FilledSession source;
    source.centralBank(u"EUR"_s, RateDay, 400);
    RecordingView view;
    const ImportResult result = writeCurrentRates(centralBankChoices(ticked({u"EUR"_s})), view, source.session(),
                                                  ConnectionSettings{{}, path, u"SYSDBA"_s, u"x"_s});
    QVERIFY(!result.succeeded);
    QCOMPARE(view.errors.size(), 1);
    const QString message = view.errors[0];
    QVERIFY2(message.startsWith(u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\r\nSzámitógép: "
                                "Sajátgép\r\nAdatbázis: "_s
                                + path + u"\r\n\r\nHibaüzenet: "_s),
             qPrintable(message));
    QCOMPARE(view.calls,
             (QStringList{u"active 1"_s, u"error "_s + message, u"error page"_s, u"done 1"_s, u"active 2"_s}));
    QVERIFY(!QFile::exists(path));
}

// Codes are bound, never spliced into the statements.
void TestCurrentRateImport::codesAreData()
{
    const SuiteDatabase db;
    const QString quote = u"O'B"_s;
    const QString accents = u"É€Ő"_s;
    FilledSession source;
    source.centralBank(quote, RateDay, 300).centralBank(accents, RateDay, 200);
    RunChoices choices = centralBankChoices(ticked({quote, accents}));
    choices.createMissingCurrencies = true;
    choices.createReversedRates = true;

    RecordingView view;
    QVERIFY(write(choices, view, source, db).succeeded);
    const QDateTime at(RateDay, QTime(0, 0));
    QCOMPARE(rateRows(db),
             sorted({sameRates(at, quote, u"HUF"_s, 300), sameRates(at, accents, u"HUF"_s, 200),
                     sameRates(at, u"HUF"_s, quote, 1.0 / 300), sameRates(at, u"HUF"_s, accents, 1.0 / 200)}));
    QCOMPARE(sorted(db.rows(u"SELECT KOD, NEV FROM DEVIZA"_s)),
             sorted({{quote, u"o'b"_s}, {accents, u"é€ő"_s}, {u"HUF"_s, u"Magyar forint"_s}}));
}

QTEST_GUILESS_MAIN(TestCurrentRateImport)
#include "TestCurrentRateImport.moc"
