#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "editor/ui/grid_geometry.h"
#include "editor/working_glyph.h"
#include "model/font_history.h"

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// The magnified glyph the user edits. It owns the working copy of the edited character,
// paints it as a grid of square cells with the baseline marked, turns mouse presses, drags
// and releases into the working copy's tools, shows the selection frame and changes its
// magnification. The font is read only when a character is loaded and written only when the
// edited glyph is stored.
//
// Mouse edits repaint only the cells the working copy reports as changed (plus the selection
// frame where it moved), so a pencil stroke costs one cell per step whatever the glyph's size.
class PixelGrid : public QWidget {
    Q_OBJECT

  public:
    PixelGrid(Font& font, SettingsStore& settings, QWidget* parent = nullptr);
    // Keeps the zoom in "Grid zoom" for the next start.
    ~PixelGrid() override;

    // --- The edited character
    // Loads the glyph of that index from the font, its code for the title, discarding the
    // working copy without asking. An index the font does not have leaves the grid empty: it
    // shows nothing and ignores the mouse.
    void loadCharacter(int index);
    int currentIndex() const { return m_index; }
    bool hasCharacter() const { return m_index >= 0; }
    // The working glyph differs from the font's.
    bool isChanged() const { return hasCharacter() && m_glyph.modified(); }
    // Writes the working glyph back into the font when it changed.
    void storeEditedGlyph();
    // Reloads the current character from the font, discarding changes not yet stored.
    void reloadEditedGlyph();
    const WorkingGlyph& workingGlyph() const { return m_glyph; }

    // --- Tools and colour
    // What a tool button does: selects a drawing tool or runs a one-shot command. `ctrl`
    // chooses the right side for the column commands.
    void setTool(ToolId id, bool ctrl = false);
    ToolId tool() const { return m_glyph.tool(); }
    void setCurrentColor(int value);
    int currentColor() const { return m_glyph.currentColor(); }

    // --- Magnification, 1 to 30 pixels per cell
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    // One step in or out; nothing at a limit.
    void zoomStep(bool in);

    // --- Edit commands (the frame routes Undo, Copy, Paste, Delete and Select All here)
    bool canUndo() const { return isChanged(); }
    bool canUndoAll() const { return isChanged(); }
    bool canDelete() const;
    // A character is shown and the clipboard holds an image.
    bool canPaste() const;
    // The glyph, or with the Select tool the selected cells, as an image on the clipboard.
    void copy();
    // A clipboard image into the glyph: floated at the top-left corner as a selection the
    // user drags into place, or, when it is wider and the user agrees, as the whole glyph.
    void paste();
    void deleteSelection();
    void selectAll();
    // Undo: the history's when one is connected (undoHandler), else the working copy's own
    // single level.
    void undo();
    void undoAll();

    // --- History
    // Every finished edit of the working copy (a stroke from press to release, a one-shot
    // command, a paste, a delete, Undo All) that changed it, named for the Undo menu.
    std::function<void(const std::string& name, std::uint16_t unicode, GlyphContent before,
                       GlyphContent after)>
        editFinished;
    // What undo() does instead of the working copy's own undo (the frame's history).
    std::function<void()> undoHandler;
    // The working copy's content now.
    GlyphContent content() const;
    // Puts another state of the edited character into the working copy (a history walk).
    void restoreContent(const GlyphContent& content);

    // --- Questions and messages, replaceable by tests. The defaults show message boxes.
    // Asked before a column command changes a fixed-width font: true makes it variable-width.
    std::function<bool(const QString& question)> fixedWidthQuestion;
    // Asked when a pasted image is wider than a variable-width glyph.
    std::function<WidenAnswer(const QString& question)> widenQuestion;
    // Shows a failure (error icon).
    std::function<void(const QString& message)> errorMessage;

    // --- Bit inspector
    // Marks the pixels (row-major indices of the glyph on screen) of one data unit; an empty
    // list clears the mark. The mark is dropped when another character is loaded.
    void setMarkedPixels(std::vector<int> pixels);
    const std::vector<int>& markedPixels() const { return m_marked; }
    // The cell under the pointer, (-1, -1) when it is over no cell.
    Cell hoveredCell() const { return m_hovered; }

    // --- Geometry, for the panel and for tests
    GridGeometry geometry() const;
    // The selection frame in client pixels (empty without a selection).
    QRect trackerRect() const;

    QSize sizeHint() const override;
    // The room the whole grid needs: a scroll area around it scrolls below this size.
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    // The document must be marked modified.
    void documentModified();
    // The working glyph was written into the font.
    void glyphStored(int index);
    // The working glyph's pixels or width changed.
    void glyphChanged();
    // A character was loaded (the working copy is clean).
    void characterLoaded(int index);
    void zoomChanged(int zoom);
    // The width or the character changed: the editor title needs an update.
    void titleChanged();
    // The active tool changed (by a button, or by Select All, Paste or Invert choosing the
    // Select tool).
    void toolChanged(ToolId id);
    // The pointer moved onto another cell of the glyph; (-1, -1) when it left the cells.
    void cellHovered(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Nothing drawn depends on the focus: gaining or losing it repaints nothing.
    void focusInEvent(QFocusEvent*) override {}
    void focusOutEvent(QFocusEvent*) override {}

  private:
    GlyphContent m_pressContent;  // the working copy when the mouse button went down
    bool m_pressOpen = false;
    // What a press with the Select tool started.
    enum class Track { None, RubberBand, Move, Resize };
    // Resize handles of the selection frame, clockwise from the top-left corner.
    enum Handle { kTopLeft, kTop, kTopRight, kRight, kBottomRight, kBottom, kBottomLeft, kLeft };

    bool acceptsInput() const;
    // Reports the edit that began with content `before` when it changed the working copy.
    void finishEdit(const char* name, const GlyphContent& before);
    void setHoveredCell(Cell cell);
    // Repaints what an edit changed and tells the others. `frameBefore` is where the
    // selection frame was before the edit (its handles included); `whole` repaints all.
    void applyOutcome(const EditOutcome& out, const QRect& frameBefore, bool whole);
    // The selection frame with its handles: what covers it on screen.
    QRect trackerBounds() const;
    QRect handleRect(int handle, const QRect& frame) const;
    int handleAt(QPoint p) const;
    void updateCursor(QPoint p);
    void selectPress(QPoint p);
    void selectDrag(QPoint p);
    void selectRelease(QPoint p);
    void paintCells(QPainter& painter, const QRect& dirty) const;
    void paintTracker(QPainter& painter) const;

    Font& m_font;
    SettingsStore& m_settings;
    WorkingGlyph m_glyph;
    int m_index = -1;
    int m_zoom = 15;
    ToolId m_lastTool = ToolId::Pencil;

    // Mouse state between a press and its release.
    bool m_stroking = false;  // a pencil or eraser press inside the grid
    Track m_track = Track::None;
    QPoint m_pressPoint;
    QPoint m_dragPoint;
    Cell m_moveCell;      // cell under the pointer when a move started
    Cell m_moveOrigin;    // top-left cell of the selection when a move started
    Cell m_resizeAnchor;  // the corner of the selection that a handle drag keeps
    int m_resizeHandle = -1;
    CellRect m_resizeCells;  // the selection being shaped by a handle drag

    std::vector<int> m_marked;             // pixels of the unit the bit inspector marks
    std::vector<std::uint8_t> m_markMask;  // the same as one flag per pixel
    Cell m_hovered{-1, -1};
};

}  // namespace typeloom::ui
