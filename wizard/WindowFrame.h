#pragma once

class QLabel;
class QPushButton;
class QStackedWidget;
class QWidget;

// The frame of the wizard window, 528 × 386: the white header band with
// the icon and the page's title and description, the page area between two
// separator lines, and the button row.

struct WindowHeader {
    QLabel *titleLabel = nullptr;
    QLabel *descriptionLabel = nullptr;
    QStackedWidget *notebook = nullptr;
};

struct ButtonRow {
    QPushButton *backButton = nullptr;
    QPushButton *nextButton = nullptr;
    QPushButton *cancelButton = nullptr;
};

inline constexpr int WindowWidth = 528;
inline constexpr int WindowHeight = 386;

WindowHeader buildWindowHeader(QWidget *window);
// Built after the pages, so that the keyboard reaches the buttons last.
ButtonRow buildButtonRow(QWidget *window);
