#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <cstdint>
#include <vector>

class QMenu;

namespace typeloom {
class Font;
}

namespace typeloom::ui {

inline constexpr int kTableCellWidth = 38;
inline constexpr int kTableCellHeight = 32;
inline const QColor kTableDisabledColour{192, 192, 192};

// Every code of the shown encoding's code space, 16 cells a row (16 rows for Ascii+ISO8859,
// 4096 otherwise), over the editing map of the font's characters table: a white cell is an
// enabled code, a grey one a disabled code; a mapped code shows the font's glyph for its
// Unicode value. A row header gives each row's first code; in Unicode a label column names
// the row's block. Only the rows in view are painted. A click selects a cell (red frame); a
// right click selects it and offers the "Table Editor" pop-up (toggle the code, disable or
// enable its row). Keys and the wheel scroll without moving the selection.
class TableEditorGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TableEditorGrid(Font& font, QWidget* parent = nullptr);

    int shownEncoding() const { return m_encoding; }
    // Shows another encoding's code space: new row count and scroll ranges, repainted.
    void setShownEncoding(int encoding);
    int rowCount() const;
    int selectedCode() const { return m_selected; }
    int topRow() const;
    int headerWidth() const { return m_headerWidth; }
    // Room for the row headers, the 16 cells and the Unicode block names, 12 rows high: the
    // dialog opens at this size so that nothing needs scrolling sideways.
    QSize sizeHint() const override;
    // The cell of a code in viewport coordinates (it may lie outside the view).
    QRect cellRect(int code) const;
    // The code under a viewport point, -1 outside the cells.
    int codeAt(QPoint point) const;
    // Repaints the cells of the given codes (those in view).
    void redrawCodes(const std::vector<std::uint16_t>& codes);
    QMenu* popupMenu() const { return m_menu; }
    // Rows painted by the last paint (for the paging benchmark and tests).
    int lastPaintedRows() const { return m_lastPaintedRows; }

  Q_SIGNALS:
    // The pop-up's commands changed these codes.
    void codesChanged(const std::vector<std::uint16_t>& codes);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateScrollRanges();
    void selectCode(int code);
    void applyToSelection(int command);

    Font& m_font;
    int m_encoding = 0;
    int m_selected = -1;
    int m_headerWidth = 0;
    int m_labelWidth = 0;
    int m_lastPaintedRows = 0;
    QMenu* m_menu = nullptr;
};

}  // namespace typeloom::ui
