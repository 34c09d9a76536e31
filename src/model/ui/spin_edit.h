#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace typeloom::ui {

// A number edit box with its up-down buddy: the box takes any digits the user types (the
// dialog checks the value on OK and names the limits), while the arrows and the Up, Down,
// Page Up and Page Down keys step the value within the spin range and write it into the box.
class SpinEdit : public QWidget {
    Q_OBJECT

  public:
    SpinEdit(int low, int high, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit; }
    QString text() const;
    void setText(const QString& text);
    void setValue(int value);
    void setRange(int low, int high);
    int minimum() const { return m_low; }
    int maximum() const { return m_high; }
    // Shown only: no typing and no stepping.
    void setReadOnly(bool readOnly);

    // Steps from the value in the box (held to the spin range first; a box that holds no
    // number steps from the low end).
    void stepBy(int steps);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_low;
    int m_high;
};

}  // namespace typeloom::ui
