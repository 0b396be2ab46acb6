#include "sources/RateAcquisition.h"

#include "sources/BankCatalogue.h"
#include "sources/DownloadPage.h"
#include "sources/DownloadedLines.h"
#include "sources/RateFetch.h"
#include "sources/RateList.h"
#include "sources/RateSession.h"
#include "sources/RunChoices.h"
#include "sources/RunView.h"
#include "sources/ServiceError.h"
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
    view.ReportError(message);
    view.ShowErrorPage();
}

bool usable(double sell, double buy, double middle)
{
    return sell != 0 && buy != 0 && middle != 0;
}

bool anyUsableRate(const RunChoices &choices, const RateSession &session)
{
    if (choices.bankIndex == MNBBankIndex) {
        const TCurrencyObjectList *list = session.CurrencyObjectList;
        for (int i = 0; list && i < list->ListCount(); ++i) {
            const TCurrencyObject *o = list->GetCurrency(i);
            if (usable(o->Sell(), o->Buy(), o->Middle()))
                return true;
        }
        return false;
    }
    return std::any_of(session.CurrencyList.begin(), session.CurrencyList.end(), [&](const TOTPCurrencyRecord &r) {
        const RatePair pair = OTPRatePair(r, choices.rateTypeIndex, choices.onlyMiddleRate);
        return usable(pair.sell, pair.buy, r.Middle / r.PriceQty);
    });
}

void doneStepsFrom3(RunView &view, const RateList &list)
{
    view.MarkStepDone(3);
    view.MarkStepActive(4);
    view.FillRateList(list);
    view.MarkStepDone(4);
    view.MarkStepActive(5);
    view.MarkStepDone(5);
}
} // namespace

bool AcquireCurrentRates(const RunChoices &choices, RunView &view, RateSession &session, RateFetch &fetch,
                         const QDate &today)
{
    bool ok = true;
    try {
        view.MarkStepActive(1);
        view.MarkStepDone(1);
        view.MarkStepActive(2);
        PrepareDownloadFile();
        if (choices.bankIndex == MNBBankIndex) {
            fetch.FetchCentralBankRates(session.MagyarNemzetiBankObject);
            session.CurrencyObjectList = session.MagyarNemzetiBankObject.GetCurrencyObjectList();
        } else if (choices.bankIndex == OTPBankIndex) {
            if (!fetch.FetchOTPTable(BuildOTPRateAddress(session.OTPBaseUrl, today), view))
                ok = false;
        }
        view.MarkStepDone(2);
        view.MarkStepActive(3);
    } catch (const ServiceError &e) {
        fail(view, e.Message());
        return false;
    }

    const QStringList lines = LoadDownloadedLines();
    DateTime rateDate;
    if (!lines.isEmpty() && choices.bankIndex == OTPBankIndex) {
        const TOTPRateTable table = ReadOTPRateTable(lines, today);
        session.CurrencyRatesCurrent = table.Current;
        rateDate = table.RateDate;
        ReadOTPRateRecords(table, session.OTPCurrencySampleList, session.CurrencyList);
    }
    if (!rateDate.isZero())
        view.SetRateDateCaption(FormatRateDateCaption(rateDate));

    if (choices.bankIndex == MNBBankIndex && !session.CurrencyObjectList) {
        fail(view, CentralBankMessage);
        ok = false;
    } else if (choices.bankIndex == OTPBankIndex && session.CurrencyList.isEmpty()) {
        fail(view, PageAnalysisMessage + OTPRatePageAddress(session.OTPBaseUrl));
        ok = false;
    } else if (!anyUsableRate(choices, session)) {
        view.ShowWarning(NoUsableRateMessage);
        fail(view, NoUsableRateMessage);
        ok = false;
    }

    doneStepsFrom3(view, CurrentRateList(choices.bankIndex, choices.rateTypeIndex, choices.onlyMiddleRate,
                                         session.CurrencyObjectList, session.CurrencyList));
    return ok;
}

bool AcquireRateHistory(const RunChoices &choices, RunView &view, RateSession &session, const QDate &today)
{
    if (choices.bankIndex != MNBBankIndex)
        return true;
    try {
        view.MarkStepActive(1);
        view.MarkStepDone(1);
        view.MarkStepActive(2);
        const QDate start = ReadShortDate(choices.fromDateText).value_or(QDate(2022, 1, 1));
        const QDate end = ReadShortDate(choices.toDateText).value_or(today);
        QStringList codes;
        for (const CurrencyTick &row : choices.historyCurrencies) {
            if (row.ticked)
                codes << row.code.toUpper();
        }
        session.MagyarNemzetiBankObject.GetExchangeRates(start, end, codes.join(u','));
        session.CurrencyObjectList = session.MagyarNemzetiBankObject.GetCurrencyObjectList();
        view.MarkStepDone(2);
        view.MarkStepActive(3);
    } catch (const ServiceError &e) {
        fail(view, e.Message());
        return false;
    }
    doneStepsFrom3(view, HistoryRateList(session.CurrencyObjectList));
    return true;
}
