#pragma once

#include <QDialog>
#include <cstdint>

#include "model/ui/dialog_services.h"

class QButtonGroup;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace typeloom {
class Font;
}

namespace typeloom::ui {

class TableEditorGrid;

inline constexpr const char* kEditTableHelpTopic = "changerange.htm";

// "Edit Characters Table": the font's characters table as a grid over the editing copy, the
// encoding buttons, the Script list (the scripts of the font's face, enabled in Ascii+ISO8859
// only) and the buttons that enable or disable ranges, all codes, or the characters of a
// table text file. Closing with OK leaves the edits for the caller to commit; Cancel puts the
// editing copy back to the committed table.
class EditCharactersTableDialog : public QDialog {
    Q_OBJECT

  public:
    EditCharactersTableDialog(Font& font, DialogServices services, QWidget* parent = nullptr);

    TableEditorGrid* grid() const { return m_grid; }
    QRadioButton* encodingButton(int encoding) const;
    QComboBox* scriptList() const { return m_scripts; }
    QPushButton* button(const char* objectName) const;
    // The character set chosen in the Script list (at first the font's).
    std::uint8_t chosenCharSet() const { return m_charSet; }

    void reject() override;

    // The buttons' work, also for tests (the range ones ask through SelectRangeDialog).
    void chooseEncoding(int encoding);
    void chooseScript(int index);
    void changeRange(bool enable);
    void changeAll(bool enable);
    void loadTable();
    void saveTable();

  private:
    void fillScripts();

    Font& m_font;
    DialogServices m_services;
    TableEditorGrid* m_grid = nullptr;
    QButtonGroup* m_encodings = nullptr;
    QComboBox* m_scripts = nullptr;
    std::uint8_t m_charSet = 0;
};

// Runs the dialog on the font and commits its edits on OK (with the chosen script). Returns
// whether the font changed.
bool runEditCharactersTable(QWidget* parent, Font& font, const DialogServices& services);

}  // namespace typeloom::ui
