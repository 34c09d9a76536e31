#include "editor/ui/color_swatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace typeloom::ui {

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorSwatch::setColor(const QColor& color) {
    if (color != m_color) {
        m_color = color;
        update();
    }
}

void ColorSwatch::setSelected(bool selected) {
    if (selected != m_selected) {
        m_selected = selected;
        update();
    }
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, palette().window());
    const QColor frame = m_selected ? QColor(255, 0, 0) : QColor(192, 192, 192);
    painter.setPen(frame);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.fillRect(r.adjusted(2, 2, -2, -2), m_color);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace typeloom::ui
