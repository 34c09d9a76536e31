#pragma once

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;

namespace typeloom {
class FontHistory;
}

namespace typeloom::app {

// Edit > History...: the steps of the font's undo history, oldest first, under a first line
// for the state before them. The line of the current state is selected; choosing another
// line (double-click or "&Go To") walks the history there through `jump`, and the list
// follows. Steps undone stay listed, greyed, until a new edit replaces them.
//
// Object names: listHistory, buttonGoTo, buttonClose.
class HistoryDialog : public QDialog {
    Q_OBJECT

  public:
    HistoryDialog(const FontHistory& history, std::function<void(std::size_t)> jump,
                  QWidget* parent = nullptr);

    // Fills the list again from the history.
    void refresh();

  private:
    void goToSelected();

    const FontHistory& m_history;
    std::function<void(std::size_t)> m_jump;
    QListWidget* m_list;
    QPushButton* m_goTo;
};

}  // namespace typeloom::app
