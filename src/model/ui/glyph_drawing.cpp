#include "model/ui/glyph_drawing.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "model/glyph.h"
#include "model/transforms.h"

namespace typeloom::ui {

QRect glyphPlacementInBox(int glyphWidth, int glyphHeight, int boxWidth, int boxHeight) {
    if (glyphWidth <= 0 || glyphHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return {};
    }
    int width = glyphWidth;
    int height = glyphHeight;
    if (glyphWidth > boxWidth || glyphHeight > boxHeight) {
        // boxWidth / glyphWidth <= boxHeight / glyphHeight, compared without division: the
        // width ratio is the smaller one and the width fills the box.
        const long long across = static_cast<long long>(boxWidth) * glyphHeight;
        const long long down = static_cast<long long>(boxHeight) * glyphWidth;
        if (across <= down) {
            width = boxWidth;
            height = static_cast<int>(across / glyphWidth);
        } else {
            height = boxHeight;
            width = static_cast<int>(down / glyphHeight);
        }
        width = std::max(width, 1);
        height = std::max(height, 1);
    }
    return {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
}

QImage glyphImage(const Glyph& glyph, int rows, QColor background) {
    const int width = glyph.width;
    if (width <= 0 || rows <= 0) {
        return {};
    }
    QImage image(width, rows, QImage::Format_Mono);
    image.setColorCount(2);
    image.setColor(0, background.rgb());
    image.setColor(1, qRgb(0, 0, 0));
    // Rows the glyph does not hold (a glyph left with fewer rows than the font) stay blank.
    const int heldRows = static_cast<int>(std::min<std::size_t>(glyph.rowCount(), rows));
    const std::uint8_t* from = glyph.pixels.data();
    for (int y = 0; y < rows; ++y) {
        uchar* line = image.scanLine(y);
        std::memset(line, 0, static_cast<std::size_t>(image.bytesPerLine()));
        if (y >= heldRows) {
            continue;
        }
        for (int x = 0; x < width; ++x) {
            if (from[x] != 0) {
                line[x >> 3] |= static_cast<uchar>(0x80u >> (x & 7));
            }
        }
        from += width;
    }
    return image;
}

void drawTo(QPainter& device, const Glyph& glyph, int rows, int x, int y, int boxWidth,
            int boxHeight, QColor background) {
    const QRect place = glyphPlacementInBox(glyph.width, rows, boxWidth, boxHeight);
    if (place.isEmpty()) {
        return;
    }
    if (place.width() == glyph.width && place.height() == rows) {
        device.drawImage(x + place.x(), y + place.y(), glyphImage(glyph, rows, background));
        return;
    }
    // The scaler of the font-wide resize: it reads exactly `rows` rows.
    Glyph scaled = glyph;
    fitToRows(scaled, static_cast<std::uint16_t>(rows));
    scaleTo(scaled, static_cast<std::uint16_t>(place.height()),
            static_cast<std::uint16_t>(place.width()));
    device.drawImage(x + place.x(), y + place.y(), glyphImage(scaled, place.height(), background));
}

}  // namespace typeloom::ui
