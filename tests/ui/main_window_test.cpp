#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <optional>
#include <set>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/key_filter.h"
#include "app/progress_status_bar.h"
#include "app/studio_app.h"
#include "editor/ui/pixel_grid.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/ui/character_list_grid.h"
#include "model/ui/characters_table_panel.h"
#include "model/ui/edit_characters_table_dialog.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

using test::TempDir;

// An application with its own settings file, started without showing the window or
// auto-opening anything.
class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_app = std::make_unique<StudioApp>(openSettingsFile(settingsPath()));
        StudioApp::StartOptions options;
        options.show = false;
        options.autoOpen = false;
        options.installKeyFilter = false;
        ASSERT_TRUE(m_app->initInstance({}, options));
    }
    void TearDown() override { m_app.reset(); }

    QString settingsPath() const { return QString::fromStdString(m_dir.file("settings.ini")); }
    MainWindow& frame() { return *m_app->mainWindow(); }
    Font& font() { return m_app->font(); }

    // A small fixed-width font of the characters 'A'..'D', 8 x 12.
    void makeFont() {
        font().createFromScratch('A', 'D', 8, 12, "Test");
        frame().updateCommandStates();
    }

    // The visible texts of a menu, separators as "-", popups as "title>" followed by their
    // items and "<".
    static QStringList texts(const QMenu* menu) {
        QStringList out;
        for (QAction* action : menu->actions()) {
            if (!action->isVisible()) {
                continue;
            }
            if (action->isSeparator()) {
                out << QStringLiteral("-");
            } else if (action->menu() != nullptr) {
                out << action->text() + QStringLiteral(">");
                out << texts(action->menu());
                out << QStringLiteral("<");
            } else {
                out << action->text();
            }
        }
        return out;
    }

    QMenu* topMenu(const QString& title) {
        for (QAction* action : frame().menuBar()->actions()) {
            if (action->text() == title) {
                return action->menu();
            }
        }
        return nullptr;
    }

    TempDir m_dir;
    std::unique_ptr<StudioApp> m_app;
};

TEST_F(FrameTest, MenusHoldTheirItemsInOrder) {
    QStringList titles;
    for (QAction* action : frame().menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "Fo&nt", "&Options", "&Help"}));

    EXPECT_EQ(texts(topMenu(QStringLiteral("&File"))),
              (QStringList{"&New Font>",
                           "&New Font From Scratch...\tCtrl+N",
                           "&Import An Existing System Font\tCtrl+I",
                           "Import Font &Resource...\tCtrl+R",
                           "<",
                           "&Open Font...\tCtrl+O",
                           "&Save Font\tCtrl+S",
                           "Save Font &As...",
                           "-",
                           "&Export>",
                           "General C file (*.c)...",
                           "General Binary file (*.bin)...",
                           "Microchip C file (*.c)...",
                           "Microchip Binary file (*.bin)...",
                           "Old Typeloom Studio 3.0 Format",
                           "     C file (*.c) ...",
                           "     ASM file (*.asm) ...",
                           "     Binary file (*.dat) ...",
                           "-",
                           "Windows Font &Resource file (*.fnt)...",
                           "Windows Bitmap &Font file (*.fon)...",
                           "Windows &Bitmap files of all chars(*.bmp)",
                           "Bitmap &Distribution Format file (*.bdf)...",
                           "<",
                           "Confi&gure Data Format...\tCtrl+G",
                           "-",
                           "Recent File",
                           "-",
                           "E&xit"}));
    EXPECT_EQ(texts(topMenu(QStringLiteral("&Edit"))),
              (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "U&ndo All", "&History...", "-",
                           "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&Delete\t   Del", "-",
                           "Multi Cop&y ...", "Multi Pas&te ...", "-", "Select &All\tCtrl+A", "-",
                           "&Go to Character...\tCtrl+J"}));
    EXPECT_EQ(texts(topMenu(QStringLiteral("Fo&nt"))),
              (QStringList{"Change Font &Height...\tCtrl+H", "Change Font &Width...\tCtrl+W",
                           "Change Font &Ascent...", "Re&size Font...", "-",
                           "Change to &Fixed-Width Font", "Change to &Variable-Width Font", "-",
                           "&Remove Blank Columns", "&Center All Characters Horizontally",
                           "Mirror All Characters>", "&Horizontal", "&Vertical", "<",
                           "&Invert All Characters", "-", "Keep Only Characters &Used In...",
                           "Edit Characters &Table...\tCtrl+T", "Font Information..."}));
    EXPECT_EQ(
        texts(topMenu(QStringLiteral("&Options"))),
        (QStringList{"Grid Zoom &In\tCtrl +", "Grid Zoom &Out\tCtrl -", "-", "&Preferences..."}));
    EXPECT_EQ(texts(topMenu(QStringLiteral("&Help"))),
              (QStringList{"&Help Contents and Index\tF1", "&Quick User Guide", "-",
                           "Visit our &Website", "-", "&About..."}));
}

TEST_F(FrameTest, RemovedExportItemsAreNowhereInTheMenus) {
    // The older layouts' groups and the HEX export are reachable only from other commands.
    for (QAction* top : frame().menuBar()->actions()) {
        const QStringList all = texts(top->menu());
        EXPECT_FALSE(all.contains(QStringLiteral("Export to &Hex File\tCtrl+E")));
        EXPECT_FALSE(all.contains(QStringLiteral("New Typeloom ver3.0 Format>")));
        EXPECT_FALSE(all.contains(QStringLiteral("Old Typeloom ver2.0 Format>")));
    }
    // Of the export commands only the menu's layouts and the HEX export remain.
    std::vector<CommandId> exports;
    for (const CommandInfo& command : commandTable()) {
        if (QString::fromLatin1(command.name).startsWith(QStringLiteral("Export"))) {
            exports.push_back(command.id);
        }
    }
    EXPECT_EQ(exports,
              (std::vector<CommandId>{
                  CommandId::ExportGeneralC, CommandId::ExportGeneralBin,
                  CommandId::ExportMicrochipC, CommandId::ExportMicrochipBin, CommandId::ExportOldC,
                  CommandId::ExportOldAsm, CommandId::ExportOldDat, CommandId::ExportHex,
                  CommandId::ExportFnt, CommandId::ExportFon, CommandId::ExportBitmaps,
                  CommandId::ExportBdf, CommandId::ExportDialog}));
    EXPECT_NE(frame().action(CommandId::ExportHex), nullptr);
}

TEST_F(FrameTest, PromptsAndToolTipsComeFromTheCommandStrings) {
    QAction* save = frame().action(CommandId::Save);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->statusTip(), QStringLiteral("Save the active Typeloom document"));
    EXPECT_EQ(save->toolTip(), QStringLiteral("Save"));
    QAction* exportButton = frame().action(CommandId::ExportDialog);
    EXPECT_EQ(exportButton->toolTip(), QStringLiteral("Step 5: export font"));
    EXPECT_EQ(exportButton->statusTip(), QStringLiteral("Export the font in various format"));
    EXPECT_EQ(frame().action(CommandId::ToFixedWidth)->statusTip(),
              QStringLiteral("Change this varialbe width font to be Fixed-Width font"));
}

TEST_F(FrameTest, EveryCommandHasOneActionNamedAfterIt) {
    std::set<CommandId> ids;
    QSet<QString> names;
    for (const CommandInfo& command : commandTable()) {
        SCOPED_TRACE(command.name);
        EXPECT_TRUE(ids.insert(command.id).second) << "id listed twice";
        const QString name = QStringLiteral("action") + QLatin1String(command.name);
        EXPECT_FALSE(names.contains(name)) << "name listed twice";
        names.insert(name);
        QAction* action = frame().action(command.id);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(frame().findChild<QAction*>(name), action);
        EXPECT_EQ(action->data().value<CommandId>(), command.id);
    }
    EXPECT_EQ(frame().findChild<QAction*>(QStringLiteral("actionSaveAs")),
              frame().action(CommandId::SaveAs));
    EXPECT_EQ(frame().findChild<QAction*>(QStringLiteral("actionExportDialog"))->toolTip(),
              QStringLiteral("Step 5: export font"));
}

TEST_F(FrameTest, ToolbarsHoldTheirButtonsInOrder) {
    // The commands of a bar's buttons, a separator as none.
    using Ids = std::vector<std::optional<CommandId>>;
    auto ids = [](QToolBar* bar) {
        Ids out;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                out.push_back(std::nullopt);
            } else if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
                       button != nullptr && button->defaultAction() != nullptr) {
                out.push_back(button->defaultAction()->data().value<CommandId>());
            } else {
                out.push_back(action->data().value<CommandId>());
            }
        }
        return out;
    };
    using C = CommandId;
    EXPECT_EQ(ids(frame().fileBar()),
              (Ids{C::NewMenu, C::Open, C::Save, std::nullopt, C::Copy, C::Paste}));
    EXPECT_EQ(ids(frame().stepsBar()), (Ids{C::ImportSystemFont, C::EditTable, C::ChangeHeight,
                                            C::DataFormat, C::ExportDialog}));
    EXPECT_EQ(ids(frame().fontBar()),
              (Ids{C::InvertAll, C::MirrorHorizontal, C::MirrorVertical, C::RemoveBlankColumns}));
    std::vector<CommandId> newIds;
    for (QAction* action : frame().newMenu()->actions()) {
        newIds.push_back(action->data().value<CommandId>());
    }
    EXPECT_EQ(newIds,
              (std::vector<CommandId>{C::NewFromScratch, C::ImportSystemFont, C::ImportResource}));
}

TEST(CommandRules, EmptyAndFilledFonts) {
    CommandState empty;
    empty.characterCount = 0;
    empty.fixedWidth = 8;
    for (CommandId id : {CommandId::Save,
                         CommandId::SaveAs,
                         CommandId::ExportGeneralC,
                         CommandId::ExportGeneralBin,
                         CommandId::ExportMicrochipC,
                         CommandId::ExportMicrochipBin,
                         CommandId::ExportOldC,
                         CommandId::ExportOldAsm,
                         CommandId::ExportOldDat,
                         CommandId::ExportFnt,
                         CommandId::ExportFon,
                         CommandId::ExportBitmaps,
                         CommandId::ExportBdf,
                         CommandId::DataFormat,
                         CommandId::ChangeHeight,
                         CommandId::ChangeAscent,
                         CommandId::Resize,
                         CommandId::MirrorHorizontal,
                         CommandId::MirrorVertical,
                         CommandId::InvertAll,
                         CommandId::EditTable,
                         CommandId::Copy,
                         CommandId::Paste,
                         CommandId::SelectAll,
                         CommandId::ExportDialog}) {
        SCOPED_TRACE(static_cast<int>(id));
        EXPECT_FALSE(isCommandEnabled(findCommand(id)->rule, empty));
    }
    // New, Open, the imports, Change Font Width of a fixed-width font and Preferences stay.
    for (CommandId id :
         {CommandId::NewFromScratch, CommandId::ImportSystemFont, CommandId::ImportResource,
          CommandId::Open, CommandId::ChangeWidth, CommandId::Preferences}) {
        SCOPED_TRACE(static_cast<int>(id));
        EXPECT_TRUE(isCommandEnabled(findCommand(id)->rule, empty));
    }
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::OldFormatHeading)->rule, empty));

    CommandState fixed;
    fixed.characterCount = 4;
    fixed.fixedWidth = 8;
    fixed.encoding = 1;
    EXPECT_TRUE(isCommandEnabled(findCommand(CommandId::ToVariableWidth)->rule, fixed));
    EXPECT_TRUE(isCommandEnabled(findCommand(CommandId::CenterAll)->rule, fixed));
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::ToFixedWidth)->rule, fixed));
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::RemoveBlankColumns)->rule, fixed));
    // Font information needs the Ascii+ISO8859 encoding.
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::FontInformation)->rule, fixed));
    fixed.encoding = 0;
    EXPECT_TRUE(isCommandEnabled(findCommand(CommandId::FontInformation)->rule, fixed));

    CommandState zoom;
    zoom.gridZoom = 30;
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::ZoomIn)->rule, zoom));
    EXPECT_TRUE(isCommandEnabled(findCommand(CommandId::ZoomOut)->rule, zoom));
    zoom.gridZoom = 1;
    EXPECT_TRUE(isCommandEnabled(findCommand(CommandId::ZoomIn)->rule, zoom));
    EXPECT_FALSE(isCommandEnabled(findCommand(CommandId::ZoomOut)->rule, zoom));
}

TEST(CommandRules, EditCommandsFollowTheFocusedField) {
    CommandState s;
    s.characterCount = 3;
    s.clipboardHasImage = false;
    s.clipboardHasText = true;
    EXPECT_TRUE(isCommandEnabled(EnableRule::Copy, s));
    EXPECT_FALSE(isCommandEnabled(EnableRule::Paste, s));  // no image for the glyph
    EXPECT_FALSE(isCommandEnabled(EnableRule::Delete, s));
    s.editFieldFocused = true;
    EXPECT_FALSE(isCommandEnabled(EnableRule::Copy, s));  // nothing selected in the field
    EXPECT_TRUE(isCommandEnabled(EnableRule::Paste, s));  // text on the clipboard
    s.fieldHasSelection = true;
    EXPECT_TRUE(isCommandEnabled(EnableRule::Copy, s));
    EXPECT_TRUE(isCommandEnabled(EnableRule::Delete, s));
    EXPECT_FALSE(isCommandEnabled(EnableRule::Undo, s));
    s.fieldCanUndo = true;
    EXPECT_TRUE(isCommandEnabled(EnableRule::Undo, s));
}

TEST_F(FrameTest, CommandsRunOnlyWhileEnabled) {
    int saves = 0;
    frame().setCommandHandler(CommandId::Save, [&] { ++saves; });
    EXPECT_FALSE(frame().executeCommand(CommandId::Save));  // no characters yet
    EXPECT_FALSE(frame().action(CommandId::Save)->isEnabled());
    makeFont();
    EXPECT_TRUE(frame().action(CommandId::Save)->isEnabled());
    EXPECT_TRUE(frame().executeCommand(CommandId::Save));
    EXPECT_EQ(saves, 1);
    // Multi Paste waits for a block on the clipboard.
    QGuiApplication::clipboard()->clear();
    frame().updateCommandStates();
    EXPECT_TRUE(frame().action(CommandId::MultiCopy)->isEnabled());
    EXPECT_FALSE(frame().action(CommandId::MultiPaste)->isEnabled());
}

TEST(KeyFilterRules, KeysInTheirOrder) {
    using K = KeyAction::Kind;
    EXPECT_EQ(classifyKey(Qt::Key_E, Qt::ControlModifier, 1, false).command,
              CommandId::ExportDialog);
    EXPECT_EQ(classifyKey(Qt::Key_U, Qt::ControlModifier, 1, false).command,
              CommandId::Preferences);
    EXPECT_EQ(classifyKey(Qt::Key_Equal, Qt::ControlModifier, 1, false).command, CommandId::ZoomIn);
    EXPECT_EQ(classifyKey(Qt::Key_Minus, Qt::ControlModifier, 1, false).command,
              CommandId::ZoomOut);
    // Delete with or without Shift or Ctrl is the Delete command.
    for (auto mods : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                      Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        EXPECT_EQ(classifyKey(Qt::Key_Delete, mods, 1, true).command, CommandId::Delete);
    }
    EXPECT_EQ(classifyKey(Qt::Key_F1, {}, 1, false).kind, K::Help);
    // "=" does nothing in a 1-bit font, steps the swatches in a 2-bit font, but not while a
    // text field has the focus.
    EXPECT_EQ(classifyKey(Qt::Key_Equal, {}, 1, false).kind, K::PassOn);
    EXPECT_EQ(classifyKey(Qt::Key_Equal, {}, 2, false).kind, K::NextSwatch);
    EXPECT_EQ(classifyKey(Qt::Key_Minus, {}, 2, false).kind, K::PreviousSwatch);
    EXPECT_EQ(classifyKey(Qt::Key_Equal, {}, 2, true).kind, K::PassOn);
    // The keypad's keys are not the "=" and "-" keys.
    EXPECT_EQ(classifyKey(Qt::Key_Minus, Qt::KeypadModifier, 2, false).kind, K::PassOn);
    EXPECT_EQ(classifyKey(Qt::Key_B, Qt::ControlModifier, 1, false).kind, K::PassOn);
    EXPECT_EQ(classifyKey(Qt::Key_A, {}, 1, false).kind, K::PassOn);
}

TEST_F(FrameTest, KeyFilterSendsCommandsAndRoutesDeleteToAFocusedField) {
    m_app->installKeyFilter();
    frame().show();
    QApplication::setActiveWindow(&frame());
    makeFont();

    std::vector<CommandId> ran;
    for (CommandId id : {CommandId::ExportDialog, CommandId::ExportHex}) {
        frame().setCommandHandler(id, [&ran, id] { ran.push_back(id); });
    }
    QTest::keyClick(&frame(), Qt::Key_E, Qt::ControlModifier);
    // The export dialog, not the HEX export.
    EXPECT_EQ(ran, (std::vector<CommandId>{CommandId::ExportDialog}));

    // A text field in the frame: Delete clears its selection, Ctrl+C copies its text.
    auto* field =
        new QLineEdit(QStringLiteral("hello"), static_cast<QWidget*>(frame().statusBar()));
    field->show();
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Delete);  // nothing selected: nothing removed
    EXPECT_EQ(field->text(), QStringLiteral("hello"));
    field->setSelection(0, 2);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("he"));
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), QStringLiteral("llo"));
    // "=" in a 1-bit font reaches the field as a typed character.
    field->end(false);
    QTest::keyClick(field, Qt::Key_Equal);
    EXPECT_EQ(field->text(), QStringLiteral("llo="));
    delete field;
}

TEST_F(FrameTest, DefaultLayoutAndTitle) {
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Untitled[*] - Typeloom Studio 3.5"));
    EXPECT_EQ(frame().progressBar().paneText(4), QStringLiteral(" Characters: 0 "));
    makeFont();
    // An untitled document shows the font's name; a change marks the title.
    frame().updateFrameTitle();
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Test[*] - Typeloom Studio 3.5"));
    EXPECT_FALSE(frame().isWindowModified());
    m_app->document().setModifiedFlag(true);
    EXPECT_TRUE(frame().isWindowModified());
    frame().updateStatusPanes();
    EXPECT_EQ(frame().progressBar().paneText(3), QStringLiteral(" Monospaced font: (w:8 * h:12) "));
    EXPECT_EQ(frame().progressBar().paneText(1), QStringLiteral(" Bpp: 1 "));
}

// "Go to Character..." takes a character, a code or a Unicode value; a miss is told and the
// question asked again.
TEST_F(FrameTest, GoToCharacterEditsTheCharacterTyped) {
    makeFont();
    frame().selectInitialCharacter();
    QStringList answers = {QStringLiteral("Z"), QStringLiteral("U+0043")};
    QStringList told;
    std::function<void()> answer = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            told << box->text();
            box->close();
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            input->setTextValue(answers.takeFirst());
            input->accept();
        }
        if (!answers.isEmpty() || told.isEmpty()) {
            QTimer::singleShot(0, answer);
        }
    };
    QTimer::singleShot(0, answer);
    ASSERT_TRUE(frame().executeCommand(CommandId::GoToCharacter));
    EXPECT_EQ(told, QStringList{QStringLiteral("The font has no character U+005A.")});
    EXPECT_EQ(frame().pixelGrid()->currentIndex(), 2);
    EXPECT_EQ(frame().characterList()->currentIndex(), 2);
}

// A window that grows gives the room to the editor, and a glyph larger than the editor pane
// scrolls in it.
TEST_F(FrameTest, EditorTakesTheRoomAndTheGridScrolls) {
    font().createFromScratch('A', 'B', 60, 40, "Wide");
    frame().selectInitialCharacter();
    frame().show();
    frame().resize(1000, 760);
    QApplication::processEvents();
    const QList<int> columns = frame().mainSplitter()->sizes();
    const QList<int> rows = frame().leftSplitter()->sizes();
    frame().resize(1300, 960);
    QApplication::processEvents();
    EXPECT_GT(frame().mainSplitter()->sizes()[0], columns[0]);
    EXPECT_EQ(frame().mainSplitter()->sizes()[1], columns[1]);
    EXPECT_GT(frame().leftSplitter()->sizes()[0], rows[0]);
    EXPECT_EQ(frame().leftSplitter()->sizes()[1], rows[1]);

    auto* scroll = frame().findChild<QScrollArea*>(QStringLiteral("gridScroll"));
    ASSERT_NE(scroll, nullptr);
    frame().pixelGrid()->setZoom(30);  // 60 x 40 cells of 30 pixels
    QApplication::processEvents();
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    frame().pixelGrid()->setZoom(1);
    QApplication::processEvents();
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
}

TEST_F(FrameTest, ProgressIndicatorShowToggles) {
    ProgressStatusBar& bar = frame().progressBar();
    frame().show();
    bar.show(true);
    EXPECT_TRUE(bar.progressVisible());
    bar.show(true);  // already visible: hidden
    EXPECT_FALSE(bar.progressVisible());
    bar.show(true);
    bar.show(false);
    EXPECT_FALSE(bar.progressVisible());
}

TEST_F(FrameTest, ClosingWritesSplitterPosAndWindowPos) {
    frame().show();
    frame().resize(1000, 760);
    // Sizes that add up to the room the splitters have, so no stretch factor moves them.
    auto total = [](QSplitter* splitter) {
        const QList<int> sizes = splitter->sizes();
        return sizes[0] + sizes[1];
    };
    frame().mainSplitter()->setSizes({300, total(frame().mainSplitter()) - 300});
    frame().leftSplitter()->setSizes({250, total(frame().leftSplitter()) - 250});
    frame().saveWindowPlacement();
    m_app->qsettings().sync();
    QSettings stored(settingsPath(), QSettings::IniFormat);
    const long long pos = stored.value(QStringLiteral("Settings/Splitter Pos")).toLongLong();
    EXPECT_EQ(pos & 0xFFFF, 300);
    EXPECT_EQ(pos >> 16, 250);
    const QStringList parts =
        stored.value(QStringLiteral("Settings/Window Pos")).toString().split(QLatin1Char(','));
    ASSERT_EQ(parts.size(), 9);
    EXPECT_EQ(parts[0], QStringLiteral("1"));

    frame().showMaximized();
    frame().saveWindowPlacement();
    m_app->qsettings().sync();
    QSettings again(settingsPath(), QSettings::IniFormat);
    EXPECT_FALSE(again.contains(QStringLiteral("Settings/Window Pos")));
}

TEST(RecentFiles, AutoOpenWalkDropsEntriesThatAreNotProjects) {
    RecentFileList list;
    list.add(QStringLiteral("/fonts/b.tlf"));
    list.add(QStringLiteral("/fonts/imported.fnt"));
    EXPECT_EQ(list.takeMostRecentProject(), QStringLiteral("/fonts/b.tlf"));
    EXPECT_EQ(list.entries(), (QStringList{"/fonts/b.tlf"}));

    RecentFileList others;
    others.add(QStringLiteral(".tlf"));  // four characters only
    others.add(QStringLiteral("/x/A.TLF"));
    EXPECT_EQ(others.takeMostRecentProject(), QStringLiteral("/x/A.TLF"));
    RecentFileList none;
    none.add(QStringLiteral(".tlf"));
    none.add(QStringLiteral("/x/font.bdf"));
    EXPECT_TRUE(none.takeMostRecentProject().isEmpty());
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(FrameTest, AutoOpenSkipsAnImportedFileAndOpensTheProjectBehindIt) {
    Font saved;
    saved.createFromScratch('0', '9', 6, 10, "Digits");
    const QString project = QString::fromStdString(m_dir.file("digits.tlf"));
    saveProject(project.toStdString(), saved);
    m_app->addToRecentFiles(project);
    m_app->addToRecentFiles(QString::fromStdString(m_dir.file("imported.fnt")));
    int imports = 0;
    frame().setCommandHandler(CommandId::ImportSystemFont, [&] { ++imports; });

    m_app->autoOpen();
    EXPECT_EQ(m_app->document().pathName(), QFileInfo(project).absoluteFilePath());
    EXPECT_EQ(font().count(), 10);
    EXPECT_EQ(m_app->recentFiles().entries(), QStringList{QFileInfo(project).absoluteFilePath()});
    EXPECT_EQ(imports, 0);
}

TEST_F(FrameTest, AutoOpenWithoutAProjectStartsTheSystemFontImport) {
    m_app->addToRecentFiles(QString::fromStdString(m_dir.file("only.bdf")));
    int imports = 0;
    frame().setCommandHandler(CommandId::ImportSystemFont, [&] { ++imports; });
    m_app->autoOpen();
    EXPECT_EQ(imports, 1);
    EXPECT_TRUE(m_app->recentFiles().isEmpty());

    // With "AutoOpen" 0 the recent list is not looked at; without a document the import runs.
    m_app->addToRecentFiles(QString::fromStdString(m_dir.file("kept.tlf")));
    m_app->settings().writeInteger("Settings", "AutoOpen", 0);
    m_app->autoOpen();
    EXPECT_EQ(imports, 2);
    EXPECT_EQ(m_app->recentFiles().entries().size(), 1);
}

TEST(RecentFiles, KeepsFourMostRecentFirstAndRoundTrips) {
    TempDir dir;
    RecentFileList list;
    for (const char* p : {"/a.tlf", "/b.tlf", "/c.tlf", "/d.tlf", "/e.tlf", "/c.tlf"}) {
        list.add(QString::fromLatin1(p));
    }
    EXPECT_EQ(list.entries(), (QStringList{"/c.tlf", "/e.tlf", "/d.tlf", "/b.tlf"}));
    QSettings settings(QString::fromStdString(dir.file("s.ini")), QSettings::IniFormat);
    list.save(settings);
    RecentFileList loaded;
    loaded.load(settings);
    EXPECT_EQ(loaded.entries(), list.entries());
}

TEST_F(FrameTest, SaveOpenAndSaveAsVersion20ThroughTheDocument) {
    makeFont();
    FontDocument& doc = m_app->document();
    std::vector<std::uint8_t> pixels(8 * 12, 0);
    pixels[5] = 1;
    font().setGlyph('B', 8, pixels);
    doc.setModifiedFlag(true);

    const QString path = QString::fromStdString(m_dir.file("first.tlf"));
    doc.saveAsDialog = [&](const QString& suggested, bool offer20) {
        EXPECT_TRUE(offer20 == (font().encoding == 0));
        EXPECT_TRUE(suggested.endsWith(QStringLiteral("Test12h.tlf")));
        return FontDocument::SaveAsChoice{path, false};
    };
    ASSERT_TRUE(doc.doFileSave());  // no path yet: goes through Save As
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.title(), QStringLiteral("first.tlf"));

    // Save As with the version 2.0 layout keeps the document's own path and state.
    font().encoding = 0;
    const QString old = QString::fromStdString(m_dir.file("old.tlf"));
    doc.saveAsDialog = [&](const QString&, bool offer20) {
        EXPECT_TRUE(offer20);
        return FontDocument::SaveAsChoice{old, true};
    };
    doc.setModifiedFlag(true);
    ASSERT_TRUE(doc.doFileSaveAs());
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.title(), QStringLiteral("first.tlf"));
    const auto bytes = test::readFile(old.toStdString());
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "NOFW");

    // Reopen the first file: the glyph is back.
    doc.savePrompt = [](const QString&) { return int(QMessageBox::No); };
    font().createFromScratch('A', 'A', 4, 4, "Other");
    ASSERT_TRUE(m_app->openDocumentFile(path));
    EXPECT_EQ(font().count(), 4);
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(font().getPixels('B', back));
    EXPECT_EQ(back, pixels);
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("first.tlf[*] - Typeloom Studio 3.5"));
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_EQ(m_app->recentFiles().entries().value(0), QFileInfo(path).absoluteFilePath());
}

// An imported file on the recent list is imported again when chosen, after the save prompt;
// one that is gone is told (the message box, closed here) and leaves the list, and the font on
// screen keeps its steps.
TEST_F(FrameTest, RecentImportedFileImportsAgain) {
    makeFont();
    const QString bdf = QString::fromStdString(m_dir.file("tiny.bdf"));
    const std::string text =
        "STARTFONT 2.1\nFONT_ASCENT 1\nFONT_DESCENT 0\nSTARTCHAR A\nENCODING 65\n"
        "DWIDTH 2 0\nBBX 2 1 0 0\nBITMAP\n80\nENDCHAR\nENDFONT\n";
    test::writeFile(bdf.toStdString(), std::vector<std::uint8_t>(text.begin(), text.end()));
    const QString gone = QString::fromStdString(m_dir.file("gone.fon"));
    m_app->addToRecentFiles(gone);
    m_app->addToRecentFiles(bdf);
    int prompts = 0;
    m_app->document().setModifiedFlag(true);
    m_app->document().savePrompt = [&](const QString&) { return ++prompts, int(QMessageBox::No); };
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the menu's old items

    auto* first = frame().findChild<QAction*>(QStringLiteral("recentFile1"));
    ASSERT_NE(first, nullptr);
    first->trigger();
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(font().faceName, "tiny");
    EXPECT_EQ(font().count(), 1);
    EXPECT_TRUE(m_app->document().isModified());
    EXPECT_EQ(m_app->recentFiles().entries().value(0), QFileInfo(bdf).absoluteFilePath());

    FontHistory::Snapshot before(font());
    font().glyphs.find('A')->pixels[1] = 1;
    m_app->document().history().recordFontChange("Change Font Width", std::move(before), font());
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* second = frame().findChild<QAction*>(QStringLiteral("recentFile2"));
    ASSERT_NE(second, nullptr);
    second->trigger();
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(font().faceName, "tiny");  // the font on screen stays
    EXPECT_TRUE(m_app->document().isModified());
    EXPECT_EQ(m_app->document().history().undoName(), "Change Font Width");
    ASSERT_TRUE(m_app->document().history().undo(font()));
    EXPECT_EQ(font().glyphs.find('A')->pixels, (std::vector<std::uint8_t>{1, 0}));
    EXPECT_FALSE(m_app->recentFiles().entries().contains(QFileInfo(gone).absoluteFilePath()));
}

TEST_F(FrameTest, FailedOpenKeepsTheFontAndCancelledPromptKeepsEverything) {
    makeFont();
    const QString bad = QString::fromStdString(m_dir.file("bad.tlf"));
    test::writeFile(bad.toStdString(), {'F', 'D', 'C', 'L', 0, 3});
    QTimer::singleShot(0, [] {
        // Dismiss the error message box.
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    m_app->addToRecentFiles(bad);
    EXPECT_FALSE(m_app->openDocumentFile(bad));
    EXPECT_EQ(font().count(), 4);
    // The entry that could not be opened left the recent list.
    EXPECT_FALSE(m_app->recentFiles().entries().contains(bad));

    m_app->document().setModifiedFlag(true);
    m_app->document().savePrompt = [](const QString&) { return int(QMessageBox::Cancel); };
    EXPECT_FALSE(m_app->startNewDocument());
    EXPECT_TRUE(m_app->document().isModified());
}

// Ctrl+T, the steps bar's second button and the panel's "Edit Table..." open the same dialog;
// OK commits the new table and the list, the editor and the status bar show it.
TEST_F(FrameTest, EditTableOpensTheDialogAndOkRefreshesTheFrame) {
    m_app->installKeyFilter();
    frame().show();
    QApplication::setActiveWindow(&frame());
    ui::CharactersTablePanel& panel = *frame().tablePanel();
    EXPECT_FALSE(panel.editTableButton()->isEnabled());  // no characters yet
    font().createFromScratch(0x20, 0x7E, 6, 8, "Latin");
    frame().selectInitialCharacter();
    EXPECT_TRUE(panel.editTableButton()->isEnabled());

    int opened = 0;
    auto answer = [&opened](bool toAnsi) {
        QTimer::singleShot(0, [&opened, toAnsi] {
            auto* dialog =
                qobject_cast<ui::EditCharactersTableDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ++opened;
            if (toAnsi) {
                dialog->encodingButton(0)->click();
                dialog->accept();
            } else {
                dialog->button("disableAll")->click();
                dialog->reject();
            }
        });
    };
    answer(false);
    QTest::keyClick(&frame(), Qt::Key_T, Qt::ControlModifier);
    answer(false);
    frame().stepsBar()->actions().at(1)->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(font().count(), 0x7F - 0x20);
    EXPECT_FALSE(m_app->document().isModified());

    answer(true);
    panel.editTableButton()->click();
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(font().encoding, 0u);
    EXPECT_TRUE(m_app->document().isModified());
    EXPECT_EQ(frame().characterList()->currentIndex(), font().initialIndex());
}

}  // namespace
}  // namespace typeloom::app
