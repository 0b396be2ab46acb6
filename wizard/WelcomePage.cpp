#include "wizard/WelcomePage.h"

#include "wizard/PageControls.h"
#include "wizard/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// By day offset, -2 to +2.
const QStringList DatumItems = {
    u"T-2 nap (banki árfolyamnapot megelőző nap előtti nap)"_s,
    u"T-1 nap (banki árfolyamnapot megelőző nap)"_s,
    u"T (banki árfolyamnappal egyező nap)"_s,
    u"T+1 nap (banki árfolyamnapot követő nap)"_s,
    u"T+2 nap (banki árfolyamnapot követő nap utáni nap)"_s,
};
constexpr int DatumT = 2;

} // namespace

WelcomePage buildWelcomePage(QWidget *notebook)
{
    WelcomePage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"Welcome"_s);

    p.label2 = addLabel(p.page, u"Label2"_s, u"Kérem, a lekérdezés indítása előtt ellenőrizze a számitógép dátumát!"_s,
                        {11, 8});
    QFont reminder = p.label2->font();
    reminder.setPixelSize(16);
    p.label2->setFont(reminder);
    QPalette red = p.label2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    p.label2->setPalette(red);
    p.label2->setGeometry(11, 8, 506, p.label2->sizeHint().height());

    p.bank = new RadioGroup(u"Bank választás"_s, 2, p.page);
    p.bank->setObjectName(u"bank"_s);
    p.bank->setGeometry(16, 32, 497, 96);

    p.label3 = addLabel(p.page, u"Label3"_s, u"Bank kódja a Belmora rendszerében"_s, {16, 144});
    p.banks = new QComboBox(p.page);
    p.banks->setObjectName(u"banks"_s);
    p.banks->setGeometry(216, 136, 297, p.banks->sizeHint().height());
    p.banks->setAccessibleName(p.label3->text());
    p.label3->setBuddy(p.banks);

    p.tipus = new RadioGroup(u"Árfolyam-típus"_s, 1, p.page);
    p.tipus->setObjectName(u"tipus"_s);
    p.tipus->setGeometry(16, 160, 193, 105);

    p.datum = new RadioGroup(u"Dátum képzés"_s, 1, p.page);
    p.datum->setObjectName(u"datum"_s);
    p.datum->setGeometry(216, 160, 297, 105);
    p.datum->setItems(DatumItems);
    p.datum->setItemIndex(DatumT);

    p.cbOnlyMiddleExchangeRate =
        addCheckBox(p.page, u"cbOnlyMiddleExchangeRate"_s, u"Csak a középárfolyam használata"_s, {16, 264});
    p.cbQueryExchangeHistory =
        addCheckBox(p.page, u"cbQueryExchangeHistory"_s, u"Visszamenőleges lekérdezés"_s, {280, 264});
    return p;
}
