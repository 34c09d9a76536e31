#include "editor/ui/tool_art.h"

#include <QPainter>
#include <QPainterPath>

#include "editor/working_glyph.h"

namespace typeloom::ui {

namespace {

constexpr int kArtSize = 26;

// Draws the symbol of a tool into the square `r`.
void drawSymbol(QPainter& p, int id, const QRectF& r) {
    const qreal s = r.width();
    auto at = [&](qreal fx, qreal fy) { return QPointF(r.left() + fx * s, r.top() + fy * s); };
    QPen pen(Qt::black, 1.6);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto arrow = [&](QPointF from, QPointF to) {
        p.drawLine(from, to);
        const QPointF d = (to - from) / 3.0;
        const QPointF n(-d.y(), d.x());
        QPainterPath head;
        head.moveTo(to);
        head.lineTo(to - d + n * 0.8);
        head.lineTo(to - d - n * 0.8);
        head.closeSubpath();
        p.fillPath(head, Qt::black);
    };
    switch (id) {
        case kToolSelect: {
            QPen dots(Qt::black, 1.0, Qt::DotLine);
            p.setPen(dots);
            p.drawRect(QRectF(at(0.2, 0.2), at(0.8, 0.8)));
            break;
        }
        case kToolLine:
            p.drawLine(at(0.2, 0.8), at(0.8, 0.2));
            break;
        case kToolPencil: {
            QPainterPath body;
            body.moveTo(at(0.2, 0.8));
            body.lineTo(at(0.3, 0.55));
            body.lineTo(at(0.65, 0.2));
            body.lineTo(at(0.8, 0.35));
            body.lineTo(at(0.45, 0.7));
            body.closeSubpath();
            p.drawPath(body);
            break;
        }
        case kToolRectangle:
            p.drawRect(QRectF(at(0.22, 0.28), at(0.78, 0.72)));
            break;
        case kToolFilledRectangle:
            p.fillRect(QRectF(at(0.22, 0.28), at(0.78, 0.72)), Qt::black);
            break;
        case kToolEraser:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(at(0.2, 0.35), at(0.8, 0.65)));
            p.fillRect(QRectF(at(0.2, 0.35), at(0.4, 0.65)), Qt::black);
            break;
        case kCmdDeleteColumn:
            p.drawLine(at(0.5, 0.2), at(0.5, 0.8));
            p.drawLine(at(0.2, 0.5), at(0.4, 0.5));
            p.drawLine(at(0.6, 0.5), at(0.8, 0.5));
            break;
        case kCmdInsertColumn:
            p.drawLine(at(0.5, 0.2), at(0.5, 0.8));
            p.drawLine(at(0.2, 0.5), at(0.4, 0.5));
            p.drawLine(at(0.3, 0.4), at(0.3, 0.6));
            break;
        case kCmdMoveUp:
            arrow(at(0.5, 0.8), at(0.5, 0.2));
            break;
        case kCmdMoveDown:
            arrow(at(0.5, 0.2), at(0.5, 0.8));
            break;
        case kCmdMoveLeft:
            arrow(at(0.8, 0.5), at(0.2, 0.5));
            break;
        case kCmdMoveRight:
            arrow(at(0.2, 0.5), at(0.8, 0.5));
            break;
        case kCmdInvert:
            p.drawRect(QRectF(at(0.2, 0.2), at(0.8, 0.8)));
            p.fillRect(QRectF(at(0.2, 0.2), at(0.5, 0.8)), Qt::black);
            break;
        case kCmdMirrorHorizontal:
            p.drawLine(at(0.5, 0.15), at(0.5, 0.85));
            arrow(at(0.45, 0.5), at(0.15, 0.5));
            arrow(at(0.55, 0.5), at(0.85, 0.5));
            break;
        case kCmdMirrorVertical:
            p.drawLine(at(0.15, 0.5), at(0.85, 0.5));
            arrow(at(0.5, 0.45), at(0.5, 0.15));
            arrow(at(0.5, 0.55), at(0.5, 0.85));
            break;
        default:
            break;
    }
}

}  // namespace

// Stand-in pictures: a raised face for Normal, a sunken one for Pressed, a sunken lighter
// face for Active, with a plain black symbol of the tool.
QPixmap toolButtonArt(int id, ToolLook look, qreal devicePixelRatio) {
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(QSize(kArtSize, kArtSize) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    const QColor face = look == ToolLook::Active ? QColor(255, 255, 255) : QColor(212, 208, 200);
    pixmap.fill(face);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect r(0, 0, kArtSize - 1, kArtSize - 1);
    const bool sunken = look != ToolLook::Normal;
    p.setPen(sunken ? QColor(128, 128, 128) : QColor(255, 255, 255));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? QColor(255, 255, 255) : QColor(64, 64, 64));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal shift = sunken ? 1.0 : 0.0;
    drawSymbol(p, id, QRectF(3 + shift, 3 + shift, kArtSize - 7, kArtSize - 7));
    return pixmap;
}

QCursor toolCursorArt(int toolId) {
    switch (toolId) {
        // Stand-ins until drawn cursors exist: a pointing hand for the pencil (it marks the
        // cell under the finger), an open hand that wipes for the eraser.
        case kToolPencil:
            return QCursor(Qt::PointingHandCursor);
        case kToolEraser:
            return QCursor(Qt::OpenHandCursor);
        case kToolLine:
        case kToolRectangle:
        case kToolFilledRectangle:
            return QCursor(Qt::CrossCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace typeloom::ui
