#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;

namespace typeloom::ui {

// A field of the range dialog read as hexadecimal: an optional "0x", then digits up to the
// first character that is not one; an empty or non-numeric text reads as 0.
std::uint32_t rangeFieldValue(const QString& text);

// "Select range of characters": the fields First and Last (each after "0x", at most four
// characters, both empty at first). OK closes only with First <= Last <= the caller's
// maximum code; a First above the maximum puts the focus on First, any other refusal on Last,
// the field's text selected and a beep.
class SelectRangeDialog : public QDialog {
    Q_OBJECT

  public:
    SelectRangeDialog(std::uint16_t maxCode, QWidget* parent = nullptr);

    std::uint16_t first() const { return m_first; }
    std::uint16_t last() const { return m_last; }
    QLineEdit* firstField() const { return m_firstEdit; }
    QLineEdit* lastField() const { return m_lastEdit; }

    void accept() override;

  private:
    std::uint16_t m_maxCode;
    std::uint16_t m_first = 0;
    std::uint16_t m_last = 0;
    QLineEdit* m_firstEdit = nullptr;
    QLineEdit* m_lastEdit = nullptr;
};

}  // namespace typeloom::ui
