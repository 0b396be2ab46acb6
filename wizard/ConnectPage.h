#pragma once

#include "wizard/StepMarkers.h"

#include <QVector>

class QWidget;

// Page 2: fetching the rates, in five steps.
struct ConnectPage {
    QWidget *page = nullptr;
    QVector<StepIndicator> steps;
};

ConnectPage buildConnectPage(QWidget *notebook);
