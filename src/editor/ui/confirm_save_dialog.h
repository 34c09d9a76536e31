#pragma once

#include <QDialog>

class QCheckBox;

namespace typeloom::ui {

// The user's answer to "save the changed character?": Yes or No, and whether the check box
// "Do not show this warning message the next time" was ticked.
struct ConfirmSaveAnswer {
    bool save = false;
    bool dontAskAgain = false;
};

// Asked when the user moves to another character while the edited one has unsaved changes.
// Closing the dialog counts as No.
class ConfirmSaveDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ConfirmSaveDialog(QWidget* parent = nullptr);

    bool dontAskAgain() const;
    // Shows the dialog modally and returns the answer.
    static ConfirmSaveAnswer ask(QWidget* parent);

  private:
    QCheckBox* m_dontAsk = nullptr;
};

}  // namespace typeloom::ui
