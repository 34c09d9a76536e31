#pragma once

#include <QLineEdit>

namespace typeloom::ui {

// The code fields of the dialogs that ask for character codes or addresses: only the
// hexadecimal digits 0-9, a-f, A-F (and the editing keys) can be typed; any other character is
// refused with a beep. Pasted text that is not hexadecimal is refused as well.
class HexEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit HexEdit(const QString& text = QString(), QWidget* parent = nullptr);

    static bool isHexCharacter(QChar c);

  Q_SIGNALS:
    // A typed character was refused (after the beep).
    void refused();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace typeloom::ui
