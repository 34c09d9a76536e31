#include <gtest/gtest.h>

#include "editor/working_glyph.h"
#include "editor_test_support.h"

namespace typeloom {
namespace {

using test::Editing;
using test::picture;
using Rows = std::vector<std::string>;

TEST(RubberBand, SelectsTheClippedBandWithoutChangingPixels) {
    const Rows start{"#.#..", ".##..", ".....", "#...#"};
    Editing e(start);
    e.tool(ToolId::Select);
    // Dragged up and to the left, past the glyph's top and left edges.
    EditOutcome out = e.glyph.selectRubberBand({3, -2}, {-1, 1});
    EXPECT_TRUE(out.selectionChanged);
    EXPECT_TRUE(out.changed.empty());
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::InPlace);
    EXPECT_EQ(e.glyph.selection(), (CellRect{0, 0, 4, 2}));
    EXPECT_EQ(e.glyph.selectionSource(), (Cell{0, 0}));
    EXPECT_EQ(picture(e.glyph), start);
    EXPECT_FALSE(e.glyph.modified());

    // A band that misses the glyph selects nothing, and the old selection is gone.
    e.glyph.selectRubberBand({7, 0}, {9, 3});
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
    EXPECT_TRUE(e.glyph.selection().empty());
}

TEST(MoveSelection, FirstMoveCutsLaterMovesPutBackWhatWasCovered) {
    Editing e({"##....", "#.....", "..#..."});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {1, 1});

    EditOutcome first = e.glyph.moveSelection(3, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"...##.", "...#..", "..#..."}));
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::Moved);
    EXPECT_EQ(e.glyph.selection(), (CellRect{3, 0, 2, 2}));
    EXPECT_EQ(first.changed, (CellRect{0, 0, 5, 2}));
    EXPECT_TRUE(first.documentModified);
    EXPECT_TRUE(e.glyph.modified());

    // The selection is opaque: it covers the ink at (2, 2) while it lies there...
    e.glyph.moveSelection(1, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{"......", ".##...", ".#...."}));
    // ...and puts it back when it leaves; (1, 1) lies where the content was cut from and
    // stays background.
    e.glyph.moveSelection(4, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{"......", "....##", "..#.#."}));
    EXPECT_EQ(e.glyph.selectionSource(), (Cell{0, 0}));

    // Undo takes back the cut and every move.
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"##....", "#.....", "..#..."}));
}

TEST(MoveSelection, OverlappingMovesKeepTheContentWhole) {
    Editing e({"##.."});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {1, 0});
    e.glyph.moveSelection(1, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{".##."}));
    e.glyph.moveSelection(2, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"..##"}));
}

TEST(MoveSelection, WhatHangsOverTheEdgeIsCutOff) {
    struct Row {
        const char* what;
        Cell to;
        Rows expected;
        CellRect selection;
        Cell source;
    };
    const Row rows[] = {
        // The right column of the selection falls off the glyph.
        {"over the right edge", {3, 0}, {"...#", "...#"}, {3, 0, 1, 2}, {0, 0}},
        // Far beyond the top left: one cell of the selection stays on the glyph, the one
        // taken from (1, 0).
        {"far to the left and down", {-10, 5}, {"....", "#..."}, {0, 1, 1, 1}, {1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e({"##..", "#..."});
        e.tool(ToolId::Select);
        e.glyph.selectRubberBand({0, 0}, {1, 1});
        e.glyph.moveSelection(row.to.x, row.to.y);
        EXPECT_EQ(picture(e.glyph), row.expected);
        EXPECT_EQ(e.glyph.selection(), row.selection);
        EXPECT_EQ(e.glyph.selectionSource(), row.source);
    }

    // Moved back, the part that fell off does not return.
    Editing e({"##..", "#..."});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {1, 1});
    e.glyph.moveSelection(3, 0);
    e.glyph.moveSelection(0, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"#...", "#..."}));
}

TEST(ResizeSelection, MakesAFreshSelectionOfWhatLiesThere) {
    Editing e({"#.....", "......"});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {0, 0});
    e.glyph.moveSelection(2, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"..#...", "......"}));
    // A handle drag, corners given in either order.
    EditOutcome out = e.glyph.resizeSelection({3, 1}, {2, 0});
    EXPECT_TRUE(out.changed.empty());
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::InPlace);
    EXPECT_EQ(e.glyph.selection(), (CellRect{2, 0, 2, 2}));
    EXPECT_EQ(e.glyph.selectionSource(), (Cell{2, 0}));
    // The next drag carries the moved ink, not what lay at (2, 0) before the first move.
    e.glyph.moveSelection(4, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"....#.", "......"}));
    e.glyph.moveSelection(0, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"#.....", "......"}));
}

TEST(DeleteSelection, ClearsExactlyTheSelectedCells) {
    Editing e({"###", "###"});
    e.tool(ToolId::Select);
    // Nothing selected: nothing happens.
    EXPECT_TRUE(e.glyph.deleteSelection().changed.empty());
    EXPECT_FALSE(e.glyph.modified());

    e.glyph.selectRubberBand({0, 0}, {0, 0});
    EditOutcome out = e.glyph.deleteSelection();
    EXPECT_EQ(picture(e.glyph), (Rows{".##", "###"}));
    EXPECT_EQ(out.changed, (CellRect{0, 0, 1, 1}));
    EXPECT_TRUE(e.glyph.modified());
    // Dragging the emptied selection away does not bring the ink back.
    e.glyph.moveSelection(2, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{".##", "##."}));
    // Undo takes back the delete and the drag after it.
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"###", "###"}));
}

TEST(SelectAll, SelectsTheWholeGlyphReadyToMove) {
    Editing e({"#.#", ".##"});
    e.tool(ToolId::Line);
    EditOutcome out = e.glyph.selectAll();
    EXPECT_TRUE(out.selectionChanged);
    EXPECT_EQ(e.glyph.tool(), ToolId::Select);
    EXPECT_FALSE(e.glyph.shapeMode());
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::Moved);
    EXPECT_EQ(e.glyph.selection(), (CellRect{0, 0, 3, 2}));
    EXPECT_EQ(e.glyph.selectionSource(), (Cell{0, 0}));
    // Dragged right by one: the first column becomes background, the last one falls off.
    e.glyph.moveSelection(1, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{".#.", "..#"}));
    EXPECT_EQ(e.glyph.selection(), (CellRect{1, 0, 2, 2}));
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"#.#", ".##"}));
}

TEST(SelectionLife, ToolChangesAndPressesOutsideDropIt) {
    struct Row {
        const char* what;
        ToolId tool;
        bool kept;
    };
    const Row rows[] = {
        {"select", ToolId::Select, true},   {"invert", ToolId::Invert, true},
        {"pencil", ToolId::Pencil, false},  {"rectangle", ToolId::Rectangle, false},
        {"move up", ToolId::MoveUp, false}, {"mirror", ToolId::MirrorVertical, false},
        {"eraser", ToolId::Eraser, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e({"#.", ".."});
        e.tool(ToolId::Select);
        e.glyph.selectRubberBand({0, 0}, {0, 0});
        EditOutcome out = e.tool(row.tool);
        EXPECT_EQ(e.glyph.selectionState() != SelectionState::None, row.kept);
        if (!row.kept) {
            EXPECT_TRUE(out.selectionChanged);
        }
    }
    Editing e({"#.", ".."});
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({0, 0}, {1, 0});
    e.glyph.moveSelection(0, 1);
    // A press outside the glyph drops it; the moved content stays where it is.
    e.glyph.dropSelection();
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
    EXPECT_TRUE(e.glyph.selection().empty());
    EXPECT_EQ(picture(e.glyph), (Rows{"..", "#."}));
    // Loading a glyph drops a selection too.
    e.glyph.selectAll();
    e.glyph.loadGlyph(e.font, 'A');
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
}

TEST(SelectionLife, InvertActsOnTheSelectionWhichStaysSelected) {
    Editing e({"32#.", ".#23"}, 2);
    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({1, 0}, {2, 1});
    e.glyph.moveSelection(1, 0);  // moved, to the same place
    e.tool(ToolId::Invert);
    EXPECT_EQ(picture(e.glyph), (Rows{"3#2.", ".2#3"}));
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::InPlace);
    EXPECT_EQ(e.glyph.tool(), ToolId::Select);
    // The inverted cells are what a drag now carries.
    e.glyph.moveSelection(2, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"3.#2", "..2#"}));
}

}  // namespace
}  // namespace typeloom
