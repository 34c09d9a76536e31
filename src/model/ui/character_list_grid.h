#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QRect>

namespace typeloom {
class Font;
}

namespace typeloom::ui {

// Colours of the characters list.
inline const QColor kListLabelColour{255, 255, 192};     // label strip
inline const QColor kListCurrentColour{255, 0, 0};       // current strip and glyph frame
inline const QColor kListGridLineColour{192, 192, 192};  // lines between cells
inline const QColor kListEmptyColour{225, 225, 225};     // cells without character, area below
inline const QColor kListGlyphBackground{255, 255, 255};

// Cell widths before growth: the widest glyph plus 8, kept within these bounds.
inline constexpr int kListMinCellWidth = 36;
inline constexpr int kListMaxCellWidth = 108;

// W, the cell width before growth, for a font whose widest glyph is maxGlyphWidth pixels.
int characterCellWidth(int maxGlyphWidth);

// The cells of the characters list for one client width. Every cell is a label strip of
// labelHeight pixels above a square glyph area. The width left over after `columns` cells of
// cellWidth is shared out: every cell grows by `growth` pixels in width and in height, and
// the first `extraPixels` columns are one pixel wider still.
struct CharacterListLayout {
    int cellWidth = kListMinCellWidth;  // W
    int labelHeight = 0;                // L
    int columns = 1;                    // N
    int growth = 0;                     // R / N
    int extraPixels = 0;                // R mod N

    // Side of the glyph square of every cell (W grown), and the whole cell's height.
    int squareSide() const { return cellWidth + growth; }
    int cellHeight() const { return squareSide() + labelHeight; }
    int columnWidth(int column) const;
    int columnLeft(int column) const;
    // The column under x, -1 left of the cells or right of the last column.
    int columnAt(int x) const;
    int rowOf(int index) const { return index / columns; }
    int columnOf(int index) const { return index % columns; }
    // Rows needed for `characters` cells: ceil(characters / N).
    int rowCount(int characters) const;
};

// Lays the cells out for a client width. N is as many cells of W as fit, at least one; a
// client narrower than one cell keeps the cell at W (no negative growth).
CharacterListLayout layoutCharacterList(int maxGlyphWidth, int labelHeight, int clientWidth);

// The characters of the font as a grid of cells in index order, row by row: each cell shows
// the character's code above its glyph, the current character in red. A click or a key move
// asks for another current character through characterPicked; whoever settles the edited
// glyph then calls setCurrentIndex. Only the rows in view are painted; the vertical scroll
// bar counts rows.
class CharacterListGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit CharacterListGrid(Font& font, QWidget* parent = nullptr);

    // Lays the cells out again after the font changed (sizes, characters) and repaints.
    void relayout();
    int currentIndex() const { return m_current; }
    // Marks the character current, redraws the old and new cells and scrolls the new one into
    // view. -1 clears the mark; an index outside the font is ignored.
    void setCurrentIndex(int index);
    void redrawCell(int index);

    const CharacterListLayout& cellLayout() const { return m_layout; }
    const QFont& labelFont() const { return m_labelFont; }
    int topRow() const;
    // Rows wholly in view, at least one.
    int visibleRows() const;
    // The cell of a character in viewport coordinates; empty when it is not in view.
    QRect cellRect(int index) const;
    // The character whose cell holds the viewport point, -1 over an empty cell or no cell.
    int indexAt(QPoint point) const;
    bool handCursorShown() const { return m_handShown; }

  Q_SIGNALS:
    // The user picked this character by a click or a key.
    void characterPicked(int index);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void updateLabelFont();
    void updateScrollRange();
    void ensureRowVisible(int row);
    void pickByStep(int step);
    void updateCursor(QPoint point);
    void updateCursorAtPointer();
    void paintCell(QPainter& painter, int index, const QRect& cell) const;

    Font& m_font;
    QFont m_labelFont;
    CharacterListLayout m_layout;
    int m_current = -1;
    bool m_handShown = false;
    int m_wheelRemainder = 0;  // wheel delta short of a whole notch
};

}  // namespace typeloom::ui
