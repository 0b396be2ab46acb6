#include "wizard/CurrencyExchangeQueryMainForm.h"

#include "run/DatabaseLookups.h"
#include "run/HistoryChecks.h"
#include "run/RateAcquisition.h"
#include "run/RateFetch.h"
#include "run/RateImport.h"
#include "sources/BankCatalogue.h"
#include "startup/Formats.h"
#include "startup/IniFile.h"
#include "startup/TextHelpers.h"
#include "wizard/ListViewLines.h"
#include "wizard/ProgramIcon.h"
#include "wizard/RadioGroup.h"
#include "wizard/StepMarkers.h"
#include "wizard/WindowFont.h"
#include "wizard/WizardPage.h"
#include "wizard/WizardTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// How long an unattended run shows its Finished page before the window closes.
constexpr int UnattendedFinishedMs = 2500;

// Counts a page handler for as long as it runs.
class HandlerScope {
public:
    explicit HandlerScope(int &depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~HandlerScope() { --m_depth; }
    HandlerScope(const HandlerScope &) = delete;
    HandlerScope &operator=(const HandlerScope &) = delete;

private:
    int &m_depth;
};

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace

CurrencyExchangeQueryMainForm::CurrencyExchangeQueryMainForm(const StartupSettings &settings,
                                                             const QString &settingsPath, DateSource today,
                                                             QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_startup(settings)
    , m_settingsPath(settingsPath)
    , m_today(std::move(today))
    , m_database(connectionSettings(settings))
    , m_sources(readSourceSettings(settingsPath))
    , m_session(m_sources, readProxySettings(settingsPath), transferSettings(m_sources))
{
    setFont(windowFont());
    QPalette face = palette();
    face.setColor(QPalette::Window, FaceColour);
    setPalette(face);
    setFixedSize(WindowWidth, WindowHeight);
    setWindowIcon(programIcon());
    buildPages();

    QStringList banks;
    for (const BankInfo &bank : bankCatalogue())
        banks << bank.label;
    m_welcome.bank->setItems(banks);
    m_welcome.tipus->setItems({});
    setWindowTitle(WindowCaption);
    QGuiApplication::setApplicationDisplayName(WindowCaption);
    m_finished.programNameLabel->setText(ProgramName);
    m_finished.programNameLabel->adjustSize();

    const RunChoices preset = m_startup.silent ? unattendedChoices(m_startup) : RunChoices();
    if (m_startup.silent) {
        m_welcome.bank->setItemIndex(preset.bankIndex);
        m_settings.cbCreateNonExistsCurrencies->setChecked(preset.createMissingCurrencies);
        m_settings.cbCreateReversedExchanges->setChecked(preset.createReversedRates);
    }
    notebookPageChanged(WizardPage::Welcome);
    bankClick();
    // The switches win over the bank's defaults where the bank allows them.
    if (m_startup.silent) {
        m_welcome.tipus->setItemIndex(preset.rateTypeIndex);
        m_welcome.cbOnlyMiddleExchangeRate->setChecked(preset.onlyMiddleRate);
    }

    const QDate day = m_today();
    m_historySettings.meFromDate->setText(formatShortDate(DateTime::fromDate(QDate(day.year(), 1, 1))));
    m_historySettings.meToDate->setText(formatShortDate(DateTime::fromDate(day)));
    m_settings.cbCreateCrossExchanges->setEnabled(m_startup.crossRatesEnabled);
    m_settings.cbCreateCrossExchanges->setChecked(m_startup.createCrossRates);
    loadBanks();

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void CurrencyExchangeQueryMainForm::buildPages()
{
    m_header = buildWindowHeader(this);
    QStackedWidget *notebook = m_header.notebook;
    m_welcome = buildWelcomePage(notebook);
    m_historySettings = buildHistorySettingsPage(notebook);
    m_connect = buildConnectPage(notebook);
    m_settings = buildSettingsPage(notebook);
    m_databaseInsert = buildDatabaseInsertPage(notebook);
    m_finished = buildFinishedPage(notebook);
    m_errorFinish = buildErrorFinishPage(notebook);
    for (QWidget *page : {m_welcome.page, m_historySettings.page, m_connect.page, m_settings.page,
                          m_databaseInsert.page, m_finished.page, m_errorFinish.page})
        notebook->addWidget(page);
    m_buttons = buildButtonRow(this);

    m_view = std::make_unique<WizardView>(
        WizardView::Widgets{this, notebook, m_errorFinish.page, m_errorFinish.errorMemo, m_settings.listView,
                            m_settings.dateTimeLabel, m_databaseInsert.pbDatabaseInsert});

    connect(notebook, &QStackedWidget::currentChanged, this, &CurrencyExchangeQueryMainForm::notebookPageChanged);
    connect(m_buttons.nextButton, &QPushButton::clicked, this, &CurrencyExchangeQueryMainForm::nextButtonClick);
    connect(m_buttons.backButton, &QPushButton::clicked, this, &CurrencyExchangeQueryMainForm::backButtonClick);
    connect(m_buttons.cancelButton, &QPushButton::clicked, this, &CurrencyExchangeQueryMainForm::cancelButtonClick);
    connect(m_welcome.bank, &RadioGroup::itemClicked, this, &CurrencyExchangeQueryMainForm::bankClick);
    connect(m_welcome.banks, &QComboBox::activated, this, &CurrencyExchangeQueryMainForm::banksSelect);
}

void CurrencyExchangeQueryMainForm::loadBanks()
{
    guarded([this] {
        if (const std::optional<QStringList> codes = loadBankCodes(m_database, *m_view))
            m_welcome.banks->addItems(*codes);
    });
    m_welcome.banks->setCurrentIndex(-1);
}

RunChoices CurrencyExchangeQueryMainForm::runChoices() const
{
    RunChoices c;
    c.bankIndex = m_welcome.bank->itemIndex();
    c.rateTypeIndex = m_welcome.tipus->itemIndex();
    c.datumIndex = m_welcome.datum->itemIndex();
    c.onlyMiddleRate = m_welcome.cbOnlyMiddleExchangeRate->isChecked();
    c.history = m_welcome.cbQueryExchangeHistory->isChecked();
    c.createMissingCurrencies = m_settings.cbCreateNonExistsCurrencies->isChecked();
    c.createCrossRates = m_settings.cbCreateCrossExchanges->isChecked();
    c.createReversedRates = m_settings.cbCreateReversedExchanges->isChecked();
    c.suiteBankItem = m_welcome.banks->currentText();
    c.rateListTicks = lineTicks(m_settings.listView);
    c.historyCurrencies = lineTicks(m_historySettings.lvConnectDatabase);
    c.fromDateText = m_historySettings.meFromDate->text();
    c.toDateText = m_historySettings.meToDate->text();
    c.silent = m_startup.silent;
    return c;
}

void CurrencyExchangeQueryMainForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_firstActivate)
        return;
    m_firstActivate = false;
    // Queued, so that the window is on the screen before the run starts.
    if (m_startup.silent) {
        QMetaObject::invokeMethod(
            this, [this] { m_header.notebook->setCurrentIndex(WizardPage::Connect); }, Qt::QueuedConnection);
    }
}

void CurrencyExchangeQueryMainForm::closeEvent(QCloseEvent *event)
{
    // Never in the middle of a page's work: a download or an insert would be
    // cut off.
    if (m_handlerDepth > 0)
        event->ignore();
    else
        event->accept();
}

void CurrencyExchangeQueryMainForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_handlerDepth == 0 && m_buttons.cancelButton->isEnabled())
        cancelButtonClick();
}

void CurrencyExchangeQueryMainForm::notebookPageChanged(int index)
{
    {
        const HandlerScope scope(m_handlerDepth);
        m_buttons.backButton->setEnabled(index > WizardPage::Welcome);
        m_buttons.nextButton->setEnabled(index < WizardPage::ErrorFinish);
        // The new page is drawn before its work starts.
        m_view->processMessages();
        switch (index) {
        case WizardPage::Welcome:
            showHeader(index);
            break;
        case WizardPage::HistorySettings:
            enterHistorySettings();
            break;
        case WizardPage::Connect:
            enterConnect();
            break;
        case WizardPage::Settings:
            enterSettings();
            break;
        case WizardPage::DatabaseInsert:
            enterDatabaseInsert();
            break;
        case WizardPage::Finished:
            enterFinished();
            break;
        case WizardPage::ErrorFinish:
            enterErrorFinish();
            break;
        }
    }
    if (m_handlerDepth == 0 && m_closeWhenIdle) {
        m_closeWhenIdle = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void CurrencyExchangeQueryMainForm::enterHistorySettings()
{
    showHeader(WizardPage::HistorySettings);
    QTreeWidget *list = m_historySettings.lvConnectDatabase;
    list->clear();
    m_view->setSteps({m_historySettings.connectDatabase});
    guarded([this, list] {
        if (const std::optional<QStringList> codes = loadHistoryCurrencies(m_database, *m_view)) {
            for (const QString &code : *codes)
                addTickedLine(list, {code}, true);
        }
    });
}

void CurrencyExchangeQueryMainForm::enterConnect()
{
    disableButtons();
    showHeader(WizardPage::Connect);
    m_view->setSteps(m_connect.steps);
    const RunChoices choices = runChoices();
    guarded([this, &choices] {
        if (choices.history) {
            acquireRateHistory(choices, *m_view, m_session, m_today());
        } else {
            NetworkRateFetch fetch(m_session.httpClient);
            acquireCurrentRates(choices, *m_view, m_session, fetch, m_today());
        }
    });
    m_buttons.cancelButton->setEnabled(true);
    nextButtonClick();
}

void CurrencyExchangeQueryMainForm::enterSettings()
{
    const bool history = historyRun();
    showHeader(WizardPage::Settings);
    m_settings.settingsInfoLabel->setVisible(!history);
    m_settings.cbCreateNonExistsCurrencies->setVisible(!history);
    if (history) {
        removeTickBoxes(m_settings.listView);
        m_settings.cbCreateCrossExchanges->setEnabled(tickedLineCount(m_historySettings.lvConnectDatabase) > 1);
    }
    m_buttons.backButton->setEnabled(false);
    const BankInfo *bank = bankAt(m_welcome.bank->itemIndex());
    if (!m_startup.silent && !history && bank) {
        QTreeWidget *list = m_settings.listView;
        setLineTicks(list, readStoredSelection(m_settingsPath, bank->selectionSection, lineCodes(list)));
    }
    if (!m_session.currencyRatesCurrent)
        m_view->showWarning(NotCurrentWarning);
}

void CurrencyExchangeQueryMainForm::enterDatabaseInsert()
{
    disableButtons();
    const RunChoices choices = runChoices();
    const BankInfo *bank = bankAt(choices.bankIndex);
    if (!m_startup.silent && !choices.history && bank) {
        // The insert goes ahead without the stored selection.
        try {
            storeSelection(m_settingsPath, bank->selectionSection, choices.rateListTicks);
        } catch (const IniWriteError &e) {
            m_view->showWarning(e.message());
        }
    }
    showHeader(WizardPage::DatabaseInsert);
    m_view->setSteps(m_databaseInsert.steps);
    guarded([this, &choices] {
        if (choices.history)
            writeHistoricalRates(choices, *m_view, m_session, m_database);
        else
            writeCurrentRates(choices, *m_view, m_session, m_database);
    });
    nextButtonClick();
}

void CurrencyExchangeQueryMainForm::enterFinished()
{
    showHeader(WizardPage::Finished);
    m_buttons.nextButton->setEnabled(false);
    m_buttons.backButton->setEnabled(false);
    m_buttons.cancelButton->setText(u"Kilépés"_s);
    if (!m_startup.silent) {
        m_buttons.cancelButton->setEnabled(true);
        return;
    }
    m_buttons.cancelButton->setEnabled(false);
    QEventLoop wait;
    QTimer::singleShot(UnattendedFinishedMs, &wait, &QEventLoop::quit);
    wait.exec();
    m_closeWhenIdle = true;
}

void CurrencyExchangeQueryMainForm::enterErrorFinish()
{
    showHeader(WizardPage::ErrorFinish);
    m_buttons.nextButton->setEnabled(false);
    m_buttons.backButton->setEnabled(false);
    m_buttons.cancelButton->setText(u"Kilépés"_s);
    m_buttons.cancelButton->setEnabled(true);
}

void CurrencyExchangeQueryMainForm::nextButtonClick()
{
    const int index = m_header.notebook->currentIndex();
    if (index == WizardPage::HistorySettings && !historySettingsPass())
        return;
    int target = index + 1;
    if (m_startup.silent && target == WizardPage::Settings)
        target = WizardPage::DatabaseInsert;
    if (!historyRun() && target == WizardPage::HistorySettings)
        target = WizardPage::Connect;
    // The working pages advance after a failure too: from the error page,
    // which is the last, nothing follows.
    if (target < WizardPage::Count)
        m_header.notebook->setCurrentIndex(target);
}

void CurrencyExchangeQueryMainForm::backButtonClick()
{
    m_header.notebook->setCurrentIndex(m_header.notebook->currentIndex() - 1);
}

void CurrencyExchangeQueryMainForm::cancelButtonClick()
{
    if (m_handlerDepth > 0)
        m_closeWhenIdle = true;
    else
        close();
}

void CurrencyExchangeQueryMainForm::bankClick()
{
    if (const BankInfo *bank = bankAt(m_welcome.bank->itemIndex())) {
        m_welcome.tipus->setItems(bank->rateTypes);
        m_welcome.tipus->setItemIndex(0);
        m_welcome.tipus->setEnabled(bank->rateTypesEnabled);
        m_welcome.cbOnlyMiddleExchangeRate->setChecked(bank->onlyMiddleChecked);
        m_welcome.cbOnlyMiddleExchangeRate->setEnabled(bank->onlyMiddleEnabled);
        if (bank->history == HistoryOption::Uncheck)
            m_welcome.cbQueryExchangeHistory->setChecked(false);
        m_welcome.cbQueryExchangeHistory->setEnabled(bank->historyEnabled);
        QComboBox *banks = m_welcome.banks;
        banks->setCurrentIndex(indexOfPrefix(comboItems(banks), bank->code));
    }
    updateNextButton();
}

void CurrencyExchangeQueryMainForm::banksSelect()
{
    updateNextButton();
}

void CurrencyExchangeQueryMainForm::updateNextButton()
{
    m_buttons.nextButton->setEnabled(bankAt(m_welcome.bank->itemIndex()) && m_welcome.banks->currentIndex() >= 0);
}

bool CurrencyExchangeQueryMainForm::historySettingsPass()
{
    const std::optional<HistoryCheckFailure> failure =
        checkHistoryPeriod(tickedLineCount(m_historySettings.lvConnectDatabase), m_historySettings.meFromDate->text(),
                           m_historySettings.meToDate->text(), m_today());
    if (!failure)
        return true;
    QMessageBox::critical(this, windowTitle(), failure->message);
    switch (failure->focus) {
    case HistoryField::CurrencyList:
        m_historySettings.lvConnectDatabase->setFocus();
        break;
    case HistoryField::FromDate:
        m_historySettings.meFromDate->setFocus();
        break;
    case HistoryField::ToDate:
        m_historySettings.meToDate->setFocus();
        break;
    }
    return false;
}

bool CurrencyExchangeQueryMainForm::historyRun() const
{
    return m_welcome.cbQueryExchangeHistory->isChecked();
}

void CurrencyExchangeQueryMainForm::showHeader(int page)
{
    const PageHeader header = pageHeader(page, historyRun());
    m_header.titleLabel->setText(header.title);
    m_header.descriptionLabel->setText(header.description);
}

void CurrencyExchangeQueryMainForm::disableButtons()
{
    m_buttons.backButton->setEnabled(false);
    m_buttons.nextButton->setEnabled(false);
    m_buttons.cancelButton->setEnabled(false);
}

void CurrencyExchangeQueryMainForm::guarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        m_view->reportError(QString::fromUtf8(e.what()));
        m_view->showErrorPage();
    }
}
