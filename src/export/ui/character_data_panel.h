#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "export/char_data_text.h"
#include "export/ui/export_ui_hooks.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

class DataFormatDialog;

// The character data panel: the data units of the character being edited as C or assembler
// text, the options of that text, and the way into the "Bitmap Data Format" dialog. The
// options change the font's data-format word directly ("Detail info" sets 0x01000000, "Pure
// data" clears it; "C Language" sets 0x00100000, "ASM" clears it; "Invert bits" sets or
// clears 0x02000000), and every change refreshes the text.
//
// The text follows the glyph on screen, read through the glyph source the main window gives:
// refreshPanel() rebuilds it at once, scheduleRefresh() at most once per frame (a stroke
// changes the glyph far more often than a screen shows it).
//
// Bit inspector: hovering a unit in the text reports it (unitHovered), and markUnit() marks a
// unit's text for a pixel hovered in the grid.
//
// Object names: radioPureData, radioDetailInfo, radioC, radioAsm, checkInvertBits,
// buttonDataFormat, buttonCopy, buttonSaveAs, buttonRefresh, dataText.
class CharacterDataPanel : public QWidget {
    Q_OBJECT

  public:
    // The glyph on screen: its index in the font (-1: none), its width and its pixels.
    struct GlyphOnScreen {
        int index = -1;
        int width = 0;
        std::span<const std::uint8_t> pixels;
    };

    CharacterDataPanel(Font& font, SettingsStore& settings, QWidget* parent = nullptr);

    void setGlyphSource(std::function<GlyphOnScreen()> source);

    // Rebuilds the text now from the glyph on screen and the font's word.
    void refreshPanel();
    // Rebuilds it on the next frame; calls before then are one rebuild.
    void scheduleRefresh();
    bool refreshPending() const { return m_frameTimer.isActive(); }
    // Sets the "Invert bits" check box without other effect.
    void setInvertCheck(bool on);
    // "Data &Format...": the dialog and, on OK, its word into the font and the text.
    void pressDataFormat();
    // "&Copy": all of the text to the clipboard.
    void copyText();
    // "&Save As": the text into a C or assembler file.
    void saveTextAs();

    QString text() const;
    QPlainTextEdit* textField() const { return m_text; }
    const exporters::CharacterData& data() const { return m_data; }

    // --- Bit inspector
    // The unit whose text holds a position of the text field (-1 for none).
    int unitAtTextPosition(int position) const;
    // The text field's range of a unit: first position and length (0 for none).
    std::pair<int, int> unitTextRange(int unit) const;
    // Marks a unit's text (-1 clears the mark).
    void markUnit(int unit);
    int markedUnit() const { return m_markedUnit; }
    // The unit of a pixel of the glyph on screen (-1 when the pixel has none).
    int unitOfPixel(int x, int y) const;
    // "unit N, bit B, value 0xVV" for a pixel of the glyph on screen, empty when it has none.
    QString describePixel(int x, int y) const;
    // The pixels (row-major indices) a unit holds.
    std::vector<int> pixelsOfUnit(int unit) const;

    // --- Modal questions, replaceable by tests
    ExportUiHooks hooks;
    // Runs the data-format dialog; returns QDialog::Accepted or Rejected.
    std::function<int(DataFormatDialog& dialog)> runDialog;

  Q_SIGNALS:
    // The font's data-format word changed (an option of the panel or the dialog).
    void wordChanged();
    // The pointer is over a unit's text in the field (-1: over none).
    void unitHovered(int unit);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setWordBit(std::uint32_t bit, bool on);
    void showOptions();
    void hoverTextAt(QPoint viewportPoint);
    // Marks a unit's text without scrolling.
    void showMark(int unit);

    Font& m_font;
    SettingsStore& m_settings;
    std::function<GlyphOnScreen()> m_source;
    QTimer m_frameTimer;
    exporters::CharacterData m_data;
    // Positions in the field's text of every unit: first position and length.
    std::vector<std::pair<int, int>> m_unitRanges;
    int m_markedUnit = -1;
    int m_hoveredUnit = -1;
    int m_shownIndex = -1;  // the character the text shows

    QRadioButton* m_pure = nullptr;
    QRadioButton* m_detail = nullptr;
    QRadioButton* m_c = nullptr;
    QRadioButton* m_asm = nullptr;
    QCheckBox* m_invert = nullptr;
    QPlainTextEdit* m_text = nullptr;
};

}  // namespace typeloom::ui
