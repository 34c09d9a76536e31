#include "common/ui/svg_art.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

namespace typeloom::ui {
namespace {

qreal screenRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : qApp->devicePixelRatio();
}

}  // namespace

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

QCursor svgCursor(const QString& path, QPoint hotSpot) {
    const QPixmap pixmap = renderSvg(path, QSizeF(kCursorSize, kCursorSize), screenRatio());
    // The hot spot is given in logical pixels; the platform scales it with the pixmap.
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

QCursor handCursor() {
    return svgCursor(QStringLiteral(":/icons/cursors/hand.svg"), QPoint(7, 1));
}

}  // namespace typeloom::ui
