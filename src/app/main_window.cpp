#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "app/edit_routing.h"
#include "app/font_document.h"
#include "app/help.h"
#include "app/icons.h"
#include "app/preview_panel.h"
#include "app/progress_status_bar.h"
#include "app/settings_keys.h"
#include "app/studio_app.h"
#include "app/window_placement.h"
#include "charset/encodings.h"
#include "editor/ui/character_editor_panel.h"
#include "editor/ui/editor_settings.h"
#include "editor/ui/pixel_grid.h"
#include "export/ui/character_data_panel.h"
#include "interchange/multicopy.h"
#include "interchange/ui/multi_copy_dialogs.h"
#include "model/font_settings.h"
#include "model/ui/character_list_grid.h"
#include "model/ui/characters_table_panel.h"
#include "model/ui/dialog_services.h"

namespace typeloom::app {

namespace {

const QString kTitleSuffix = QStringLiteral("Typeloom Studio 3.5");

// A plain framed pane for a panel that has no content yet.
QWidget* plainPane(const QString& name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

}  // namespace

MainWindow::MainWindow(StudioApp& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    setObjectName(QStringLiteral("MainWindow"));
    setAcceptDrops(true);
    setWindowIcon(applicationIcon());
    m_statusBar = new ProgressStatusBar(this);
    setStatusBar(m_statusBar);
    createActions();
    createPanes();
    createMenus();
    createToolBars();
    createShortcuts();
    applySplitterPos(
        m_app.settings().integer(kSettingsSection, kSplitterPosKey, kSplitterPosDefault));
    updateStatusPanes();
    updateFrameTitle();
    updateCommandStates();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &MainWindow::updateCommandStates);
    connect(qApp, &QApplication::focusChanged, this, [this] { updateCommandStates(); });
}

MainWindow::~MainWindow() {
    // The panes go first, while the frame they report to is whole; nothing that fires during
    // their destruction (focus changes, the grid storing its zoom) reaches the frame.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    for (QObject* pane : std::initializer_list<QObject*>{
             m_pixelGrid, m_editorPanel, m_characterList, m_tablePanel, m_dataPanel}) {
        if (pane != nullptr) {
            pane->disconnect();
        }
    }
    delete m_previewDock;
    delete takeCentralWidget();
    m_previewDock = nullptr;
    m_previewPanel = nullptr;
    m_pixelGrid = nullptr;
    m_editorPanel = nullptr;
    m_characterList = nullptr;
    m_tablePanel = nullptr;
    m_dataPanel = nullptr;
}

void MainWindow::createActions() {
    for (const CommandInfo& command : commandTable()) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("action") + QLatin1String(command.name));
        action->setData(QVariant::fromValue(command.id));
        // The key text after "\t" is shown by the menu; the keys themselves are handled by
        // the application's key filter and the frame's shortcuts.
        action->setText(QString::fromLatin1(command.menuText));
        // Toolbar buttons show no key text.
        action->setIconText(QString::fromLatin1(command.menuText).section(QLatin1Char('\t'), 0, 0));
        action->setIcon(commandIcon(command.id));
        action->setStatusTip(commandPrompt(command));
        action->setToolTip(commandToolTip(command));
        const CommandId id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { executeCommand(id); });
        m_actions[id] = action;
    }
}

QAction* MainWindow::action(CommandId id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainWindow::setCommandHandler(CommandId id, std::function<void()> handler) {
    m_handlers[id] = std::move(handler);
    updateCommandStates();
}

bool MainWindow::isCommandEnabled(CommandId id) const {
    if (id >= CommandId::RecentFirst && id <= CommandId::RecentLast) {
        return true;
    }
    const CommandInfo* command = findCommand(id);
    if (command == nullptr || m_handlers.count(id) == 0) {
        return false;
    }
    return app::isCommandEnabled(command->rule, commandState());
}

bool MainWindow::executeCommand(CommandId id) {
    // A key or a toolbar runs a command only while its update rule allows it, so that (say)
    // Ctrl+S cannot save a font without characters.
    if (!isCommandEnabled(id)) {
        return false;
    }
    auto it = m_handlers.find(id);
    if (it == m_handlers.end()) {
        return false;
    }
    // Copy the handler: it may replace the handler table (or the font) while it runs.
    std::function<void()> handler = it->second;
    handler();
    updateStatusPanes();
    updateCommandStates();
    return true;
}

CommandState MainWindow::commandState() const {
    const Font& font = m_app.font();
    CommandState state;
    state.characterCount = font.count();
    state.fixedWidth = font.fixedWidth;
    state.bitsPerPixel = static_cast<int>(font.bitsPerPixel);
    state.encoding = static_cast<int>(font.encoding);
    state.gridZoom = static_cast<int>(
        m_app.settings().integer(kSettingsSection, ui::kGridZoomKey, ui::kGridZoomDefault));
    QWidget* focus = QApplication::focusWidget();
    state.editFieldFocused = isEditField(focus);
    if (state.editFieldFocused) {
        state.fieldCanUndo = fieldCanUndo(focus);
        state.fieldCanRedo = fieldCanRedo(focus);
        state.fieldHasSelection = fieldHasSelection(focus);
        state.fieldHasText = fieldHasText(focus);
    }
    if (const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData()) {
        state.clipboardHasText = clipboard->hasText();
        state.clipboardHasImage = clipboard->hasImage();
        state.clipboardCanMultiPaste =
            state.characterCount > 0 &&
            multiPasteEnabled(m_app.font(), ui::clipboardMultiCopyBlock());
    }
    const FontHistory& history = m_app.document().history();
    state.historyCanUndo = history.canUndo();
    state.historyCanRedo = history.canRedo();
    state.historyHasSteps = history.size() > 0;
    if (m_pixelGrid != nullptr) {
        state.gridZoom = m_pixelGrid->zoom();
        state.glyphChanged = m_pixelGrid->canUndo();
        state.glyphCanUndoAll = m_pixelGrid->canUndoAll();
        state.glyphCanDelete = m_pixelGrid->canDelete();
    }
    return state;
}

void MainWindow::updateCommandStates() {
    const CommandState state = commandState();
    for (auto& [id, action] : m_actions) {
        const CommandInfo* command = findCommand(id);
        const bool enabled = command != nullptr && m_handlers.count(id) != 0 &&
                             app::isCommandEnabled(command->rule, state);
        action->setEnabled(enabled);
    }
    updateHistoryTexts(state);
}

void MainWindow::updateHistoryTexts(const CommandState& state) {
    const FontHistory& history = m_app.document().history();
    struct Entry {
        CommandId id;
        std::string name;
        const char* verb;
        const char* key;
    };
    for (const Entry& entry : {Entry{CommandId::Undo, history.undoName(), "&Undo", "Ctrl+Z"},
                               Entry{CommandId::Redo, history.redoName(), "&Redo", "Ctrl+Y"}}) {
        QAction* a = action(entry.id);
        const CommandInfo* command = findCommand(entry.id);
        if (a == nullptr || command == nullptr) {
            continue;
        }
        // A text field's own undo has no name; neither has an empty history.
        if (state.editFieldFocused || entry.name.empty()) {
            a->setText(QString::fromLatin1(command->menuText));
        } else {
            a->setText(QStringLiteral("%1 %2\t%3")
                           .arg(QString::fromLatin1(entry.verb),
                                QString::fromStdString(entry.name).replace('&', "&&"),
                                QString::fromLatin1(entry.key)));
        }
    }
}

namespace {

// The working copy of the editor, as the history reaches it.
class EditorGlyph : public EditedGlyph {
  public:
    explicit EditorGlyph(ui::PixelGrid& grid) : m_grid(grid) {}
    std::uint16_t editedUnicode() const override { return m_grid.workingGlyph().unicode(); }
    void restoreEdited(const GlyphContent& content) override { m_grid.restoreContent(content); }

  private:
    ui::PixelGrid& m_grid;
};

}  // namespace

void MainWindow::historyUndo() {
    FontHistory& history = m_app.document().history();
    if (!history.canUndo()) {
        return;
    }
    const bool fontWide = !history.step(history.position() - 1).glyphKey().has_value();
    if (fontWide) {
        storeEditedGlyph();
    }
    EditorGlyph editor(*m_pixelGrid);
    history.undo(m_app.font(), m_pixelGrid->hasCharacter() ? &editor : nullptr);
    afterHistoryWalk(fontWide);
}

void MainWindow::historyRedo() {
    FontHistory& history = m_app.document().history();
    if (!history.canRedo()) {
        return;
    }
    const bool fontWide = !history.step(history.position()).glyphKey().has_value();
    if (fontWide) {
        storeEditedGlyph();
    }
    EditorGlyph editor(*m_pixelGrid);
    history.redo(m_app.font(), m_pixelGrid->hasCharacter() ? &editor : nullptr);
    afterHistoryWalk(fontWide);
}

void MainWindow::historyJump(std::size_t count) {
    // One step at a time, so that the glyph on screen is stored before and reloaded after each
    // font-wide step exactly as a single Undo or Redo does.
    const FontHistory& history = m_app.document().history();
    while (history.position() > count && history.canUndo()) {
        historyUndo();
    }
    while (history.position() < count && history.canRedo()) {
        historyRedo();
    }
}

void MainWindow::afterHistoryWalk(bool fontWide) {
    if (fontWide) {
        // The step may have changed the character list: stay on the character when it is
        // still there, else start again where a new font starts.
        const int index = m_pixelGrid->currentIndex();
        if (index >= 0 && index < m_app.font().count()) {
            reloadEditedGlyph();
        } else {
            selectInitialCharacter();
        }
    }
    refreshCharacterList();
    refreshDataPanel();
    m_app.document().followHistory();
    updateFrameTitle();
    updateStatusPanes();
    updateCommandStates();
    if (fontWide) {
        Q_EMIT fontWideChangeDone();
    }
}

bool MainWindow::runFontWideStep(const std::string& name,
                                 const std::function<bool(Font&)>& command) {
    return runFontWideDialog(name, [&command](Font& font, const std::function<void()>& begin) {
        begin();
        const ui::WaitCursor wait;
        return command(font);
    });
}

bool MainWindow::runFontWideDialog(const std::string& name, const FontWideDialog& command) {
    std::optional<FontHistory::Snapshot> before;
    const std::function<void()> begin = [this, &before] {
        if (!before) {
            storeEditedGlyph();
            const ui::WaitCursor wait;
            before.emplace(m_app.font());
        }
    };
    if (!command(m_app.font(), begin)) {
        return false;
    }
    if (before) {
        const ui::WaitCursor wait;
        m_app.document().history().recordFontChange(name, std::move(*before), m_app.font());
    } else {
        // A command that changed the font without noting it first cannot be undone: the
        // saved state is then out of reach, so the document stays modified.
        m_app.document().setModifiedFlag(true);
    }
    afterHistoryWalk(true);
    return true;
}

void MainWindow::createMenus() {
    for (const MenuPopup& popup : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(popup.title));
        if (QString::fromLatin1(popup.title) == QStringLiteral("&File")) {
            m_fileMenu = menu;
        }
        fillMenu(menu, popup.items);
    }
    m_newMenu = new QMenu(this);
    m_newMenu->setObjectName(QStringLiteral("newMenu"));
    for (CommandId id : newMenuCommands()) {
        m_newMenu->addAction(action(id));
    }
    connect(m_newMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    rebuildRecentFilesMenu();
}

void MainWindow::fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries) {
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::Popup:
                fillMenu(menu->addMenu(QString::fromLatin1(entry.popupTitle)), entry.items);
                break;
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::RecentFiles:
                // The recent files go here, before the separator that follows.
                m_recentPlace = menu->addSeparator();
                m_recentPlace->setVisible(false);
                break;
            case MenuEntry::Kind::Command:
                menu->addAction(action(entry.command));
                break;
        }
    }
}

void MainWindow::rebuildRecentFilesMenu() {
    if (m_fileMenu == nullptr || m_recentPlace == nullptr) {
        return;
    }
    for (QAction* old : m_recentActions) {
        m_fileMenu->removeAction(old);
        old->deleteLater();
    }
    m_recentActions.clear();
    const QStringList& entries = m_app.recentFiles().entries();
    if (entries.isEmpty()) {
        // An empty list shows one disabled placeholder item.
        auto* none = new QAction(QStringLiteral("Recent File"), this);
        none->setEnabled(false);
        m_fileMenu->insertAction(m_recentPlace, none);
        m_recentActions.push_back(none);
        return;
    }
    for (qsizetype i = 0; i < entries.size() && i < kRecentFileCount; ++i) {
        const QString path = entries[i];
        QString shown = QDir::toNativeSeparators(path);
        shown = fontMetrics().elidedText(shown, Qt::ElideMiddle, 400);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* recent = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        recent->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        recent->setStatusTip(QStringLiteral("Open this document"));
        recent->setToolTip(path);
        connect(recent, &QAction::triggered, this, [this, path] { m_app.openRecentFile(path); });
        m_fileMenu->insertAction(m_recentPlace, recent);
        m_recentActions.push_back(recent);
    }
}

void MainWindow::createToolBars() {
    m_fileBar = new QToolBar(QStringLiteral("File"), this);
    m_fileBar->setObjectName(QStringLiteral("fileBar"));
    m_stepsBar = new QToolBar(QStringLiteral("Steps"), this);
    m_stepsBar->setObjectName(QStringLiteral("stepsBar"));
    m_fontBar = new QToolBar(QStringLiteral("Font"), this);
    m_fontBar->setObjectName(QStringLiteral("fontBar"));

    // The New button pops up the New menu under itself, from the button and its arrow alike.
    auto* newButton = new QToolButton(m_fileBar);
    newButton->setObjectName(QStringLiteral("newButton"));
    newButton->setDefaultAction(action(CommandId::NewMenu));
    newButton->setMenu(m_newMenu);
    newButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_fileBar->addWidget(newButton);
    setCommandHandler(CommandId::NewMenu, [this] { popUpNewMenu(); });
    for (CommandId id : {CommandId::Open, CommandId::Save}) {
        m_fileBar->addAction(action(id));
    }
    m_fileBar->addSeparator();
    for (CommandId id : {CommandId::Copy, CommandId::Paste}) {
        m_fileBar->addAction(action(id));
    }
    for (CommandId id : {CommandId::ImportSystemFont, CommandId::EditTable, CommandId::ChangeHeight,
                         CommandId::DataFormat, CommandId::ExportDialog}) {
        m_stepsBar->addAction(action(id));
    }
    for (CommandId id : {CommandId::InvertAll, CommandId::MirrorHorizontal,
                         CommandId::MirrorVertical, CommandId::RemoveBlankColumns}) {
        m_fontBar->addAction(action(id));
    }
    // The file bar first, the steps bar right of it, the font bar right of that.
    for (QToolBar* bar : {m_fileBar, m_stepsBar, m_fontBar}) {
        // The icons are drawn on a 16-pixel grid.
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(true);
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        addToolBar(Qt::TopToolBarArea, bar);
    }
}

void MainWindow::popUpNewMenu() {
    QWidget* button = m_fileBar->findChild<QToolButton*>(QStringLiteral("newButton"));
    QPoint at = button != nullptr ? button->mapToGlobal(QPoint(0, button->height()))
                                  : mapToGlobal(QPoint(0, 0));
    m_newMenu->popup(at);
}

void MainWindow::createShortcuts() {
    // The keys of the accelerator table that the key filter does not handle.
    struct Key {
        QKeySequence sequence;
        CommandId command;
    };
    const Key keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), CommandId::Copy},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), CommandId::Paste},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), CommandId::Undo},
    };
    for (const Key& key : keys) {
        auto* shortcut = new QShortcut(key.sequence, this);
        const CommandId id = key.command;
        connect(shortcut, &QShortcut::activated, this, [this, id] { executeCommand(id); });
    }
    // F6 and Shift+F6 move the keyboard focus to the next and previous pane.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { focusNextChild(); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, this, [this] { focusPreviousChild(); });
}

void MainWindow::createPanes() {
    m_mainSplitter = new QSplitter(Qt::Horizontal, this);
    m_mainSplitter->setObjectName(QStringLiteral("mainSplitter"));
    m_mainSplitter->setChildrenCollapsible(false);
    m_leftSplitter = new QSplitter(Qt::Vertical, m_mainSplitter);
    m_leftSplitter->setObjectName(QStringLiteral("leftSplitter"));
    m_leftSplitter->setChildrenCollapsible(false);
    m_editorView = plainPane(QStringLiteral("EditorView"), m_leftSplitter);
    static_cast<QFrame*>(m_editorView)->setFrameShape(QFrame::NoFrame);
    auto* editorLayout = new QVBoxLayout(m_editorView);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    m_editorPanel = new ui::CharacterEditorPanel(m_app.font(), m_app.settings(), m_editorView);
    editorLayout->addWidget(m_editorPanel);
    m_pixelGrid = m_editorPanel->pixelGrid();
    // Edits of the glyph on screen become steps of the font's history when they finish; a
    // store only moves the glyph into the font, which the history sees as no change.
    connect(m_pixelGrid, &ui::PixelGrid::documentModified, this,
            [this] { m_app.document().noteEdit(); });
    m_pixelGrid->editFinished = [this](const std::string& name, std::uint16_t unicode,
                                       GlyphContent before, GlyphContent after) {
        m_app.document().history().recordGlyphEdit(name, unicode, std::move(before),
                                                   std::move(after));
        m_app.document().followHistory();
        updateCommandStates();
    };
    m_pixelGrid->undoHandler = [this] { historyUndo(); };
    connect(m_pixelGrid, &ui::PixelGrid::glyphChanged, this, &MainWindow::updateCommandStates);
    connect(m_pixelGrid, &ui::PixelGrid::characterLoaded, this, &MainWindow::updateCommandStates);
    connect(m_pixelGrid, &ui::PixelGrid::zoomChanged, this, &MainWindow::updateCommandStates);
    m_dataView = plainPane(QStringLiteral("DataView"), m_leftSplitter);
    static_cast<QFrame*>(m_dataView)->setFrameShape(QFrame::NoFrame);
    auto* dataLayout = new QVBoxLayout(m_dataView);
    dataLayout->setContentsMargins(0, 0, 0, 0);
    m_dataPanel = new ui::CharacterDataPanel(m_app.font(), m_app.settings(), m_dataView);
    dataLayout->addWidget(m_dataPanel);
    // The panel shows the glyph on screen, also while a stroke is under way.
    m_dataPanel->setGlyphSource([this] {
        ui::CharacterDataPanel::GlyphOnScreen glyph;
        if (m_pixelGrid != nullptr && m_pixelGrid->hasCharacter()) {
            const WorkingGlyph& working = m_pixelGrid->workingGlyph();
            glyph.index = m_pixelGrid->currentIndex();
            glyph.width = working.width();
            glyph.pixels = working.pixels();
        }
        return glyph;
    });
    connect(m_pixelGrid, &ui::PixelGrid::glyphChanged, m_dataPanel,
            &ui::CharacterDataPanel::scheduleRefresh);
    connect(m_dataPanel, &ui::CharacterDataPanel::wordChanged, this, [this] {
        m_characterList->viewport()->update();
        updateCommandStates();
    });
    connectBitInspector();
    m_tableView = plainPane(QStringLiteral("TableView"), m_mainSplitter);
    static_cast<QFrame*>(m_tableView)->setFrameShape(QFrame::NoFrame);
    auto* rightLayout = new QVBoxLayout(m_tableView);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_tablePanel = new ui::CharactersTablePanel(m_app.font(), m_tableView);
    rightLayout->addWidget(m_tablePanel);
    m_characterList = m_tablePanel->grid();
    connect(m_tablePanel, &ui::CharactersTablePanel::helpRequested, this,
            &MainWindow::showHelpTopic);
    // Picking a character in the list settles the one being edited, then the list marks
    // the new one current.
    connect(m_characterList, &ui::CharacterListGrid::characterPicked, m_editorPanel,
            &ui::CharacterEditorPanel::selectCharacter);
    connect(m_editorPanel, &ui::CharacterEditorPanel::characterSelected, this, [this](int index) {
        m_characterList->setCurrentIndex(index);
        refreshDataPanel();
        updateStatusPanes();
        updateCommandStates();
    });
    connect(m_pixelGrid, &ui::PixelGrid::glyphStored, m_characterList,
            &ui::CharacterListGrid::redrawCell);
    m_leftSplitter->addWidget(m_editorView);
    m_leftSplitter->addWidget(m_dataView);
    m_mainSplitter->addWidget(m_leftSplitter);
    m_mainSplitter->addWidget(m_tableView);
    // Room the window gains goes to the editor, where a glyph at a high zoom needs it.
    m_mainSplitter->setStretchFactor(0, 1);
    m_mainSplitter->setStretchFactor(1, 0);
    m_leftSplitter->setStretchFactor(0, 1);
    m_leftSplitter->setStretchFactor(1, 0);
    setCentralWidget(m_mainSplitter);

    // Sample text as the firmware will draw it, docked below the panes and redrawn as the
    // glyph being edited changes.
    m_previewPanel = new PreviewPanel(m_app.font(), m_app.settings(), m_pixelGrid, this);
    m_previewDock = new QDockWidget(QStringLiteral("Preview"), this);
    m_previewDock->setObjectName(QStringLiteral("PreviewDock"));
    m_previewDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_previewDock->setWidget(m_previewPanel);
    addDockWidget(Qt::BottomDockWidgetArea, m_previewDock);
    connect(m_pixelGrid, &ui::PixelGrid::glyphChanged, m_previewPanel, &PreviewPanel::refresh);
    connect(m_pixelGrid, &ui::PixelGrid::characterLoaded, m_previewPanel,
            [this] { m_previewPanel->refresh(); });
}

void MainWindow::applySplitterPos(long long splitterPos) {
    const SplitterSizes sizes = splitterSizesFrom(splitterPos);
    m_mainSplitter->setSizes({sizes.columnWidth, std::max(1, width() - sizes.columnWidth)});
    m_leftSplitter->setSizes({sizes.rowHeight, std::max(1, height() - sizes.rowHeight)});
}

void MainWindow::storeEditedGlyph() {
    m_pixelGrid->storeEditedGlyph();
}

void MainWindow::reloadEditedGlyph() {
    m_pixelGrid->reloadEditedGlyph();
    m_editorPanel->updateTitle();
}

void MainWindow::refreshDataPanel() {
    m_pixelGrid->update();
    m_dataPanel->refreshPanel();
}

void MainWindow::connectBitInspector() {
    // A unit hovered in the text: its pixels are marked in the grid.
    connect(m_dataPanel, &ui::CharacterDataPanel::unitHovered, this,
            [this](int unit) { m_pixelGrid->setMarkedPixels(m_dataPanel->pixelsOfUnit(unit)); });
    // A pixel hovered in the grid: its unit is marked in the text and in the grid, and the
    // status bar says where the pixel goes.
    connect(m_pixelGrid, &ui::PixelGrid::cellHovered, this, [this](int x, int y) {
        const int unit = m_dataPanel->unitOfPixel(x, y);
        m_dataPanel->markUnit(unit);
        m_pixelGrid->setMarkedPixels(m_dataPanel->pixelsOfUnit(unit));
        const QString where = m_dataPanel->describePixel(x, y);
        if (where.isEmpty()) {
            m_statusBar->clearMessage();
        } else {
            m_statusBar->showMessage(where);
        }
    });
}
void MainWindow::refreshCharacterList() {
    m_characterList->relayout();
    m_previewPanel->refresh();
}
void MainWindow::selectInitialCharacter() {
    // The letter A, else the first character (nothing in an empty font).
    const int index = m_app.font().count() > 0 ? std::max(0, m_app.font().initialIndex()) : -1;
    m_editorPanel->layoutSwatches();
    refreshCharacterList();
    m_characterList->setCurrentIndex(index);
    m_pixelGrid->loadCharacter(index);
    m_editorPanel->updateTitle();
    refreshDataPanel();
    updateStatusPanes();
    updateCommandStates();
}

void MainWindow::showHelpTopic(const QString& topic) {
    showHelp(topic);
}

void MainWindow::goToCharacter(int index) {
    m_editorPanel->selectCharacter(index);
}

void MainWindow::updateFrameTitle() {
    // An untitled document shows the font's name; "[*]" marks unsaved changes where the
    // desktop shows them (Qt puts '*' there while the window is modified).
    const FontDocument& doc = m_app.document();
    const std::string& name = m_app.font().faceName;
    const QString shown =
        doc.pathName().isEmpty() && !name.empty() ? QString::fromStdString(name) : doc.title();
    setWindowTitle(shown + QStringLiteral("[*] - ") + kTitleSuffix);
    setWindowModified(doc.isModified());
}

void MainWindow::updateStatusPanes() {
    const Font& font = m_app.font();
    m_statusBar->setPaneText(1, QStringLiteral(" Bpp: %1 ").arg(font.bitsPerPixel));
    const std::string_view encoding = encodingName(static_cast<int>(font.encoding));
    m_statusBar->setPaneText(
        2, QStringLiteral("Encoding: ") +
               QString::fromLatin1(encoding.data(), static_cast<qsizetype>(encoding.size())));
    if (font.fixedWidth != 0) {
        m_statusBar->setPaneText(3, QStringLiteral(" Monospaced font: (w:%1 * h:%2) ")
                                        .arg(font.fixedWidth)
                                        .arg(font.height));
    } else {
        m_statusBar->setPaneText(
            3, QStringLiteral(" Proportional font: (w:? * h:%1) ").arg(font.height));
    }
    m_statusBar->setPaneText(4, QStringLiteral(" Characters: %1 ").arg(font.count()));
}

bool MainWindow::restoreWindowPlacement() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const std::string stored = m_app.settings().string(kSettingsSection, kWindowPosKey, "");
    if (auto rect = restoredWindowRect(QString::fromStdString(stored), work)) {
        setGeometry(*rect);
        return true;
    }
    setGeometry(defaultWindowRect(work));
    return false;
}

void MainWindow::saveWindowPlacement() {
    QtSettingsStore& settings = m_app.settings();
    if (isMinimized() || isMaximized() || isFullScreen()) {
        settings.remove(kSettingsSection, kWindowPosKey);
    } else {
        QScreen* screen = this->screen();
        const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
        settings.writeString(kSettingsSection, kWindowPosKey,
                             formatWindowPos(frameGeometry(), work).toStdString());
    }
    const QList<int> columns = m_mainSplitter->sizes();
    const QList<int> rows = m_leftSplitter->sizes();
    settings.writeInteger(kSettingsSection, kSplitterPosKey,
                          splitterPosOf(columns.value(0), rows.value(0)));
}

void MainWindow::routeEditCommand(CommandId id) {
    QWidget* focus = QApplication::focusWidget();
    if (isEditField(focus)) {
        switch (id) {
            case CommandId::Copy:
                fieldCopy(focus);
                break;
            case CommandId::Paste:
                fieldPaste(focus);
                break;
            case CommandId::Delete:
                fieldClear(focus);
                break;
            case CommandId::SelectAll:
                fieldSelectAll(focus);
                break;
            case CommandId::Undo:
                fieldUndo(focus);
                break;
            case CommandId::Redo:
                fieldRedo(focus);
                break;
            default:
                break;
        }
        return;
    }
    gridEditCommand(id);
}

void MainWindow::gridEditCommand(CommandId id) {
    switch (id) {
        case CommandId::Copy:
            m_pixelGrid->copy();
            break;
        case CommandId::Paste:
            m_pixelGrid->paste();
            break;
        case CommandId::Delete:
            m_pixelGrid->deleteSelection();
            break;
        case CommandId::SelectAll:
            m_pixelGrid->selectAll();
            break;
        case CommandId::Undo:
            historyUndo();
            break;
        case CommandId::Redo:
            historyRedo();
            break;
        default:
            break;
    }
}

void MainWindow::stepColorSwatch(bool next) {
    if (next) {
        m_editorPanel->nextSwatch();
    } else {
        m_editorPanel->previousSwatch();
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    // A dropped file is opened as a project (the first one when several are dropped).
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            activateWindow();
            m_app.openDocumentFile(url.toLocalFile());
            return;
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveWindowPlacement();
    if (!m_app.document().saveModified()) {
        event->ignore();
        return;
    }
    saveFontSettings(m_app.font(), m_app.settings());
    event->accept();
}

}  // namespace typeloom::app
