#pragma once

class QCheckBox;
class QLabel;
class QTreeWidget;
class QWidget;

// Page 3: the fetched rates, the currencies to import and the import
// options.
struct SettingsPage {
    QWidget *page = nullptr;
    QLabel *settingsInfoLabel = nullptr;
    QLabel *dateTimeLabel = nullptr;
    QTreeWidget *listView = nullptr;
    QCheckBox *cbCreateNonExistsCurrencies = nullptr;
    QCheckBox *cbCreateReversedExchanges = nullptr;
    QCheckBox *cbCreateCrossExchanges = nullptr;
};

SettingsPage buildSettingsPage(QWidget *notebook);
