#pragma once

#include "export/SuiteConnection.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "startup/StartupSettings.h"
#include "wizard/ConnectPage.h"
#include "wizard/DatabaseInsertPage.h"
#include "wizard/ErrorFinishPage.h"
#include "wizard/FinishedPage.h"
#include "wizard/HistorySettingsPage.h"
#include "wizard/SettingsPage.h"
#include "wizard/WelcomePage.h"
#include "wizard/WindowFrame.h"
#include "wizard/WizardView.h"

#include <QDate>
#include <QWidget>
#include <functional>
#include <memory>

// The wizard window. Its page handler drives every run: entering a page
// starts that page's work, and the two working pages go on to the next
// page by themselves. Everything runs on the window's thread; the working
// pages let pending messages through while they work.
class CurrencyExchangeQueryMainForm : public QWidget {
    Q_OBJECT

public:
    using DateSource = std::function<QDate()>;

    // settingsPath: the settings file, beside the executable in a real run.
    // today: the date the run takes for today.
    CurrencyExchangeQueryMainForm(const StartupSettings &settings, const QString &settingsPath,
                                  DateSource today = &QDate::currentDate, QWidget *parent = nullptr);

    // What the pages hold for the run, as the working operations read it.
    RunChoices runChoices() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildPages();
    void loadBanks();

    void notebookPageChanged(int index);
    void nextButtonClick();
    void backButtonClick();
    void cancelButtonClick();
    void bankClick();
    void banksSelect();

    void enterHistorySettings();
    void enterConnect();
    void enterSettings();
    void enterDatabaseInsert();
    void enterFinished();
    void enterErrorFinish();
    void showHeader(int page);
    void disableButtons();
    void updateNextButton();
    bool historySettingsPass();
    bool historyRun() const;
    // Runs a working operation; an error it lets escape is reported as a
    // numbered message and the error page shown.
    void guarded(const std::function<void()> &work);

    const StartupSettings m_startup;
    const QString m_settingsPath;
    const DateSource m_today;
    const ConnectionSettings m_database;
    const SourceSettings m_sources;
    RateSession m_session;

    WindowHeader m_header;
    WelcomePage m_welcome;
    HistorySettingsPage m_historySettings;
    ConnectPage m_connect;
    SettingsPage m_settings;
    DatabaseInsertPage m_databaseInsert;
    FinishedPage m_finished;
    ErrorFinishPage m_errorFinish;
    ButtonRow m_buttons;
    std::unique_ptr<WizardView> m_view;

    bool m_firstActivate = true;
    // Page handlers running, one inside the other.
    int m_handlerDepth = 0;
    // A close asked for while a handler ran, carried out once all returned.
    bool m_closeWhenIdle = false;
};
