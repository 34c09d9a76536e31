#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>
#include <vector>

#include "editor/clipboard_image.h"

namespace typeloom {

class Font;

// The tools and one-shot commands of the editor's tool buttons. The values are the buttons'
// command ids, in the order the buttons sit on the panel: the six drawing tools first, then
// the commands that act on the whole glyph at once.
enum class ToolId : int {
    Select = 32772,
    Line,
    Pencil,
    Rectangle,
    FilledRectangle,
    Eraser,
    DeleteColumn,
    MoveUp,
    InsertColumn,
    MoveLeft,
    MoveDown,
    MoveRight,
    Invert,
    MirrorHorizontal,
    MirrorVertical,
};

// Every tool in id order.
inline constexpr ToolId kAllTools[] = {
    // The drawing tools.
    ToolId::Select, ToolId::Line, ToolId::Pencil, ToolId::Rectangle, ToolId::FilledRectangle,
    ToolId::Eraser,
    // The one-shot commands.
    ToolId::DeleteColumn, ToolId::MoveUp, ToolId::InsertColumn, ToolId::MoveLeft, ToolId::MoveDown,
    ToolId::MoveRight, ToolId::Invert, ToolId::MirrorHorizontal, ToolId::MirrorVertical};
inline constexpr int kToolCount = static_cast<int>(std::size(kAllTools));

// The six tools that stay active until another is chosen (Select among them), unlike the
// one-shot commands that act once on the whole glyph.
constexpr bool isDrawingTool(ToolId id) {
    return id >= ToolId::Select && id <= ToolId::Eraser;
}

// A glyph never grows wider than this through the editor (insert a column, widening paste).
inline constexpr int kMaxGlyphWidth = 1024;

// Asked (Yes/No) before a column command changes a fixed-width font; "Yes" makes it
// variable-width.
inline constexpr std::string_view kFixedWidthQuestion =
    "This is a fixed-width font. All the characters' width is the same. \n\nTo change the font "
    "width, please select Font > Change Width command. \nOr you can change the fixed-width font "
    "to be variable-width font first, \nthen change one character's width "
    "individually.\n\nDo you want to change the fixed-width font to be variable-width font?";

// A cell of the glyph grid.
struct Cell {
    int x = 0;
    int y = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// A rectangle of cells: columns x..x+w-1, rows y..y+h-1. Empty when w or h is not positive.
struct CellRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool contains(int cx, int cy) const { return cx >= x && cx < x + w && cy >= y && cy < y + h; }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// The smallest rectangle covering both (an empty one adds nothing).
CellRect unite(const CellRect& a, const CellRect& b);
// The part of both.
CellRect intersect(const CellRect& a, const CellRect& b);
// The rectangle with corners a and b, both inside it, in whichever order they come.
CellRect spanning(Cell a, Cell b);

// What an operation did, for the view and the frame: the cells to repaint, and what else
// to refresh.
struct EditOutcome {
    CellRect changed;               // cells whose values (or existence) changed
    bool selectionChanged = false;  // the selection appeared, moved, changed size or went
    bool titleChanged = false;      // character or width changed: update the editor title
    bool documentModified = false;  // mark the document modified
    bool beep = false;              // a limit was reached; nothing changed
};

// What the rectangular selection holds. Moves of the selection carry the content taken when it
// was made; what they leave behind depends on the state.
enum class SelectionState {
    None,     // no selection
    InPlace,  // cells selected where they lie; the first move cuts them from there
    Moved,    // the content was cut from where it was taken (by a move, or by Select All,
              // which takes the whole glyph): that place stays background, the rest is put back
    Pasted,   // a pasted image floats over the glyph: a move puts back all that lay under it,
              // Delete takes the paste back
};

// The user's answer to the widening question of a paste.
enum class WidenAnswer { Yes, No, Cancel };

// What a paste did. `message` is not empty when the paste was refused (error icon).
struct PasteOutcome {
    EditOutcome edit;
    bool cancelled = false;
    std::string_view message;
};

// The private working copy of the glyph being edited, with every drawing tool, the rectangular
// selection, the one-shot commands, one level of undo and the exchange with clipboard images.
// The font is only read by loadGlyph and written by storeGlyph (and a column command may make
// a fixed-width font variable-width); the glyph is known by its Unicode value, never by a
// pointer into the font.
//
// Pixels are one byte each, row-major (x + y * width); 0 is background and maxValue() full
// ink. Mouse positions reach the tools as cells; the view turns client points into cells and
// decides whether a press lies inside the grid.
class WorkingGlyph {
  public:
    WorkingGlyph();

    // --- Exchange with the font
    // Starts editing the character u: takes its width, pixels, the font's height, ascent and
    // bits per pixel; drops any selection and the undo level of the previous character.
    EditOutcome loadGlyph(const Font& font, std::uint16_t u);
    // Writes a changed working copy back into the font as the glyph of unicode().
    EditOutcome storeGlyph(Font& font);
    void saveUndo();

    // --- Tool selection. `ctrl`: the Ctrl key's state (right side for the column commands).
    // `makeVariableWidth`: the answer to kFixedWidthQuestion, asked by the caller when
    // columnQuestionNeeded() says so; false cancels a column command in a fixed-width font.
    EditOutcome setTool(ToolId id, Font& font, bool ctrl = false, bool makeVariableWidth = false);

    // --- Drawing tools. A press outside the glyph does nothing; a move is clamped to it.
    EditOutcome pencilDown(int x, int y, bool ctrl = false);
    EditOutcome pencilMove(int x, int y, bool ctrl = false);
    EditOutcome eraserDown(int x, int y);
    EditOutcome eraserMove(int x, int y);
    // Line, rectangle and filled rectangle, by the active tool. Ctrl draws the complement of
    // the current colour (background in a 1-bit font).
    EditOutcome shapeBegin(int x, int y);
    EditOutcome shapeUpdate(int x, int y, bool ctrl = false);
    void shapeEnd() { m_dragging = false; }

    // --- Selection
    // Selects the cells from corner a to corner b (either order; clipped to the glyph). A
    // band that misses the glyph selects nothing. The view calls it only for a band of at
    // least one cell, after dropping the previous selection.
    EditOutcome selectRubberBand(Cell a, Cell b);
    // Drags the selection so that its top-left cell lands on (x, y). The first move cuts the
    // content from where it was taken; later moves put back what lay under the previous place.
    EditOutcome moveSelection(int x, int y);
    // A handle drag: the cells from a to b become a fresh selection of what lies there now.
    EditOutcome resizeSelection(Cell a, Cell b);
    EditOutcome dropSelection();
    EditOutcome deleteSelection();
    EditOutcome selectAll();

    // --- One-shot commands (the whole glyph). The column commands check their limit first:
    // at a limit they beep and ask nothing.
    bool columnQuestionNeeded(const Font& font, bool insert) const;
    EditOutcome deleteColumn(bool right, Font& font, bool makeVariableWidth = false);
    EditOutcome insertColumn(bool right, Font& font, bool makeVariableWidth = false);
    EditOutcome moveUp();
    EditOutcome moveDown();
    EditOutcome moveLeft();
    EditOutcome moveRight();
    EditOutcome invert();
    EditOutcome mirrorHorizontal();
    EditOutcome mirrorVertical();

    // Exchanges the pixels and width with the undo copy: a second undo redoes.
    EditOutcome undo();
    // Back to the glyph as it was loaded.
    EditOutcome undoAll();
    // Puts the content of an earlier or later state of this character into the working copy,
    // the way undo() does: the content it replaces becomes the undo copy, the selection stays
    // (ended when the width changes). The copy counts as changed only while it differs from
    // the glyph in `font` (as loaded or last stored), so walking the history back to it leaves
    // nothing to store, and walking away from it after a store always stores again.
    EditOutcome restoreContent(std::vector<std::uint8_t> pixels, int width, const Font& font);

    // --- Clipboard images
    // The selection (with the Select tool) or the whole glyph as an indexed image.
    ClipboardImage copyImage() const;
    // Whether a paste of an image of that width asks the widening question (Yes/No/Cancel).
    bool widenQuestionNeeded(const Font& font, int imageWidth) const;
    // Pastes an image: widened to its width (answer Yes), or as a floating selection at the
    // top-left corner that the user drags into place. `answer` counts only when
    // widenQuestionNeeded() said so.
    PasteOutcome pasteImage(const ImageSource& image, const Font& font,
                            WidenAnswer answer = WidenAnswer::No);

    // --- State
    std::uint16_t unicode() const { return m_unicode; }
    std::uint16_t previousUnicode() const { return m_previousUnicode; }
    std::uint16_t code() const { return m_code; }
    void setCode(std::uint16_t code) { m_code = code; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int ascent() const { return m_ascent; }
    int bitsPerPixel() const { return m_bitsPerPixel; }
    std::uint8_t maxValue() const { return m_maxValue; }
    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }
    std::uint8_t pixel(int x, int y) const { return m_pixels[index(x, y)]; }
    const std::vector<std::uint8_t>& undoCopy() const { return m_undoCopy; }
    int undoWidth() const { return m_undoWidth; }
    bool modified() const { return m_modified; }
    SelectionState selectionState() const { return m_selectionState; }
    CellRect selection() const { return m_selection; }
    Cell selectionSource() const { return m_selectionSource; }
    ToolId tool() const { return m_tool; }
    bool shapeMode() const { return m_shapeMode; }
    bool dragging() const { return m_dragging; }
    Cell dragStart() const { return m_dragStart; }
    Cell dragEnd() const { return m_dragEnd; }
    std::uint8_t currentColor() const { return m_currentColor; }
    void setCurrentColor(std::uint8_t value) { m_currentColor = value; }
    CellRect bounds() const { return {0, 0, m_width, m_height}; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

  private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * m_width;
    }
    Cell clamp(int x, int y) const;
    std::uint8_t drawValue(bool ctrl) const;
    // Marks the working copy changed and reports the cells to repaint.
    EditOutcome changedCells(CellRect rect);
    // Sets one cell by a pencil or eraser stroke; returns whether it changed.
    bool strokeCell(int x, int y, bool erase, bool ctrl);
    // The cells of the active tool's shape from dragStart to end, and their bounding box.
    std::vector<Cell> shapeCells(Cell end) const;
    CellRect shapeBounds(Cell end) const;
    bool undoMatches() const;
    // The cells of the selection become a fresh selection of what lies there, in place.
    void pickUp();
    // Ends the selection when the width changed from oldWidth; returns whether it did.
    bool fitSelection(int oldWidth);
    void ensureFloatBuffer();
    EditOutcome changeColumns(bool insert, bool right, Font& font, bool makeVariableWidth);

    std::uint16_t m_unicode = 65;
    std::uint16_t m_previousUnicode = 65;
    std::uint16_t m_code = 65;
    int m_width = 8;
    int m_undoWidth = 8;
    int m_loadedWidth = 8;
    int m_height = 10;
    int m_ascent = 0;
    int m_bitsPerPixel = 1;
    std::uint8_t m_maxValue = 1;
    std::vector<std::uint8_t> m_pixels;
    std::vector<std::uint8_t> m_undoCopy;
    std::vector<std::uint8_t> m_floatBuffer;
    std::vector<std::uint8_t> m_loadedCopy;
    bool m_modified = false;
    SelectionState m_selectionState = SelectionState::None;
    CellRect m_selection;
    Cell m_selectionSource;
    // Where the first move cut the content from; later moves keep it background.
    CellRect m_cutArea;
    ToolId m_tool = ToolId::Pencil;
    std::uint8_t m_currentColor = 1;
    bool m_shapeMode = false;
    bool m_dragging = false;
    Cell m_dragStart;
    Cell m_dragEnd;
    Cell m_lastCell{-1, -1};
};

}  // namespace typeloom
