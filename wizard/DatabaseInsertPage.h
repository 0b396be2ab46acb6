#pragma once

#include "wizard/StepMarkers.h"

#include <QVector>

class QProgressBar;
class QWidget;

// Page 4: writing into the suite's database, in five steps, with the
// progress bar of a history run below the fourth.
struct DatabaseInsertPage {
    QWidget *page = nullptr;
    QVector<StepIndicator> steps;
    QProgressBar *pbDatabaseInsert = nullptr;
};

DatabaseInsertPage buildDatabaseInsertPage(QWidget *notebook);
