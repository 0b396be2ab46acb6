#pragma once

#include <QString>
#include <QStringList>

// The five steps shown while the rates are fetched, and while they are
// written into the suite's database.
inline const QStringList ConnectStepLabels = {
    QStringLiteral("Csatlakozás a bank szerveréhez..."),
    QStringLiteral("Árfolyaminformációkat tartalmazó oldal letöltése..."),
    QStringLiteral("Árfolyaminformációkat tartalmazó oldal elemzése...."),
    QStringLiteral("Árfolyam-táblázat létrehozása a Belmora Ügyviteli Rendszer számára..."),
    QStringLiteral("Bank szerverével létrehozott kapcsolat bontása..."),
};

inline const QStringList DatabaseStepLabels = {
    QStringLiteral("Csatlakozás a Belmora Ügyviteli Rendszer 2022 adatbázisához..."),
    QStringLiteral("Devizanemek ellenőrzése..."),
    QStringLiteral("Nemlétező devizanemek létrehozása..."),
    QStringLiteral("Kiválasztott árfolyamok létrehozása..."),
    QStringLiteral("Adatbáziskapcsolat megszüntetése..."),
};

// The history page's one database step.
inline const QStringList HistoryDatabaseStepLabels = {DatabaseStepLabels[0]};
