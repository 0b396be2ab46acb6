#include "startup/SettingsFile.h"
#include "startup/StartupSettings.h"
#include "startup/Switches.h"
#include "wizard/CurrencyExchangeQueryMainForm.h"

#include <QApplication>
#include <QMessageBox>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // The program's number and date formats are fixed in its own formatting
    // routines; nothing process-wide is switched.
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const StartupSettings settings = readStartupSettings(args);

    const bool databaseNamed = findParamByPrefix(args, u"/d") != 0;
    if (const std::optional<QString> missing = missingDatabaseMessage(settings, databaseNamed)) {
        QMessageBox box(QMessageBox::Critical, MissingDatabaseCaption, *missing, QMessageBox::Ok);
        box.exec();
        return 0;
    }

    QGuiApplication::setApplicationDisplayName(ApplicationTitle);
    CurrencyExchangeQueryMainForm form(settings, settingsFilePath());
    form.show();
    app.exec();
    // Whatever happened, the suite sees success: failures were shown.
    return 0;
}
