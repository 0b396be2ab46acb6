#include "cli/CliOptions.h"
#include "cli/ConsoleView.h"
#include "cli/NamedFile.h"
#include "cli/SavedAnswerFetch.h"
#include "run/HistoryChecks.h"
#include "run/RateAcquisition.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "run/StepLabels.h"
#include "startup/Formats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString NotCurrentWarning =
    u"Lehetséges, hogy a bank honlapján található árfolyam-információk nem naprakészek. Kérem ellenőrizze!"_s;

QString defaultSettingsPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"arfolyam.ini"_s);
}

int usageError(QTextStream &err, const QString &message)
{
    err << u"arfolyam-cli: "_s << message << Qt::endl;
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QDate today = QDate::currentDate();

    const auto parsed = parseCliOptions(app.arguments().mid(1), defaultSettingsPath(), today);
    if (const auto *usage = std::get_if<UsageError>(&parsed))
        return usageError(err, usage->message);
    const CliOptions &options = std::get<CliOptions>(parsed);
    if (options.help) {
        out << CliUsageText;
        return 0;
    }

    RunChoices choices = unattendedChoices(options.startup);
    choices.datumIndex = options.dayOffset + 2;
    if (options.history) {
        choices.history = true;
        for (const QString &code : options.currencies)
            choices.historyCurrencies.append({code, true});
        choices.fromDateText = options.fromText;
        choices.toDateText = options.toText;
        if (const auto failure = checkHistoryPeriod(int(choices.historyCurrencies.size()), choices.fromDateText,
                                                    choices.toDateText, today))
            return usageError(err, failure->message);
    }

    // The default file beside the program may be missing; any file there
    // must be read whole, or the run would go without its proxy and mirrors.
    QByteArray settingsBytes;
    if (options.settingsNamed || QFileInfo::exists(options.settingsPath)) {
        if (const auto problem = readNamedFile(options.settingsPath, u"beállításfájl"_s, 0, settingsBytes))
            return usageError(err, *problem);
    }
    const SourceSettings sources = readSourceSettings(options.settingsPath);
    const TransferSettings transfer = transferSettings(sources);
    QByteArray savedAnswer;
    if (!options.inputPath.isEmpty()) {
        if (const auto problem =
                readNamedFile(options.inputPath, u"bemeneti fájl"_s, transfer.maxAnswerMiB, savedAnswer))
            return usageError(err, *problem);
    }

    RateSession session(sources, readProxySettings(options.settingsPath), transfer);
    ConsoleView view(out, err);
    view.setStepLabels(ConnectStepLabels);
    if (options.history) {
        acquireRateHistory(choices, view, session, today);
    } else {
        std::unique_ptr<RateFetch> fetch;
        if (options.inputPath.isEmpty())
            fetch = std::make_unique<NetworkRateFetch>(session.httpClient);
        else
            fetch = std::make_unique<SavedAnswerFetch>(savedAnswer);
        if (acquireCurrentRates(choices, view, session, *fetch, today) && !session.currencyRatesCurrent)
            view.showWarning(NotCurrentWarning);
    }

    if (view.errorCount() == 0 && view.rateList())
        out << rateListText(*view.rateList());
    out << u"Az adatbázis nem változott (/show)."_s << Qt::endl;
    return view.errorCount() > 0 ? 1 : 0;
}
