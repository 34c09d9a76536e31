#include "editor/ui/tool_art.h"

#include "app/icons.h"

namespace typeloom::ui {

QPixmap toolButtonArt(int id, ToolLook look, qreal devicePixelRatio) {
    app::ToolLook appLook = app::ToolLook::Normal;
    switch (look) {
        case ToolLook::Normal:
            appLook = app::ToolLook::Normal;
            break;
        case ToolLook::Pressed:
            appLook = app::ToolLook::Pressed;
            break;
        case ToolLook::Active:
            appLook = app::ToolLook::Active;
            break;
    }
    return app::toolButtonPixmap(id, appLook, devicePixelRatio);
}

QCursor toolCursorArt(int toolId) {
    return app::toolCursor(toolId);
}

}  // namespace typeloom::ui
