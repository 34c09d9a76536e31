#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <cstdint>
#include <functional>
#include <vector>

#include "interchange/multicopy.h"
#include "model/glyph.h"
#include "model/ui/dialog_services.h"

class QMenu;
class QMimeData;

namespace typeloom::ui {

// The selection grid of the Multi Copy and Multi Paste dialogs: 16 cells a row over the
// given rows of a code space, each with a row header. Selectable cells are white when
// selected and grey when not; the others are white or grey as `ownCode` says. Every
// selectable cell is selected at first. A click makes a cell current (red frame); a right
// click also offers "&Toggle character", "&Disable row" and "&Enable row" on selectable
// cells. Left/Right and Up/Down move the current cell; Page Up/Down, Home, End and the wheel
// scroll. Only the rows in view are painted.
class MultiSelectionGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    struct Source {
        std::function<bool(int code)> selectable;
        std::function<bool(int code)> ownCode;
        std::function<const Glyph*(int code)> glyph;
        int glyphRows = 0;
    };
    MultiSelectionGrid(int encoding, std::vector<int> rows, Source source,
                       QWidget* parent = nullptr);

    // Selected codes, ascending.
    std::vector<std::uint16_t> selectedCodes() const;
    bool isSelected(int code) const { return m_selected[static_cast<std::size_t>(code)]; }
    int currentCode() const;
    void setCurrentPosition(int position);
    QRect positionRect(int position) const;
    int positionAt(QPoint point) const;
    QMenu* popupMenu() const { return m_menu; }
    int topRow() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateScrollRange();
    void setRowSelected(bool selected);

    int m_encoding;
    std::vector<int> m_rows;
    Source m_source;
    std::vector<bool> m_selected;
    int m_current = -1;  // position
    int m_headerWidth = 0;
    QMenu* m_menu = nullptr;
};

// "Multi Copy Characters": the font's characters to choose; "&Multi Copy" puts the block of
// the chosen ones on the clipboard.
class MultiCopyDialog : public QDialog {
    Q_OBJECT
  public:
    MultiCopyDialog(const Font& font, DialogServices services, QWidget* parent = nullptr);
    MultiSelectionGrid* grid() const { return m_grid; }
    void accept() override;

  private:
    const Font& m_font;
    DialogServices m_services;
    MultiSelectionGrid* m_grid = nullptr;
};

// "Multi Paste Characters": the clipboard's characters over the font's code space;
// "&Multi Paste" writes the chosen ones into the font (asking first when the heights differ).
class MultiPasteDialog : public QDialog {
    Q_OBJECT
  public:
    MultiPasteDialog(Font& font, MultiCopyData block, DialogServices services,
                     QWidget* parent = nullptr);
    MultiSelectionGrid* grid() const { return m_grid; }
    bool pasted() const { return m_pasted; }
    void accept() override;

  private:
    Font& m_font;
    MultiCopyData m_data;
    std::vector<Glyph> m_glyphs;  // the records' glyphs, by record index
    DialogServices m_services;
    MultiSelectionGrid* m_grid = nullptr;
    bool m_pasted = false;
};

// The multi-copy block on the clipboard (empty when there is none).
std::vector<std::uint8_t> clipboardMultiCopyBlock();

// Runs Multi Copy on the font.
void runMultiCopy(QWidget* parent, const Font& font, const DialogServices& services);
// Runs Multi Paste with the clipboard's block; returns whether the font changed.
bool runMultiPaste(QWidget* parent, Font& font, const DialogServices& services);

}  // namespace typeloom::ui
