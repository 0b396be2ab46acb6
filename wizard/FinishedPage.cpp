#include "wizard/FinishedPage.h"

#include "wizard/PageControls.h"
#include "wizard/WindowFont.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

constexpr int CaptionX = 88;
constexpr int CaptionWidth = 121;
constexpr int ValueX = 232;

const QString CreditsText = u"libcurl: HTTP és HTTPS adatátvitel, a curl licenc\n"
                            "(MIT/X-típusú) feltételei szerint.\n"
                            "OpenSSL: a HTTPS kapcsolatok TLS titkosítása,\n"
                            "az Apache License 2.0 feltételei szerint."_s;

void addCaption(QWidget *page, const QString &text, int y)
{
    QLabel *caption = addLabel(page, QString(), text, {CaptionX, y});
    caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    caption->setGeometry(CaptionX, y, CaptionWidth, caption->height());
}

void addBoldLabel(QWidget *page, const QString &text, QPoint position, const QFont &font)
{
    QLabel *label = addLabel(page, QString(), text, position);
    label->setFont(font);
    label->adjustSize();
}

} // namespace

FinishedPage buildFinishedPage(QWidget *notebook)
{
    FinishedPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"Finished"_s);
    const QFont font = notebook->font();

    p.programNameLabel = addLabel(p.page, u"ProgramNameLabel"_s, QString(), {90, 24});
    p.programNameLabel->setFont(boldFont(font, 10));

    addCaption(p.page, u"Kizárólagos forgalmazó:"_s, 56);
    addBoldLabel(p.page, u"Belmora Kft."_s, {ValueX, 56}, boldFont(font));
    addLabel(p.page, QString(), u"4025 Debrecen, Példa utca 12."_s, {328, 56});
    addCaption(p.page, u"Telefon, fax:"_s, 80);
    addLabel(p.page, QString(), u"(06-52) 555-0140, (06-52) 555-0141"_s, {ValueX, 80});
    addCaption(p.page, u"Email:"_s, 104);
    addLabel(p.page, QString(), u"info@belmora-kft.example"_s, {ValueX, 104});
    addCaption(p.page, u"Honlap:"_s, 128);
    addLabel(p.page, QString(), u"www.belmora-kft.example"_s, {ValueX, 128});

    addBoldLabel(p.page, u"Felhasznált programrészek"_s, {170, 160}, boldFont(font, 10));
    addCaption(p.page, u"libcurl és OpenSSL:"_s, 192);
    QLabel *credits = addLabel(p.page, QString(), CreditsText, {ValueX, 192});
    credits->setGeometry(ValueX, 192, 281, 52);
    credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return p;
}
