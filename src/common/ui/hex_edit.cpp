#include "common/ui/hex_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace typeloom::ui {

HexEdit::HexEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]*")), this));
}

bool HexEdit::isHexCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

void HexEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    // Keys that type a character: only hexadecimal digits go through; editing keys
    // (backspace, arrows, shortcuts with Ctrl) keep their usual meaning.
    const bool typesCharacter =
        text.size() == 1 && text[0].isPrint() && !event->modifiers().testFlag(Qt::ControlModifier);
    if (typesCharacter && !isHexCharacter(text[0])) {
        QApplication::beep();
        Q_EMIT refused();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace typeloom::ui
