#include "model/transforms.h"

#include <gtest/gtest.h>

#include "model/transform_dialogs.h"
#include "transform_test_support.h"

namespace typeloom {
namespace {

using test::blankRows;
using test::fontOf;
using test::glyphOf;
using test::rowsOf;
using Rows = std::vector<std::string>;

// A 3-wide glyph of `rows` rows with ink at x = y % 3 in row y, so every row can be told apart
// from its neighbours.
Rows diagonalRows(std::size_t rows) {
    Rows out;
    for (std::size_t y = 0; y < rows; ++y) {
        std::string row = "...";
        row[y % 3] = '#';
        out.push_back(row);
    }
    return out;
}

Rows concat(std::initializer_list<Rows> parts) {
    Rows out;
    for (const Rows& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

const Rows& rowsOfGlyph(const Font& font, std::uint16_t u) {
    static Rows missing{"no glyph"};
    static Rows rows;
    const Glyph* g = font.glyphs.find(u);
    if (g == nullptr) {
        return missing;
    }
    rows = rowsOf(*g);
    return rows;
}

// --- Glyph operations

TEST(TransformGlyph, ChangeGlyphRowsClipsOrAddsRows) {
    const Rows source = {"#..", ".#.", "..#", "###"};
    struct Row {
        const char* what;
        bool remove;
        std::uint16_t top, bottom;
        Rows expected;
    };
    const Row rows[] = {
        {"clip one each side", true, 1, 1, {".#.", "..#"}},
        {"clip three at the bottom", true, 0, 3, {"#.."}},
        {"clip every row", true, 2, 2, {}},
        {"clip more rows than there are", true, 9, 0, {}},
        {"add two above, one below",
         false,
         2,
         1,
         {"...", "...", "#..", ".#.", "..#", "###", "..."}},
        {"add nothing", false, 0, 0, source},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Glyph g = glyphOf(source);
        changeGlyphRows(g, row.remove, row.top, row.bottom);
        EXPECT_EQ(g.width, 3);
        EXPECT_EQ(rowsOf(g), row.expected);
    }
}

TEST(TransformGlyph, ChangeGlyphColumnsClipsOrAddsColumns) {
    const Rows source = {"#..#", ".##."};
    struct Row {
        const char* what;
        bool remove;
        std::uint16_t left, right;
        std::uint16_t width;
        Rows expected;
    };
    const Row rows[] = {
        {"clip one on the left", true, 1, 0, 3, {"..#", "##."}},
        {"clip one left, two right", true, 1, 2, 1, {".", "#"}},
        {"clip every column", true, 2, 2, 0, {}},
        {"clip more columns than there are", true, 3, 3, 0, {}},
        {"add two left, one right", false, 2, 1, 7, {"..#..#.", "...##.."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Glyph g = glyphOf(source);
        changeGlyphColumns(g, row.remove, row.left, row.right);
        EXPECT_EQ(g.width, row.width);
        EXPECT_EQ(rowsOf(g), row.expected);
    }
    // Past 65,535 columns nothing is added.
    Glyph g = glyphOf(source);
    changeGlyphColumns(g, false, 0xFFFF, 0);
    EXPECT_EQ(rowsOf(g), source);
}

TEST(TransformGlyph, InkColumnsAndTrimBlankColumns) {
    struct Row {
        const char* what;
        Rows source;
        std::uint16_t first, last;
        Rows trimmed;
    };
    const Row rows[] = {
        {"ink in the middle", {".#.#..", "..#..."}, 1, 3, {"#.#", ".#."}},
        {"ink touching the left edge", {"#.#..", "....."}, 0, 2, {"#.#", "..."}},
        {"ink touching the right edge", {"...#", "..#."}, 2, 3, {".#", "#."}},
        {"ink from edge to edge", {"#..#", "...."}, 0, 3, {"#..#", "...."}},
        {"a space keeps its width", {"....", "...."}, 4, 4, {"....", "...."}},
        {"one column", {"#", "."}, 0, 0, {"#", "."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Glyph g = glyphOf(row.source);
        const InkColumns ink = inkColumns(g);
        EXPECT_EQ(ink.first, row.first);
        EXPECT_EQ(ink.last, row.last);
        trimBlankColumns(g);
        EXPECT_EQ(rowsOf(g), row.trimmed);
    }
}

TEST(TransformGlyph, CenterHorizontallyMovesInkTowardsTheWiderMargin) {
    struct Row {
        const char* what;
        Rows source;
        Rows expected;
    };
    const Row rows[] = {
        {"margins 1 and 4 become 2 and 3", {".##....", ".#....."}, {"..##...", "..#...."}},
        {"margins 2 and 3 stay", {"..##...", "...#..."}, {"..##...", "...#..."}},
        {"margins 0 and 6 become 3 and 3", {"#......"}, {"...#..."}},
        {"margins 5 and 0 become 3 and 2", {".....##"}, {"...##.."}},
        {"margins 4 and 2 become 3 and 3", {"....#..", "....##."}, {"...#...", "...##.."}},
        {"a blank glyph stays", {"......."}, {"......."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Glyph g = glyphOf(row.source);
        centerHorizontally(g);
        EXPECT_EQ(rowsOf(g), row.expected);
    }
}

TEST(TransformGlyph, MirrorsSwapColumnsOrRowsAndTwiceRestore) {
    const Rows source = {"##..", "#.#.", "...#"};
    Glyph g = glyphOf(source);
    mirrorHorizontal(g);
    EXPECT_EQ(rowsOf(g), (Rows{"..##", ".#.#", "#..."}));
    mirrorHorizontal(g);
    EXPECT_EQ(rowsOf(g), source);

    mirrorVertical(g, 3);
    EXPECT_EQ(rowsOf(g), (Rows{"...#", "#.#.", "##.."}));
    mirrorVertical(g, 3);
    EXPECT_EQ(rowsOf(g), source);

    // A glyph holding fewer rows than asked for is mirrored over the rows it holds.
    mirrorVertical(g, 40);
    EXPECT_EQ(rowsOf(g), (Rows{"...#", "#.#.", "##.."}));
}

TEST(TransformGlyph, InvertUsesTheDepthsLargestValue) {
    struct Row {
        std::uint32_t bits;
        std::vector<std::uint8_t> before, after;
    };
    const Row rows[] = {
        {1, {0, 1, 1, 0}, {1, 0, 0, 1}},
        {2, {0, 1, 2, 3}, {3, 2, 1, 0}},
        {4, {0, 5, 15, 7}, {15, 10, 0, 8}},
        {8, {0, 1, 200, 255}, {255, 254, 55, 0}},
        // A value above the largest one is full ink.
        {1, {0, 2, 255, 1}, {1, 0, 0, 0}},
        // An unknown depth has no largest value: nothing is inverted.
        {3, {0, 1, 2, 3}, {0, 1, 2, 3}},
        {0, {0, 1, 0, 1}, {0, 1, 0, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bits);
        Glyph g(0, 2, row.before);
        invert(g, row.bits);
        EXPECT_EQ(g.pixels, row.after);
    }
}

TEST(TransformGlyph, ScaleToReplicatesWhenEnlargingAndLetsInkWinWhenShrinking) {
    struct Row {
        const char* what;
        Rows source;
        std::uint16_t height, width;
        Rows expected;
    };
    const Row rows[] = {
        {"2 x 2 to 4 x 4", {"#.", ".#"}, 4, 4, {"##..", "##..", "..##", "..##"}},
        {"2 columns to 3", {"#.", ".#"}, 2, 3, {"##.", "..#"}},
        {"4 columns to 2", {"...#", ".#.."}, 2, 2, {".#", "#."}},
        {"5 columns to 2", {"..#..", "...#."}, 2, 2, {"#.", ".#"}},
        {"3 columns to 2", {"..#", ".#."}, 2, 2, {".#", "#."}},
        {"one pixel of ink into one pixel", {"....", "..#.", "...."}, 1, 1, {"#"}},
        {"blank into one pixel", {"...", "..."}, 1, 1, {"."}},
        {"4 rows to 2 and 2 columns to 3", {"#.", "..", "..", ".#"}, 2, 3, {"##.", "..#"}},
        {"same size", {"#.#", ".#."}, 2, 3, {"#.#", ".#."}},
        {"to no rows", {"#.", ".#"}, 0, 3, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Glyph g = glyphOf(row.source);
        scaleTo(g, row.height, row.width);
        EXPECT_EQ(g.width, row.width);
        EXPECT_EQ(rowsOf(g), row.expected);
    }
    Glyph g = glyphOf({"#.", ".#"});
    scaleTo(g, 3, 0);
    EXPECT_EQ(g.width, 0);
    EXPECT_TRUE(g.pixels.empty());
}

TEST(TransformGlyph, HalfThenDoubleKeepsEveryInkPixelInside) {
    Glyph g = glyphOf({"....", "....", "...#", "...."});
    scaleTo(g, 2, 2);
    EXPECT_EQ(rowsOf(g), (Rows{"..", ".#"}));
    scaleTo(g, 4, 4);
    EXPECT_EQ(rowsOf(g), (Rows{"....", "....", "..##", "..##"}));
}

TEST(TransformGlyph, OperationsStayWithinPixelsThatAreNotWholeRows) {
    // Width 3 with seven pixels: two whole rows and one stray pixel, which no operation may
    // read past.
    const Glyph source(0, 3, {1, 0, 0, 0, 1, 0, 1});
    Glyph g = source;
    mirrorHorizontal(g);
    EXPECT_EQ(g.pixels, (std::vector<std::uint8_t>{0, 0, 1, 0, 1, 0, 1}));
    g = source;
    mirrorVertical(g, 16);
    EXPECT_EQ(g.pixels, (std::vector<std::uint8_t>{0, 1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(inkColumns(source).first, 0);
    EXPECT_EQ(inkColumns(source).last, 1);
    g = source;
    scaleTo(g, 2, 3);
    EXPECT_EQ(rowsOf(g), (Rows{"#..", ".#."}));
    g = source;
    changeGlyphRows(g, false, 1, 0);
    EXPECT_EQ(rowsOf(g), (Rows{"...", "#..", ".#."}));
    g = source;
    changeGlyphColumns(g, true, 0, 1);
    EXPECT_EQ(rowsOf(g), (Rows{"#.", ".#"}));

    // A glyph of width 0 holds no pixels and gets none from reading.
    Glyph empty(0, 0, {});
    trimBlankColumns(empty);
    centerHorizontally(empty);
    mirrorHorizontal(empty);
    mirrorVertical(empty, 4);
    scaleTo(empty, 2, 2);
    EXPECT_EQ(rowsOf(empty), (Rows{"..", ".."}));
}

// --- Font operations

TEST(TransformFont, IncreasingTheHeightAddsBlankRowsToEveryGlyph) {
    // Height 16, ascent 13, two rows added on top and one below.
    Font font = fontOf(16, 13, {glyphOf(diagonalRows(16)), glyphOf(diagonalRows(16))});
    font.glyphs.insert(0x100, glyphOf(diagonalRows(16), 0x100));  // not listed
    ChangeSizeFields fields;
    fields.increase = true;
    fields.addBefore = "2";
    fields.addAfter = "1";
    const ChangeSizeOutcome outcome = acceptChangeHeightDialog(fields, {}, 16, 13);
    ASSERT_EQ(outcome.result, DialogResult::Accepted);
    ASSERT_TRUE(applyChangeHeight(font, outcome));
    EXPECT_EQ(font.height, 19);
    EXPECT_EQ(font.ascent, 15);
    const Rows expected = concat({blankRows(2, 3), diagonalRows(16), blankRows(1, 3)});
    for (std::uint16_t u : {std::uint16_t{'A'}, std::uint16_t{'B'}, std::uint16_t{0x100}}) {
        SCOPED_TRACE(u);
        EXPECT_EQ(rowsOfGlyph(font, u), expected);
    }
}

TEST(TransformFont, ReducingTheHeightClipsEveryGlyphAndANegativeAscentBecomesTheHeight) {
    // Height 16, ascent 3, clip 5 rows on top: the ascent would be -2.
    Font font = fontOf(16, 3, {glyphOf(diagonalRows(16))});
    font.glyphs.insert(0x100, glyphOf(diagonalRows(16), 0x100));
    ChangeSizeFields fields;
    fields.clipBefore = "5";
    const ChangeSizeOutcome outcome = acceptChangeHeightDialog(fields, {}, 16, 3);
    ASSERT_EQ(outcome.result, DialogResult::Accepted);
    ASSERT_TRUE(applyChangeHeight(font, outcome));
    EXPECT_EQ(font.height, 11);
    EXPECT_EQ(font.ascent, 11);
    const Rows all = diagonalRows(16);
    const Rows expected(all.begin() + 5, all.end());
    EXPECT_EQ(rowsOfGlyph(font, 'A'), expected);
    EXPECT_EQ(rowsOfGlyph(font, 0x100), expected);
}

TEST(TransformFont, AGlyphOutsideTheListsWithAnOlderHeightEndsAtTheNewHeight) {
    Font font = fontOf(4, 3, {glyphOf({"#", ".", ".", "#"})});
    font.glyphs.insert(0x100, glyphOf({"##", "#."}, 0x100));  // two rows of an older height
    ASSERT_TRUE(changeRows(font, false, 1, 1));
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{".", "#", ".", ".", "#", "."}));
    // Its own rows get the same change; blank rows below bring it to the font's six rows.
    EXPECT_EQ(rowsOfGlyph(font, 0x100), (Rows{"..", "##", "#.", "..", "..", ".."}));
    ASSERT_TRUE(changeRows(font, true, 0, 3));
    EXPECT_EQ(rowsOfGlyph(font, 0x100), (Rows{"..", "##", "#."}));
}

TEST(TransformFont, ChangeRowsRefusesToLeaveNoRowOrPass65535) {
    const Font original = fontOf(16, 13, {glyphOf(diagonalRows(16))});
    Font font = original;
    EXPECT_FALSE(changeRows(font, true, 8, 8));
    EXPECT_FALSE(changeRows(font, true, 0xFFFF, 0xFFFF));
    EXPECT_FALSE(changeRows(font, false, 0xFFFF, 0));
    EXPECT_EQ(font.height, 16);
    EXPECT_EQ(font.glyphs, original.glyphs);
    EXPECT_TRUE(changeRows(font, true, 8, 7));
    EXPECT_EQ(font.height, 1);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"..#"}));  // row 8 of 16, ink at 8 % 3
}

TEST(TransformFont, ChangeColumnsChangesListedGlyphsAndTheFixedWidth) {
    Font font =
        fontOf(2, 1, {glyphOf({"#......#", ".##..##."}), glyphOf({"########", "#......#"})});
    font.glyphs.insert(0x100, glyphOf({"#.......", "........"}, 0x100));  // not listed
    ASSERT_EQ(font.fixedWidth, 8);
    Font clipped = font;
    ASSERT_TRUE(changeColumns(clipped, true, 2, 2));
    EXPECT_EQ(clipped.fixedWidth, 4);
    EXPECT_EQ(clipped.maxWidth, 4);
    EXPECT_EQ(rowsOfGlyph(clipped, 'A'), (Rows{"....", "#..#"}));
    EXPECT_EQ(rowsOfGlyph(clipped, 'B'), (Rows{"####", "...."}));
    EXPECT_EQ(rowsOfGlyph(clipped, 0x100), (Rows{"#.......", "........"}));

    ASSERT_TRUE(changeColumns(font, false, 1, 2));
    EXPECT_EQ(font.fixedWidth, 11);
    EXPECT_EQ(font.maxWidth, 11);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{".#......#..", "..##..##..."}));
}

TEST(TransformFont, ChangeColumnsRefusesToLeaveAGlyphWithoutColumns) {
    // A variable-width font in which one glyph is only two columns wide.
    const Font original = fontOf(1, 1, {glyphOf({"#....#"}), glyphOf({"##"})});
    ASSERT_EQ(original.fixedWidth, 0);
    Font font = original;
    EXPECT_FALSE(changeColumns(font, true, 1, 1));
    EXPECT_FALSE(changeColumns(font, false, 0xFFFF, 0));
    EXPECT_EQ(font.glyphs, original.glyphs);
    EXPECT_EQ(font.maxWidth, 6);
    ASSERT_TRUE(changeColumns(font, true, 1, 0));
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"....#"}));
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{"#"}));
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(font.maxWidth, 5);
}

TEST(TransformFont, ResizeByPercentageScalesEveryGlyphAndTheMetrics) {
    // Height 16, ascent 13; widths 8, 1 and 5; a glyph outside the lists is scaled too.
    Glyph a;
    a.init('A', 8, 16);
    a.pixels[7 + 15 * 8] = 1;  // bottom right
    Glyph b;
    b.init('B', 1, 16);
    b.pixels[0] = 1;
    Glyph c;
    c.init('C', 5, 16);
    Font font = fontOf(16, 13, {a, b, c});
    Glyph unlisted;
    unlisted.init(0x100, 6, 16);
    font.glyphs.insert(0x100, unlisted);
    font.sourceFont.height = -12;

    const ResizeResult result = resize(font, 50, 50, true);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(font.height, 8);
    EXPECT_EQ(font.ascent, 6);      // 13 x 0.5 = 6.5
    EXPECT_EQ(font.fixedWidth, 0);  // stays variable
    EXPECT_EQ(font.maxWidth, 4);    // 8 x 0.5
    EXPECT_EQ(font.sourceFont.height, 8);
    Rows expectedA = blankRows(8, 4);
    expectedA[7] = "...#";
    EXPECT_EQ(rowsOfGlyph(font, 'A'), expectedA);
    Rows expectedB = blankRows(8, 1);  // width 0.5 is raised to 1
    expectedB[0] = "#";
    EXPECT_EQ(rowsOfGlyph(font, 'B'), expectedB);
    EXPECT_EQ(rowsOfGlyph(font, 'C'), blankRows(8, 2));    // 2.5 truncated
    EXPECT_EQ(rowsOfGlyph(font, 0x100), blankRows(8, 3));  // outside the lists
}

TEST(TransformFont, ResizeByPercentageKeepsAFixedWidthFontFixed) {
    Font font = fontOf(4, 3, {glyphOf({"#", ".", ".", "#"}), glyphOf({".", "#", "#", "."})});
    ASSERT_EQ(font.fixedWidth, 1);
    ASSERT_TRUE(resize(font, 50, 50, true).ok);
    // 1 x 0.5 truncates to 0; the glyphs are raised to width 1 and so is the fixed width.
    EXPECT_EQ(font.fixedWidth, 1);
    EXPECT_EQ(font.height, 2);
    EXPECT_EQ(font.ascent, 1);  // 3 x 0.5 = 1.5
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"#", "#"}));
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{"#", "#"}));

    Font wide = fontOf(2, 1, {glyphOf({"#.......", "........"})});
    ASSERT_TRUE(resize(wide, 300, 150, true).ok);
    EXPECT_EQ(wide.height, 6);
    EXPECT_EQ(wide.ascent, 3);
    EXPECT_EQ(wide.fixedWidth, 12);
    EXPECT_EQ(rowsOfGlyph(wide, 'A'), concat({Rows(3, "##.........."), blankRows(3, 12)}));
}

TEST(TransformFont, ResizeByPixelsSetsTheSizeAndScalesTheAscent) {
    // A 16-high, 8-wide fixed font with ascent 13 to 24 x 12.
    Glyph a;
    a.init('A', 8, 16);
    a.pixels[0] = 1;  // top left
    Font font = fontOf(16, 13, {a});
    ASSERT_EQ(font.fixedWidth, 8);
    const ResizeResult result = resize(font, 24, 12, false);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(font.height, 24);
    EXPECT_EQ(font.fixedWidth, 12);
    EXPECT_EQ(font.maxWidth, 12);
    EXPECT_EQ(font.ascent, 19);  // 13 x 24 / 16 = 19.5
    EXPECT_EQ(font.sourceFont.height, 24);
    // Rows and columns 0 and 1 both show source row and column 0 (floor(d x 2 / 3) = 0).
    Rows expected = blankRows(24, 12);
    expected[0] = "##..........";
    expected[1] = "##..........";
    EXPECT_EQ(rowsOfGlyph(font, 'A'), expected);
}

TEST(TransformFont, ResizeRefusesAZeroHeightOrAHugeFontAndChangesNothing) {
    const Font original = fontOf(16, 13, {glyphOf(diagonalRows(16))});
    struct Row {
        const char* what;
        std::uint32_t vertical, horizontal;
        bool byPercentage;
        const char* message;
    };
    const Row rows[] = {
        {"3 % of 16 rows", 3, 100, true,
         "Failed to resize the font.\r\nThe new font height is zero"},
        {"0 %", 0, 100, true, "Failed to resize the font.\r\nThe new font height is zero"},
        {"0 pixels", 0, 8, false, "Failed to resize the font.\r\nThe new font height is zero"},
        {"65,536 rows", 65536, 8, false, "Failed to resize the font.\r\nThe new font is too large"},
        {"65,536 columns", 16, 65536, false,
         "Failed to resize the font.\r\nThe new font is too large"},
        {"4,294,967,295 %", 0xFFFFFFFF, 0xFFFFFFFF, true,
         "Failed to resize the font.\r\nThe new font is too large"},
        {"more pixels than a font may hold", 65535, 65535, false,
         "Failed to resize the font.\r\nThe new font is too large"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Font font = original;
        const ResizeResult result = resize(font, row.vertical, row.horizontal, row.byPercentage);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(font.height, 16);
        EXPECT_EQ(font.ascent, 13);
        EXPECT_EQ(font.fixedWidth, 3);
        EXPECT_EQ(font.glyphs, original.glyphs);
    }
}

TEST(TransformFont, ResizeToHalfThenDoubleKeepsTheInk) {
    Font font = fontOf(4, 3, {glyphOf({"#...", "....", "....", "..#."})});
    ASSERT_TRUE(resize(font, 50, 50, true).ok);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"#.", ".#"}));
    ASSERT_TRUE(resize(font, 200, 200, true).ok);
    EXPECT_EQ(font.height, 4);
    EXPECT_EQ(font.fixedWidth, 4);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"##..", "##..", "..##", "..##"}));
}

TEST(TransformFont, MakeFixedWidthPadsNarrowerGlyphsOnTheRight) {
    Font font = fontOf(2, 1,
                       {glyphOf({"#..#", "...."}), glyphOf({"######", "#....."}),
                        glyphOf({"#.#.#.#", ".#.#.#."})});
    font.glyphs.insert(0x100, glyphOf({"#.", ".#"}, 0x100));  // not listed: not padded
    ASSERT_EQ(font.fixedWidth, 0);
    makeFixedWidth(font);
    EXPECT_EQ(font.fixedWidth, 7);
    EXPECT_EQ(font.maxWidth, 7);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"#..#...", "......."}));
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{"######.", "#......"}));
    EXPECT_EQ(rowsOfGlyph(font, 'C'), (Rows{"#.#.#.#", ".#.#.#."}));
    EXPECT_EQ(rowsOfGlyph(font, 0x100), (Rows{"#.", ".#"}));

    makeVariableWidth(font);
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"#..#...", "......."}));
}

TEST(TransformFont, MakeFixedWidthGivesAGlyphOfWidthZeroTheFontsRows) {
    Font font = fontOf(2, 1, {glyphOf({"##.", "..."}), Glyph(0, 0, {})});
    makeFixedWidth(font);
    EXPECT_EQ(rowsOfGlyph(font, 'B'), blankRows(2, 3));
    EXPECT_EQ(font.fixedWidth, 3);
}

TEST(TransformFont, TrimAllRemovesBlankColumnsOfAVariableWidthFontOnly) {
    Font font = fontOf(
        2, 1, {glyphOf({"....", "...."}), glyphOf({".#.#..", "..#..."}), glyphOf({"##", "#."})});
    ASSERT_EQ(font.maxWidth, 6);
    trimAll(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"....", "...."}));  // a space is left as it is
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{"#.#", ".#."}));
    EXPECT_EQ(rowsOfGlyph(font, 'C'), (Rows{"##", "#."}));
    EXPECT_EQ(font.maxWidth, 4);

    Font fixed = fontOf(1, 1, {glyphOf({".#."}), glyphOf({"..#"})});
    ASSERT_EQ(fixed.fixedWidth, 3);
    const GlyphMap before = fixed.glyphs;
    trimAll(fixed);
    EXPECT_EQ(fixed.glyphs, before);
}

TEST(TransformFont, CenterAllCentresAFixedWidthFontOnly) {
    Font font = fontOf(1, 1, {glyphOf({".##...."}), glyphOf({"..##..."})});
    centerAll(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"..##..."}));
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{"..##..."}));

    Font variable = fontOf(1, 1, {glyphOf({"#......"}), glyphOf({"#.."})});
    ASSERT_EQ(variable.fixedWidth, 0);
    const GlyphMap before = variable.glyphs;
    centerAll(variable);
    EXPECT_EQ(variable.glyphs, before);
}

TEST(TransformFont, MirrorsAndInvertChangeListedGlyphsAndTwiceRestore) {
    Font font = fontOf(3, 2, {glyphOf({"##.", "#..", "..."}), glyphOf({"#", ".", "#"})});
    font.glyphs.insert(0x100, glyphOf({"#.", "..", ".."}, 0x100));  // not listed: untouched
    const Font original = font;

    mirrorHorizontal(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{".##", "..#", "..."}));
    mirrorHorizontal(font);
    EXPECT_EQ(font.glyphs, original.glyphs);

    mirrorVertical(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"...", "#..", "##."}));
    mirrorVertical(font);
    EXPECT_EQ(font.glyphs, original.glyphs);

    invert(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"..#", ".##", "###"}));
    EXPECT_EQ(rowsOfGlyph(font, 'B'), (Rows{".", "#", "."}));
    EXPECT_EQ(rowsOfGlyph(font, 0x100), (Rows{"#.", "..", ".."}));
    invert(font);
    EXPECT_EQ(font.glyphs, original.glyphs);
}

TEST(TransformFont, AGlyphListedTwiceIsChangedOnce) {
    // Two codes of the font stand for the same Unicode value.
    Font font = fontOf(1, 1, {glyphOf({"#.."})});
    font.codeList = {0x8140, 0x8141};
    font.unicodeList = {'A', 'A'};
    invert(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{".##"}));
    mirrorHorizontal(font);
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"##."}));
    ASSERT_TRUE(changeColumns(font, true, 1, 0));
    EXPECT_EQ(rowsOfGlyph(font, 'A'), (Rows{"#."}));
    EXPECT_EQ(font.fixedWidth, 2);
}

}  // namespace
}  // namespace typeloom
