#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QWidget;
class RadioGroup;

// Page 0: the bank, its rate type, the suite's code of the bank, the date
// rule and the two options.
struct WelcomePage {
    QWidget *page = nullptr;
    QLabel *label2 = nullptr;
    RadioGroup *bank = nullptr;
    QLabel *label3 = nullptr;
    QComboBox *banks = nullptr;
    RadioGroup *tipus = nullptr;
    RadioGroup *datum = nullptr;
    QCheckBox *cbOnlyMiddleExchangeRate = nullptr;
    QCheckBox *cbQueryExchangeHistory = nullptr;
};

WelcomePage buildWelcomePage(QWidget *notebook);
