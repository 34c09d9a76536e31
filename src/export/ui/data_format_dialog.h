#pragma once

#include <QDialog>
#include <cstdint>

#include "export/data_format.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace typeloom::ui {

class FormatPictureView;

// "Bitmap Data Format": edits a working copy of a data-format word. The radio groups start
// from the word (Scan based Row if 0x100, Scan preferred Row if 0x10, Data packed Yes if 0x1,
// Big Endian if 0x1000, "16 bits" for 0x40000, "32 bits" for 0x80000, "8 bits" otherwise);
// each click changes only its own bits of the working copy and redraws the example picture.
// "Preset" sets the radios of a controller's memory arrangement; the radios stay free to
// change. On "&OK" the check box "Invert bits when exporting" is written into the working
// copy; "&Cancel" changes nothing.
//
// Object names: radioScanRow, radioScanColumn, radioPreferRow, radioPreferColumn,
// radioPackedYes, radioPackedNo, radioBigEndian, radioLittleEndian, radio8Bits, radio16Bits,
// radio32Bits, checkInvert, presetList, presetDescription, formatPicture, buttonOk,
// buttonCancel.
class DataFormatDialog : public QDialog {
    Q_OBJECT

  public:
    explicit DataFormatDialog(std::uint32_t word, QWidget* parent = nullptr);

    // The working copy; after OK it holds the invert check box too.
    std::uint32_t word() const { return m_word; }
    bool invertChecked() const;
    FormatPictureView* picture() const { return m_picture; }
    QRadioButton* radio(exporters::DataFormatRadio which) const;

    void accept() override;

  private:
    void clickRadio(exporters::DataFormatRadio which);
    void choosePreset(int row);
    // The radios, the preset list and the picture from the working copy.
    void showWord();

    std::uint32_t m_word;
    QRadioButton* m_radios[11] = {};
    QCheckBox* m_invert = nullptr;
    QComboBox* m_presets = nullptr;
    QLabel* m_presetDescription = nullptr;
    FormatPictureView* m_picture = nullptr;
};

}  // namespace typeloom::ui
