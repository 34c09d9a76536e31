#pragma once

#include "common/ui/option_page.h"

class QCheckBox;
class QRadioButton;

namespace typeloom::ui {

// The preferences page "Typeloom Studio 3.0 Format": which tables the table-based
// exports write and the type of their data table, kept in "Pages option". The values are
// read when the page is first shown; apply() rewrites bits 0x01 (always set), 0x02, 0x04,
// 0x08, 0x10 and 0x40, keeps every other bit, and writes only a changed value. A page that
// was never shown applies nothing.
//
// Object names: checkDataTable (checked, disabled), checkOffsetTable, checkWidthTable,
// checkAsciiIndexTable, checkExtendedIndexTable, radioUchar (UCHAR), radioByLength (by the data
// length), buttonHelp.
class ExportOptionsPage : public OptionPage {
    Q_OBJECT

  public:
    explicit ExportOptionsPage(SettingsStore& settings, QWidget* parent = nullptr);

  protected:
    void loadValues() override;
    void applyValues() override;

  private:
    QCheckBox* m_offset;
    QCheckBox* m_width;
    QCheckBox* m_asciiIndex;
    QCheckBox* m_extendedIndex;
    QRadioButton* m_uchar;
    QRadioButton* m_byLength;
};

}  // namespace typeloom::ui
