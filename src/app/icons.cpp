#include "app/icons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSvgRenderer>
#include <initializer_list>
#include <iterator>

#include "editor/working_glyph.h"

namespace typeloom::app {
namespace {

struct CommandIconFile {
    int commandId;
    const char* name;  // file under :/icons/commands/, without ".svg"
};

// Steps bar (with their step badge), file bar, font bar, then menu-only commands.
constexpr CommandIconFile kCommandIcons[] = {
    {32790, "import_system_font"},
    {32793, "edit_characters_table"},
    {32792, "change_font_height"},
    {32797, "configure_data_format"},
    {1017, "export"},
    {32812, "new_font_project"},
    {57601, "open"},
    {57603, "save"},
    {57634, "copy"},
    {57637, "paste"},
    {32804, "invert_all"},
    {32805, "mirror_all_horizontal"},
    {32806, "mirror_all_vertical"},
    {32817, "remove_blank_columns"},
    {32807, "new_from_scratch"},
    {32824, "import_font_resource"},
    {32803, "preferences"},
    {57666, "help"},
    {57664, "about"},
    {32813, "zoom_in"},
    {32814, "zoom_out"},
    {57643, "undo"},
    {57632, "delete"},
};

// Glyph files of the tool buttons, in id order from kToolSelect.
constexpr const char* kToolGlyphs[] = {
    "select",    "line",          "pencil",  "rectangle",         "filled_rectangle",
    "eraser",    "delete_column", "move_up", "insert_column",     "move_left",
    "move_down", "move_right",    "invert",  "mirror_horizontal", "mirror_vertical",
};
static_assert(std::size(kToolGlyphs) == kCmdMirrorVertical - kToolSelect + 1);

// Renders an SVG resource into a transparent pixmap of logicalSize at the given ratio.
QPixmap renderSvg(const QString& path, QSizeF logicalSize, qreal devicePixelRatio) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    const QSize pixels(qRound(logicalSize.width() * devicePixelRatio),
                       qRound(logicalSize.height() * devicePixelRatio));
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), pixels));
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

// Adds renderings of an SVG resource at the given square sizes to an icon.
void addSvgSizes(QIcon& icon, const QString& path, std::initializer_list<int> sizes) {
    for (int size : sizes) {
        const QPixmap pixmap = renderSvg(path, QSizeF(size, size), 1.0);
        if (!pixmap.isNull()) {
            icon.addPixmap(pixmap);
        }
    }
}

bool isDrawingTool(int id) {
    return id >= kToolSelect && id <= kToolEraser;
}

// The button face behind a tool glyph. At rest a light raised face; held down a darker sunken
// face with a shadow along the top and left; the active drawing tool a blue face with a blue
// frame, so that it stands out from both.
void paintToolFace(QPainter& painter, ToolLook look) {
    const QRectF outer(0.5, 0.5, kToolButtonSize - 1, kToolButtonSize - 1);
    QColor top, bottom, frame;
    switch (look) {
        case ToolLook::Normal:
            top = QColor(0xfb, 0xfc, 0xfd);
            bottom = QColor(0xe6, 0xea, 0xee);
            frame = QColor(0xa7, 0xb0, 0xba);
            break;
        case ToolLook::Pressed:
            top = QColor(0xc3, 0xca, 0xd2);
            bottom = QColor(0xd6, 0xdc, 0xe2);
            frame = QColor(0x6b, 0x77, 0x85);
            break;
        case ToolLook::Active:
            top = QColor(0xbc, 0xd3, 0xf7);
            bottom = QColor(0xd9, 0xe6, 0xfb);
            frame = QColor(0x2d, 0x6c, 0xdf);
            break;
    }
    QLinearGradient fill(0, 0, 0, kToolButtonSize);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setPen(QPen(frame, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(outer, 2, 2);
    if (look != ToolLook::Normal) {
        // Inner shadow along the top and left edges: the face looks pushed in.
        QPainterPath shadow;
        shadow.moveTo(1.5, kToolButtonSize - 2.5);
        shadow.lineTo(1.5, 1.5);
        shadow.lineTo(kToolButtonSize - 2.5, 1.5);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(
            look == ToolLook::Active ? QColor(0x9d, 0xbb, 0xef) : QColor(0xa3, 0xad, 0xb8), 1));
        painter.drawPath(shadow);
    }
}

qreal screenRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : qApp->devicePixelRatio();
}

QCursor svgCursor(const char* name, QPoint hotSpot) {
    const QPixmap pixmap =
        renderSvg(QStringLiteral(":/icons/cursors/%1.svg").arg(QLatin1String(name)),
                  QSizeF(kCursorSize, kCursorSize), screenRatio());
    // The hot spot is given in logical pixels; the platform scales it with the pixmap.
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace

QIcon commandIcon(int commandId) {
    for (const CommandIconFile& entry : kCommandIcons) {
        if (entry.commandId == commandId) {
            // The 16-pixel grid at 1x, 1.5x, 2x and 3x.
            QIcon icon;
            addSvgSizes(icon,
                        QStringLiteral(":/icons/commands/%1.svg").arg(QLatin1String(entry.name)),
                        {16, 24, 32, 48});
            return icon;
        }
    }
    return {};
}

QPixmap toolButtonPixmap(int buttonId, ToolLook look, qreal devicePixelRatio) {
    if (buttonId < kToolSelect || buttonId > kCmdMirrorVertical || devicePixelRatio <= 0) {
        return {};
    }
    if (look == ToolLook::Active && !isDrawingTool(buttonId)) {
        look = ToolLook::Normal;
    }
    const QString path = QStringLiteral(":/icons/tools/%1.svg")
                             .arg(QLatin1String(kToolGlyphs[buttonId - kToolSelect]));
    const QPixmap glyph =
        renderSvg(path, QSizeF(kToolButtonSize, kToolButtonSize), devicePixelRatio);
    if (glyph.isNull()) {
        return {};
    }
    const int pixels = qRound(kToolButtonSize * devicePixelRatio);
    QPixmap face(pixels, pixels);
    face.fill(Qt::transparent);
    face.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    paintToolFace(painter, look);
    // A button held down moves its glyph one pixel to the lower right, as a pressed key would.
    const QPointF offset = look == ToolLook::Pressed ? QPointF(1, 1) : QPointF(0, 0);
    painter.drawPixmap(offset, glyph);
    return face;
}

QCursor pencilCursor() {
    return svgCursor("pencil", QPoint(1, 22));
}

QCursor eraserCursor() {
    return svgCursor("eraser", QPoint(3, 20));
}

QCursor handCursor() {
    return svgCursor("hand", QPoint(7, 1));
}

QCursor toolCursor(int toolId) {
    switch (toolId) {
        case kToolPencil:
            return pencilCursor();
        case kToolEraser:
            return eraserCursor();
        case kToolLine:
        case kToolRectangle:
        case kToolFilledRectangle:
            return QCursor(Qt::CrossCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

QIcon applicationIcon() {
    // Menu and title bar sizes come from a one-pixel-per-cell drawing that stays sharp; the
    // larger ones from the full drawing with the cell grid.
    QIcon icon;
    addSvgSizes(icon, QStringLiteral(":/icons/typeloom-studio-small.svg"), {16, 32});
    addSvgSizes(icon, QStringLiteral(":/icons/typeloom-studio.svg"), {48, 64, 128, 256});
    return icon;
}

}  // namespace typeloom::app
