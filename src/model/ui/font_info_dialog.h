#pragma once

#include <QDialog>

#include "model/font_information.h"
#include "model/ui/dialog_services.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace typeloom::ui {

class SpinEdit;

// "Font Info": the font's metrics and the Windows font header values it edits. It is filled
// from openFontInfo; OK runs checkFontInfo (a refusal shows its message with the error icon
// and puts the focus on the field with its text selected) and, when Variable was chosen for a
// fixed-width font, asks whether to make the font variable-width. The caller applies the
// accepted fields with applyFontInfo.
class FontInfoDialog : public QDialog {
    Q_OBJECT

  public:
    explicit FontInfoDialog(const FontInfoFields& fields, QWidget* parent = nullptr,
                            DialogServices services = DialogServices::standard());

    // The fields as the controls hold them.
    FontInfoFields fields() const;
    // After OK: the user answered Yes to making the fixed-width font variable-width.
    bool makeVariablePitch() const { return m_makeVariablePitch; }

    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* copyrightEdit() const { return m_copyright; }
    SpinEdit* defaultEdit() const { return m_default; }
    SpinEdit* breakEdit() const { return m_break; }
    SpinEdit* ascentEdit() const { return m_ascent; }
    SpinEdit* internalEdit() const { return m_internal; }
    SpinEdit* externalEdit() const { return m_external; }
    QComboBox* weightBox() const { return m_weight; }
    QComboBox* familyBox() const { return m_family; }
    QComboBox* charSetBox() const { return m_charSet; }
    QCheckBox* italicBox() const { return m_italic; }
    QCheckBox* underlineBox() const { return m_underline; }
    QCheckBox* strikeOutBox() const { return m_strikeOut; }
    QRadioButton* fixedButton() const { return m_fixed; }
    QRadioButton* variableButton() const { return m_variable; }
    // The edit box of a field.
    QLineEdit* fieldEdit(FontInfoField field) const;

    void accept() override;

  Q_SIGNALS:
    // The Help button: the topic of this dialog ("changeinfo.htm").
    void helpRequested(const QString& topic);

  private:
    DialogServices m_services;
    FontInfoFields m_shown;  // the shown-only values, returned as they came
    bool m_makeVariablePitch = false;
    QLineEdit* m_name;
    QLineEdit* m_firstChar;
    QLineEdit* m_lastChar;
    QLineEdit* m_width;
    QLineEdit* m_height;
    QComboBox* m_weight;
    QComboBox* m_family;
    QComboBox* m_charSet;
    SpinEdit* m_default;
    SpinEdit* m_break;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QCheckBox* m_strikeOut;
    SpinEdit* m_points;
    SpinEdit* m_ascent;
    SpinEdit* m_internal;
    SpinEdit* m_external;
    QRadioButton* m_fixed;
    QRadioButton* m_variable;
    QLineEdit* m_copyright;
};

}  // namespace typeloom::ui
