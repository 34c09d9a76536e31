// The undo history in the desktop application: strokes, a font-wide command, a table change
// and a paste walked back to the opened font and forward again, the menu texts that name the
// steps, the modified flag and the History list.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/history_dialog.h"
#include "app/main_window.h"
#include "app/studio_app.h"
#include "app_test_support.h"
#include "dialog_test_support.h"
#include "editor/ui/pixel_grid.h"
#include "editor_ui_support.h"
#include "export/ui/character_data_panel.h"
#include "interchange/multicopy.h"
#include "interchange/ui/multi_copy_dialogs.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/ui/edit_characters_table_dialog.h"
#include "model/ui/font_info_dialog.h"
#include "model/ui/font_size_dialogs.h"
#include "model/ui/spin_edit.h"
#include "test_support.h"

namespace typeloom::app {
namespace {

class HistoryTest : public test::StudioAppTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(startApp("History"));
        frame().resize(1000, 800);
        m_saved = m_dir.file("history.tlf");
        ASSERT_TRUE(doc().saveDocument(QString::fromStdString(m_saved)));
        frame().selectInitialCharacter();  // 'A'
        frame().updateCommandStates();
    }

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
    // The menu text of Undo or Redo.
    std::string menuText(CommandId id) { return frame().action(id)->text().toStdString(); }
    std::string undoText() { return menuText(CommandId::Undo); }
    // Saves the document under a new name in the test's folder and returns the file's bytes.
    std::vector<std::uint8_t> saveAs(const char* name) {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(doc().saveDocument(QString::fromStdString(path)));
        return test::readFile(path);
    }
    // Runs a command whose modal dialog, of the given class, `fill` fills before OK is pressed.
    template <class Dialog, class Fill>
    void answerDialog(CommandId id, Fill fill) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = dynamic_cast<Dialog*>(modal);
            if (dialog == nullptr) {
                if (modal != nullptr) {
                    modal->close();  // not the dialog expected: the test fails below
                }
                return;
            }
            fill(*dialog);
            answered = true;
            test::pressOk(*dialog);
        });
        EXPECT_TRUE(frame().executeCommand(id));
        EXPECT_TRUE(answered);
    }

    std::string m_saved;
};

// Every kind of step, each through its real command: strokes, a font-wide transformation, a
// font-wide dialog, a table commit, a multi paste and a paste into the glyph. Undone one by one
// back to the opened font, the saved project is the opened file byte for byte; redone to the end,
// it is the file saved before the undoing. The modified flag follows the walk to whichever state
// was saved last, and a new edit ends the redo.
TEST_F(HistoryTest, EveryStepUndoneToTheOpenedFontAndRedoneToTheEnd) {
    const std::vector<std::uint8_t> opened = test::readFile(m_saved);
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Undo));
    Font other;  // the multi copy's source: one inked character the font lacks
    other.createFromScratch('a', 'a', 5, 12, "Other");
    other.glyphs.find('a')->pixels.assign(60, 1);
    struct Step {
        const char* name;  // the step's name in the menu
        std::function<void()> run;
    };
    const Step steps[] = {
        {"Pencil", [this] { stroke(1, 4, 2); }},  // a stroke over four cells is one step
        {"Pencil", [this] { stroke(2, 2, 5); }},
        {"Mirror All Horizontally",
         [this] { ASSERT_TRUE(frame().executeCommand(CommandId::MirrorHorizontal)); }},
        {"Change Font Height",
         [this] {
             answerDialog<ui::ChangeSizeDialog>(CommandId::ChangeHeight, [](auto& dialog) {
                 ChangeSizeFields fields;
                 fields.increase = true;
                 fields.addBefore = "1";
                 fields.addAfter = "2";
                 dialog.setFields(fields);
             });
         }},
        {"Edit Characters Table",
         [this] {
             answerDialog<ui::EditCharactersTableDialog>(CommandId::EditTable, [this](auto&) {
                 font().charTable.enableCode('E');  // as the grid's toggle does
             });
         }},
        {"Multi Paste",
         [this, &other] {
             other.height = font().height;  // the heights agree: no question
             other.glyphs.find('a')->pixels.assign(5u * other.height, 1);
             const std::uint16_t code = 'a';
             const std::vector<std::uint8_t> block = buildMultiCopyData(other, {&code, 1});
             auto* mime = new QMimeData;
             mime->setData(QString::fromLatin1(kMultiCopyMimeType),
                           QByteArray(reinterpret_cast<const char*>(block.data()),
                                      static_cast<qsizetype>(block.size())));
             QGuiApplication::clipboard()->setMimeData(mime);
             frame().updateCommandStates();
             answerDialog<ui::MultiPasteDialog>(CommandId::MultiPaste, [](auto&) {});
         }},
        {"Paste",
         [this] {
             QImage image(2, 2, QImage::Format_RGB32);
             image.fill(Qt::black);
             QGuiApplication::clipboard()->setImage(image);
             ASSERT_TRUE(frame().executeCommand(CommandId::Paste));
         }},
    };
    const std::size_t count = std::size(steps);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const std::size_t before = doc().history().size();
        step.run();
        EXPECT_EQ(doc().history().size(), before + 1);
        EXPECT_EQ(undoText(), std::string("&Undo ") + step.name + "\tCtrl+Z");
        EXPECT_TRUE(doc().isModified());
    }
    // The data-format word is a setting of the program, not a step: no walk takes it back.
    frame().dataPanel()->findChild<QCheckBox*>("checkInvertBits")->click();
    const std::uint32_t word = font().dataFormat;
    EXPECT_EQ(font().height, 15);
    EXPECT_EQ(font().count(), 6);  // 'E' committed, 'a' pasted
    const std::vector<std::uint8_t> last = saveAs("last.tlf");

    for (std::size_t i = count; i-- > 0;) {
        EXPECT_EQ(undoText(), std::string("&Undo ") + steps[i].name + "\tCtrl+Z");
        ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
        EXPECT_TRUE(doc().isModified());  // the state saved last is the end
    }
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Undo));
    EXPECT_EQ(saveAs("undone.tlf"), opened);
    EXPECT_EQ(font().dataFormat, word);
    EXPECT_EQ(menuText(CommandId::Redo), "&Redo Pencil\tCtrl+Y");

    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(menuText(CommandId::Redo), std::string("&Redo ") + steps[i].name + "\tCtrl+Y");
        ASSERT_TRUE(frame().executeCommand(CommandId::Redo));
        EXPECT_TRUE(doc().isModified());
    }
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Redo));
    EXPECT_EQ(saveAs("redone.tlf"), last);

    // Back one step and forward again to the state just saved: not modified there.
    ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
    EXPECT_TRUE(doc().isModified());
    ASSERT_TRUE(frame().executeCommand(CommandId::Redo));
    EXPECT_FALSE(doc().isModified());

    // A new edit after an undo ends the redo.
    ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
    grid().setTool(ToolId::Pencil);  // the paste chose the Select tool
    stroke(0, 0, 0);
    EXPECT_FALSE(frame().isCommandEnabled(CommandId::Redo));
}

// The other font-wide dialogs: each OK is one step named for its command, and its undo gives
// back the font as it was, header values included; a cancelled dialog is no step.
TEST_F(HistoryTest, EachFontWideDialogIsOneStep) {
    struct Row {
        const char* name;
        std::function<void()> run;
    };
    const Row rows[] = {
        {"Change Font Width",
         [this] {
             answerDialog<ui::ChangeSizeDialog>(CommandId::ChangeWidth, [](auto& dialog) {
                 ChangeSizeFields fields;
                 fields.clipAfter = "2";
                 dialog.setFields(fields);
             });
         }},
        {"Change Font Ascent",
         [this] {
             answerDialog<ui::ChangeAscentDialog>(
                 CommandId::ChangeAscent, [](auto& dialog) { dialog.ascentEdit()->setText("3"); });
         }},
        {"Resize Font",
         [this] {
             answerDialog<ui::ResizeFontDialog>(
                 CommandId::Resize, [](auto& dialog) { dialog.verticalEdit()->setText("200"); });
         }},
        {"Font Information",
         [this] {
             answerDialog<ui::FontInfoDialog>(CommandId::FontInformation, [](auto& dialog) {
                 dialog.copyrightEdit()->setText("Mine");
             });
         }},
    };
    font().encoding = 0;  // Font Information is offered for Ascii+ISO8859 fonts
    ASSERT_TRUE(doc().saveDocument(QString::fromStdString(m_saved)));
    frame().updateCommandStates();
    // A glyph edit first, stored by each step and kept by its undo. After the first row the
    // stroke is back by a Redo following a store: the next step must store it again.
    stroke(0, 2, 0);
    const std::vector<std::uint8_t> edited = project();
    const FontHeaderInfo header = font().fontHeader;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.run();
        ASSERT_EQ(doc().history().size(), 2u);
        EXPECT_EQ(undoText(), std::string("&Undo ") + row.name + "\tCtrl+Z");
        EXPECT_TRUE(project() != edited || !(font().fontHeader == header));
        ASSERT_TRUE(frame().executeCommand(CommandId::Undo));
        EXPECT_EQ(project(), edited);
        EXPECT_TRUE(font().fontHeader == header);
        ASSERT_TRUE(frame().executeCommand(CommandId::Undo));  // the stroke
        EXPECT_EQ(project(), test::readFile(m_saved));
        EXPECT_FALSE(doc().isModified());
        ASSERT_TRUE(frame().executeCommand(CommandId::Redo));
    }
    // A cancelled dialog is no step and keeps the redo.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    ASSERT_TRUE(frame().executeCommand(CommandId::ChangeHeight));
    EXPECT_EQ(doc().history().size(), 2u);
    EXPECT_TRUE(frame().isCommandEnabled(CommandId::Redo));
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
    EXPECT_EQ(undoText(), "&Undo Insert Column\tCtrl+Z");
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
    EXPECT_EQ(undoText(), "&Undo Invert All\tCtrl+Z");
}

}  // namespace
}  // namespace typeloom::app
