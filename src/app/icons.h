#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's own icons and cursors. All are drawn as SVG (resources/icons.qrc, prefix
// "/icons") on a pixel grid, so that they stay crisp at 1x and 2x: command icons on a 16-pixel
// grid, tool button glyphs on the 17-pixel face of the buttons, cursors on a 32-pixel grid.

namespace typeloom::app {

// Logical width and height of a character editor tool button face.
inline constexpr int kToolButtonSize = 17;

// Logical width and height of the program's own cursors.
inline constexpr int kCursorSize = 32;

// The icon of a menu or toolbar command; a null icon for a command without one.
QIcon commandIcon(int commandId);

// How a tool button is shown: at rest, held down by the mouse, or as the active drawing tool.
enum class ToolLook { Normal, Pressed, Active };

// The face of a character editor tool button (ids 32772..32786), kToolButtonSize square in
// logical pixels at the given device pixel ratio. Only the six drawing tools have an active
// look; a one-shot command asked for it shows its normal face. Null for any other id.
QPixmap toolButtonPixmap(int buttonId, ToolLook look, qreal devicePixelRatio = 1.0);

// The grid's pencil and eraser cursors, hot spot at the tip, and the hand shown over links and
// over the characters list.
QCursor pencilCursor();
QCursor eraserCursor();
QCursor handCursor();

// The cursor the pixel grid shows while a drawing tool is active: the pencil and eraser
// cursors for those tools, the cross for the shape tools, the arrow for Select and any other id.
QCursor toolCursor(int toolId);

// The program's icon for its windows and the desktop.
QIcon applicationIcon();

}  // namespace typeloom::app
