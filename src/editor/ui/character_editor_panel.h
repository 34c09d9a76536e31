#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "editor/ui/confirm_save_dialog.h"
#include "editor/working_glyph.h"

class QGroupBox;
class QLabel;
class QSlider;

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

class ColorSwatch;
class PixelGrid;
class ToolButton;

// The editor title for a glyph of that size and character: "Character Editor (w:%d * h:%d) -
// %04X <%c>" with the code in the font's encoding and the character itself. Characters 0, 10,
// 13 and 31 show as a space; character 30 is shown twice.
QString editorTitle(int width, int height, int code, int unicode);

// The panel around the pixel grid: the editor title, the fifteen tool buttons, the "Grid
// Zoom" slider and the "Colors" swatches. It also owns the rule for moving to another
// character: a changed glyph is stored without asking when "AutoSaveChar" is set, otherwise
// after the user confirms.
class CharacterEditorPanel : public QWidget {
    Q_OBJECT

  public:
    CharacterEditorPanel(Font& font, SettingsStore& settings, QWidget* parent = nullptr);

    PixelGrid* pixelGrid() const { return m_grid; }

    // Moves the editor to the character at `index`: settles the edited character (stores it
    // when "AutoSaveChar" is set or the user answers Yes, discards it on No), then loads the
    // new one. False, and nothing done, for the character already shown or an index the font
    // does not have.
    bool selectCharacter(int index);

    // The title from the grid's glyph; left as it is while the font has no characters.
    void updateTitle();
    QString title() const;
    // Shows the swatches for the font's bits per pixel (none for 1 bit, 4 for 2 bits, 16 for
    // 4 and 8 bits) and selects the darkest; nothing when the bits per pixel did not change.
    void layoutSwatches();
    // The next darker or lighter colour; nothing in a 1-bit font or at the end of the row.
    void nextSwatch();
    void previousSwatch();
    // Makes swatch i (from 0, white first) the drawing colour.
    void selectSwatch(int index);
    int selectedSwatch() const { return m_selectedSwatch; }
    int visibleSwatchCount() const { return m_swatchCount; }
    // Moves the zoom slider one step up or down.
    void stepZoomControl(bool in);

    // Controls, for the frame's key handling and for tests.
    ToolButton* toolButton(ToolId id) const;
    ColorSwatch* swatch(int index) const;
    QSlider* zoomSlider() const { return m_zoomSlider; }
    QLabel* zoomLabel() const { return m_zoomLabel; }
    QGroupBox* colorsBox() const { return m_colorsBox; }
    QLabel* titleLabel() const { return m_title; }
    // The active drawing tool; none after a one-shot command.
    std::optional<ToolId> activeTool() const { return m_activeTool; }

    // Asks whether to save the changed character; replaceable by tests. The default shows the
    // ConfirmSaveDialog.
    std::function<ConfirmSaveAnswer()> confirmSave;

  Q_SIGNALS:
    // A character was made current by selectCharacter: the characters list marks it.
    void characterSelected(int index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void toolClicked(ToolButton* button);
    void showActiveTool(ToolId tool);
    void zoomSliderMoved(int value);
    void gridZoomChanged(int zoom);
    void swatchClicked(int index);
    void applySwatch(int index);

    Font& m_font;
    SettingsStore& m_settings;
    PixelGrid* m_grid = nullptr;
    QLabel* m_title = nullptr;
    std::array<ToolButton*, 15> m_buttons{};
    QSlider* m_zoomSlider = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QGroupBox* m_colorsBox = nullptr;
    std::array<ColorSwatch*, 16> m_swatches{};
    int m_layoutBits = -1;  // bits per pixel of the last swatch layout, -1 before the first
    int m_swatchCount = 0;
    int m_selectedSwatch = -1;
    std::optional<ToolId> m_activeTool;
};

}  // namespace typeloom::ui
