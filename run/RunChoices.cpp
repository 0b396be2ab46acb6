#include "run/RunChoices.h"

#include "sources/BankCatalogue.h"

RunChoices unattendedChoices(const StartupSettings &settings)
{
    RunChoices c;
    c.silent = true;
    c.bankIndex = settings.bankIndex;
    c.createMissingCurrencies = settings.createMissingCurrencies;
    c.createCrossRates = settings.createCrossRates;
    c.createReversedRates = settings.createReversedRates;
    if (const BankInfo *bank = bankAt(c.bankIndex)) {
        c.rateTypeIndex = 0;
        c.onlyMiddleRate = bank->onlyMiddleChecked;
        if (bank->rateTypesEnabled && settings.rateTypeIndex >= 0 && settings.rateTypeIndex < bank->rateTypes.size())
            c.rateTypeIndex = settings.rateTypeIndex;
        if (bank->onlyMiddleEnabled)
            c.onlyMiddleRate = settings.onlyMiddleRate;
    }
    return c;
}
