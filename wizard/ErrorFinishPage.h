#pragma once

class QPlainTextEdit;
class QWidget;

// Page 6: the end of a failed run, with the numbered error messages.
struct ErrorFinishPage {
    QWidget *page = nullptr;
    QPlainTextEdit *errorMemo = nullptr;
};

ErrorFinishPage buildErrorFinishPage(QWidget *notebook);
