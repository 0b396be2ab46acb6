#include "wizard/SettingsPage.h"

#include "wizard/PageControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

SettingsPage buildSettingsPage(QWidget *notebook)
{
    SettingsPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"Settings"_s);

    p.settingsInfoLabel = addLabel(
        p.page, u"SettingsInfoLabel"_s,
        u"A pénznem előtti jelölőnégyzet segítségével kiválaszthatja, mely árfolyamokat kivánja importálni. A program "
        "ezt a beállítást tárolja, a későbbiekben csak a változtatásokat kell majd átvezetnie."_s,
        {16, 16});
    p.settingsInfoLabel->setWordWrap(true);
    p.settingsInfoLabel->setGeometry(16, 16, 497, 32);
    p.dateTimeLabel = addLabel(p.page, u"DateTimeLabel"_s, QString(), {16, 56});
    p.dateTimeLabel->setGeometry(16, 56, 497, p.dateTimeLabel->fontMetrics().height());

    p.listView = addListView(p.page, u"ListView"_s, {64, 72, 393, 129});

    p.cbCreateNonExistsCurrencies = addCheckBox(p.page, u"cbCreateNonExistsCurrencies"_s,
                                                u"Nemlétező devizanemek automatikus létrehozása"_s, {16, 208});
    p.cbCreateReversedExchanges =
        addCheckBox(p.page, u"cbCreateReversedExchanges"_s, u"Fordított árfolyamok létrehozása"_s, {16, 232});
    p.cbCreateCrossExchanges =
        addCheckBox(p.page, u"cbCreateCrossExchanges"_s,
                    u"Keresztárfolyamok létrehozása (nem forint könyvvezetésű cégek esetén)"_s, {16, 256});
    return p;
}
