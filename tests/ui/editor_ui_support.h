#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QTest>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_test_support.h"
#include "model/font.h"

namespace typeloom::test {

// A variable-width font of several characters (code = Unicode value), each drawn by its rows;
// every picture must have `height` rows.
struct GlyphPicture {
    std::uint16_t unicode;
    std::vector<std::string> rows;
};

inline Font fontOf(const std::vector<GlyphPicture>& glyphs, std::int16_t ascent,
                   std::uint32_t bits = 1) {
    Font font;
    font.height = glyphs.empty() ? 0 : static_cast<std::uint16_t>(glyphs[0].rows.size());
    font.ascent = ascent;
    font.bitsPerPixel = bits;
    for (const GlyphPicture& g : glyphs) {
        const auto width = static_cast<std::uint16_t>(g.rows.empty() ? 0 : g.rows[0].size());
        font.glyphs.insert(g.unicode, Glyph(g.unicode, width, pixelsOf(g.rows)));
        font.codeList.push_back(g.unicode);
        font.unicodeList.push_back(g.unicode);
    }
    return font;
}

// Sends a mouse move with explicit buttons and modifiers (QTest's move carries neither).
inline void dragTo(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier,
                   Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton,
                     buttons, mods);
    QApplication::sendEvent(w, &move);
}

}  // namespace typeloom::test
