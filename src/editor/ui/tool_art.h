#pragma once

#include <QCursor>
#include <QPixmap>

#include "editor/working_glyph.h"

// The pictures of the character editor's tool buttons and the cursors of its drawing tools,
// drawn as SVG (resources/editor_ui.qrc): tool glyphs on the 17-pixel face of the buttons,
// cursors on the 32-pixel grid of every cursor of the program.

namespace typeloom::ui {

// Logical width and height of a tool button face.
inline constexpr int kToolButtonSize = 17;

// How a tool button is shown: at rest, held down by the mouse, or as the active drawing tool.
enum class ToolLook { Normal, Pressed, Active };

// The face of the tool button of `id`, kToolButtonSize square in logical pixels at the given
// device pixel ratio. Only the six drawing tools have an active look; a one-shot command asked
// for it shows its normal face. Null for a value that is no tool.
QPixmap toolButtonPixmap(ToolId id, ToolLook look, qreal devicePixelRatio = 1.0);

// The pixel grid's pencil and eraser cursors, hot spot at the tip.
QCursor pencilCursor();
QCursor eraserCursor();

// The cursor the pixel grid shows while a drawing tool is active: the pencil and eraser
// cursors for those tools, the cross for the shape tools, the arrow for Select and the one-shot
// commands.
QCursor toolCursor(ToolId tool);

}  // namespace typeloom::ui
