#pragma once

#include <QDialog>
#include <QString>

#include "export/export_driver.h"
#include "export/ui/export_ui_hooks.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace typeloom {
class Font;
class SettingsStore;
}  // namespace typeloom

namespace typeloom::ui {

// "Export Bitmap Data" (the steps bar's export command): seven radios, one a format, in the
// groups "Old Typeloom Studio 3.0 Format", "General Format" and "Microchip Format", and the
// buttons "&Save As...", "&Cancel" and "&Advance <<". The main frame holds the General and
// Microchip groups and the buttons; "&Advance" collapses the dialog to that frame, disabling
// the old-format group outside it, and expands it again.
//
// "&Save As..." asks for the file of the checked radio's format; on OK it remembers the
// choice in "FontOut" and closes the dialog with OK. Cancelling the file dialog leaves this
// dialog open.
//
// Below the groups, "Also write ... beside the file" asks for the C header the chosen file
// includes (tlmtype.h for the table-based C file, tlmfont.h for the General C file); it is
// disabled for the formats that include none of ours, and its state is kept in
// "ExportHeaders".
//
// Object names: checkWithHeader, radioOldC, radioOldAsm, radioOldDat, radioGeneralC,
// radioGeneralBin, radioMicrochipC, radioMicrochipBin, frameMain, groupOld, groupGeneral,
// groupMicrochip, buttonSaveAs, buttonCancel, buttonHelp (the "fileformat.htm" topic),
// buttonAdvance.
class ExportDialog : public QDialog {
    Q_OBJECT

  public:
    ExportDialog(const Font& font, SettingsStore& settings, ExportUiHooks hooks,
                 QWidget* parent = nullptr);

    bool isExpanded() const { return m_expanded; }
    // 0..6 for the radios in the order of their object names above.
    int checkedRadioIndex() const;
    // After OK: the chosen file and the format of the checked radio.
    const QString& path() const { return m_path; }
    exporters::ExportFormat format() const { return m_format; }
    // After OK: whether the header the file includes is to be written beside it.
    bool withHeader() const;

  private:
    void toggleAdvanced();
    void setExpanded(bool expanded);
    void saveAs();
    void updateHeaderCheck();

    const Font& m_font;
    SettingsStore& m_settings;
    ExportUiHooks m_hooks;
    QButtonGroup* m_radios;
    QFrame* m_frame;
    QGroupBox* m_oldGroup;
    QPushButton* m_advance;
    QCheckBox* m_withHeader;
    bool m_expanded = true;
    QString m_path;
    exporters::ExportFormat m_format{};
};

}  // namespace typeloom::ui
