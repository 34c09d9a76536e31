#include "editor/ui/tool_art.h"

#include <QPainter>
#include <QPainterPath>
#include <iterator>

#include "common/ui/svg_art.h"

namespace typeloom::ui {
namespace {

struct ToolGlyph {
    ToolId tool;
    const char* file;  // under :/icons/tools/, without ".svg"
};

// The glyph file of every tool button.
constexpr ToolGlyph kToolGlyphs[] = {
    {ToolId::Select, "select"},
    {ToolId::Line, "line"},
    {ToolId::Pencil, "pencil"},
    {ToolId::Rectangle, "rectangle"},
    {ToolId::FilledRectangle, "filled_rectangle"},
    {ToolId::Eraser, "eraser"},
    {ToolId::DeleteColumn, "delete_column"},
    {ToolId::MoveUp, "move_up"},
    {ToolId::InsertColumn, "insert_column"},
    {ToolId::MoveLeft, "move_left"},
    {ToolId::MoveDown, "move_down"},
    {ToolId::MoveRight, "move_right"},
    {ToolId::Invert, "invert"},
    {ToolId::MirrorHorizontal, "mirror_horizontal"},
    {ToolId::MirrorVertical, "mirror_vertical"},
};
static_assert(std::size(kToolGlyphs) == kToolCount);

const char* glyphFileOf(ToolId id) {
    for (const ToolGlyph& entry : kToolGlyphs) {
        if (entry.tool == id) {
            return entry.file;
        }
    }
    return nullptr;
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

}  // namespace

QPixmap toolButtonPixmap(ToolId id, ToolLook look, qreal devicePixelRatio) {
    const char* file = glyphFileOf(id);
    if (file == nullptr || devicePixelRatio <= 0) {
        return {};
    }
    if (look == ToolLook::Active && !isDrawingTool(id)) {
        look = ToolLook::Normal;
    }
    const QString path = QStringLiteral(":/icons/tools/%1.svg").arg(QLatin1String(file));
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
    return svgCursor(QStringLiteral(":/icons/cursors/pencil.svg"), QPoint(1, 22));
}

QCursor eraserCursor() {
    return svgCursor(QStringLiteral(":/icons/cursors/eraser.svg"), QPoint(3, 20));
}

QCursor toolCursor(ToolId tool) {
    switch (tool) {
        case ToolId::Pencil:
            return pencilCursor();
        case ToolId::Eraser:
            return eraserCursor();
        case ToolId::Line:
        case ToolId::Rectangle:
        case ToolId::FilledRectangle:
            return QCursor(Qt::CrossCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace typeloom::ui
