#include "editor/ui/character_editor_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>

#include "common/settings_store.h"
#include "editor/ui/color_swatch.h"
#include "editor/ui/pixel_grid.h"
#include "editor/ui/tool_button.h"
#include "ui/editor_ui_support.h"

namespace typeloom::ui {
namespace {

using test::fontOf;
using test::GlyphPicture;
using Rows = std::vector<std::string>;

class CharacterEditorPanelTest : public ::testing::Test {
  protected:
    void open(const std::vector<GlyphPicture>& glyphs, std::uint32_t bits = 1) {
        panel.reset();
        font = fontOf(glyphs, 0, bits);
        panel = std::make_unique<CharacterEditorPanel>(font, settings);
        panel->resize(500, 400);
        panel->confirmSave = [this] {
            ++asked;
            return answer;
        };
    }
    PixelGrid* grid() const { return panel->pixelGrid(); }
    // Inverts cell (x, y) with the pencil, through the mouse (zoom 15).
    void pencil(int x, int y) {
        grid()->setTool(ToolId::Pencil);
        QTest::mouseClick(grid(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(10 + 15 * x + 7, 10 + 15 * y + 7));
    }
    Rows picture() const { return test::picture(grid()->workingGlyph()); }
    Rows fontPicture(std::uint16_t u) const {
        const Glyph* g = font.glyphs.find(u);
        return test::picture(g->pixels, g->width);
    }

    Font font;
    MemorySettingsStore settings;
    std::unique_ptr<CharacterEditorPanel> panel;
    ConfirmSaveAnswer answer;
    int asked = 0;
};

// --- Title

TEST_F(CharacterEditorPanelTest, TitleShowsSizeCodeAndTheAmpersandAsItself) {
    open({{'&', test::blankRows(6, 12)}});
    EXPECT_EQ(panel->title(), "Character Editor");
    ASSERT_TRUE(panel->selectCharacter(0));
    // A Qt label shows '&' as it is, so it appears once, as the user should see it.
    EXPECT_EQ(panel->titleLabel()->text(), "Character Editor (w:6 * h:12) - 0026 <&>");
    // A change of width shows at once.
    grid()->setTool(ToolId::InsertColumn);
    EXPECT_EQ(panel->title(), "Character Editor (w:7 * h:12) - 0026 <&>");
}

TEST_F(CharacterEditorPanelTest, TitleShowsTheCodeInTheFontsEncoding) {
    // Shift_JIS 0x82A0 is HIRAGANA LETTER A.
    font = Font{};
    font.height = 2;
    font.glyphs.insert(0x3042, Glyph(0x82A0, 3, std::vector<std::uint8_t>(6, 0)));
    font.codeList = {0x82A0};
    font.unicodeList = {0x3042};
    panel = std::make_unique<CharacterEditorPanel>(font, settings);
    panel->selectCharacter(0);
    EXPECT_EQ(panel->title(), QString::fromUtf8("Character Editor (w:3 * h:2) - 82A0 <\u3042>"));
}

TEST_F(CharacterEditorPanelTest, TitleShowsLineBreaksAsSpacesAndCharacter30Twice) {
    EXPECT_EQ(editorTitle(4, 8, 10, 10), "Character Editor (w:4 * h:8) - 000A < >");
    EXPECT_EQ(editorTitle(4, 8, 13, 13), "Character Editor (w:4 * h:8) - 000D < >");
    EXPECT_EQ(editorTitle(4, 8, 0, 0), "Character Editor (w:4 * h:8) - 0000 < >");
    EXPECT_EQ(editorTitle(4, 8, 31, 31), "Character Editor (w:4 * h:8) - 001F < >");
    EXPECT_EQ(editorTitle(4, 8, 30, 30),
              QString("Character Editor (w:4 * h:8) - 001E <") + QChar(30) + QChar(30) + ">");
    EXPECT_EQ(editorTitle(16, 16, 0x41, 0x41), "Character Editor (w:16 * h:16) - 0041 <A>");
}

TEST_F(CharacterEditorPanelTest, AnEmptyFontLeavesTheTitle) {
    open({});
    EXPECT_FALSE(panel->selectCharacter(0));
    panel->updateTitle();
    EXPECT_EQ(panel->title(), "Character Editor");
}

// --- Moving between characters

TEST_F(CharacterEditorPanelTest, ChangedCharacterAsksNoDiscardsYesWithTheBoxStoresFromNowOn) {
    open({{'A', {".."}}, {'B', {".."}}, {'C', {".."}}});
    QSignalSpy selected(panel.get(), &CharacterEditorPanel::characterSelected);
    panel->selectCharacter(0);
    EXPECT_EQ(asked, 0);
    pencil(0, 0);
    answer = {false, true};  // No, even with the box ticked
    EXPECT_TRUE(panel->selectCharacter(1));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fontPicture('A'), (Rows{".."}));
    EXPECT_EQ(settings.integer("Settings", "AutoSaveChar", 0), 0);
    EXPECT_EQ(grid()->currentIndex(), 1);

    pencil(1, 0);
    answer = {true, true};
    QSignalSpy modified(grid(), &PixelGrid::documentModified);
    panel->selectCharacter(2);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fontPicture('B'), (Rows{".#"}));
    EXPECT_EQ(modified.count(), 1);
    EXPECT_EQ(settings.integer("Settings", "AutoSaveChar", 0), 1);

    // From now on a change is stored without asking.
    pencil(0, 0);
    panel->selectCharacter(0);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fontPicture('C'), (Rows{"#."}));
    ASSERT_EQ(selected.count(), 4);
    EXPECT_EQ(selected.at(3).at(0).toInt(), 0);
}

TEST_F(CharacterEditorPanelTest, YesWithoutTheBoxStoresButAsksAgain) {
    open({{'A', {".."}}, {'B', {".."}}});
    panel->selectCharacter(0);
    pencil(0, 0);
    answer = {true, false};
    panel->selectCharacter(1);
    EXPECT_EQ(fontPicture('A'), (Rows{"#."}));
    EXPECT_EQ(settings.readInteger("Settings", "AutoSaveChar"), std::nullopt);
    pencil(0, 0);
    panel->selectCharacter(0);
    EXPECT_EQ(asked, 2);
}

TEST_F(CharacterEditorPanelTest, PickingTheCharacterShownOrOneTheFontLacksDoesNothing) {
    open({{'A', {".."}}, {'B', {".."}}});
    QSignalSpy selected(panel.get(), &CharacterEditorPanel::characterSelected);
    panel->selectCharacter(1);
    pencil(0, 0);
    EXPECT_FALSE(panel->selectCharacter(1));
    EXPECT_FALSE(panel->selectCharacter(2));
    EXPECT_FALSE(panel->selectCharacter(-1));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(grid()->isChanged());
    EXPECT_EQ(picture(), (Rows{"#."}));
    EXPECT_EQ(selected.count(), 1);
}

TEST_F(CharacterEditorPanelTest, TheConfirmDialogTickedAndYesTurnsOnAutoSave) {
    open({{'A', {".."}}, {'B', {".."}}});
    panel->confirmSave = [this] { return ConfirmSaveDialog::ask(panel.get()); };
    panel->selectCharacter(0);
    pencil(0, 0);
    QString text, box;
    bool ticked = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ConfirmSaveDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Confirm");
        text = dialog->findChildren<QLabel*>().value(0)->text();
        auto* check = dialog->findChild<QCheckBox*>();
        box = check->text();
        ticked = check->isChecked();
        auto* yes = dialog->findChild<QPushButton*>("yesButton");
        EXPECT_EQ(yes->text(), "&Yes");
        EXPECT_TRUE(yes->isDefault());
        EXPECT_EQ(dialog->findChild<QPushButton*>("noButton")->text(), "&No");
        check->setChecked(true);
        yes->click();
    });
    panel->selectCharacter(1);
    EXPECT_EQ(text, "The current character is changed.\n\nDo you want to save it?");
    EXPECT_EQ(box,
              "Do not show this warning message the next time.\nAutomatically save the changed "
              "character.");
    EXPECT_FALSE(ticked);
    EXPECT_EQ(fontPicture('A'), (Rows{"#."}));
    EXPECT_EQ(settings.integer("Settings", "AutoSaveChar", 0), 1);
}

TEST_F(CharacterEditorPanelTest, ClosingTheConfirmDialogCountsAsNo) {
    QWidget parent;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ConfirmSaveDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QCheckBox*>()->setChecked(true);
        dialog->close();
    });
    const ConfirmSaveAnswer a = ConfirmSaveDialog::ask(&parent);
    EXPECT_FALSE(a.save);
}

// --- Colours

TEST_F(CharacterEditorPanelTest, OneBitFontShowsNoSwatchesAndDrawsInk) {
    open({{'A', test::blankRows(4, 2)}}, 2);
    panel->selectSwatch(0);  // white
    font.bitsPerPixel = 1;
    panel->layoutSwatches();
    panel->selectCharacter(0);
    EXPECT_EQ(panel->visibleSwatchCount(), 0);
    EXPECT_TRUE(panel->colorsBox()->isHidden());
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(panel->swatch(i)->isHidden());
    }
    grid()->setTool(ToolId::Line);
    QTest::mousePress(grid(), Qt::LeftButton, Qt::NoModifier, QPoint(17, 17));
    test::dragTo(grid(), QPoint(62, 17));
    QTest::mouseRelease(grid(), Qt::LeftButton, Qt::NoModifier, QPoint(62, 17));
    EXPECT_EQ(picture(), (Rows{"####", "...."}));
    // The swatch keys do nothing.
    panel->nextSwatch();
    panel->previousSwatch();
    EXPECT_EQ(panel->selectedSwatch(), -1);
}

TEST_F(CharacterEditorPanelTest, TwoBitFontShowsFourGreysWithBlackSelected) {
    open({{'A', {".."}}}, 2);
    EXPECT_EQ(panel->visibleSwatchCount(), 4);
    EXPECT_FALSE(panel->colorsBox()->isHidden());
    const int greys[] = {255, 170, 85, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(panel->swatch(i)->isHidden());
        EXPECT_EQ(panel->swatch(i)->color(), QColor(greys[i], greys[i], greys[i]));
    }
    EXPECT_TRUE(panel->swatch(4)->isHidden());
    EXPECT_EQ(panel->selectedSwatch(), 3);
    EXPECT_TRUE(panel->swatch(3)->isSelected());
    EXPECT_EQ(panel->colorsBox()->title(), "Color: 3");
    EXPECT_EQ(grid()->currentColor(), 3);
    // "=" stops at the darkest, "-" at white.
    panel->nextSwatch();
    EXPECT_EQ(panel->selectedSwatch(), 3);
    for (int i = 0; i < 5; ++i) {
        panel->previousSwatch();
    }
    EXPECT_EQ(panel->selectedSwatch(), 0);
    EXPECT_EQ(panel->colorsBox()->title(), "Color: 0");
    EXPECT_FALSE(panel->swatch(3)->isSelected());
}

TEST_F(CharacterEditorPanelTest, EightBitSwatchesCoverTheWholeRange) {
    open({{'A', {".."}}}, 8);
    EXPECT_EQ(panel->visibleSwatchCount(), 16);
    EXPECT_EQ(panel->swatch(1)->color(), QColor(238, 238, 238));
    EXPECT_EQ(panel->swatch(15)->color(), QColor(0, 0, 0));
    EXPECT_EQ(panel->colorsBox()->title(), "Color: 255");
    panel->selectSwatch(5);
    EXPECT_EQ(grid()->currentColor(), 85);
    EXPECT_EQ(panel->colorsBox()->title(), "Color: 85");
}

TEST_F(CharacterEditorPanelTest, ClickingASwatchSelectsItEvenIfItWasTheLastClicked) {
    open({{'A', {".."}}}, 4);
    panel->show();
    QTest::mouseClick(panel->swatch(2), Qt::LeftButton);
    EXPECT_EQ(panel->selectedSwatch(), 2);
    EXPECT_EQ(grid()->currentColor(), 2);
    panel->nextSwatch();
    EXPECT_EQ(panel->selectedSwatch(), 3);
    QTest::mouseClick(panel->swatch(2), Qt::LeftButton);
    EXPECT_EQ(panel->selectedSwatch(), 2);
}

// --- Zoom

TEST_F(CharacterEditorPanelTest, ZoomSliderLabelAndGridMoveTogether) {
    settings.writeInteger("Settings", "Grid zoom", 5);
    open({{'A', {".."}}});
    EXPECT_EQ(panel->zoomSlider()->value(), 5);
    EXPECT_EQ(panel->zoomLabel()->text(), " 5x");
    panel->stepZoomControl(true);
    EXPECT_EQ(grid()->zoom(), 6);
    EXPECT_EQ(panel->zoomLabel()->text(), " 6x");
    grid()->zoomStep(false);
    grid()->zoomStep(false);
    EXPECT_EQ(panel->zoomSlider()->value(), 4);
    EXPECT_EQ(panel->zoomLabel()->text(), " 4x");
    panel->zoomSlider()->setValue(30);
    EXPECT_EQ(grid()->zoom(), 30);
    EXPECT_EQ(panel->zoomLabel()->text(), "30x");
    panel->stepZoomControl(true);
    EXPECT_EQ(grid()->zoom(), 30);
    // The grid keeps it for the next start when the panel goes.
    panel.reset();
    EXPECT_EQ(settings.integer("Settings", "Grid zoom", 0), 30);
}

// --- Tools and keys

TEST_F(CharacterEditorPanelTest, ToolButtonsChooseToolsAndRunCommands) {
    open({{'A', {"#..", "..."}}});
    panel->selectCharacter(0);
    panel->show();
    ToolButton* pencilButton = panel->toolButton(ToolId::Pencil);
    ASSERT_NE(pencilButton, nullptr);
    EXPECT_EQ(pencilButton->toolTip(), "Pencil <press Ctrl to erase>");
    EXPECT_EQ(panel->toolButton(ToolId::InsertColumn)->toolTip(),
              "Insert a column at the left side <press Ctrl at right side>");
    QTest::mouseClick(panel->toolButton(ToolId::Line), Qt::LeftButton);
    EXPECT_EQ(grid()->tool(), ToolId::Line);
    EXPECT_EQ(panel->toolButton(ToolId::Line)->look(), ToolLook::Active);
    EXPECT_EQ(pencilButton->look(), ToolLook::Normal);
    QTest::mousePress(pencilButton, Qt::LeftButton);
    EXPECT_EQ(pencilButton->look(), ToolLook::Pressed);
    QTest::mouseRelease(pencilButton, Qt::LeftButton);
    EXPECT_EQ(pencilButton->look(), ToolLook::Active);

    // A one-shot command runs at once and leaves no tool looking active.
    QTest::mouseClick(panel->toolButton(ToolId::MoveRight), Qt::LeftButton);
    EXPECT_EQ(picture(), (Rows{".#.", "..."}));
    EXPECT_EQ(panel->activeTool(), std::nullopt);
    EXPECT_EQ(pencilButton->look(), ToolLook::Normal);
    // Ctrl chooses the right side of the column commands.
    QTest::mouseClick(panel->toolButton(ToolId::DeleteColumn), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{".#", ".."}));
    QTest::mouseClick(panel->toolButton(ToolId::DeleteColumn), Qt::LeftButton);
    EXPECT_EQ(picture(), (Rows{"#", "."}));

    // Select All picks the Select tool, and its button shows it.
    grid()->selectAll();
    EXPECT_EQ(panel->activeTool(), ToolId::Select);
    EXPECT_EQ(panel->toolButton(ToolId::Select)->look(), ToolLook::Active);
}

TEST_F(CharacterEditorPanelTest, CtrlF11UndoesOnlyAChangedGlyph) {
    open({{'A', {"..."}}});
    panel->selectCharacter(0);
    pencil(0, 0);
    QTest::keyClick(grid(), Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{"..."}));
    pencil(1, 0);
    grid()->storeEditedGlyph();
    QTest::keyClick(grid(), Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(picture(), (Rows{".#."}));
}

}  // namespace
}  // namespace typeloom::ui
