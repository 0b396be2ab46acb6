#pragma once

#include "fakes/FakeMnbServer.h"
#include "fakes/FakeOtpServer.h"
#include "run/RateList.h"
#include "startup/SettingsFile.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QProcess;
class SelfSignedCertificate;

// What one run of arfolyam-cli left behind.
struct CliRun {
    // -1 when the run did not end by itself; err then says why.
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs arfolyam-cli to its end with a temporary folder of its own, so that
// parallel runs never share the download file, and without the
// environment's proxy variables.
CliRun runCli(const QStringList &arguments);
// Waits for a started arfolyam-cli to end; one still running after the
// deadline is killed and reported with exit code -1.
CliRun finishCli(QProcess &process, int deadlineMs);

// Writes the "Sources" section, and "Proxy Settings" when proxy names a
// server. Throws std::runtime_error when the file cannot be written.
void writeSettings(const QString &path, const SourceSettings &sources, const ProxySettings &proxy = {});

// The Connect page's step labels from the first through step, one a line.
QString connectSteps(int through = 5);

// The last line of every /show run that got past the command line.
extern const QString ShowClosingLine;

// Standard output of a /show run that listed these rates.
QString shownRates(const RateList &list);

// The text cut at its line ends: lists compare line by line, and a
// failure names the first line that differs.
QStringList lines(const QString &text);

// What a reported error adds to standard error: the numbered header, the
// message's lines, a line of one blank.
QString errorEntry(int number, const QStringList &messageLines);

// The OTP fixture table (tests/data/otp-rates-2026-09-18.csv) dated with day.
QByteArray otpFixtureTable(const QDate &day);
// Its rate list as the runner must print it for a rate type, written out by
// hand so that no reading or formatting code of the program judges itself:
// the sell column before the buy column, rates per PriceQty units.
QString otpFixtureList(int rateType, bool onlyMiddle);

// Both fake banks on loopback, the central bank over HTTP and OTP Bank over
// HTTPS, with a settings file that points the runner at them.
class FakeBanks {
public:
    explicit FakeBanks(const SelfSignedCertificate &certificate);

    // "/settings<path>", the value glued to the switch.
    QString settingsSwitch() const;
    // Neither bank has been asked anything.
    bool untouched() const;

    FakeMnbServer mnb;
    FakeOtpServer otp;

private:
    QTemporaryDir m_folder;
};
