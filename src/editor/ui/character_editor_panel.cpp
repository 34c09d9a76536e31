#include "editor/ui/character_editor_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "common/settings_store.h"
#include "editor/ui/color_swatch.h"
#include "editor/ui/editor_settings.h"
#include "editor/ui/pixel_grid.h"
#include "editor/ui/qt_glyph_image.h"
#include "editor/ui/tool_button.h"
#include "editor/working_glyph.h"
#include "model/font.h"
#include "model/font_settings.h"

namespace typeloom::ui {

namespace {

struct ToolEntry {
    ToolId id;
    const char* name;  // the button's object name
    const char* tip;
};

// Three buttons a row, in the order they sit on the panel.
constexpr std::array<ToolEntry, 15> kTools{{
    {ToolId::Select, "selectTool", "Select"},
    {ToolId::Line, "lineTool", "Line"},
    {ToolId::Pencil, "pencilTool", "Pencil <press Ctrl to erase>"},
    {ToolId::Rectangle, "rectangleTool", "Rectangle"},
    {ToolId::FilledRectangle, "filledRectangleTool", "Filled Rectangle"},
    {ToolId::Eraser, "eraserTool", "Eraser"},
    {ToolId::DeleteColumn, "deleteColumnButton",
     "Delete a column at the left side <press Ctrl at right side>"},
    {ToolId::MoveUp, "moveUpButton", "Move Up"},
    {ToolId::InsertColumn, "insertColumnButton",
     "Insert a column at the left side <press Ctrl at right side>"},
    {ToolId::MoveLeft, "moveLeftButton", "Move Left"},
    {ToolId::MoveDown, "moveDownButton", "Move Down"},
    {ToolId::MoveRight, "moveRightButton", "Move Right"},
    {ToolId::Invert, "invertButton", "Invert"},
    {ToolId::MirrorHorizontal, "mirrorHorizontalButton", "Horizontal Mirror"},
    {ToolId::MirrorVertical, "mirrorVerticalButton", "Vertical Mirror"},
}};

int swatchCountFor(int bits) {
    switch (bits) {
        case 2:
            return 4;
        case 4:
        case 8:
            return 16;
        default:
            return 0;
    }
}

QString zoomText(int zoom) {
    return QString::asprintf("%2dx", zoom);
}

}  // namespace

QString editorTitle(int width, int height, int code, int unicode) {
    QString character;
    if (unicode == 0 || unicode == 10 || unicode == 13 || unicode == 31) {
        character = QStringLiteral(" ");
    } else if (unicode == 30) {
        character = QString(2, QChar(char16_t(unicode)));
    } else {
        // A Qt label shows '&' as it is (a Windows static needed it doubled).
        character = QString(QChar(char16_t(unicode)));
    }
    return QStringLiteral("Character Editor (w:%1 * h:%2) - %3 <%4>")
        .arg(width)
        .arg(height)
        .arg(QString::asprintf("%04X", static_cast<unsigned>(code & 0xFFFF)))
        .arg(character);
}

CharacterEditorPanel::CharacterEditorPanel(Font& font, SettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_font(font), m_settings(settings) {
    setObjectName(QStringLiteral("CharacterEditorPanel"));
    m_grid = new PixelGrid(font, settings, this);

    // Tool buttons, three a row.
    auto* toolFrame = new QFrame(this);
    toolFrame->setObjectName(QStringLiteral("toolFrame"));
    toolFrame->setFrameShape(QFrame::StyledPanel);
    auto* toolGrid = new QGridLayout(toolFrame);
    toolGrid->setSpacing(2);
    toolGrid->setContentsMargins(4, 4, 4, 4);
    for (std::size_t i = 0; i < kTools.size(); ++i) {
        auto* button = new ToolButton(kTools[i].id, QString::fromLatin1(kTools[i].tip), toolFrame);
        button->setObjectName(QString::fromLatin1(kTools[i].name));
        m_buttons[i] = button;
        toolGrid->addWidget(button, static_cast<int>(i / 3), static_cast<int>(i % 3));
        connect(button, &ToolButton::clicked, this, [this, button] { toolClicked(button); });
    }

    // Zoom slider and its label.
    auto* zoomBox = new QGroupBox(QStringLiteral("Grid Zoom"), this);
    zoomBox->setObjectName(QStringLiteral("zoomBox"));
    m_zoomSlider = new QSlider(Qt::Horizontal, zoomBox);
    m_zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
    m_zoomSlider->setRange(kGridZoomMin, kGridZoomMax);
    m_zoomSlider->setPageStep(1);
    m_zoomSlider->setValue(m_grid->zoom());
    m_zoomLabel = new QLabel(zoomText(m_grid->zoom()), zoomBox);
    m_zoomLabel->setObjectName(QStringLiteral("zoomLabel"));
    auto* zoomLayout = new QHBoxLayout(zoomBox);
    zoomLayout->addWidget(m_zoomSlider, 1);
    zoomLayout->addWidget(m_zoomLabel);
    connect(m_zoomSlider, &QSlider::valueChanged, this, &CharacterEditorPanel::zoomSliderMoved);
    connect(m_grid, &PixelGrid::zoomChanged, this, &CharacterEditorPanel::gridZoomChanged);

    // Colour swatches, four rows of four.
    m_colorsBox = new QGroupBox(QStringLiteral("Colors"), this);
    m_colorsBox->setObjectName(QStringLiteral("colorsBox"));
    auto* swatchGrid = new QGridLayout(m_colorsBox);
    swatchGrid->setSpacing(2);
    for (int i = 0; i < 16; ++i) {
        auto* swatch = new ColorSwatch(m_colorsBox);
        swatch->setObjectName(QStringLiteral("colorSwatch%1").arg(i));
        m_swatches[static_cast<std::size_t>(i)] = swatch;
        swatchGrid->addWidget(swatch, i / 4, i % 4);
        connect(swatch, &ColorSwatch::clicked, this, [this, i] { swatchClicked(i); });
    }

    m_title = new QLabel(QStringLiteral("Character Editor"), this);
    m_title->setObjectName(QStringLiteral("editorTitle"));
    m_title->setTextFormat(Qt::PlainText);

    auto* left = new QVBoxLayout;
    left->addWidget(toolFrame);
    left->addWidget(zoomBox);
    left->addWidget(m_colorsBox);
    left->addStretch(1);
    // The grid scrolls when the glyph at its zoom does not fit the pane, and takes the room the
    // pane has when it does.
    auto* gridScroll = new QScrollArea(this);
    gridScroll->setObjectName(QStringLiteral("gridScroll"));
    gridScroll->setFrameShape(QFrame::NoFrame);
    gridScroll->setWidgetResizable(true);
    gridScroll->setWidget(m_grid);
    auto* right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(gridScroll, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_grid, &PixelGrid::titleChanged, this, &CharacterEditorPanel::updateTitle);
    connect(m_grid, &PixelGrid::toolChanged, this, &CharacterEditorPanel::showActiveTool);
    showActiveTool(m_grid->tool());

    confirmSave = [this] { return ConfirmSaveDialog::ask(this); };
    layoutSwatches();
}

// --- Moving between characters

bool CharacterEditorPanel::selectCharacter(int index) {
    if (index == m_grid->currentIndex() || index < 0 || index >= m_font.count()) {
        return false;
    }
    if (m_grid->isChanged()) {
        if (m_settings.integer(kSettingsSection, kAutoSaveCharKey, kAutoSaveCharDefault) != 0) {
            m_grid->storeEditedGlyph();
        } else {
            const ConfirmSaveAnswer answer = confirmSave();
            if (answer.save) {
                m_grid->storeEditedGlyph();
                if (answer.dontAskAgain) {
                    m_settings.writeInteger(kSettingsSection, kAutoSaveCharKey, 1);
                }
            }
        }
    }
    m_grid->loadCharacter(index);
    emit characterSelected(index);
    return true;
}

// --- Title

void CharacterEditorPanel::updateTitle() {
    if (m_font.count() == 0 || !m_grid->hasCharacter()) {
        // Nothing is edited (an empty font): the plain title, not the last character's.
        m_title->setText(QStringLiteral("Character Editor"));
        return;
    }
    const WorkingGlyph& glyph = m_grid->workingGlyph();
    m_title->setText(editorTitle(glyph.width(), glyph.height(), glyph.code(), glyph.unicode()));
}

QString CharacterEditorPanel::title() const {
    return m_title->text();
}

// --- Tools

ToolButton* CharacterEditorPanel::toolButton(ToolId id) const {
    for (ToolButton* button : m_buttons) {
        if (button->id() == id) {
            return button;
        }
    }
    return nullptr;
}

void CharacterEditorPanel::toolClicked(ToolButton* button) {
    m_grid->setTool(button->id(), button->ctrlHeld());
    // A one-shot command leaves no drawing tool active even when the grid's tool was already
    // that command.
    showActiveTool(m_grid->tool());
}

void CharacterEditorPanel::showActiveTool(ToolId tool) {
    m_activeTool = isDrawingTool(tool) ? std::optional<ToolId>(tool) : std::nullopt;
    for (ToolButton* button : m_buttons) {
        button->setActiveTool(button->id() == m_activeTool);
    }
}

// --- Zoom

void CharacterEditorPanel::zoomSliderMoved(int value) {
    m_zoomLabel->setText(zoomText(value));
    if (value != m_grid->zoom()) {
        m_grid->setZoom(value);
    }
}

void CharacterEditorPanel::gridZoomChanged(int zoom) {
    if (m_zoomSlider->value() != zoom) {
        const QSignalBlocker block(m_zoomSlider);
        m_zoomSlider->setValue(zoom);
    }
    m_zoomLabel->setText(zoomText(zoom));
}

void CharacterEditorPanel::stepZoomControl(bool in) {
    m_zoomSlider->setValue(m_zoomSlider->value() + (in ? 1 : -1));
}

// --- Colours

ColorSwatch* CharacterEditorPanel::swatch(int index) const {
    return index >= 0 && index < 16 ? m_swatches[static_cast<std::size_t>(index)] : nullptr;
}

void CharacterEditorPanel::layoutSwatches() {
    const int bits = static_cast<int>(m_font.bitsPerPixel);
    if (bits == m_layoutBits) {
        return;
    }
    m_layoutBits = bits;
    m_swatchCount = swatchCountFor(bits);
    for (int i = 0; i < 16; ++i) {
        ColorSwatch* s = m_swatches[static_cast<std::size_t>(i)];
        s->setVisible(i < m_swatchCount);
        s->setSelected(false);
        if (i < m_swatchCount) {
            const int grey = swatchGrey(i, m_swatchCount);
            s->setColor(QColor(grey, grey, grey));
        }
    }
    m_colorsBox->setVisible(m_swatchCount > 0);
    m_selectedSwatch = -1;
    if (m_swatchCount > 0) {
        // The darkest colour; chosen afresh, since a colour of the previous depth means
        // nothing in this one.
        applySwatch(m_swatchCount - 1);
    } else {
        // A 1-bit font draws ink.
        m_colorsBox->setTitle(QStringLiteral("Colors"));
        m_grid->setCurrentColor(1);
    }
}

void CharacterEditorPanel::selectSwatch(int index) {
    if (index == m_selectedSwatch || index < 0 || index >= m_swatchCount) {
        return;
    }
    applySwatch(index);
}

void CharacterEditorPanel::applySwatch(int index) {
    if (m_selectedSwatch >= 0) {
        m_swatches[static_cast<std::size_t>(m_selectedSwatch)]->setSelected(false);
    }
    m_selectedSwatch = index;
    m_swatches[static_cast<std::size_t>(index)]->setSelected(true);
    // The 16 swatches of an 8-bit font cover 0 to 255.
    const int value = m_layoutBits == 8 ? index * 17 : index;
    m_grid->setCurrentColor(value);
    m_colorsBox->setTitle(QStringLiteral("Color: %1").arg(value));
}

void CharacterEditorPanel::swatchClicked(int index) {
    selectSwatch(index);
}

void CharacterEditorPanel::nextSwatch() {
    if (m_swatchCount > 0 && m_selectedSwatch + 1 < m_swatchCount) {
        selectSwatch(m_selectedSwatch + 1);
    }
}

void CharacterEditorPanel::previousSwatch() {
    if (m_swatchCount > 0 && m_selectedSwatch > 0) {
        selectSwatch(m_selectedSwatch - 1);
    }
}

// --- Keys

void CharacterEditorPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11 && event->modifiers() == Qt::ControlModifier) {
        if (m_grid->isChanged()) {
            m_grid->undo();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace typeloom::ui
