#include "editor/ui/tool_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace typeloom::ui {

ToolButton::ToolButton(ToolId id, const QString& toolTip, QWidget* parent)
    : QAbstractButton(parent), m_id(id) {
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    // Clicking a tool keeps the keyboard focus where the user works (the grid); the buttons are
    // still reached with Tab.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ToolButton::setActiveTool(bool active) {
    if (active != m_active) {
        m_active = active;
        update();
    }
}

ToolLook ToolButton::look() const {
    if (isDown()) {
        return ToolLook::Pressed;
    }
    return m_active ? ToolLook::Active : ToolLook::Normal;
}

QSize ToolButton::sizeHint() const {
    return {26, 26};
}

void ToolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap art = toolButtonPixmap(m_id, look(), devicePixelRatioF());
    const QSize size = art.deviceIndependentSize().toSize();
    painter.drawPixmap(QRect(QPoint(0, 0), size.boundedTo(this->size())), art);
    if (hasFocus()) {
        // A focus rectangle instead of a look of its own: a focused button is not the active
        // tool.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void ToolButton::mousePressEvent(QMouseEvent* event) {
    m_ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    QAbstractButton::mousePressEvent(event);
}

void ToolButton::mouseReleaseEvent(QMouseEvent* event) {
    // Ctrl counts as it is when the click completes.
    m_ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    QAbstractButton::mouseReleaseEvent(event);
}

void ToolButton::keyPressEvent(QKeyEvent* event) {
    m_ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    QAbstractButton::keyPressEvent(event);
}

}  // namespace typeloom::ui
