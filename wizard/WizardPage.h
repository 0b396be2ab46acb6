#pragma once

// The wizard's pages in the order the notebook holds them.
namespace WizardPage {
enum : int {
    Welcome,
    HistorySettings,
    Connect,
    Settings,
    DatabaseInsert,
    Finished,
    ErrorFinish,
    Count,
};
} // namespace WizardPage
