#include "run/RateAcquisition.h"

#include "run/RateFetch.h"
#include "run/RateList.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "run/RunView.h"
#include "sources/BankCatalogue.h"
#include "sources/SourceError.h"
#include "startup/Formats.h"

using namespace Qt::StringLiterals;

namespace {
const QString CentralBankMessage =
    u"Hiba történt az árfolyamokat tartalmazó webservice elérése közben. Kérem, vegye fel a kapcsolatot a forgalmazó Belmora Kft.-vel!\r\n\r\n"_s;
const QString PageAnalysisMessage =
    u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben. Előfordulhat, hogy megváltozott vagy hibás a weboldal. Kérem ellenőrizze a weboldal tartalmát a böngészőjén keresztül\r\n\r\n"_s;
const QString NoUsableRateMessage =
    u"A kiválasztott bank honlapján (még) nem elérhetőek a napi árfolyamok. Kérjük próbálja újra később!"_s;

void fail(RunView &view, const QString &message)
{
    view.reportError(message);
    view.showErrorPage();
}

bool usable(double sell, double buy, double middle)
{
    return sell != 0 && buy != 0 && middle != 0;
}

bool anyUsableRate(const RunChoices &choices, const RateSession &session)
{
    if (choices.bankIndex == MNBBankIndex) {
        const CurrencyObjectList *list = session.currencyObjectList;
        for (int i = 0; list && i < list->listCount(); ++i) {
            const CurrencyObject *o = list->getCurrency(i);
            if (usable(o->sell(), o->buy(), o->middle()))
                return true;
        }
        return false;
    }
    return std::any_of(session.currencyList.begin(), session.currencyList.end(), [&](const OTPCurrencyRecord &r) {
        const RatePair pair = otpRatePair(r, choices.rateTypeIndex, choices.onlyMiddleRate);
        return usable(pair.sell, pair.buy, r.middle / r.priceQty);
    });
}

void doneStepsFrom3(RunView &view, const RateList &list)
{
    view.markStepDone(3);
    view.markStepActive(4);
    view.fillRateList(list);
    view.markStepDone(4);
    view.markStepActive(5);
    view.markStepDone(5);
}
} // namespace

bool acquireCurrentRates(const RunChoices &choices, RunView &view, RateSession &session, RateFetch &fetch,
                         const QDate &today)
{
    bool ok = true;
    try {
        view.markStepActive(1);
        view.markStepDone(1);
        view.markStepActive(2);
        session.downloadFile.discard();
        if (choices.bankIndex == MNBBankIndex) {
            fetch.fetchCentralBankRates(session.magyarNemzetiBankObject);
            session.currencyObjectList = session.magyarNemzetiBankObject.getCurrencyObjectList();
        } else if (choices.bankIndex == OTPBankIndex) {
            if (!fetch.fetchOTPTable(buildOTPRateAddress(session.otpBaseUrl, today), session.downloadFile, view))
                ok = false;
        }
        view.markStepDone(2);
        view.markStepActive(3);
    } catch (const SourceError &e) {
        fail(view, e.message());
        return false;
    }

    const QStringList lines = session.downloadFile.lines();
    DateTime rateDate;
    if (!lines.isEmpty() && choices.bankIndex == OTPBankIndex) {
        const OTPRateTable table = readOTPRateTable(lines, today);
        session.currencyRatesCurrent = table.current;
        rateDate = table.rateDate;
        readOTPRateRecords(table, session.otpCurrencySampleList, session.currencyList);
    }
    if (!rateDate.isZero())
        view.setRateDateCaption(formatRateDateCaption(rateDate));

    if (choices.bankIndex == MNBBankIndex && !session.currencyObjectList) {
        fail(view, CentralBankMessage);
        ok = false;
    } else if (choices.bankIndex == OTPBankIndex && session.currencyList.isEmpty()) {
        fail(view, PageAnalysisMessage + otpRatePageAddress(session.otpBaseUrl));
        ok = false;
    } else if (!anyUsableRate(choices, session)) {
        view.showWarning(NoUsableRateMessage);
        fail(view, NoUsableRateMessage);
        ok = false;
    }

    doneStepsFrom3(view,
                   currentRateList(choices.bankIndex, choices.rateTypeIndex, choices.onlyMiddleRate,
                                   session.currencyObjectList, session.currencyList));
    return ok;
}

bool acquireRateHistory(const RunChoices &choices, RunView &view, RateSession &session, const QDate &today)
{
    if (choices.bankIndex != MNBBankIndex)
        return true;
    try {
        view.markStepActive(1);
        view.markStepDone(1);
        view.markStepActive(2);
        const QDate start = readShortDate(choices.fromDateText).value_or(QDate(2022, 1, 1));
        const QDate end = readShortDate(choices.toDateText).value_or(today);
        QStringList codes;
        for (const CurrencyTick &row : choices.historyCurrencies) {
            if (row.ticked)
                codes << row.code.toUpper();
        }
        session.magyarNemzetiBankObject.getExchangeRates(start, end, codes.join(u','));
        session.currencyObjectList = session.magyarNemzetiBankObject.getCurrencyObjectList();
        view.markStepDone(2);
        view.markStepActive(3);
    } catch (const SourceError &e) {
        fail(view, e.message());
        return false;
    }
    doneStepsFrom3(view, historyRateList(session.currencyObjectList));
    return true;
}
