#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace typeloom::ui {

// "Start Address" (asked before a HEX export): " 0x " before a field of at most 8 hexadecimal
// digits that starts as "00000000".
class StartAddressDialog : public QDialog {
    Q_OBJECT

  public:
    explicit StartAddressDialog(QWidget* parent = nullptr);

    // The field read as a hexadecimal number; an empty field is 0.
    std::uint32_t startAddress() const;

  private:
    QLineEdit* m_edit;
};

// "To generate Hex File" (the HEX export's width warning): the characters wider than 16
// pixels in a read-only field, with "Yes" and "No".
class HexWidthWarningDialog : public QDialog {
    Q_OBJECT

  public:
    HexWidthWarningDialog(const QString& list, QWidget* parent = nullptr);
};

// The dialogs shown modally: the start address or nullopt when cancelled; true for "Yes".
std::optional<std::uint32_t> askHexStartAddress(QWidget* parent);
bool confirmHexWideCharacters(QWidget* parent, const QString& list);

}  // namespace typeloom::ui
