#pragma once

#include "fakes/FakeMnbServer.h"
#include "fakes/FakeOtpServer.h"
#include "fakes/SuiteDatabase.h"
#include "wizard/CurrencyExchangeQueryMainForm.h"

#include <QDate>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class RadioGroup;
class SelfSignedCertificate;

// What the window tests share: the fake banks with a settings file, suite
// databases, the window driven the way a user drives it, and recorders of
// its pages and message boxes.
namespace WizardTest {

// The day the window takes for today: a Friday on which both fakes quote.
inline const QDate Friday(2026, 9, 18);
// The network and the database answer within this.
inline constexpr int DeadlineMs = 10000;

inline const QString CentralBank = QStringLiteral("Magyar Nemzeti Bank (MNB)");
inline const QString OtpBank = QStringLiteral("OTP Bank (OTP)");
inline const QString CentralBankSection = QStringLiteral("Magyar Nemzeti Bank");
inline const QString OtpSection = QStringLiteral("Országos TakarékPénztár");

// Made once per test process.
const SelfSignedCertificate &testCertificate();

// The banks MNB, OTP and KHB, forint and a few currencies, books in forint.
void fillSuite(const SuiteDatabase &db);
// Every table of the suite, row by row in key order, each row prefixed with
// its table: what a test compares to see that nothing changed.
QList<QStringList> suiteContents(const SuiteDatabase &db);
// The rate rows: DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP in key order.
QList<QStringList> rateRows(const SuiteDatabase &db);
// A rate as the database gives it back.
QString storedNumber(double value);

QByteArray fileBytes(const QString &path);
// The key=value lines of one section of a settings file, in file order.
QStringList sectionLines(const QString &path, const QString &section);

// The lines an error adds to ErrorMemo: the numbered header, the message's
// lines, a line of one blank.
QStringList memoEntry(int number, const QStringList &messageLines);
// The message of a failed download, as the window words it.
QStringList downloadFailure(const QString &address, const QString &errorText);
// The message of an OTP table that yields no rate.
QStringList pageAnalysisFailure(const QString &origin);

} // namespace WizardTest

// Both fake banks on loopback, the central bank over HTTP with its current
// day on Friday and OTP Bank over HTTPS, and a settings file in a folder of
// its own that points the window at them.
class FakeSources {
public:
    FakeSources();

    QString folder() const { return m_folder.path(); }
    QString settingsPath() const;
    // Points the central bank's or OTP Bank's address elsewhere.
    void rewriteSettings(const QString &mnbServiceUrl, const QString &otpBaseUrl);
    // Adds text to the settings file, e.g. a stored selection.
    void appendSettings(const QString &text);

    FakeMnbServer mnb;
    FakeOtpServer otp;

private:
    QTemporaryDir m_folder;
};

// The wizard window made as the suite starts it, and the user's hands on it.
// Controls are found by their object names; a missing one throws, which the
// test reports as its failure.
class WizardWindow {
public:
    WizardWindow(const QStringList &arguments, const QString &settingsPath, const QDate &today = WizardTest::Friday);
    ~WizardWindow();
    WizardWindow(const WizardWindow &) = delete;
    WizardWindow &operator=(const WizardWindow &) = delete;

    CurrencyExchangeQueryMainForm &form() { return *m_form; }
    // Shows the window; false when it did not reach the screen.
    bool show();
    bool isVisible() const;
    // The object name of the page on show.
    QString page() const;

    template<typename T>
    T *control(const QString &name) const
    {
        T *widget = m_form->findChild<T *>(name);
        if (!widget)
            missing(name);
        return widget;
    }

    RadioGroup *bankGroup() const;
    RadioGroup *rateTypeGroup() const;
    RadioGroup *datumGroup() const;
    QComboBox *suiteCodes() const;
    QCheckBox *onlyMiddle() const;
    QCheckBox *history() const;
    QPushButton *backButton() const;
    QPushButton *nextButton() const;
    QPushButton *cancelButton() const;
    QTreeWidget *rateList() const;
    QTreeWidget *historyCurrencies() const;
    QLineEdit *fromDate() const;
    QLineEdit *toDate() const;
    QPlainTextEdit *errorMemo() const;

    // The radio buttons of a group, in item order.
    static QList<QRadioButton *> items(const RadioGroup *group);
    static QStringList itemTexts(const RadioGroup *group);
    // The button of the chosen item; none when nothing is chosen.
    static QRadioButton *chosen(const RadioGroup *group);

    // A mouse click on the group's item of that text.
    void choose(RadioGroup *group, const QString &text);
    void chooseBank(const QString &label) { choose(bankGroup(), label); }
    // A mouse click on the box.
    void toggle(QCheckBox *box);
    // Each action lets the window redraw afterwards, as the user sees the
    // screen before the next one.
    void press(QPushButton *button);
    void pressNext() { press(nextButton()); }
    void pressBack() { press(backButton()); }
    void pressCancel() { press(cancelButton()); }
    // Picks the entry of the suite's bank codes with the keyboard, as a
    // user who opens the list does.
    void pickSuiteCode(const QString &entry);
    // Types into a date field over whatever it held.
    void typeDate(QLineEdit *field, const QString &digits);

    // The line whose first column is code; throws when there is none.
    static QTreeWidgetItem *line(const QTreeWidget *list, const QString &code);
    // A mouse click on the line's tick box.
    static void clickTickBox(QTreeWidget *list, const QString &code);
    // The codes of the ticked lines, in list order.
    static QStringList tickedCodes(const QTreeWidget *list);
    static QStringList codes(const QTreeWidget *list);
    // The column captions.
    static QStringList columns(const QTreeWidget *list);
    // Every cell of every line, tab-separated, a line per list line.
    static QStringList cells(const QTreeWidget *list);
    // True when some line carries a tick box, ticked or not.
    static bool hasTickBoxes(const QTreeWidget *list);

private:
    [[noreturn]] static void missing(const QString &name);

    std::unique_ptr<CurrencyExchangeQueryMainForm> m_form;
};

// Answers every modal message box as a user would: notes its icon, caption
// and text, then presses its OK button.
class MessageBoxAnswerer : public QObject {
public:
    struct Box {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
    };

    MessageBoxAnswerer();

    QList<Box> boxes() const { return m_boxes; }
    QStringList texts() const;
    // Runs while the box is up, before OK is pressed.
    std::function<void(QMessageBox *)> whileShown;

private:
    void look();

    QTimer m_timer;
    QList<Box> m_boxes;
    QList<QPointer<QMessageBox>> m_answered;
};

// The pages the window went through, each with its header band and the
// state of its buttons as last drawn on that page: what the user saw. A
// working page never waits for the user, but it redraws its steps as it
// goes, and every drawing is looked at.
class PageTrail : public QObject {
public:
    explicit PageTrail(WizardWindow &window);
    ~PageTrail() override;

    // One entry per page visit, in order: "Page | title | description |
    // back next cancel" with each button written as its caption when
    // enabled and "-" when not.
    QStringList entries() const;
    QStringList pages() const;

    // Runs once, soon after the window is first seen on that page: at the
    // next processing of pending events, which a working page does while
    // it works.
    void onFirstVisit(const QString &page, std::function<void()> action);

    static QString entry(const QString &page, const QString &title, const QString &description, bool back, bool next,
                         const QString &cancel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString page() const;
    void look();

    QWidget *m_form;
    QStackedWidget *m_notebook;
    QLabel *m_title;
    QLabel *m_description;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_cancel;
    QList<QPair<QString, QString>> m_visits;
    QList<QPair<QString, std::function<void()>>> m_actions;
};
