#include "cli/CliOptions.h"
#include "cli/ConsoleView.h"
#include "cli/NamedFile.h"
#include "cli/SavedAnswerFetch.h"
#include "export/SuiteConnection.h"
#include "run/DatabaseLookups.h"
#include "run/HistoryChecks.h"
#include "run/RateAcquisition.h"
#include "run/RateImport.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "run/StepLabels.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QString defaultSettingsPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"arfolyam.ini"_s);
}

int usageError(QTextStream &err, const QString &message)
{
    QString text = message;
    err << u"arfolyam-cli: "_s << text.replace(u"\r\n"_s, u"\n"_s) << Qt::endl;
    return 2;
}

QString writtenLine(const ImportResult &result)
{
    return u"Beírt sorok: %1 (ebből egy korábbi sor helyére: %2); a nap már ugyanezzel az árfolyammal szerepelt, "
           "ezért nem írt sorok: %3; árfolyam vagy dátum híján kimaradt tételek: %4."_s.arg(result.written)
               .arg(result.replaced)
               .arg(result.kept)
               .arg(result.skipped);
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
    if (!options.show) {
        if (const auto missing = missingDatabaseMessage(options.startup, true))
            return usageError(err, *missing);
    }

    ConsoleView view(out, err);
    const ConnectionSettings database = connectionSettings(options.startup);
    RunChoices choices = unattendedChoices(options.startup);
    choices.datumIndex = options.dayOffset + 2;
    choices.suiteCode = options.suiteCode;
    if (options.history) {
        choices.history = true;
        QStringList codes = options.currencies;
        // As the history page would list them.
        if (codes.isEmpty() && !options.startup.database.isEmpty()) {
            view.setStepLabels(HistoryDatabaseStepLabels);
            const std::optional<QStringList> listed = loadHistoryCurrencies(database, view);
            if (!listed)
                return 1;
            codes = *listed;
        }
        for (const QString &code : std::as_const(codes))
            choices.historyCurrencies.append({code, true});
        choices.fromDateText = options.fromText;
        choices.toDateText = options.toText;
        if (const auto failure = checkHistoryPeriod(int(choices.historyCurrencies.size()), choices.fromDateText,
                                                    choices.toDateText, today))
            return usageError(err, failure->message);
    }

    RateSession session(sources, readProxySettings(options.settingsPath), transfer);
    view.setStepLabels(ConnectStepLabels);
    bool fetched = false;
    if (options.history) {
        fetched = acquireRateHistory(choices, view, session, today);
    } else {
        std::unique_ptr<RateFetch> fetch;
        if (options.inputPath.isEmpty())
            fetch = std::make_unique<NetworkRateFetch>(session.httpClient);
        else
            fetch = std::make_unique<SavedAnswerFetch>(savedAnswer);
        fetched = acquireCurrentRates(choices, view, session, *fetch, today);
        if (fetched && !session.currencyRatesCurrent)
            view.showWarning(NotCurrentWarning);
    }
    if (view.errorCount() == 0 && view.rateList())
        out << rateListText(*view.rateList());
    if (options.show) {
        out << u"Az adatbázis nem változott (/show)."_s << Qt::endl;
        return view.errorCount() > 0 ? 1 : 0;
    }
    // Nothing is written after a failed fetch.
    if (!fetched || view.errorCount() > 0) {
        out << u"Az adatbázis nem változott: a lekérdezés nem sikerült."_s << Qt::endl;
        return 1;
    }

    view.setStepLabels(DatabaseStepLabels);
    const ImportResult result = options.history ? writeHistoricalRates(choices, view, session, database)
                                                : writeCurrentRates(choices, view, session, database);
    out << writtenLine(result) << Qt::endl;
    return result.succeeded && view.errorCount() == 0 ? 0 : 1;
}
