#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace typeloom {
class Font;
}

namespace typeloom::ui {

class CharacterListGrid;

// The help topic of the "&Help" button.
inline constexpr const char* kCharactersTableHelpTopic = "changerange.htm";

// The panel of the right pane: the caption "Characters Table", the characters list grid and
// the buttons "Edit Table..." and "&Help" in the bottom right corner.
class CharactersTablePanel : public QWidget {
    Q_OBJECT

  public:
    explicit CharactersTablePanel(Font& font, QWidget* parent = nullptr);

    CharacterListGrid* grid() const { return m_grid; }
    QPushButton* editTableButton() const { return m_editTable; }
    QPushButton* helpButton() const { return m_help; }

    // "Edit Table..." is enabled only while the dialog it opens is available.
    void setEditTableAvailable(bool available);
    // Presses "Edit Table..." as the main window's command does; nothing while it is disabled.
    void pressEditTable();

  Q_SIGNALS:
    void editTableRequested();
    void helpRequested(const QString& topic);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeChildren();

    QLabel* m_caption = nullptr;
    CharacterListGrid* m_grid = nullptr;
    QPushButton* m_editTable = nullptr;
    QPushButton* m_help = nullptr;
};

}  // namespace typeloom::ui
