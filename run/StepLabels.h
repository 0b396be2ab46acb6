#pragma once

#include <QString>
#include <array>

// The five steps shown while the rates are fetched, and while they are
// written into the suite's database.
inline const std::array<QString, 5> ConnectStepLabels = {
    QStringLiteral("Csatlakozás a bank szerveréhez..."),
    QStringLiteral("Árfolyaminformációkat tartalmazó oldal letöltése..."),
    QStringLiteral("Árfolyaminformációkat tartalmazó oldal elemzése...."),
    QStringLiteral("Árfolyam-táblázat létrehozása a Belmora Ügyviteli Rendszer számára..."),
    QStringLiteral("Bank szerverével létrehozott kapcsolat bontása..."),
};

inline const std::array<QString, 5> DatabaseStepLabels = {
    QStringLiteral("Csatlakozás a Belmora Ügyviteli Rendszer 2022 adatbázisához..."),
    QStringLiteral("Devizanemek ellenőrzése..."),
    QStringLiteral("Nemlétező devizanemek létrehozása..."),
    QStringLiteral("Kiválasztott árfolyamok létrehozása..."),
    QStringLiteral("Adatbáziskapcsolat megszüntetése..."),
};
