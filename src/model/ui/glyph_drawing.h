#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace typeloom {
class Glyph;
}

namespace typeloom::ui {

// Where a glyph of glyphWidth x glyphHeight pixels lands in a box, relative to the box's
// top-left corner: at its own size when it fits, else scaled down by the smaller of the two
// ratios box / glyph so that it keeps its aspect (each side at least one pixel); centred in
// the box either way. An empty glyph or box gives an empty rectangle.
QRect glyphPlacementInBox(int glyphWidth, int glyphHeight, int boxWidth, int boxHeight);

// The glyph's first `rows` rows as a 1-bit image: ink black, background `background`, rows
// padded to 32 bits. Rows the glyph does not hold are blank. A glyph of width 0 or no rows
// gives a null image.
QImage glyphImage(const Glyph& glyph, int rows, QColor background);

// Paints the glyph (its first `rows` rows) into the box (x, y, boxWidth, boxHeight) as a 1-bit
// image, ink black on `background`, centred; a glyph larger than the box is scaled down
// keeping its aspect, enlarging by replication and shrinking by letting ink win (every source
// pixel merged into a destination pixel counts); a glyph that fits is drawn 1:1.
void drawTo(QPainter& device, const Glyph& glyph, int rows, int x, int y, int boxWidth,
            int boxHeight, QColor background);

}  // namespace typeloom::ui
