#pragma once

#include "startup/SettingsFile.h"
#include "startup/StartupSettings.h"

#include <QString>
#include <QVector>

// What the wizard's pages hold for a run: the working operations read their
// choices from here instead of from the controls.
struct RunChoices {
    int bankIndex = -1;
    int rateTypeIndex = -1;
    int datumIndex = 2;
    bool onlyMiddleRate = false;
    bool history = false;
    bool createMissingCurrencies = false;
    bool createCrossRates = false;
    bool createReversedRates = false;
    // The chosen entry of the suite's bank codes, as the list shows it.
    QString suiteBankItem;
    // The suite bank code the run names itself (the runner's /suitecode),
    // written as it stands; empty: the item's code, or in an unattended run
    // the bank's own.
    QString suiteCode;
    // The Settings page's rate list by its first column, and the history
    // page's currency list.
    QVector<CurrencyTick> rateListTicks;
    QVector<CurrencyTick> historyCurrencies;
    QString fromDateText;
    QString toDateText;
    bool silent = false;
};

// The choices of an unattended run: the bank's defaults as choosing it sets
// them, then the rate type and middle-only switches where the bank offers
// them.
RunChoices unattendedChoices(const StartupSettings &settings);
