#include "wizard/HistorySettingsPage.h"

#include "run/StepLabels.h"
#include "wizard/PageControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Four, two and two digits, each of them optional, blanks shown as "_";
// the dots are part of the text.
const QString DateMask = u"0000.00.00;_"_s;

QLineEdit *dateField(QWidget *page, const QString &name, QLabel *label, QPoint position, int width)
{
    auto *field = new QLineEdit(page);
    field->setObjectName(name);
    field->setInputMask(DateMask);
    field->setGeometry(position.x(), position.y(), width, field->sizeHint().height());
    field->setAccessibleName(label->text());
    label->setBuddy(field);
    return field;
}

} // namespace

HistorySettingsPage buildHistorySettingsPage(QWidget *notebook)
{
    HistorySettingsPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"HistorySettings"_s);

    p.connectDatabase =
        addStep(p.page, u"ConnectDatabaseImage"_s, u"ConnectDatabaseLabel"_s, {96, 40}, HistoryDatabaseStepLabels[0]);
    p.bankStep = addStep(p.page, u"Image1"_s, u"Label1"_s, {96, 72},
                         u"Csatlakozás a kiválasztott bank szerveréhez, alapadatok letöltése..."_s);

    p.lvConnectDatabase = addListView(p.page, u"lvConnectDatabase"_s, {96, 120, 161, 121});
    p.lvConnectDatabase->setHeaderLabels({u"Pénznem"_s});
    p.lvConnectDatabase->setColumnWidth(0, 75);

    p.historyQueryLabel1 = addLabel(p.page, u"HistoryQueryLabel1"_s, u"Lekérdezés kezdőnapja"_s, {272, 120});
    p.meFromDate = dateField(p.page, u"meFromDate"_s, p.historyQueryLabel1, {328, 136}, 64);
    p.historyQueryLabel2 = addLabel(p.page, u"HistoryQueryLabel2"_s, u"Lekérdezés zárónapja"_s, {272, 168});
    p.meToDate = dateField(p.page, u"meToDate"_s, p.historyQueryLabel2, {328, 184}, 65);
    return p;
}
