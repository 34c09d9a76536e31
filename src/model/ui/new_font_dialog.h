#pragma once

#include <QDialog>

#include "model/new_font.h"
#include "model/ui/dialog_services.h"

class QLineEdit;

namespace typeloom::ui {

class SpinEdit;

inline constexpr const char* kNewFontHelpTopic = "newfont.htm";

// "New Empty Font": the name, the first and last character value, the width and the height of
// a new font of blank characters. OK runs the checks of acceptNewFontDialog; a refusal shows
// its message (error icon) and puts the focus on the field with its text selected.
class NewFontDialog : public QDialog {
    Q_OBJECT

  public:
    explicit NewFontDialog(QWidget* parent = nullptr,
                           DialogServices services = DialogServices::standard());

    // The fields as typed.
    NewFontFields fields() const;
    void setFields(const NewFontFields& fields);
    // The values accepted by OK.
    const NewFontParams& params() const { return m_params; }

    QLineEdit* nameEdit() const { return m_name; }
    SpinEdit* fromEdit() const { return m_from; }
    SpinEdit* toEdit() const { return m_to; }
    SpinEdit* widthEdit() const { return m_width; }
    SpinEdit* heightEdit() const { return m_height; }
    // The edit box of a field.
    QLineEdit* fieldEdit(NewFontField field) const;

    void accept() override;

  Q_SIGNALS:
    // The Help button: the topic of this dialog ("newfont.htm").
    void helpRequested(const QString& topic);

  private:
    DialogServices m_services;
    QLineEdit* m_name;
    SpinEdit* m_from;
    SpinEdit* m_to;
    SpinEdit* m_width;
    SpinEdit* m_height;
    NewFontParams m_params;
};

}  // namespace typeloom::ui
