#include "WizardHarness.h"

#include "cli/CliHarness.h"
#include "fakes/SelfSignedCertificate.h"
#include "startup/StartupSettings.h"
#include "wizard/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace WizardTest {

const SelfSignedCertificate &testCertificate()
{
    static const SelfSignedCertificate certificate;
    return certificate;
}

void fillSuite(const SuiteDatabase &db)
{
    db.execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('KHB', 'K&H Bank')"_s,
                u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                u"INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', 'Országos TakarékPénztár')"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('JPY', 'jen', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'dollár', 2)"_s,
                u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s});
}

QList<QStringList> suiteContents(const SuiteDatabase &db)
{
    QList<QStringList> contents;
    const QList<std::pair<QString, QString>> tables = {
        {u"VHELY"_s, u"SELECT KOD, NEV FROM VHELY ORDER BY KOD"_s},
        {u"DEVIZA"_s, u"SELECT KOD, NEV, TIZ FROM DEVIZA ORDER BY KOD"_s},
        {u"CNFKOZOS"_s, u"SELECT KONYVDEV FROM CNFKOZOS ORDER BY KONYVDEV"_s},
        {u"ARFOLYAM"_s,
         u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM ORDER BY BANK, DKOD, DKKOD, DAT"_s},
    };
    for (const auto &[table, select] : tables) {
        for (QStringList row : db.rows(select)) {
            row.prepend(table);
            contents << row;
        }
    }
    return contents;
}

QList<QStringList> rateRows(const SuiteDatabase &db)
{
    return db.rows(
        u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM ORDER BY BANK, DKOD, DKKOD, DAT"_s);
}

QString storedNumber(double value)
{
    return QString::number(value, 'g', 17);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList sectionLines(const QString &path, const QString &section)
{
    QStringList lines;
    bool inside = false;
    for (QString line : QString::fromUtf8(fileBytes(path)).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inside = line.compare(u'[' + section + u']', Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inside && !line.isEmpty())
            lines << line;
    }
    return lines;
}

QStringList memoEntry(int number, const QStringList &messageLines)
{
    return QStringList{u"[Hibaüzenet sorszáma: %1]"_s.arg(number)} + messageLines + QStringList{u" "_s};
}

QStringList downloadFailure(const QString &address, const QString &errorText)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
    return {u"Hiba történt a weboldal megnyitása közben:"_s,
            QString(),
            address,
            QString(),
            u"Hibaüzenet: "_s + errorText,
            QString(),
            u"Lehetséges megoldások:"_s,
            u" - Ellenőrizze a számítógépe hálózati kapcsolatát."_s,
            u" - Ha a számítógépet vagy a hálózatot tűzfal vagy proxy védi, ellenőrizze, hogy az "
            "Árfolyamlekérdező (%1) számára engedélyezett-e a webhozzáférés."_s.arg(program)};
}

QStringList pageAnalysisFailure(const QString &origin)
{
    return {u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben. Előfordulhat, hogy megváltozott "
            "vagy hibás a weboldal. Kérem ellenőrizze a weboldal tartalmát a böngészőjén keresztül"_s,
            QString(), origin + u"/portal/hu/Arfolyamok/OTP"_s};
}

} // namespace WizardTest

using namespace WizardTest;

FakeSources::FakeSources()
    : otp(testCertificate())
{
    if (!m_folder.isValid())
        throw std::runtime_error("No temporary folder for the settings file.");
    mnb.setCurrentDay(Friday);
    rewriteSettings(mnb.url(), otp.origin());
}

QString FakeSources::settingsPath() const
{
    return m_folder.filePath(u"arfolyam.ini"_s);
}

void FakeSources::rewriteSettings(const QString &mnbServiceUrl, const QString &otpBaseUrl)
{
    writeSettings(settingsPath(), {mnbServiceUrl, otpBaseUrl, testCertificate().certificatePath()});
}

void FakeSources::appendSettings(const QString &text)
{
    QFile file(settingsPath());
    if (!file.open(QIODevice::Append) || file.write(text.toUtf8()) < 0)
        throw std::runtime_error("The settings file cannot be extended.");
}

WizardWindow::WizardWindow(const QStringList &arguments, const QString &settingsPath, const QDate &today)
    : m_form(std::make_unique<CurrencyExchangeQueryMainForm>(readStartupSettings(arguments), settingsPath,
                                                             [today] { return today; }))
{
}

WizardWindow::~WizardWindow() = default;

bool WizardWindow::show()
{
    m_form->show();
    // An unattended run may put up a box at once, which then is the active
    // window: exposed is all there is to wait for.
    return QTest::qWaitForWindowExposed(m_form.get());
}

bool WizardWindow::isVisible() const
{
    return m_form->isVisible();
}

QString WizardWindow::page() const
{
    const QWidget *current = control<QStackedWidget>(u"Notebook"_s)->currentWidget();
    return current ? current->objectName() : QString();
}

RadioGroup *WizardWindow::bankGroup() const
{
    return control<RadioGroup>(u"bank"_s);
}

RadioGroup *WizardWindow::rateTypeGroup() const
{
    return control<RadioGroup>(u"tipus"_s);
}

RadioGroup *WizardWindow::datumGroup() const
{
    return control<RadioGroup>(u"datum"_s);
}

QComboBox *WizardWindow::suiteCodes() const
{
    return control<QComboBox>(u"banks"_s);
}

QCheckBox *WizardWindow::onlyMiddle() const
{
    return control<QCheckBox>(u"cbOnlyMiddleExchangeRate"_s);
}

QCheckBox *WizardWindow::history() const
{
    return control<QCheckBox>(u"cbQueryExchangeHistory"_s);
}

QPushButton *WizardWindow::backButton() const
{
    return control<QPushButton>(u"BackButton"_s);
}

QPushButton *WizardWindow::nextButton() const
{
    return control<QPushButton>(u"NextButton"_s);
}

QPushButton *WizardWindow::cancelButton() const
{
    return control<QPushButton>(u"CancelButton"_s);
}

QTreeWidget *WizardWindow::rateList() const
{
    return control<QTreeWidget>(u"ListView"_s);
}

QTreeWidget *WizardWindow::historyCurrencies() const
{
    return control<QTreeWidget>(u"lvConnectDatabase"_s);
}

QLineEdit *WizardWindow::fromDate() const
{
    return control<QLineEdit>(u"meFromDate"_s);
}

QLineEdit *WizardWindow::toDate() const
{
    return control<QLineEdit>(u"meToDate"_s);
}

QPlainTextEdit *WizardWindow::errorMemo() const
{
    return control<QPlainTextEdit>(u"ErrorMemo"_s);
}

QList<QRadioButton *> WizardWindow::items(const RadioGroup *group)
{
    // Buttons are made in item order; findChildren keeps that order.
    return group->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly);
}

QStringList WizardWindow::itemTexts(const RadioGroup *group)
{
    QStringList texts;
    for (const QRadioButton *button : items(group))
        texts << button->text();
    return texts;
}

QRadioButton *WizardWindow::chosen(const RadioGroup *group)
{
    for (QRadioButton *button : items(group)) {
        if (button->isChecked())
            return button;
    }
    return nullptr;
}

void WizardWindow::choose(RadioGroup *group, const QString &text)
{
    for (QRadioButton *button : items(group)) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCoreApplication::processEvents();
            return;
        }
    }
    missing(group->objectName() + u": "_s + text);
}

void WizardWindow::toggle(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void WizardWindow::press(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void WizardWindow::pickSuiteCode(const QString &entry)
{
    QComboBox *combo = suiteCodes();
    const int target = combo->findText(entry);
    if (target < 0)
        missing(u"banks: "_s + entry);
    if (combo->currentIndex() < 0 || combo->currentIndex() > target)
        QTest::keyClick(combo, Qt::Key_Home);
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    QCoreApplication::processEvents();
}

void WizardWindow::typeDate(QLineEdit *field, const QString &digits)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, digits);
    QCoreApplication::processEvents();
}

QTreeWidgetItem *WizardWindow::line(const QTreeWidget *list, const QString &code)
{
    const QList<QTreeWidgetItem *> found = list->findItems(code, Qt::MatchExactly, 0);
    if (found.isEmpty())
        missing(list->objectName() + u": "_s + code);
    return found.first();
}

void WizardWindow::clickTickBox(QTreeWidget *list, const QString &code)
{
    QTreeWidgetItem *item = line(list, code);
    list->scrollToItem(item);
    // Where the list's delegate draws the box and looks for the click.
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(item);
    option.rect.setLeft(list->header()->sectionViewportPosition(0));
    option.rect.setWidth(list->header()->sectionSize(0));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    option.font = list->font();
    option.fontMetrics = list->fontMetrics();
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    QCoreApplication::processEvents();
}

QStringList WizardWindow::tickedCodes(const QTreeWidget *list)
{
    QStringList ticked;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            ticked << item->text(0);
    }
    return ticked;
}

QStringList WizardWindow::codes(const QTreeWidget *list)
{
    QStringList codes;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        codes << list->topLevelItem(i)->text(0);
    return codes;
}

QStringList WizardWindow::columns(const QTreeWidget *list)
{
    QStringList captions;
    for (int i = 0; i < list->columnCount(); ++i)
        captions << list->headerItem()->text(i);
    return captions;
}

QStringList WizardWindow::cells(const QTreeWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            row << list->topLevelItem(i)->text(c);
        lines << row.join(u'\t');
    }
    return lines;
}

bool WizardWindow::hasTickBoxes(const QTreeWidget *list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->data(0, Qt::CheckStateRole).isValid() || (item->flags() & Qt::ItemIsUserCheckable))
            return true;
    }
    return false;
}

void WizardWindow::missing(const QString &name)
{
    throw std::runtime_error("The window has no control " + name.toStdString());
}

MessageBoxAnswerer::MessageBoxAnswerer()
{
    // A box runs its own event loop, which serves this timer too.
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::look);
    m_timer.start();
}

QStringList MessageBoxAnswerer::texts() const
{
    QStringList texts;
    for (const Box &box : m_boxes)
        texts << box.text;
    return texts;
}

void MessageBoxAnswerer::look()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || m_answered.contains(box))
        return;
    m_answered << box;
    if (whileShown)
        whileShown(box);
    m_boxes << Box{box->icon(), box->windowTitle(), box->text()};
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        QTest::mouseClick(ok, Qt::LeftButton);
    else
        box->reject();
}

PageTrail::PageTrail(WizardWindow &window)
    : m_form(&window.form())
    , m_notebook(window.control<QStackedWidget>(u"Notebook"_s))
    , m_title(window.control<QLabel>(u"TitleLabel"_s))
    , m_description(window.control<QLabel>(u"DescriptionLabel"_s))
    , m_back(window.backButton())
    , m_next(window.nextButton())
    , m_cancel(window.cancelButton())
{
    qApp->installEventFilter(this);
    look();
}

PageTrail::~PageTrail()
{
    qApp->removeEventFilter(this);
}

QString PageTrail::entry(const QString &page, const QString &title, const QString &description, bool back, bool next,
                         const QString &cancel)
{
    return page + u" | "_s + title + u" | "_s + description + u" | "_s + (back ? u"< Vissza"_s : u"-"_s) + u' '
        + (next ? u"Tovább >"_s : u"-"_s) + u' ' + cancel;
}

QStringList PageTrail::entries() const
{
    QStringList entries;
    for (const auto &visit : m_visits)
        entries << visit.second;
    return entries;
}

QStringList PageTrail::pages() const
{
    QStringList pages;
    for (const auto &visit : m_visits)
        pages << visit.first;
    return pages;
}

void PageTrail::onFirstVisit(const QString &page, std::function<void()> action)
{
    m_actions.append({page, std::move(action)});
}

QString PageTrail::page() const
{
    const QWidget *current = m_notebook->currentWidget();
    return current ? current->objectName() : QString();
}

bool PageTrail::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != m_form && !m_form->isAncestorOf(widget)))
        return false;
    if (event->type() == QEvent::Paint)
        look();
    const QString current = page();
    for (int i = 0; i < m_actions.size(); ++i) {
        if (m_actions[i].first == current) {
            QMetaObject::invokeMethod(this, m_actions.takeAt(i).second, Qt::QueuedConnection);
            break;
        }
    }
    return false;
}

void PageTrail::look()
{
    const QString current = page();
    const QString seen = entry(current, m_title->text(), m_description->text(), m_back->isEnabled(),
                               m_next->isEnabled(), m_cancel->isEnabled() ? m_cancel->text() : u"-"_s);
    if (m_visits.isEmpty() || m_visits.last().first != current)
        m_visits.append({current, seen});
    else
        m_visits.last().second = seen;
}
