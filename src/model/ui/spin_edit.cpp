#include "model/ui/spin_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace typeloom::ui {

SpinEdit::SpinEdit(int low, int high, QWidget* parent)
    : QWidget(parent),
      m_edit(new QLineEdit(this)),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)),
      m_low(low),
      m_high(high) {
    // Digits only, as a number edit box takes; ten of them cover every 32-bit value.
    m_edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), this));
    m_edit->installEventFilter(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });

    auto* arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addLayout(arrows);
    setFocusProxy(m_edit);
}

QString SpinEdit::text() const {
    return m_edit->text();
}

void SpinEdit::setText(const QString& text) {
    m_edit->setText(text);
}

void SpinEdit::setValue(int value) {
    m_edit->setText(QString::number(value));
}

void SpinEdit::setRange(int low, int high) {
    m_low = low;
    m_high = std::max(low, high);
}

void SpinEdit::setReadOnly(bool readOnly) {
    m_edit->setReadOnly(readOnly);
    m_up->setEnabled(!readOnly);
    m_down->setEnabled(!readOnly);
}

void SpinEdit::stepBy(int steps) {
    if (m_edit->isReadOnly()) {
        return;
    }
    bool ok = false;
    const qlonglong typed = m_edit->text().toLongLong(&ok);
    long long value = ok ? std::clamp<long long>(typed, m_low, m_high) : m_low;
    value = std::clamp<long long>(value + steps, m_low, m_high);
    m_edit->setText(QString::number(value));
    m_edit->selectAll();
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                stepBy(1);
                return true;
            case Qt::Key_Down:
                stepBy(-1);
                return true;
            case Qt::Key_PageUp:
                stepBy(10);
                return true;
            case Qt::Key_PageDown:
                stepBy(-10);
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace typeloom::ui
