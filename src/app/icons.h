#pragma once

#include <QIcon>

#include "app/commands.h"

// The program's own icons: the command icons of the menus and toolbars, drawn as SVG on a
// 16-pixel grid (resources/icons.qrc, prefix "/icons"), and the program's icon. The editor's
// tool buttons and cursors live with the editor (editor/ui/tool_art.h), the hand cursor with
// the shared widgets (common/ui/svg_art.h).

namespace typeloom::app {

// The icon of a menu or toolbar command; a null icon for a command without one.
QIcon commandIcon(CommandId command);

// The program's icon for its windows and the desktop.
QIcon applicationIcon();

}  // namespace typeloom::app
