#pragma once

class QLabel;
class QWidget;

// Page 5: the end of a successful run, with the program's name and
// version, the distributor and the credits.
struct FinishedPage {
    QWidget *page = nullptr;
    QLabel *programNameLabel = nullptr;
};

FinishedPage buildFinishedPage(QWidget *notebook);
