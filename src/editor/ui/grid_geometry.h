#pragma once

#include <QPoint>
#include <QRect>

#include "editor/working_glyph.h"

namespace typeloom::ui {

// Where the cells of the magnified glyph lie in the pixel grid's client area.
//
// Cell (x, y) is a square of (zoom - 1) pixels at (left + zoom x, top + zoom y), one pixel
// further down for the rows at and below the ascent: the one-pixel gaps between cells show the
// background and form the grid lines, and the line between row ascent - 1 and row ascent is two
// pixels thick, which marks the baseline. At zoom 1 every cell is one pixel, with no gaps and
// no baseline.
//
// Example, zoom 15 and ascent 8: row 7 covers y 115..128, y 129 and 130 are the baseline line,
// row 8 starts at y 131.
struct GridGeometry {
    int left = 10;
    int top = 10;
    int zoom = 15;
    int ascent = 0;
    int width = 0;   // glyph width in cells
    int height = 0;  // glyph height in cells

    // The baseline line is drawn only when a row lies below the ascent and there are gaps.
    bool hasBaselineGap() const { return zoom > 1 && ascent > 0 && ascent < height; }
    int rowOffset(int y) const { return hasBaselineGap() && y >= ascent ? 1 : 0; }
    int cellLeft(int x) const { return left + zoom * x; }
    int cellTop(int y) const { return top + zoom * y + rowOffset(y); }
    // The painted square of a cell.
    QRect cellSquare(int x, int y) const {
        const int side = zoom > 1 ? zoom - 1 : 1;
        return {cellLeft(x), cellTop(y), side, side};
    }
    // The area that reaches the tools: every cell with the grid lines after it.
    QRect gridRect() const {
        return {left, top, zoom * width, zoom * height + (hasBaselineGap() ? 1 : 0)};
    }
    // The cells of `r` with the grid lines after them: what to repaint when they change.
    QRect cellsRect(const CellRect& r) const {
        if (r.empty()) {
            return {};
        }
        return QRect(QPoint(cellLeft(r.x), cellTop(r.y)),
                     QPoint(cellLeft(r.x + r.w) - 1, cellTop(r.y + r.h) - 1));
    }
    // The selection frame around the cells of `r`: its edges lie on the grid lines around
    // them (just outside the cells at zoom 1, where there are no grid lines).
    QRect frameRect(const CellRect& r) const {
        if (r.empty()) {
            return {};
        }
        const int extra = zoom > 1 ? 0 : 1;
        return QRect(QPoint(cellLeft(r.x) - 1, cellTop(r.y) - 1),
                     QPoint(cellLeft(r.x + r.w) - 1 + extra, cellTop(r.y + r.h) - 1 + extra));
    }
    // The cell under a client point, not limited to the glyph (negative to the left and
    // above). Below the baseline the extra line pixel is taken off first, so that a point on a
    // painted square always names that square's cell.
    Cell cellAt(QPoint p) const {
        int dy = p.y() - top;
        if (hasBaselineGap() && dy > zoom * ascent) {
            dy -= 1;
        }
        return {floorDiv(p.x() - left, zoom), floorDiv(dy, zoom)};
    }
    // The cell under a point, limited to the glyph.
    Cell clampedCellAt(QPoint p) const {
        const Cell c = cellAt(p);
        return {clampTo(c.x, width), clampTo(c.y, height)};
    }
    bool hasCells() const { return width > 0 && height > 0 && zoom > 0; }

  private:
    static int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
    static int clampTo(int v, int count) { return v < 0 ? 0 : (v >= count ? count - 1 : v); }
};

}  // namespace typeloom::ui
