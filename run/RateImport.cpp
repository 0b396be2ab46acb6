#include "run/RateImport.h"

#include "export/DatabaseError.h"
#include "export/RateRows.h"
#include "export/SuiteConnection.h"
#include "export/SuiteLookups.h"
#include "export/WorkingDays.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "run/RunView.h"
#include "sources/BankCatalogue.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Forint = u"HUF"_s;

struct Rates {
    double sale = 0;
    double buy = 0;
    double middle = 0;
    DateTime date;

    bool complete() const { return sale != 0 && buy != 0 && middle != 0; }
};

// The steps both writers share: the connection, the set-up and the closing
// step, which also runs after a failure.
class ImportSteps {
public:
    ImportSteps(RunView &view, ImportResult &result)
        : m_view(view)
        , m_result(result)
    {
    }

    // Step 1; false, reported, when the database cannot be opened.
    bool connect(const ConnectionSettings &settings)
    {
        m_view.markStepActive(1);
        try {
            m_connection.emplace(settings);
        } catch (const DatabaseError &e) {
            m_view.reportError(e.message());
            m_view.showErrorPage();
        }
        m_view.markStepDone(1);
        m_view.markStepActive(2);
        return m_connection.has_value();
    }

    SuiteConnection &connection() { return *m_connection; }

    // Steps 2 and 3 up to their commit: HUF and the source's own bank code
    // exist afterwards. Returns the book-keeping currency.
    QString setUp(const BankInfo &bank, QStringList &existing, const std::function<void()> &createCurrencies)
    {
        m_connection->begin();
        existing = existingCurrencies(*m_connection);
        const bool forintExists =
            std::any_of(existing.begin(), existing.end(), [](const QString &code) { return code.toUpper() == Forint; });
        const QString book = bookCurrency(*m_connection);
        // Only when the fixed code itself is missing: rates may go under
        // another code, and a second fixed row would break the table.
        ensureBank(*m_connection, bank.code, bank.suiteName);
        m_view.markStepDone(2);
        m_view.markStepActive(3);
        if (!forintExists)
            insertCurrency(*m_connection, Forint, u"Magyar forint"_s);
        if (createCurrencies)
            createCurrencies();
        m_connection->commit();
        m_view.markStepDone(3);
        m_view.markStepActive(4);
        m_connection->begin();
        return book;
    }

    void count(RowOutcome outcome)
    {
        if (outcome == RowOutcome::Kept) {
            ++m_pending.kept;
            return;
        }
        ++m_pending.written;
        if (outcome == RowOutcome::Replaced)
            ++m_pending.replaced;
    }

    void skip(const QString &code, bool undated)
    {
        ++m_pending.skipped;
        if (undated && !m_undated.contains(code))
            m_undated << code;
    }

    // Commits what the rows since the last commit did, and goes on in a new
    // transaction.
    void commitBatch()
    {
        commit();
        m_connection->begin();
    }

    // The closing step. After a failure the open transaction is rolled
    // back, so that no key is left deleted and not written again, and the
    // error is reported once the connection is closed.
    void finish(const std::optional<QString> &failure)
    {
        m_view.markStepDone(4);
        m_view.markStepActive(5);
        m_view.processMessages();
        std::optional<QString> error = failure;
        if (!error) {
            try {
                commit();
            } catch (const DatabaseError &e) {
                error = e.message();
            }
        }
        m_connection.reset();
        if (error) {
            m_view.reportError(*error);
            m_view.showErrorPage();
            return;
        }
        // Nothing written must not read as success.
        if (!m_undated.isEmpty()) {
            m_view.reportError(u"A következő devizák árfolyamának dátuma ismeretlen vagy nem a mai nap, ezért nem "
                               "kerültek az adatbázisba: "_s
                               + m_undated.join(u", "_s));
            m_view.showErrorPage();
            return;
        }
        m_result.succeeded = true;
    }

private:
    // What was counted since the last commit reaches the result only with
    // the commit: a rolled-back row was not written.
    void commit()
    {
        m_connection->commit();
        m_result.written += m_pending.written;
        m_result.replaced += m_pending.replaced;
        m_result.kept += m_pending.kept;
        m_result.skipped += m_pending.skipped;
        m_pending = {};
    }

    RunView &m_view;
    ImportResult &m_result;
    ImportResult m_pending;
    std::optional<SuiteConnection> m_connection;
    QStringList m_undated;
};

// The rates of a code by source: every entry whose code matches in upper
// case is looked at, a later one overriding an earlier; the date is the
// list's last entry's.
Rates ratesOf(const QString &code, const RunChoices &choices, const RateSession &session)
{
    Rates rates;
    rates.date = DateTime::today();
    const QString wanted = code.toUpper();
    if (choices.bankIndex == MNBBankIndex) {
        const CurrencyObjectList *list = session.currencyObjectList;
        for (int i = 0; list && i < list->listCount(); ++i) {
            const CurrencyObject *o = list->getCurrency(i);
            if (o->code().toUpper() == wanted)
                rates = {o->sell(), o->buy(), o->middle(), rates.date};
            rates.date = o->day();
        }
    } else if (choices.bankIndex == OTPBankIndex) {
        for (const OTPCurrencyRecord &r : session.currencyList) {
            if (r.code.toUpper() == wanted) {
                const RatePair pair = otpRatePair(r, choices.rateTypeIndex, choices.onlyMiddleRate);
                rates = {pair.sell, pair.buy, r.middle / r.priceQty, rates.date};
            }
            rates.date = r.dateTime;
        }
    }
    return rates;
}

// The book-keeping currency's middle rate per unit in the download; 0 when
// it does not list it. OTP Bank's is its last record's, as its rates are.
double bookMiddleOf(const QString &book, const RunChoices &choices, const RateSession &session)
{
    if (choices.bankIndex == MNBBankIndex) {
        const CurrencyObjectList *list = session.currencyObjectList;
        for (int i = 0; list && i < list->listCount(); ++i) {
            const CurrencyObject *o = list->getCurrency(i);
            if (o->code() == book && o->middle() != 0)
                return o->middle();
        }
        return 0;
    }
    double middle = 0;
    for (const OTPCurrencyRecord &r : session.currencyList) {
        if (r.code == book)
            middle = r.middle / r.priceQty;
    }
    return middle;
}

// The codes the user ticked, in the order of the download; each OTP code
// once.
QStringList tickedCodes(const RunChoices &choices, const RateSession &session)
{
    QStringList sourceCodes;
    if (choices.bankIndex == MNBBankIndex) {
        const CurrencyObjectList *list = session.currencyObjectList;
        for (int i = 0; list && i < list->listCount(); ++i)
            sourceCodes << list->getCurrency(i)->code();
    } else {
        for (const OTPCurrencyRecord &r : session.currencyList)
            sourceCodes << r.code;
    }
    QStringList ticked;
    for (const QString &code : std::as_const(sourceCodes)) {
        const auto row = std::find_if(choices.rateListTicks.begin(), choices.rateListTicks.end(),
                                      [&](const CurrencyTick &tick) { return tick.code == code; });
        if (row == choices.rateListTicks.end() || !row->ticked)
            continue;
        if (choices.bankIndex == MNBBankIndex || !ticked.contains(code))
            ticked << code;
    }
    return ticked;
}

} // namespace

QString bankCodeOfRun(const RunChoices &choices)
{
    if (!choices.suiteCode.isEmpty())
        return choices.suiteCode;
    if (choices.silent) {
        if (const BankInfo *bank = bankAt(choices.bankIndex))
            return bank->code;
    }
    return bankCodeOfItem(choices.suiteBankItem);
}

ImportResult writeCurrentRates(const RunChoices &choices, RunView &view, const RateSession &session,
                               const ConnectionSettings &settings)
{
    ImportResult result;
    const BankInfo *bank = bankAt(choices.bankIndex);
    ImportSteps steps(view, result);
    if (!bank || !steps.connect(settings))
        return result;

    std::optional<QString> failure;
    try {
        SuiteConnection &db = steps.connection();
        // An interactive run writes what the user ticked, whether the suite
        // knows the currency or not; an unattended one every currency the
        // suite knows.
        const QStringList selected = choices.silent ? QStringList() : tickedCodes(choices, session);
        QStringList existing;
        const QString book = steps.setUp(*bank, existing, [&] {
            if (!choices.createMissingCurrencies)
                return;
            for (const QString &code : selected) {
                if (!existing.contains(code))
                    insertCurrency(db, code.toUpper(), code.toLower());
            }
        });

        const QString bankCode = bankCodeOfRun(choices);
        const int dayOffset = dayOffsetOfDatumIndex(choices.datumIndex);
        const double bookMiddle = bookMiddleOf(book, choices, session);
        RateRows rows(db);
        for (const QString &code : choices.silent ? existing : selected) {
            if (code.isEmpty() || code.toUpper() == Forint)
                continue;
            const Rates rates = ratesOf(code, choices, session);
            if (!rates.complete()) {
                steps.skip(code, false);
                continue;
            }
            // Written, such a rate would land on 1900-01-02.
            if (rates.date.isZero()) {
                steps.skip(code, true);
                continue;
            }
            const QDateTime writeDate = rateWriteDate(rates.date, dayOffset).toDateTime();
            steps.count(rows.writeRateRow(writeDate, bankCode, code, rates.sale, rates.buy, rates.middle));
            if (bookMiddle != 0 && choices.createCrossRates && code != book)
                steps.count(rows.writeCrossRow(writeDate, bankCode, code, book, rates.middle / bookMiddle));
            if (choices.createReversedRates && code != book)
                steps.count(rows.writeReversedRow(writeDate, bankCode, code, 1 / rates.middle));
            view.processMessages();
        }
        rows.deleteUndatedRows();
    } catch (const DatabaseError &e) {
        failure = e.message();
    }
    steps.finish(failure);
    return result;
}

ImportResult writeHistoricalRates(const RunChoices &choices, RunView &view, const RateSession &session,
                                  const ConnectionSettings &settings)
{
    ImportResult result;
    const BankInfo *bank = bankAt(MNBBankIndex);
    ImportSteps steps(view, result);
    if (!steps.connect(settings))
        return result;

    std::optional<QString> failure;
    try {
        SuiteConnection &db = steps.connection();
        QStringList existing;
        const QString book = steps.setUp(*bank, existing, {});

        const CurrencyObjectList *list = session.currencyObjectList;
        const int count = list ? list->listCount() : 0;
        // The book-keeping currency's middle of each day: the first entry's.
        QHash<double, double> bookMiddles;
        for (int i = 0; i < count; ++i) {
            const CurrencyObject *o = list->getCurrency(i);
            if (o->code() == book && !bookMiddles.contains(o->day().value()))
                bookMiddles.insert(o->day().value(), o->middle());
        }

        const QString bankCode = bankCodeOfRun(choices);
        const int dayOffset = dayOffsetOfDatumIndex(choices.datumIndex);
        RateRows rows(db);
        view.showProgress(count);
        for (int i = 0; i < count; ++i) {
            const CurrencyObject *o = list->getCurrency(i);
            const double bookMiddle = bookMiddles.value(o->day().value(), 0);
            if (o->sell() == 0 || o->buy() == 0 || o->middle() == 0) {
                steps.skip(o->code(), false);
            } else if (o->day().isZero()) {
                steps.skip(o->code(), true);
            } else {
                const QDateTime writeDate = rateWriteDate(o->day(), dayOffset).toDateTime();
                steps.count(
                    rows.writeDayRateRow(writeDate.date(), bankCode, o->code(), o->sell(), o->buy(), o->middle()));
                if (bookMiddle != 0 && choices.createCrossRates && o->code() != book) {
                    steps.count(rows.writeCrossRow(writeDate, bankCode, o->code(), book, o->middle() / bookMiddle));
                }
                if (choices.createReversedRates)
                    steps.count(rows.writeReversedRow(writeDate, bankCode, o->code(), 1 / o->middle()));
            }
            if (i % 100 == 0)
                steps.commitBatch();
            view.advanceProgress();
            view.processMessages();
        }
        rows.deleteUndatedRows();
    } catch (const DatabaseError &e) {
        failure = e.message();
    }
    steps.finish(failure);
    return result;
}
