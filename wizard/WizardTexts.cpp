#include "wizard/WizardTexts.h"

#include "wizard/WizardPage.h"

using namespace Qt::StringLiterals;

// The trailing blank belongs to the caption.
const QString WindowCaption = u"Belmora árfolyam-lekérdező 2022 v" ARFOLYAM_VERSION " "_s;
const QString ProgramName = u"Belmora Árfolyam-lekérdező 2022 - verziószám: " ARFOLYAM_VERSION ""_s;

PageHeader pageHeader(int page, bool history)
{
    switch (page) {
    case WizardPage::Welcome:
        return {u"Üdvözli Önt a Belmora árfolyam-lekérdező"_s,
                u"Adja meg, melyik bank melyik árfolyam-típusát kívánja lekérdezni."_s};
    case WizardPage::HistorySettings:
        return {u"Devizák kiválasztása"_s, u"Jelölje ki a frissítendő devizanemeket és a lekérdezés intervallumát."_s};
    case WizardPage::Connect:
        return {u"Aktuális árfolyamok letöltése a kiválasztott bank szerveréről"_s,
                u"A program jelenleg az árfolyamokat kérdezi le a kiválasztott bank szerveréről. Kérjük várjon..."_s};
    case WizardPage::Settings:
        return {u"Devizák és árfolyamok áttekintése"_s,
                history ? u"Ezen a képernyőn importálás előtt megtekintheti a program által generált árfolyamokat"_s
                        : u"Ezen a képernyőn kiválaszthatja, mely devizákat kívánja importálni a Belmora Ügyviteli "
                          "Rendszer 2022 alá"_s};
    case WizardPage::DatabaseInsert:
        return {u"Devizanemek és árfolyamok létrehozás"_s,
                u"A program jelenleg a Belmora Ügyviteli Rendszer 2022-t aktualizálja a kiválasztott árfolyamok "
                "létrehozásával. Kis türelmet..."_s};
    case WizardPage::Finished:
        return {u"Devizanemek és árfolyamok létrehozása sikeresen megtörtént"_s,
                u"A program sikeresen frissítette a Belmora Ügyviteli Rendszer 2022-t a kiválasztott "
                "árfolyamokkal."_s};
    case WizardPage::ErrorFinish:
        return {u"Devizanemek és árfolyamok létrehozása nem sikerült"_s,
                u"A program nem tudta frissíteni a Belmora Ügyviteli Rendszer 2022-t. Az oko(ka)t a lenti listán "
                "láthatja."_s};
    default:
        return {};
    }
}
