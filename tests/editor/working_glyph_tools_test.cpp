#include <gtest/gtest.h>

#include "editor/working_glyph.h"
#include "editor_test_support.h"

namespace typeloom {
namespace {

using test::blankRows;
using test::Editing;
using test::picture;
using Rows = std::vector<std::string>;

// --- Exchange with the font

TEST(WorkingGlyphLoad, TakesTheGlyphAndStartsClean) {
    Font font = test::fontWith({"#..", ".#.", "..#", "###"});
    font.ascent = 3;
    font.glyphs.insert('B', Glyph('B', 2, test::pixelsOf({"##", "..", "##", ".."})));
    WorkingGlyph g;
    EXPECT_EQ(g.unicode(), 65);
    EXPECT_EQ(g.width(), 8);
    EXPECT_EQ(g.height(), 10);
    EditOutcome out = g.loadGlyph(font, 'B');
    EXPECT_EQ(g.previousUnicode(), 'A');
    EXPECT_EQ(g.unicode(), 'B');
    EXPECT_EQ(g.width(), 2);
    EXPECT_EQ(g.height(), 4);
    EXPECT_EQ(g.ascent(), 3);
    EXPECT_EQ(picture(g), (Rows{"##", "..", "##", ".."}));
    EXPECT_FALSE(g.modified());
    EXPECT_TRUE(out.titleChanged);
    // The repaint covers the old 8 x 10 working copy as well as the new glyph.
    EXPECT_EQ(out.changed, (CellRect{0, 0, 8, 10}));

    // Undo right after a load keeps this character: the undo level of the previous one is gone.
    g.pencilDown(0, 1);
    g.loadGlyph(font, 'A');
    g.undo();
    EXPECT_EQ(g.width(), 3);
    EXPECT_EQ(picture(g), (Rows{"#..", ".#.", "..#", "###"}));
}

TEST(WorkingGlyphLoad, MissingOrShortGlyphsBecomeWholeGlyphs) {
    Font font = test::fontWith({"###", "###"});
    // A glyph kept from before a change of height: one row for a font of two.
    font.glyphs.insert('C', Glyph('C', 3, test::pixelsOf({"#.#"})));
    WorkingGlyph g;
    g.loadGlyph(font, 'A');
    g.loadGlyph(font, 'C');
    EXPECT_EQ(picture(g), (Rows{"#.#", "..."}));
    // No glyph at all: an empty cell of the current width.
    g.loadGlyph(font, 'Z');
    EXPECT_EQ(picture(g), blankRows(3, 2));
    // Values beyond the font's depth are ink.
    font.glyphs.insert('D', Glyph('D', 1, {7, 0}));
    g.loadGlyph(font, 'D');
    EXPECT_EQ(picture(g), (Rows{"#", "."}));
}

TEST(WorkingGlyphStore, WritesOnlyAChangedGlyph) {
    Editing e({"..", ".."});
    EXPECT_FALSE(e.glyph.storeGlyph(e.font).documentModified);
    e.glyph.pencilDown(1, 0);
    EXPECT_TRUE(e.glyph.modified());
    EXPECT_TRUE(e.glyph.storeGlyph(e.font).documentModified);
    EXPECT_FALSE(e.glyph.modified());
    EXPECT_EQ(test::picture(e.font.glyphs.find('A')->pixels, 2), (Rows{".#", ".."}));
    // Stored once: a second store changes nothing.
    e.font.glyphs.find('A')->pixels[0] = 1;
    EXPECT_FALSE(e.glyph.storeGlyph(e.font).documentModified);
    EXPECT_EQ(e.font.glyphs.find('A')->pixels[0], 1);
}

// --- Pencil and eraser

TEST(Pencil, InvertsInAOneBitFontWithOrWithoutCtrl) {
    for (bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl ? "ctrl" : "no ctrl");
        Editing e({"#.", ".."});
        EditOutcome out = e.glyph.pencilDown(0, 0, ctrl);
        EXPECT_EQ(picture(e.glyph), (Rows{"..", ".."}));
        EXPECT_EQ(out.changed, (CellRect{0, 0, 1, 1}));
        EXPECT_TRUE(out.documentModified);
        EXPECT_TRUE(e.glyph.modified());
        e.glyph.pencilDown(1, 1, ctrl);
        EXPECT_EQ(picture(e.glyph), (Rows{"..", ".#"}));
    }
}

TEST(Pencil, DragInvertsEveryCellEnteredOnce) {
    Editing e({"#...", "...."});
    e.glyph.pencilDown(0, 0);                               // # -> .
    EXPECT_TRUE(e.glyph.pencilMove(0, 0).changed.empty());  // same cell: nothing
    e.glyph.pencilMove(1, 0);
    e.glyph.pencilMove(1, 0);
    e.glyph.pencilMove(2, 0);
    // Outside the glyph the cell is clamped: (9, 5) is (3, 1), (-4, -4) is (0, 0).
    e.glyph.pencilMove(9, 5);
    e.glyph.pencilMove(-4, -4);
    EXPECT_EQ(picture(e.glyph), (Rows{"###.", "...#"}));
    // A press outside the glyph does nothing, not even the undo copy.
    EXPECT_TRUE(e.glyph.pencilDown(4, 0).changed.empty());
    EXPECT_EQ(picture(e.glyph.undoCopy(), 4), (Rows{"#...", "...."}));
}

TEST(Pencil, GreyFontSetsTheColourOrBackgroundWithCtrl) {
    Editing e({"3..", "..."}, 2);
    EXPECT_EQ(e.glyph.maxValue(), 3);
    e.glyph.setCurrentColor(2);
    e.glyph.pencilDown(1, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"32.", "..."}));
    e.glyph.pencilMove(2, 0, true);  // Ctrl: background, already there: no change
    e.glyph.pencilMove(0, 0, true);
    e.glyph.pencilMove(0, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{".2.", "2.."}));

    // Colour 3 on a pixel of 3: nothing changes and the document is not marked, but the undo
    // copy is replaced by the glyph as it is.
    Editing f({"3#", "22"}, 2);
    f.glyph.setCurrentColor(3);
    f.glyph.pencilDown(1, 0);
    EXPECT_EQ(picture(f.glyph), (Rows{"33", "22"}));
    EditOutcome out = f.glyph.pencilDown(0, 0);
    EXPECT_FALSE(out.documentModified);
    EXPECT_TRUE(out.changed.empty());
    EXPECT_EQ(picture(f.glyph.undoCopy(), 2), (Rows{"33", "22"}));
}

TEST(Eraser, ClearsInkOnPressAndDrag) {
    Editing e({"##.#", "####"});
    EditOutcome press = e.glyph.eraserDown(2, 0);  // already background
    EXPECT_FALSE(press.documentModified);
    EXPECT_FALSE(e.glyph.modified());
    EXPECT_EQ(e.glyph.undoCopy(), e.glyph.pixels());
    e.glyph.eraserMove(3, 0);
    e.glyph.eraserMove(3, 1);
    e.glyph.eraserMove(3, 1);
    e.glyph.eraserMove(-1, 1);  // clamped to (0, 1)
    EXPECT_EQ(picture(e.glyph), (Rows{"##..", ".##."}));
    EXPECT_TRUE(e.glyph.modified());
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), (Rows{"##.#", "####"}));
}

// --- Shapes

struct ShapeRow {
    const char* what;
    ToolId tool;
    Cell from;
    std::vector<Cell> path;  // the cells the drag passes through; the last is where it ends
    Rows expected;
};

TEST(Shapes, DrawOnlyTheLastShapeOfADrag) {
    // A 12 x 10 blank glyph; each drag passes other cells first, whose shapes are taken back.
    const ShapeRow rows[] = {
        {"line more horizontal: row of the anchor",
         ToolId::Line,
         {2, 5},
         {{5, 8}, {9, 7}},
         {"............", "............", "............", "............", "............",
          "..########..", "............", "............", "............", "............"}},
        {"line more vertical: column of the anchor",
         ToolId::Line,
         {2, 5},
         {{9, 6}, {4, 9}},
         {"............", "............", "............", "............", "............",
          "..#.........", "..#.........", "..#.........", "..#.........", "..#........."}},
        {"diagonal line: column",
         ToolId::Line,
         {2, 2},
         {{5, 2}, {5, 5}},
         {"............", "............", "..#.........", "..#.........", "..#.........",
          "..#.........", "............", "............", "............", "............"}},
        {"rectangle dragged up and left",
         ToolId::Rectangle,
         {6, 6},
         {{9, 9}, {2, 3}},
         {"............", "............", "............", "..#####.....", "..#...#.....",
          "..#...#.....", "..#####.....", "............", "............", "............"}},
        {"filled rectangle",
         ToolId::FilledRectangle,
         {1, 1},
         {{7, 7}, {3, 2}},
         {"............", ".###........", ".###........", "............", "............",
          "............", "............", "............", "............", "............"}},
        {"rectangle of one row",
         ToolId::Rectangle,
         {4, 0},
         {{4, 4}, {0, 0}},
         {"#####.......", "............", "............", "............", "............",
          "............", "............", "............", "............", "............"}},
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e(blankRows(12, 10));
        e.tool(row.tool);
        EXPECT_TRUE(e.glyph.shapeMode());
        e.glyph.shapeBegin(row.from.x, row.from.y);
        EXPECT_TRUE(e.glyph.dragging());
        for (Cell c : row.path) {
            e.glyph.shapeUpdate(c.x, c.y);
        }
        e.glyph.shapeEnd();
        EXPECT_EQ(picture(e.glyph), row.expected);
    }
}

TEST(Shapes, TakingBackRestoresWhatTheShapeCovered) {
    Editing e({"#.#.#", ".....", "#.#.#"});
    e.tool(ToolId::FilledRectangle);
    e.glyph.shapeBegin(0, 0);
    EditOutcome grow = e.glyph.shapeUpdate(4, 2);
    EXPECT_EQ(picture(e.glyph), (Rows{"#####", "#####", "#####"}));
    EXPECT_EQ(grow.changed, (CellRect{0, 0, 5, 3}));
    // Shrinking gives the uncovered cells their old values back; the repaint covers the
    // bigger box of the two.
    EditOutcome shrink = e.glyph.shapeUpdate(1, 0);
    EXPECT_EQ(picture(e.glyph), (Rows{"###.#", ".....", "#.#.#"}));
    EXPECT_EQ(shrink.changed, (CellRect{0, 0, 5, 3}));
    EXPECT_TRUE(shrink.documentModified);
}

TEST(Shapes, ReleaseOutsideTheGlyphKeepsTheClampedShape) {
    Editing e(blankRows(5, 4));
    e.tool(ToolId::Rectangle);
    e.glyph.shapeBegin(1, 2);
    e.glyph.shapeUpdate(40, -7);  // clamped to (4, 0)
    e.glyph.shapeEnd();
    const Rows drawn{".####", ".#..#", ".####", "....."};
    EXPECT_EQ(picture(e.glyph), drawn);
    EXPECT_FALSE(e.glyph.dragging());
    // Moves after the release draw nothing.
    EXPECT_TRUE(e.glyph.shapeUpdate(0, 2).changed.empty());
    EXPECT_EQ(picture(e.glyph), drawn);
    // The whole drag is one step of undo.
    e.glyph.undo();
    EXPECT_EQ(picture(e.glyph), blankRows(5, 4));
}

TEST(Shapes, CtrlDrawsTheComplementAndPressesOutsideStartNothing) {
    Editing e({"####", "####"});
    e.tool(ToolId::Line);
    EXPECT_TRUE(e.glyph.shapeBegin(4, 0).changed.empty());
    EXPECT_FALSE(e.glyph.dragging());
    e.glyph.shapeBegin(0, 1);
    e.glyph.shapeUpdate(2, 1, true);
    EXPECT_EQ(picture(e.glyph), (Rows{"####", "...#"}));

    Editing grey({"....", "...."}, 2);
    grey.glyph.setCurrentColor(1);
    grey.tool(ToolId::Line);
    grey.glyph.shapeBegin(0, 0);
    grey.glyph.shapeUpdate(3, 0, true);  // 3 - 1
    EXPECT_EQ(picture(grey.glyph), (Rows{"2222", "...."}));
    grey.glyph.shapeUpdate(0, 1);  // column 0, colour 1

    EXPECT_EQ(picture(grey.glyph), (Rows{"#...", "#..."}));
}

}  // namespace
}  // namespace typeloom
