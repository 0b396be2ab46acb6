#include "run/ImportFixture.h"

#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "sources/BankCatalogue.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', u"''"_s) + u'\'';
}

} // namespace

FilledSession::FilledSession()
    : m_session(std::make_unique<RateSession>(SourceSettings{}, ProxySettings{}, TransferSettings{}))
{
    m_session->currencyObjectList = &m_centralBank;
}

FilledSession &FilledSession::centralBank(const QString &code, const QDate &day, double middle, double buy, double sell)
{
    CurrencyObject entry;
    entry.fillWithData(code, code.toLower(), u"MNB"_s, DateTime::fromDate(day), 1, buy < 0 ? middle : buy,
                       sell < 0 ? middle : sell, middle);
    m_centralBank.addCurrency(entry);
    return *this;
}

FilledSession &FilledSession::centralBank(const QString &code, DateTime day, double middle)
{
    CurrencyObject entry;
    entry.fillWithData(code, code.toLower(), u"MNB"_s, day, 1, middle, middle, middle);
    m_centralBank.addCurrency(entry);
    return *this;
}

FilledSession &FilledSession::otp(const OTPCurrencyRecord &record)
{
    m_session->currencyList.append(record);
    return *this;
}

FilledSession &FilledSession::withoutCentralBankList()
{
    m_session->currencyObjectList = nullptr;
    return *this;
}

OTPCurrencyRecord otpRecord(const QString &code, const QDateTime &published, double middle)
{
    OTPCurrencyRecord r;
    r.dateTime = published.isValid() ? DateTime::fromDateTime(published) : DateTime();
    r.code = code;
    r.name = code.toLower();
    r.priceQty = 1;
    r.middle = middle;
    r.currencyBuy = middle - 1;
    r.currencySale = middle + 1;
    r.cashBuy = middle - 3;
    r.cashSale = middle + 3;
    r.chequeBuy = middle - 2;
    r.chequeSale = middle + 2;
    return r;
}

RunChoices centralBankChoices(const QVector<CurrencyTick> &ticks)
{
    RunChoices c;
    c.bankIndex = MNBBankIndex;
    c.rateTypeIndex = 0;
    c.onlyMiddleRate = true;
    c.suiteBankItem = CentralBankItem;
    c.rateListTicks = ticks;
    return c;
}

RunChoices otpChoices(int rateType, const QVector<CurrencyTick> &ticks)
{
    RunChoices c;
    c.bankIndex = OTPBankIndex;
    c.rateTypeIndex = rateType;
    c.suiteBankItem = OtpBankItem;
    c.rateListTicks = ticks;
    return c;
}

ConnectionSettings settingsOf(const SuiteDatabase &db)
{
    return {db.serverName(), db.path(), u"SYSDBA"_s, db.password(), 1s};
}

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

QString stamp(const QDateTime &dateTime)
{
    return dateTime.toString(u"yyyy-MM-dd hh:mm:ss.zzz"_s);
}

QString stamp(const QDate &day)
{
    return stamp(QDateTime(day, QTime(0, 0)));
}

QStringList rateRow(const QString &dat, const QString &bank, const QString &code, const QString &priced, double sale,
                    double buy, double middle)
{
    return {dat, bank, code, priced, number(sale), number(buy), number(middle)};
}

QList<QStringList> rateRows(const SuiteDatabase &db)
{
    // Sorted here, not by the database's collation, so that expected rows
    // can be sorted the same way.
    QList<QStringList> rows = db.rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s);
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString rateRowInsert(const QStringList &row)
{
    return u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) VALUES (%1, %2, %3, %4, %5, %6, %7)"_s
        .arg(quoted(row[0]), quoted(row[1]), quoted(row[2]), quoted(row[3]), row[4], row[5], row[6]);
}

void narrowRateCodes(const SuiteDatabase &db)
{
    db.execute({u"DROP TABLE ARFOLYAM"_s});
    db.execute({u"CREATE TABLE ARFOLYAM (DAT TIMESTAMP NOT NULL, BANK VARCHAR(10) NOT NULL, "
                "DKOD VARCHAR(3) NOT NULL, DKKOD VARCHAR(5) NOT NULL, ELAD DOUBLE PRECISION, "
                "VESZ DOUBLE PRECISION, KOZEP DOUBLE PRECISION)"_s});
    db.execute({u"CREATE UNIQUE INDEX ARFOLYAM_KEY ON ARFOLYAM (BANK, DKOD, DKKOD, DAT)"_s});
}

QStringList withError(QStringList calls, const QString &message)
{
    return calls << u"error "_s + message << u"error page"_s;
}

QStringList stepsOf(const RecordingView &view)
{
    QStringList steps;
    for (const QString &call : view.calls) {
        if (call.startsWith(u"active "_s) || call.startsWith(u"done "_s))
            steps << call;
    }
    return steps;
}
