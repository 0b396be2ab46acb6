#pragma once

#include "export/SuiteConnection.h"
#include "rates/CurrencyObjects.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <memory>

class RecordingView;
class SuiteDatabase;

// What the import tests share: a session whose source lists a test fills in
// by hand, the choices the Welcome page would hold, and the rate table as
// text.

inline const QString CentralBankItem = QStringLiteral("MNB   - Magyar Nemzeti Bank");
inline const QString OtpBankItem = QStringLiteral("OTP   - Országos TakarékPénztár");

// A session with no network behind it.
class FilledSession {
public:
    FilledSession();

    // A central-bank entry for one unit; buying and selling rate as the
    // middle one unless given.
    FilledSession &centralBank(const QString &code, const QDate &day, double middle, double buy = -1, double sell = -1);
    // A central-bank entry of another date-time, the zero one included.
    FilledSession &centralBank(const QString &code, DateTime day, double middle);
    FilledSession &otp(const OTPCurrencyRecord &record);
    // As when no central-bank list was fetched at all.
    FilledSession &withoutCentralBankList();

    const RateSession &session() const { return *m_session; }

private:
    CurrencyObjectList m_centralBank;
    std::unique_ptr<RateSession> m_session;
};

// An OTP record of one unit: Deviza middle ∓ 1, Valuta ∓ 3, Csekk ∓ 2.
OTPCurrencyRecord otpRecord(const QString &code, const QDateTime &published, double middle);

// An interactive central-bank run at T under "MNB", middle rates only.
RunChoices centralBankChoices(const QVector<CurrencyTick> &ticks = {});
// An interactive OTP run of a rate type under "OTP".
RunChoices otpChoices(int rateType, const QVector<CurrencyTick> &ticks = {});

ConnectionSettings settingsOf(const SuiteDatabase &db);

// A rate as the test database gives it back.
QString number(double value);
QString stamp(const QDateTime &dateTime);
QString stamp(const QDate &day);

// One ARFOLYAM row as rateRows() gives it.
QStringList rateRow(const QString &dat, const QString &bank, const QString &code, const QString &priced, double sale,
                    double buy, double middle);
// Every ARFOLYAM row, sorted as text: by DAT, BANK, DKOD and DKKOD.
QList<QStringList> rateRows(const SuiteDatabase &db);
// Expected rows in the order rateRows() gives them.
QList<QStringList> sorted(QList<QStringList> rows);
// The statement that puts such a row into the database beforehand.
QString rateRowInsert(const QStringList &row);

// DKOD of three characters, so that a longer code fails its statement.
void narrowRateCodes(const SuiteDatabase &db);

// The calls, then one error reported and the error page shown.
QStringList withError(QStringList calls, const QString &message);

// The step markers a view was shown, in order.
QStringList stepsOf(const RecordingView &view);
