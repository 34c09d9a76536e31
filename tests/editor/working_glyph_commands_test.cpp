#include <gtest/gtest.h>

#include "editor/working_glyph.h"
#include "editor_test_support.h"

namespace typeloom {
namespace {

using test::blankRows;
using test::Editing;
using test::picture;
using Rows = std::vector<std::string>;

TEST(ColumnCommands, DeleteAndInsertAtEitherSide) {
    struct Row {
        const char* what;
        ToolId id;
        bool ctrl;
        Rows expected;
    };
    const Row rows[] = {
        {"delete left", ToolId::DeleteColumn, false, {"..", "##"}},
        {"delete right (Ctrl)", ToolId::DeleteColumn, true, {"#.", ".#"}},
        {"insert left", ToolId::InsertColumn, false, {".#..", "..##"}},
        {"insert right (Ctrl)", ToolId::InsertColumn, true, {"#...", ".##."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e({"#..", ".##"});
        EditOutcome out = e.tool(row.id, row.ctrl);
        EXPECT_EQ(picture(e.glyph), row.expected);
        EXPECT_EQ(e.glyph.width(), static_cast<int>(row.expected[0].size()));
        EXPECT_TRUE(out.titleChanged);
        EXPECT_FALSE(out.beep);
        EXPECT_TRUE(e.glyph.modified());
        // The repaint covers the wider of the old and the new glyph.
        EXPECT_EQ(out.changed, (CellRect{0, 0, row.id == ToolId::InsertColumn ? 4 : 3, 2}));
        EXPECT_EQ(e.glyph.tool(), row.id);
        e.glyph.undo();
        EXPECT_EQ(picture(e.glyph), (Rows{"#..", ".##"}));
    }
}

TEST(ColumnCommands, BeepAtTheirLimitsAndChangeNothing) {
    struct Row {
        const char* what;
        int width;
        bool insert;
        bool beep;
    };
    const Row rows[] = {
        {"delete at width 1", 1, false, true},
        {"delete at width 2", 2, false, false},
        {"insert at width 1024", 1024, true, true},
        {"insert at width 1023", 1023, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e({std::string(static_cast<std::size_t>(row.width), '#')});
        e.glyph.pencilDown(0, 0);  // an undo copy to keep
        const std::vector<std::uint8_t> before = e.glyph.pixels();
        const std::vector<std::uint8_t> undoBefore = e.glyph.undoCopy();
        e.glyph.storeGlyph(e.font);
        EditOutcome out =
            row.insert ? e.glyph.insertColumn(false, e.font) : e.glyph.deleteColumn(false, e.font);
        EXPECT_EQ(out.beep, row.beep);
        if (row.beep) {
            EXPECT_EQ(e.glyph.width(), row.width);
            EXPECT_EQ(e.glyph.pixels(), before);
            EXPECT_EQ(e.glyph.undoCopy(), undoBefore);
            EXPECT_FALSE(e.glyph.modified());
            EXPECT_TRUE(out.changed.empty());
        } else {
            EXPECT_EQ(e.glyph.width(), row.width + (row.insert ? 1 : -1));
        }
    }
}

TEST(ColumnCommands, FixedWidthFontFollowsTheAnswerToTheQuestion) {
    Editing e({"#..", ".##"});
    e.font.fixedWidth = 3;
    EXPECT_TRUE(e.glyph.columnQuestionNeeded(e.font, false));
    EXPECT_TRUE(e.glyph.columnQuestionNeeded(e.font, true));
    // "No": nothing changes, the font stays fixed-width.
    EditOutcome no = e.tool(ToolId::DeleteColumn, false, false);
    EXPECT_FALSE(no.beep);
    EXPECT_EQ(e.glyph.width(), 3);
    EXPECT_EQ(e.font.fixedWidth, 3);
    EXPECT_FALSE(e.glyph.modified());
    // "Yes": the font becomes variable-width and the command goes on.
    e.tool(ToolId::InsertColumn, true, true);
    EXPECT_EQ(e.font.fixedWidth, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"#...", ".##."}));
    EXPECT_FALSE(e.glyph.columnQuestionNeeded(e.font, true));

    // At a limit the command only beeps: no question, and the font keeps its fixed width.
    Editing narrow({"#", "."});
    narrow.font.fixedWidth = 1;
    EXPECT_FALSE(narrow.glyph.columnQuestionNeeded(narrow.font, false));
    EXPECT_TRUE(narrow.glyph.deleteColumn(false, narrow.font, true).beep);
    EXPECT_EQ(narrow.font.fixedWidth, 1);
}

TEST(OneShotCommands, MoveMirrorAndInvertTheWholeGlyph) {
    struct Row {
        const char* what;
        ToolId id;
        Rows start;
        Rows expected;
    };
    const Row rows[] = {
        {"move down: rows A B C become C A B",
         ToolId::MoveDown,
         {"#.", ".#", "##"},
         {"##", "#.", ".#"}},
        {"move up: rows A B C become B C A",
         ToolId::MoveUp,
         {"#.", ".#", "##"},
         {".#", "##", "#."}},
        {"move left wraps the first column", ToolId::MoveLeft, {"#..", ".#."}, {"..#", "#.."}},
        {"move right wraps the last column", ToolId::MoveRight, {"#..", "..#"}, {".#.", "#.."}},
        {"horizontal mirror", ToolId::MirrorHorizontal, {"#..", "##."}, {"..#", ".##"}},
        {"vertical mirror, odd height",
         ToolId::MirrorVertical,
         {"#.", ".#", ".."},
         {"..", ".#", "#."}},
        {"vertical mirror of one row", ToolId::MirrorVertical, {"#."}, {"#."}},
        {"invert", ToolId::Invert, {"#.", ".."}, {".#", "##"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e(row.start);
        EditOutcome out = e.tool(row.id);
        EXPECT_EQ(picture(e.glyph), row.expected);
        EXPECT_TRUE(e.glyph.modified());
        EXPECT_TRUE(out.documentModified);
        EXPECT_EQ(out.changed, e.glyph.bounds());
        EXPECT_EQ(picture(e.glyph.undoCopy(), e.glyph.width()), row.start);
    }
}

TEST(OneShotCommands, InvertInAGreyFont) {
    Editing e({"3#2."}, 2);
    e.glyph.invert();
    EXPECT_EQ(picture(e.glyph), (Rows{".2#3"}));
}

TEST(OneShotCommands, DoNothingBelowTheirLimits) {
    struct Row {
        const char* what;
        ToolId id;
        Rows start;
    };
    const Row rows[] = {
        {"move up, one row", ToolId::MoveUp, {"#.#"}},
        {"move down, one row", ToolId::MoveDown, {"#.#"}},
        {"move left, one column", ToolId::MoveLeft, {"#", ".", "#"}},
        {"move right, one column", ToolId::MoveRight, {"#", ".", "#"}},
        {"horizontal mirror, one column", ToolId::MirrorHorizontal, {"#", "."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e(row.start);
        e.glyph.pencilDown(0, 0);
        e.glyph.storeGlyph(e.font);
        const std::vector<std::uint8_t> undoBefore = e.glyph.undoCopy();
        EditOutcome out = e.tool(row.id);
        EXPECT_TRUE(out.changed.empty());
        EXPECT_FALSE(out.beep);
        EXPECT_FALSE(e.glyph.modified());
        EXPECT_EQ(e.glyph.undoCopy(), undoBefore);
    }
}

TEST(OneShotCommands, EndShapeModeAndActOnTheWholeGlyph) {
    Editing e({"#.", ".."});
    e.tool(ToolId::Line);
    EXPECT_TRUE(e.glyph.shapeMode());
    e.tool(ToolId::MoveRight);
    EXPECT_FALSE(e.glyph.shapeMode());
    EXPECT_EQ(e.glyph.tool(), ToolId::MoveRight);
    e.tool(ToolId::FilledRectangle);
    EXPECT_TRUE(e.glyph.shapeMode());
    e.tool(ToolId::Eraser);
    EXPECT_FALSE(e.glyph.shapeMode());
    // With a selection, Move Down drops it and moves every row.
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {0, 0});
    EditOutcome out = e.tool(ToolId::MoveDown);
    EXPECT_TRUE(out.selectionChanged);
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
    EXPECT_EQ(picture(e.glyph), (Rows{"..", ".#"}));
}

TEST(Undo, TwiceReturnsToTheStateAfterTheEdit) {
    Editing e({"#.", ".."});
    e.glyph.pencilDown(1, 1);
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"#.", ".."}));
    EXPECT_TRUE(e.glyph.modified());  // left as it was
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"#.", ".#"}));

    // Across a change of width, each swap reports the title.
    e.tool(ToolId::InsertColumn, true);
    EditOutcome back = e.glyph.undo();
    EXPECT_TRUE(back.titleChanged);
    EXPECT_EQ(back.changed, (CellRect{0, 0, 3, 2}));
    EXPECT_EQ(e.glyph.width(), 2);
    EditOutcome again = e.glyph.undo();
    EXPECT_TRUE(again.titleChanged);
    EXPECT_EQ(picture(e.glyph), (Rows{"#..", ".#."}));
    // Without a change of width the title stays.
    e.glyph.pencilDown(0, 0);
    EXPECT_FALSE(e.glyph.undo().titleChanged);
}

TEST(Undo, UndoAllReturnsToTheLoadedGlyphWithoutSavingUndo) {
    Editing e({"#.", ".."});
    e.glyph.pencilDown(1, 1);
    e.tool(ToolId::InsertColumn, true);
    e.glyph.storeGlyph(e.font);
    EditOutcome out = e.glyph.undoAll();
    EXPECT_EQ(picture(e.glyph), (Rows{"#.", ".."}));
    EXPECT_TRUE(out.titleChanged);
    EXPECT_TRUE(e.glyph.modified());
    EXPECT_EQ(out.changed, (CellRect{0, 0, 3, 2}));
    // The undo copy is still the one the column command saved.
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"#.", ".#"}));
}

TEST(Undo, AChangeOfWidthEndsTheSelection) {
    Editing e({"#.", "#."});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {0, 1});
    // Called directly (not through a tool button, which drops the selection first).
    EditOutcome out = e.glyph.insertColumn(true, e.font);
    EXPECT_EQ(e.glyph.width(), 3);
    EXPECT_TRUE(out.selectionChanged);
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
    // Without a change of width an undo leaves the selection alone.
    e.glyph.selectRubberBand({0, 0}, {0, 1});
    e.glyph.pencilDown(1, 1);
    EXPECT_FALSE(e.glyph.undo().selectionChanged);
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::InPlace);
}

TEST(Undo, UndoAllDropsASelectionTheGlyphNoLongerHolds) {
    Editing e(blankRows(2, 2));
    e.tool(ToolId::InsertColumn);
    e.glyph.selectAll();  // three columns
    EditOutcome out = e.glyph.undoAll();
    EXPECT_EQ(e.glyph.width(), 2);
    EXPECT_TRUE(out.selectionChanged);
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
}

}  // namespace
}  // namespace typeloom
