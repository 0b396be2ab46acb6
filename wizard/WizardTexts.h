#pragma once

#include <QString>

// The texts of the window frame: its caption, the program's name with its
// version, and the header band of each page.

extern const QString WindowCaption;
extern const QString ProgramName;

struct PageHeader {
    QString title;
    QString description;
};

// The header band on entering a page; the Settings page reads differently
// in a history run.
PageHeader pageHeader(int page, bool history);
