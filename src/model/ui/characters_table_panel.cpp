#include "model/ui/characters_table_panel.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

#include "model/ui/character_list_grid.h"

namespace typeloom::ui {

namespace {

// Margin of the buttons from the bottom and right edges, and between the buttons and between
// them and the grid.
constexpr int kButtonMargin = 10;
// The caption's distance from the panel's top-left corner and from the grid below it.
constexpr int kCaptionMargin = 4;

}  // namespace

CharactersTablePanel::CharactersTablePanel(Font& font, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CharactersTablePanel"));
    m_caption = new QLabel(QStringLiteral("Characters Table"), this);
    m_grid = new CharacterListGrid(font, this);
    m_editTable = new QPushButton(QStringLiteral("Edit Table..."), this);
    m_editTable->setObjectName(QStringLiteral("editTable"));
    m_help = new QPushButton(QStringLiteral("&Help"), this);
    m_help->setObjectName(QStringLiteral("help"));
    // The buttons leave the keyboard with the list, where the arrow keys pick characters.
    m_editTable->setFocusPolicy(Qt::TabFocus);
    m_help->setFocusPolicy(Qt::TabFocus);
    setFocusProxy(m_grid);

    // The Edit Characters Table dialog is made available by the main window.
    m_editTable->setEnabled(false);
    connect(m_editTable, &QPushButton::clicked, this, &CharactersTablePanel::editTableRequested);
    connect(m_help, &QPushButton::clicked, this,
            [this] { Q_EMIT helpRequested(QString::fromLatin1(kCharactersTableHelpTopic)); });
    placeChildren();
}

void CharactersTablePanel::setEditTableAvailable(bool available) {
    m_editTable->setEnabled(available);
}

void CharactersTablePanel::pressEditTable() {
    if (m_editTable->isEnabled()) {
        m_editTable->click();
    }
}

void CharactersTablePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

void CharactersTablePanel::placeChildren() {
    // The buttons keep their size, 10 pixels above the bottom edge, side by side 10 pixels
    // apart, the right one ending 10 pixels from the right edge.
    const QSize helpSize = m_help->sizeHint();
    const QSize editSize = m_editTable->sizeHint();
    const int buttonHeight = std::max(helpSize.height(), editSize.height());
    const int buttonTop = height() - kButtonMargin - buttonHeight;
    const int helpLeft = width() - kButtonMargin - helpSize.width();
    m_help->setGeometry(helpLeft, buttonTop, helpSize.width(), buttonHeight);
    m_editTable->setGeometry(helpLeft - kButtonMargin - editSize.width(), buttonTop,
                             editSize.width(), buttonHeight);

    const QSize captionSize = m_caption->sizeHint();
    m_caption->setGeometry(kCaptionMargin, kCaptionMargin, captionSize.width(),
                           captionSize.height());
    // The grid: the full width, from below the caption down to 10 pixels above the buttons.
    const int gridTop = kCaptionMargin + captionSize.height() + kCaptionMargin;
    m_grid->setGeometry(0, gridTop, width(), std::max(buttonTop - kButtonMargin - gridTop, 0));
}

}  // namespace typeloom::ui
