#pragma once

#include <QCursor>
#include <QPixmap>

// The pictures of the editor's tool buttons and the cursors of its drawing tools. Both go
// through the two functions below, so that drawn artwork can replace the stand-ins in one
// place.

namespace typeloom::ui {

// How a tool button shows: at rest, held down, or as the active drawing tool.
enum class ToolLook { Normal, Pressed, Active };

// The picture of tool button `id` (32772 to 32786) in a look, at a device pixel ratio.
QPixmap toolButtonArt(int id, ToolLook look, qreal devicePixelRatio);

// The cursor over the pixel grid for a drawing tool: a pencil, an eraser, the cross for the
// shape tools, the arrow for everything else.
QCursor toolCursorArt(int toolId);

}  // namespace typeloom::ui
