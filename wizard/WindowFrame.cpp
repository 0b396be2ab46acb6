#include "wizard/WindowFrame.h"

#include "wizard/ProgramIcon.h"
#include "wizard/WindowFont.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int HeaderHeight = 57;
constexpr int SeparatorHeight = 2;
constexpr int ButtonRowHeight = 41;
constexpr int NotebookTop = HeaderHeight + SeparatorHeight;
constexpr int ButtonRowTop = WindowHeight - ButtonRowHeight;
constexpr int NotebookHeight = ButtonRowTop - SeparatorHeight - NotebookTop;

void addSeparator(QWidget *window, int y)
{
    auto *line = new QFrame(window);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, y, WindowWidth, SeparatorHeight);
}

QLabel *headerLabel(QWidget *header, const QString &name)
{
    auto *label = new QLabel(header);
    label->setObjectName(name);
    // Texts are shown as they are: no rich text, no "&" accelerators.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(QWidget *row, const QString &name, const QString &text, int x)
{
    auto *button = new QPushButton(text, row);
    button->setObjectName(name);
    button->setGeometry(x, 8, 75, 25);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

} // namespace

WindowHeader buildWindowHeader(QWidget *window)
{
    auto *header = new QWidget(window);
    header->setObjectName(u"HeaderPanel"_s);
    header->setGeometry(0, 0, WindowWidth, HeaderHeight);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    header->setPalette(white);
    header->setAutoFillBackground(true);

    auto *icon = new QLabel(header);
    icon->setObjectName(u"ProgramImage"_s);
    icon->setGeometry(0, 0, HeaderHeight, HeaderHeight);
    icon->setPixmap(programPixmap(HeaderHeight));

    WindowHeader frame;
    frame.titleLabel = headerLabel(header, u"TitleLabel"_s);
    frame.titleLabel->setFont(boldFont(window->font()));
    frame.titleLabel->setGeometry(64, 8, 457, QFontMetrics(frame.titleLabel->font()).height() + 1);
    frame.descriptionLabel = headerLabel(header, u"DescriptionLabel"_s);
    frame.descriptionLabel->setWordWrap(true);
    frame.descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    frame.descriptionLabel->setGeometry(64, 24, 457, 27);
    addSeparator(window, HeaderHeight);

    frame.notebook = new QStackedWidget(window);
    frame.notebook->setObjectName(u"Notebook"_s);
    frame.notebook->setGeometry(0, NotebookTop, WindowWidth, NotebookHeight);
    return frame;
}

ButtonRow buildButtonRow(QWidget *window)
{
    addSeparator(window, ButtonRowTop - SeparatorHeight);
    auto *row = new QWidget(window);
    row->setGeometry(0, ButtonRowTop, WindowWidth, ButtonRowHeight);
    return {button(row, u"BackButton"_s, u"< Vissza"_s, 293), button(row, u"NextButton"_s, u"Tovább >"_s, 368),
            button(row, u"CancelButton"_s, u"Mégsem"_s, 448)};
}
