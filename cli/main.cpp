#include "cli/CliOptions.h"
#include "cli/ConsoleView.h"
#include "cli/SavedAnswerFetch.h"
#include "sources/HistoryChecks.h"
#include "sources/RateAcquisition.h"
#include "sources/RateSession.h"
#include "sources/RunChoices.h"
#include "sources/StepLabels.h"
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

    const auto parsed = ParseCliOptions(app.arguments().mid(1), defaultSettingsPath(), today);
    if (const auto *usage = std::get_if<UsageError>(&parsed))
        return usageError(err, usage->message);
    const CliOptions &options = std::get<CliOptions>(parsed);
    if (options.help) {
        out << CliUsageText;
        return 0;
    }

    RunChoices choices = UnattendedChoices(options.startup);
    choices.datumIndex = options.dayOffset + 2;
    if (options.history) {
        choices.history = true;
        for (const QString &code : options.currencies)
            choices.historyCurrencies.append({code, true});
        choices.fromDateText = FormatShortDate(DateTime::fromDate(options.from));
        choices.toDateText = FormatShortDate(DateTime::fromDate(options.to));
        if (const auto failure = CheckHistoryPeriod(int(choices.historyCurrencies.size()), choices.fromDateText,
                                                    choices.toDateText, today))
            return usageError(err, failure->message);
    }

    const SourceSettings sources = ReadSourceSettings(options.settingsPath);
    RateSession session(sources, ReadProxySettings(options.settingsPath), TransferSettings{sources.CAFile});
    ConsoleView view(out, err);
    view.setStepLabels(ConnectStepLabels);
    if (options.history) {
        AcquireRateHistory(choices, view, session, today);
    } else {
        std::unique_ptr<RateFetch> fetch;
        if (options.inputPath.isEmpty())
            fetch = std::make_unique<NetworkRateFetch>(session.HttpClient);
        else
            fetch = std::make_unique<SavedAnswerFetch>(options.inputPath);
        if (AcquireCurrentRates(choices, view, session, *fetch, today) && !session.CurrencyRatesCurrent)
            view.ShowWarning(NotCurrentWarning);
    }

    if (view.errorCount() == 0 && view.rateList())
        out << RateListText(*view.rateList());
    out << u"Az adatbázis nem változott (/show)."_s << Qt::endl;
    return view.errorCount() > 0 ? 1 : 0;
}
