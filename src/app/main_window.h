#pragma once

#include <QMainWindow>
#include <QString>
#include <cstddef>
#include <functional>
#include <map>
#include <string>

#include "app/commands.h"

class QAction;
class QMenu;
class QDockWidget;
class QSplitter;
class QToolBar;
class QToolButton;

namespace typeloom::ui {
class CharacterDataPanel;
class CharacterEditorPanel;
class CharacterListGrid;
class CharactersTablePanel;
class PixelGrid;
}  // namespace typeloom::ui

namespace typeloom {
class Font;
}

namespace typeloom::app {

class StudioApp;
class ProgressStatusBar;
class PreviewPanel;

// The main window: a splitter with the editing panel above the character data panel on the
// left and the characters table panel on the right, three toolbars, the menus and the status
// bar. It offers the frame services the rest of the program calls after changing the font.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(StudioApp& app, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProgressStatusBar& progressBar() { return *m_statusBar; }
    ui::CharacterEditorPanel* editorPanel() const { return m_editorPanel; }
    ui::PixelGrid* pixelGrid() const { return m_pixelGrid; }
    // Makes the character of this index the edited one (the edited glyph is settled first, as
    // for a click in the characters list).
    void goToCharacter(int index);
    ui::CharactersTablePanel* tablePanel() const { return m_tablePanel; }
    ui::CharacterListGrid* characterList() const { return m_characterList; }
    ui::CharacterDataPanel* dataPanel() const { return m_dataPanel; }

    // --- Commands
    QAction* action(CommandId id) const;
    // Connects a command to its work. A command without a handler stays disabled.
    void setCommandHandler(CommandId id, std::function<void()> handler);
    bool hasCommandHandler(CommandId id) const { return m_handlers.count(id) != 0; }
    // Runs a command when its update rule enables it; returns whether it ran.
    bool executeCommand(CommandId id);
    CommandState commandState() const;
    bool isCommandEnabled(CommandId id) const;
    // Applies every update rule to the actions (menus, toolbars).
    void updateCommandStates();
    QToolBar* stepsBar() const { return m_stepsBar; }
    QToolBar* fileBar() const { return m_fileBar; }
    QToolBar* fontBar() const { return m_fontBar; }
    // The New pop-up of the file bar's first button.
    QMenu* newMenu() const { return m_newMenu; }
    void rebuildRecentFilesMenu();
    // Copy, Paste, Delete, Select All and Undo: on the focused text field when there is one,
    // on the glyph editor otherwise.
    void routeEditCommand(CommandId id);
    // The base name of the file last chosen for an export run.
    QString& lastExportBaseName() { return m_lastExportBaseName; }
    // Opens the help window on a topic (the contents for an empty topic).
    void showHelpTopic(const QString& topic);
    // The "=" and "-" keys: the next darker or lighter colour swatch of the editor.
    void stepColorSwatch(bool next);
    QSplitter* mainSplitter() const { return m_mainSplitter; }
    QSplitter* leftSplitter() const { return m_leftSplitter; }

    // --- The undo history
    // Undo and Redo on the font's history, and a walk to the state after `count` steps (the
    // History list): the glyph on screen, the panes and the modified flag follow.
    void historyUndo();
    void historyRedo();
    void historyJump(std::size_t count);
    // Runs a font-wide command as one step of the history named `name`: the glyph on screen is
    // stored first, the command changes the font (returning false when it changed nothing),
    // and the editor and panes show the result. True when the font changed.
    bool runFontWideStep(const std::string& name, const std::function<bool(Font&)>& command);
    // The same for a command whose dialog comes first: the command calls `begin` once the user
    // accepted and before it changes the font (the glyph on screen is stored then and the font
    // noted as it was), so that a cancelled dialog costs and stores nothing.
    using FontWideDialog = std::function<bool(Font&, const std::function<void()>& begin)>;
    bool runFontWideDialog(const std::string& name, const FontWideDialog& command);

    // --- Frame services
    void storeEditedGlyph();
    void reloadEditedGlyph();
    void refreshDataPanel();
    void refreshCharacterList();
    void selectInitialCharacter();
    void updateFrameTitle();
    void updateStatusPanes();

    // Window placement and splitter sizes, saved on close and restored at start.
    bool restoreWindowPlacement();
    void saveWindowPlacement();
    void applySplitterPos(long long splitterPos);

  Q_SIGNALS:
    // A font-wide command, or the undo or redo of one, changed the font.
    void fontWideChangeDone();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createPanes();
    void createActions();
    void createMenus();
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries);
    void createToolBars();
    void createShortcuts();
    void popUpNewMenu();
    void gridEditCommand(CommandId id);
    // What follows every walk of the history.
    void afterHistoryWalk(bool fontWide);
    // The Undo and Redo menu texts name the step they take.
    void updateHistoryTexts(const CommandState& state);
    void connectBitInspector();

    StudioApp& m_app;
    QSplitter* m_mainSplitter = nullptr;
    QSplitter* m_leftSplitter = nullptr;
    QWidget* m_editorView = nullptr;       // character editor panel and pixel grid
    QWidget* m_dataView = nullptr;         // character data panel
    QWidget* m_tableView = nullptr;        // characters table panel
    QDockWidget* m_previewDock = nullptr;  // sample text as the firmware draws it
    PreviewPanel* m_previewPanel = nullptr;
    ProgressStatusBar* m_statusBar = nullptr;
    ui::CharacterEditorPanel* m_editorPanel = nullptr;
    ui::PixelGrid* m_pixelGrid = nullptr;
    ui::CharactersTablePanel* m_tablePanel = nullptr;
    ui::CharacterDataPanel* m_dataPanel = nullptr;
    ui::CharacterListGrid* m_characterList = nullptr;
    QString m_lastExportBaseName;
    std::map<CommandId, QAction*> m_actions;
    std::map<CommandId, std::function<void()>> m_handlers;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlace = nullptr;  // recent files are inserted before this separator
    std::vector<QAction*> m_recentActions;
    QMenu* m_newMenu = nullptr;
    QToolBar* m_stepsBar = nullptr;
    QToolBar* m_fileBar = nullptr;
    QToolBar* m_fontBar = nullptr;
};

}  // namespace typeloom::app
