#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The currencies both fake banks quote, with rates that vary smoothly and
// deterministically from day to day around those of a real day.

struct FakeCurrency {
    QString code;
    int unit = 1;
    // Forints for unit pieces on the base day.
    double rate = 0;
    // Quoted by the central bank; the others only by OTP Bank.
    bool centralBank = true;
};

// In alphabetical order of the codes.
const QList<FakeCurrency> &fakeCurrencies();
// None for a code no fake bank quotes; upper case expected.
const FakeCurrency *findFakeCurrency(const QString &code);
// Forints for the unit on that day, not yet rounded.
double fakeRateOn(const FakeCurrency &currency, const QDate &day);
