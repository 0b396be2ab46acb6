#include "sources/RunChoices.h"

#include "sources/BankCatalogue.h"

RunChoices UnattendedChoices(const StartupSettings &settings)
{
    RunChoices c;
    c.silent = true;
    c.bankIndex = settings.BankIndex;
    c.createMissingCurrencies = settings.CreateMissingCurrencies;
    c.createCrossRates = settings.CreateCrossRates;
    c.createReversedRates = settings.CreateReversedRates;
    if (const BankInfo *bank = BankAt(c.bankIndex)) {
        c.rateTypeIndex = 0;
        c.onlyMiddleRate = bank->onlyMiddleChecked;
        if (bank->rateTypesEnabled && settings.RateTypeIndex >= 0 && settings.RateTypeIndex < bank->rateTypes.size())
            c.rateTypeIndex = settings.RateTypeIndex;
        if (bank->onlyMiddleEnabled)
            c.onlyMiddleRate = settings.OnlyMiddleRate;
    }
    return c;
}
