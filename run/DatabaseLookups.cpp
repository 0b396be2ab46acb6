#include "run/DatabaseLookups.h"

#include "export/DatabaseError.h"
#include "export/SuiteConnection.h"
#include "export/SuiteLookups.h"
#include "run/RunView.h"

std::optional<QStringList> loadBankCodes(const ConnectionSettings &settings, RunView &view)
{
    try {
        SuiteConnection connection(settings);
        return bankCodeItems(connection);
    } catch (const DatabaseError &e) {
        view.reportError(e.message());
        view.showErrorPage();
        return std::nullopt;
    }
}

std::optional<QStringList> loadHistoryCurrencies(const ConnectionSettings &settings, RunView &view)
{
    view.markStepActive(1);
    std::optional<QStringList> codes;
    try {
        SuiteConnection connection(settings);
        codes = historyCurrencies(connection);
    } catch (const DatabaseError &e) {
        view.reportError(e.message());
        view.showErrorPage();
        return std::nullopt;
    }
    view.markStepDone(1);
    return codes;
}
