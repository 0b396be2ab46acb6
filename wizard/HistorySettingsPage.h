#pragma once

#include "wizard/StepMarkers.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QWidget;

// Page 1, history runs only: the suite's currencies to tick and the first
// and last day of the period.
struct HistorySettingsPage {
    QWidget *page = nullptr;
    StepIndicator connectDatabase;
    // Never marked: the bank is reached on the Connect page.
    StepIndicator bankStep;
    QTreeWidget *lvConnectDatabase = nullptr;
    QLabel *historyQueryLabel1 = nullptr;
    QLineEdit *meFromDate = nullptr;
    QLabel *historyQueryLabel2 = nullptr;
    QLineEdit *meToDate = nullptr;
};

HistorySettingsPage buildHistorySettingsPage(QWidget *notebook);
