// The undo history in the desktop application: strokes, a font-wide command, a table change
// and a paste walked back to the opened font and forward again, the menu texts that name the
// steps, the modified flag and the History list.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/history_dialog.h"
#include "app/main_window.h"
#include "app/studio_app.h"
#include "editor/ui/pixel_grid.h"
#include "editor_ui_support.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_app = std::make_unique<StudioApp>(
            openSettingsFile(QString::fromStdString(m_dir.file("settings.ini"))));
        StudioApp::StartOptions options;
        options.show = false;
        options.autoOpen = false;
        options.installKeyFilter = false;
        ASSERT_TRUE(m_app->initInstance({}, options));
        frame().resize(1000, 800);
        font().createFromScratch('A', 'D', 8, 12, "History");
        m_saved = m_dir.file("history.tlf");
        ASSERT_TRUE(doc().saveDocument(QString::fromStdString(m_saved)));
        frame().selectInitialCharacter();  // 'A'
        frame().updateCommandStates();
    }
    void TearDown() override { m_app.reset(); }

    MainWindow& frame() { return *m_app->mainWindow(); }
    Font& font() { return m_app->font(); }
    FontDocument& doc() { return m_app->document(); }
    ui::PixelGrid& grid() { return *frame().pixelGrid(); }

    // A pencil stroke from cell (x0, y) to (x1, y).
    void stroke(int x0, int x1, int y) {
        const auto at = [this](int x, int row) {
            return grid().geometry().cellsRect({x, row, 1, 1}).center();
        };
        QTest::mousePress(&grid(), Qt::LeftButton, Qt::NoModifier, at(x0, y));
        for (int x = x0 + 1; x <= x1; ++x) {
            test::dragTo(&grid(), at(x, y));
        }
        QTest::mouseRelease(&grid(), Qt::LeftButton, Qt::NoModifier, at(x1, y));
    }
    // The project as a save would write it now.
    std::vector<std::uint8_t> project() {
        frame().storeEditedGlyph();
        return projectBytes(font());
    }
    QString undoText() { return frame().action(CommandId::Undo)->text(); }

    test::TempDir m_dir;
    std::unique_ptr<StudioApp> m_app;
    std::string m_saved;
};

TEST_F(HistoryTest, EveryStepUndoneToTheOpenedFontAndRedoneToTheEnd) {
    const std::vector<std::uint8_t> opened = test::readFile(m_saved);
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Undo));

    stroke(1, 4, 2);  // one stroke over four cells is one step
    EXPECT_EQ(undoText(), QStringLiteral("&Undo Pencil\tCtrl+Z"));
    EXPECT_TRUE(doc().isModified());
    stroke(2, 2, 5);
    ASSERT_TRUE(frame().executeCommand(CommandId::MirrorHorizontal));
    EXPECT_EQ(undoText(), QStringLiteral("&Undo Mirror All Horizontally\tCtrl+Z"));
    frame().runFontWideStep("Edit Characters Table", [](Font& f) {
        f.insertCode('E', 'E');
        f.addBlankGlyph('E', 8);
        return true;
    });
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    QGuiApplication::clipboard()->setImage(image);
    ASSERT_TRUE(frame().executeCommand(CommandId::Paste));
    EXPECT_EQ(undoText(), QStringLiteral("&Undo Paste\tCtrl+Z"));
    const std::vector<std::uint8_t> last = project();
    EXPECT_EQ(doc().history().size(), 5u);

    int undone = 0;
    while (frame().executeCommand(CommandId::Undo)) {
        ++undone;
    }
    EXPECT_EQ(undone, 5);
    EXPECT_EQ(project(), opened);
    EXPECT_FALSE(doc().isModified());  // back at the saved state
    EXPECT_EQ(font().count(), 4);
    EXPECT_EQ(frame().action(CommandId::Redo)->text(), QStringLiteral("&Redo Pencil\tCtrl+Y"));

    int redone = 0;
    while (frame().executeCommand(CommandId::Redo)) {
        ++redone;
    }
    EXPECT_EQ(redone, 5);
    EXPECT_EQ(project(), last);
    EXPECT_TRUE(doc().isModified());

    // A new edit after an undo ends the redo.
    ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
    grid().setTool(ToolId::Pencil);  // the paste chose the Select tool
    stroke(0, 0, 0);
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Redo));
}

// The first Undo after a glyph edit leaves the working copy exactly as the editor's own
// single-level undo would: pixels, width, the copy kept for undo and the selection.
TEST_F(HistoryTest, FirstUndoEqualsTheEditorsOwnUndo) {
    stroke(0, 3, 1);
    ASSERT_TRUE(frame().executeCommand(CommandId::SelectAll));
    grid().fixedWidthQuestion = [](const QString&) { return true; };
    grid().setTool(ToolId::InsertColumn);
    grid().setTool(ToolId::Pencil);
    stroke(5, 5, 7);
    WorkingGlyph own = grid().workingGlyph();
    own.undo();
    ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
    const WorkingGlyph& walked = grid().workingGlyph();
    EXPECT_EQ(walked.pixels(), own.pixels());
    EXPECT_EQ(walked.width(), own.width());
    EXPECT_EQ(walked.undoCopy(), own.undoCopy());
    EXPECT_EQ(walked.undoWidth(), own.undoWidth());
    EXPECT_EQ(walked.modified(), own.modified());
    EXPECT_EQ(walked.selectionState(), own.selectionState());
    // Ctrl+F11 in the editor takes the same road: the next undo takes back the column.
    EXPECT_EQ(undoText(), QStringLiteral("&Undo Insert Column\tCtrl+Z"));
    grid().undo();
    EXPECT_EQ(grid().workingGlyph().width(), 8);
}

TEST_F(HistoryTest, HistoryListJumpsToAStep) {
    stroke(0, 0, 0);
    ASSERT_TRUE(frame().executeCommand(CommandId::InvertAll));
    stroke(1, 1, 1);
    HistoryDialog dialog(doc().history(), [this](std::size_t n) { frame().historyJump(n); });
    auto* list = dialog.findChild<QListWidget*>("listHistory");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Invert All"));
    EXPECT_EQ(list->currentRow(), 3);
    list->setCurrentRow(0);
    QTest::mouseClick(dialog.findChild<QPushButton*>("buttonGoTo"), Qt::LeftButton);
    EXPECT_EQ(project(), test::readFile(m_saved));
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(list->currentRow(), 0);
    list->setCurrentRow(2);
    QTest::mouseClick(dialog.findChild<QPushButton*>("buttonGoTo"), Qt::LeftButton);
    EXPECT_EQ(doc().history().position(), 2u);
    EXPECT_EQ(undoText(), QStringLiteral("&Undo Invert All\tCtrl+Z"));
}

}  // namespace
}  // namespace typeloom::app
