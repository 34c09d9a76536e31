#pragma once

#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <QSizeF>
#include <QString>

// Pictures drawn as SVG on a pixel grid, so that they stay crisp at 1x and 2x, and the cursors
// made from them. Each ui module keeps its own SVG files under the resource prefix "/icons";
// the hand shown over links and clickable lists lives here, beside the helpers.

namespace typeloom::ui {

// Logical width and height of the program's own cursors (drawn on a 32-pixel grid).
inline constexpr int kCursorSize = 32;

// Renders an SVG resource into a transparent pixmap of logicalSize at the given ratio; null
// when the resource is missing or not a valid drawing.
QPixmap renderSvg(const QString& path, QSizeF logicalSize, qreal devicePixelRatio);

// A cursor drawn from an SVG resource, kCursorSize square at the screen's ratio, with its hot
// spot in logical pixels.
QCursor svgCursor(const QString& path, QPoint hotSpot);

// The hand shown over links and over the characters list, hot spot at the fingertip.
QCursor handCursor();

}  // namespace typeloom::ui
