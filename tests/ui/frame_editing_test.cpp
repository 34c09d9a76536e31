#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/font_document.h"
#include "app/main_window.h"
#include "app/preview_panel.h"
#include "app/qt_settings_store.h"
#include "app/studio_app.h"
#include "app/subset_command.h"
#include "app_test_support.h"
#include "common/ini_settings_store.h"
#include "common/progress_sink.h"
#include "editor/ui/character_editor_panel.h"
#include "editor/ui/confirm_save_dialog.h"
#include "editor/ui/pixel_grid.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/ui/character_list_grid.h"
#include "preview/text_preview.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

// The editing loop as the frame wires it: the grid, the characters list and the document see
// the glyph on screen where they should.
class FrameEditingTest : public test::StudioAppTest {
  protected:
    void SetUp() override {
        // 'A'..'D', 8 x 12, ascent 10: rows 0..9 lie above the baseline, so cell (x, y) of
        // those rows has its middle at (10 + 15x + 7, 10 + 15y + 7) at zoom 15.
        ASSERT_NO_FATAL_FAILURE(startApp("Edit"));
        frame().resize(900, 650);
        frame().show();
        frame().selectInitialCharacter();
        grid().setTool(ToolId::Pencil);
    }
    void TearDown() override {
        m_app->document().setModifiedFlag(false);
        StudioAppTest::TearDown();
    }

    static QPoint cell(int x, int y) { return {10 + 15 * x + 7, 10 + 15 * y + 7}; }
    void clickCell(int x, int y) { QTest::mouseClick(&grid(), Qt::LeftButton, {}, cell(x, y)); }
    std::uint8_t fontPixel(char16_t u, int x, int y) {
        std::vector<std::uint8_t> pixels;
        EXPECT_TRUE(font().getPixels(u, pixels));
        std::uint16_t width = 0;
        font().widthOf(u, width);
        return pixels.at(static_cast<std::size_t>(y * width + x));
    }
};

TEST_F(FrameEditingTest, StartsOnTheLetterAAndMarksTheDocumentModifiedOnEdit) {
    EXPECT_EQ(grid().currentIndex(), 0);
    EXPECT_EQ(frame().characterList()->currentIndex(), 0);
    EXPECT_FALSE(m_app->document().isModified());
    EXPECT_FALSE(frame().action(CommandId::UndoAll)->isEnabled());  // nothing to undo yet
    clickCell(1, 0);
    EXPECT_TRUE(grid().isChanged());
    EXPECT_TRUE(m_app->document().isModified());
    EXPECT_TRUE(frame().action(CommandId::Undo)->isEnabled());
    EXPECT_TRUE(frame().action(CommandId::UndoAll)->isEnabled());
    // The font still holds the glyph as loaded until the edit is stored.
    EXPECT_EQ(fontPixel('A', 1, 0), 0);
}

TEST_F(FrameEditingTest, SavingStoresTheGlyphOnScreen) {
    clickCell(2, 3);
    const QString path = QString::fromStdString(m_dir.file("edit.tlf"));
    m_app->document().saveAsDialog = [&](const QString&, bool) {
        return FontDocument::SaveAsChoice{path, false};
    };
    ASSERT_TRUE(frame().executeCommand(CommandId::Save));
    Font reopened;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(path.toStdString(), reopened, progress).ok());
    std::vector<std::uint8_t> pixels;
    ASSERT_TRUE(reopened.getPixels('A', pixels));
    EXPECT_EQ(pixels[3 * 8 + 2], 1);
}

TEST_F(FrameEditingTest, ExportingSeesTheGlyphOnScreen) {
    clickCell(4, 2);
    // The export dialog opens; closing it at once is enough: the glyph was stored first.
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->close();
        }
    });
    ASSERT_TRUE(frame().executeCommand(CommandId::ExportDialog));
    EXPECT_EQ(fontPixel('A', 4, 2), 1);
}

TEST_F(FrameEditingTest, ADocumentTakesBackItsNameAndUnsavedState) {
    // What a failed import does after the save prompt had made the document new.
    const QString project = QString::fromStdString(m_dir.file("kept.tlf"));
    m_app->document().restoreDocument(project, true);
    EXPECT_EQ(m_app->document().pathName(), project);
    EXPECT_TRUE(m_app->document().isModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("kept.tlf[*] - Typeloom Studio 3.5"));
    EXPECT_TRUE(frame().isWindowModified());
}

TEST_F(FrameEditingTest, SaveListsTheProjectButAVersion20CopyDoesNot) {
    FontDocument& doc = m_app->document();
    font().encoding = 0;
    const QString copy = QString::fromStdString(m_dir.file("copy20.tlf"));
    doc.saveAsDialog = [&](const QString&, bool) { return FontDocument::SaveAsChoice{copy, true}; };
    ASSERT_TRUE(frame().executeCommand(CommandId::SaveAs));
    EXPECT_TRUE(m_app->recentFiles().isEmpty());
    EXPECT_TRUE(doc.pathName().isEmpty());

    const QString project = QString::fromStdString(m_dir.file("main.tlf"));
    doc.saveAsDialog = [&](const QString&, bool) {
        return FontDocument::SaveAsChoice{project, false};
    };
    ASSERT_TRUE(frame().executeCommand(CommandId::SaveAs));
    EXPECT_EQ(m_app->recentFiles().entries(), QStringList{QFileInfo(project).absoluteFilePath()});
    // The File menu shows it at once.
    EXPECT_NE(frame().findChild<QAction*>(QStringLiteral("recentFile1")), nullptr);
}

// The preview pane draws what `typeloom render` draws for the same text, and follows the
// glyph being edited before it is stored; its text and scale are kept in the settings.
TEST_F(FrameEditingTest, PreviewFollowsTheEditedGlyphAndMatchesTheRenderer) {
    auto* panel = frame().findChild<PreviewPanel*>();
    ASSERT_NE(panel, nullptr);
    panel->scaleBox()->setValue(2);
    panel->textField()->setText(QStringLiteral("AB\u00B0"));
    auto rendered = [&] {
        preview::EncodedPictures pictures(font());
        return preview::renderText(U"AB\u00B0", pictures, {2, 0});
    };
    auto sameAs = [&](const preview::PreviewImage& image) {
        const QImage& shown = panel->image();
        if (shown.width() != image.width || shown.height() != image.height) {
            return false;
        }
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if ((shown.pixel(x, y) & 0xFFFFFF) !=
                    image.pixels[static_cast<std::size_t>(y * image.width + x)]) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(sameAs(rendered()));
    EXPECT_TRUE(panel->missingLabel()->text().contains(QStringLiteral("U+00B0")));
    // A pixel drawn in 'A' shows at once (2 x 2 image pixels at cell (0, 0)), before it is
    // stored in the font.
    EXPECT_EQ(panel->image().pixel(0, 0) & 0xFFFFFF, preview::kPaperColour);
    clickCell(0, 0);
    EXPECT_EQ(panel->image().pixel(1, 1) & 0xFFFFFF, preview::kInkColour);
    EXPECT_EQ(fontPixel('A', 0, 0), 0);
    grid().storeEditedGlyph();
    EXPECT_TRUE(sameAs(rendered()));
    EXPECT_EQ(m_app->settings().string("Settings", kPreviewTextKey, ""), "AB\u00B0");
    EXPECT_EQ(m_app->settings().integer("Settings", kPreviewScaleKey, 0), 2);
}

// Keep Only Characters Used In: the characters a string table uses stay, with the space;
// a text that is not UTF-8 changes nothing and says where it broke.
TEST_F(FrameEditingTest, KeepOnlyCharactersUsedInATextLeavesThoseUsed) {
    const std::string text = m_dir.file("strings.json");
    test::writeFile(text, {'{', '"', 'k', '"', ':', '"', 'D', 'A', 'D', '"', '}'});
    const SubsetOutcome outcome = keepOnlyCharactersUsedIn(font(), {QString::fromStdString(text)});
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.before, 4);
    EXPECT_EQ(font().codeList, (std::vector<std::uint16_t>{'A', 'D'}));
    const std::string bad = m_dir.file("bad.txt");
    test::writeFile(bad, {'B', 0xFF});
    const SubsetOutcome refused = keepOnlyCharactersUsedIn(font(), {QString::fromStdString(bad)});
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.contains(QStringLiteral("byte offset 1")));
    EXPECT_EQ(font().count(), 2);
}

TEST_F(FrameEditingTest, FontWideCommandsApplyToTheGlyphOnScreenToo) {
    clickCell(0, 0);
    ASSERT_TRUE(frame().executeCommand(CommandId::MirrorHorizontal));  // mirror all horizontally
    // The edit was stored and mirrored: column 0 becomes column 7, in the font and on screen.
    EXPECT_EQ(fontPixel('A', 7, 0), 1);
    EXPECT_EQ(fontPixel('A', 0, 0), 0);
    EXPECT_EQ(grid().workingGlyph().pixel(7, 0), 1);
    EXPECT_FALSE(grid().isChanged());
    EXPECT_TRUE(m_app->document().isModified());

    ASSERT_TRUE(frame().executeCommand(CommandId::InvertAll));  // invert all
    EXPECT_EQ(fontPixel('B', 4, 4), 1);
    EXPECT_EQ(fontPixel('A', 7, 0), 0);
    // A fixed-width font offers variable width, not removing blank columns.
    EXPECT_FALSE(frame().executeCommand(CommandId::RemoveBlankColumns));
    ASSERT_TRUE(frame().executeCommand(CommandId::ToVariableWidth));
    EXPECT_EQ(font().fixedWidth, 0);
    EXPECT_TRUE(frame().action(CommandId::RemoveBlankColumns)->isEnabled());
    EXPECT_FALSE(frame().action(CommandId::ToVariableWidth)->isEnabled());
}

TEST_F(FrameEditingTest, MovingToAnotherCharacterAsksOrSavesByTheSetting) {
    ui::CharacterListGrid* list = frame().characterList();
    int asked = 0;
    frame().editorPanel()->confirmSave = [&] {
        ++asked;
        return ui::ConfirmSaveAnswer{false, false};
    };
    clickCell(1, 1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(grid().currentIndex(), 1);
    EXPECT_EQ(fontPixel('A', 1, 1), 0);  // No: the edit is dropped

    // "Yes, and do not ask again": stored now, and stored without asking from then on.
    frame().editorPanel()->confirmSave = [&] {
        ++asked;
        return ui::ConfirmSaveAnswer{true, true};
    };
    clickCell(2, 2);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fontPixel('B', 2, 2), 1);
    EXPECT_EQ(m_app->settings().integer("Settings", "AutoSaveChar", 0), 1);
    clickCell(3, 3);
    QTest::keyClick(list, Qt::Key_Left);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fontPixel('C', 3, 3), 1);
    EXPECT_EQ(list->currentIndex(), 1);
}

TEST_F(FrameEditingTest, EditCommandsReachTheGridWhenNoTextFieldHasTheFocus) {
    grid().setFocus();
    ASSERT_TRUE(frame().executeCommand(CommandId::SelectAll));  // select all
    EXPECT_TRUE(frame().action(CommandId::Delete)->isEnabled());
    clickCell(0, 0);  // the select tool is active now: a click only moves the selection
    ASSERT_TRUE(frame().executeCommand(CommandId::ZoomIn));  // zoom in
    EXPECT_EQ(grid().zoom(), 16);
    ASSERT_TRUE(frame().executeCommand(CommandId::ZoomOut));
    EXPECT_EQ(grid().zoom(), 15);
}

TEST_F(FrameEditingTest, UndoAllRestoresTheLoadedGlyph) {
    clickCell(1, 0);
    clickCell(2, 0);
    ASSERT_TRUE(frame().executeCommand(CommandId::Undo));  // undo the second click
    EXPECT_EQ(grid().workingGlyph().pixel(1, 0), 1);
    EXPECT_EQ(grid().workingGlyph().pixel(2, 0), 0);
    ASSERT_TRUE(frame().executeCommand(CommandId::UndoAll));
    EXPECT_EQ(grid().workingGlyph().pixel(1, 0), 0);
}

TEST_F(FrameEditingTest, ClosingWithTheFocusInAPaneKeepsTheZoom) {
    grid().setFocus();
    QApplication::setActiveWindow(&frame());
    ASSERT_TRUE(frame().executeCommand(CommandId::ZoomIn));
    // Destroying the window moves the focus while the panes go: nothing may reach the
    // half-destroyed frame, and the grid writes its zoom.
    m_app->document().setModifiedFlag(false);
    QSettings* settings = &m_app->qsettings();
    (void)settings;
    m_app.reset();
    QSettings stored(QString::fromStdString(m_dir.file("settings.ini")), QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("Settings/Grid zoom")).toInt(), 16);
    m_app = std::make_unique<StudioApp>(
        openSettingsFile(QString::fromStdString(m_dir.file("other.ini"))));
}

TEST(UserSettings, TheDesktopAndTheCommandLineShareOneFile) {
    test::TempDir dir;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path().string()));
    {
        auto settings = openUserSettings();
        QtSettingsStore store(*settings);
        store.writeInteger("Settings", "Pages option", 0x25);
        settings->sync();
    }
    IniSettingsStore cli(defaultSettingsPath());
    EXPECT_EQ(cli.integer("Settings", "Pages option", 111), 0x25);
    EXPECT_NE(defaultSettingsPath().find("Typeloom/Typeloom Studio.conf"), std::string::npos);
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(CharacterListResize, TheEditedCharacterStaysInViewWhenTheWidthChanges) {
    Font font;
    font.createFromScratch(0x20, 0x7E, 8, 12, "List");
    ui::CharacterListGrid list(font);
    list.resize(600, 200);
    list.show();
    list.setCurrentIndex(font.lastIndex());
    for (int width : {250, 900, 120}) {
        SCOPED_TRACE(width);
        list.resize(width, 200);
        QApplication::processEvents();
        EXPECT_FALSE(list.cellRect(font.lastIndex()).isEmpty());
    }
}

}  // namespace
}  // namespace typeloom::app
