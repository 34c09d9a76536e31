#include "editor/clipboard_image.h"

#include <gtest/gtest.h>

#include "editor/working_glyph.h"
#include "editor_test_support.h"

namespace typeloom {
namespace {

using test::Editing;
using test::picture;
using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<std::string>;

Rgb grey(int g) {
    const auto v = static_cast<std::uint8_t>(g);
    return {v, v, v};
}

// A picture of any claimed size, one colour per pixel chosen by a function of (x, y), that
// counts how many pixels were read.
class PatternSource : public ImageSource {
  public:
    PatternSource(int w, int h, Rgb (*colour)(int, int)) : m_w(w), m_h(h), m_colour(colour) {}
    int width() const override { return m_w; }
    int height() const override { return m_h; }
    Rgb colorAt(int x, int y) const override {
        ++reads;
        return m_colour(x, y);
    }
    mutable long long reads = 0;

  private:
    int m_w;
    int m_h;
    Rgb (*m_colour)(int, int);
};

// An image drawn like a glyph picture: '#' black, '.' white.
ClipboardImage imageOf(const Rows& rows) {
    const Bytes pixels = test::pixelsOf(rows);
    const int w = static_cast<int>(rows[0].size());
    return glyphToImage(pixels, w, 0, 0, w, static_cast<int>(rows.size()), 1);
}

TEST(ClipboardPalette, GreysFromWhiteToBlackAndTheFourGreysOfTwoBits) {
    EXPECT_EQ(clipboardPalette(1), (std::vector<Rgb>{grey(255), grey(0)}));

    std::vector<Rgb> two = clipboardPalette(2);
    ASSERT_EQ(two.size(), 16u);
    EXPECT_EQ(two[0], grey(255));
    EXPECT_EQ(two[1], grey(192));
    EXPECT_EQ(two[2], grey(128));
    for (std::size_t k = 3; k < 16; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(two[k], grey(0));
    }

    // 4 bits: (15 - k) x 255 / 15 = (15 - k) x 17.
    std::vector<Rgb> four = clipboardPalette(4);
    ASSERT_EQ(four.size(), 16u);
    EXPECT_EQ(four[0], grey(255));
    EXPECT_EQ(four[1], grey(238));
    EXPECT_EQ(four[14], grey(17));
    EXPECT_EQ(four[15], grey(0));

    std::vector<Rgb> eight = clipboardPalette(8);
    ASSERT_EQ(eight.size(), 256u);
    EXPECT_EQ(eight[0], grey(255));
    EXPECT_EQ(eight[100], grey(155));
    EXPECT_EQ(eight[255], grey(0));
}

TEST(GlyphToImage, PacksRowsFromTheHighBitsWithFourByteStrides) {
    struct Row {
        const char* what;
        Bytes pixels;
        int width;
        int fontBits;
        int imageBits;
        int stride;
        Bytes rows;
    };
    const Row rows[] = {
        {"1 bit, 10 wide",
         test::pixelsOf({"#.#......#", "##########"}),
         10,
         1,
         1,
         4,
         {0xA0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0}},
        {"1 bit, 33 wide needs 8 bytes", Bytes(33, 0), 33, 1, 1, 8, Bytes(8, 0)},
        {"2-bit font gives 4 bits", {3, 1, 2}, 3, 2, 4, 4, {0x31, 0x20, 0, 0}},
        {"4 bits", {15, 0, 9}, 3, 4, 4, 4, {0xF0, 0x90, 0, 0}},
        {"8 bits", {0, 128, 255, 7, 9}, 5, 8, 8, 8, {0, 0x80, 0xFF, 7, 9, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const int h = static_cast<int>(row.pixels.size()) / row.width;
        ClipboardImage image =
            glyphToImage(row.pixels, row.width, 0, 0, row.width, h, row.fontBits);
        EXPECT_EQ(image.width, row.width);
        EXPECT_EQ(image.height, h);
        EXPECT_EQ(image.bitsPerPixel, row.imageBits);
        EXPECT_EQ(image.stride(), static_cast<std::size_t>(row.stride));
        EXPECT_EQ(image.rows, row.rows);
        EXPECT_EQ(image.palette, clipboardPalette(row.fontBits));
        // Reading the image back gives the values.
        for (int i = 0; i < row.width * h; ++i) {
            EXPECT_EQ(image.indexAt(i % row.width, i / row.width), row.pixels[i]);
        }
    }
}

TEST(ClipboardImage, ReadsOutsideOrMalformedImagesAsBackground) {
    ClipboardImage image;
    image.width = 9;
    image.height = 2;
    image.bitsPerPixel = 1;
    image.palette = clipboardPalette(1);
    image.rows = {0xFF, 0x80, 0, 0};  // the second row is missing
    EXPECT_EQ(image.indexAt(8, 0), 1);
    EXPECT_EQ(image.indexAt(9, 0), 0);  // beyond the width, though the byte has bits
    EXPECT_EQ(image.indexAt(0, 1), 0);  // short rows
    EXPECT_EQ(image.indexAt(-1, 0), 0);
    image.bitsPerPixel = 3;
    EXPECT_EQ(image.indexAt(0, 0), 0);
    image.bitsPerPixel = 8;
    image.palette.resize(2);
    EXPECT_EQ(image.colorAt(0, 0), grey(0));  // index 255 beyond the palette
}

TEST(CopyImage, TakesTheSelectionWithTheSelectToolElseTheWholeGlyph) {
    Editing e({"#...", ".#..", "..##"});
    ClipboardImage whole = e.glyph.copyImage();
    EXPECT_EQ(whole.width, 4);
    EXPECT_EQ(whole.height, 3);
    EXPECT_EQ(whole.rows, (Bytes{0x80, 0, 0, 0, 0x40, 0, 0, 0, 0x30, 0, 0, 0}));

    e.tool(ToolId::Select);
    e.glyph.selectRubberBand({1, 1}, {2, 2});
    ClipboardImage part = e.glyph.copyImage();
    EXPECT_EQ(part.width, 2);
    EXPECT_EQ(part.height, 2);
    EXPECT_EQ(part.rows, (Bytes{0x80, 0, 0, 0, 0x40, 0, 0, 0}));

    // A 2-bit glyph gives a 4-bit image with the white, 192, 128, black palette.
    Editing g({"32#."}, 2);
    ClipboardImage grey2 = g.glyph.copyImage();
    EXPECT_EQ(grey2.bitsPerPixel, 4);
    EXPECT_EQ(grey2.rows, (Bytes{0x32, 0x10, 0, 0}));
    EXPECT_EQ(grey2.colorAt(1, 0), grey(128));
    EXPECT_EQ(grey2.colorAt(2, 0), grey(192));
}

TEST(ColorToPixel, WhiteIsBackgroundDarkColoursAreInk) {
    struct Row {
        const char* what;
        Rgb colour;
        int value;
    };
    const Row rows[] = {
        {"white", {255, 255, 255}, 0},
        {"black", {0, 0, 0}, 1},
        {"red: 77 x 255 / 256 = 76", {255, 0, 0}, 1},
        {"light grey 200", {200, 200, 200}, 0},
        {"grey 95: luminance 95", {95, 95, 95}, 1},
        {"grey 96: luminance 96", {96, 96, 96}, 0},
        {"green: 150 x 255 / 256 = 149", {0, 255, 0}, 0},
        {"blue: 29 x 255 / 256 = 28", {0, 0, 255}, 1},
        {"almost white is not pure white, but light", {254, 255, 255}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(colorToPixel(row.colour), row.value);
    }
}

TEST(PasteImage, FloatsAtTheTopLeftAndRestoresWhatItCoveredWhenDragged) {
    Editing e({"..#..", "..#..", "#####"});
    const ClipboardImage image = imageOf({"#.", "##"});
    ClipboardImageSource source(image);
    EXPECT_FALSE(e.glyph.widenQuestionNeeded(e.font, image.width));
    PasteOutcome out = e.glyph.pasteImage(source, e.font);
    EXPECT_TRUE(out.message.empty());
    EXPECT_EQ(picture(e.glyph), (Rows{"#.#..", "###..", "#####"}));
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::Pasted);
    EXPECT_EQ(e.glyph.selection(), (CellRect{0, 0, 2, 2}));
    EXPECT_EQ(e.glyph.selectionSource(), (Cell{0, 0}));
    EXPECT_EQ(e.glyph.tool(), ToolId::Select);
    EXPECT_TRUE(out.edit.documentModified);
    EXPECT_EQ(out.edit.changed, (CellRect{0, 0, 2, 2}));

    e.glyph.moveSelection(3, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{"..#..", "..##.", "#####"}));
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::Pasted);
    e.glyph.moveSelection(0, 1);
    EXPECT_EQ(picture(e.glyph), (Rows{"..#..", "#.#..", "#####"}));

    // Delete while it still floats takes the paste back.
    e.glyph.deleteSelection();
    EXPECT_EQ(picture(e.glyph), (Rows{"..#..", "..#..", "#####"}));
    EXPECT_EQ(e.glyph.selectionState(), SelectionState::None);
}

TEST(PasteImage, WiderImageFollowsTheAnswerToTheWideningQuestion) {
    const ClipboardImage image = imageOf({"#..#", ".##."});
    ClipboardImageSource source(image);
    const Rows start{"##", "..", "##"};
    struct Row {
        const char* what;
        WidenAnswer answer;
        Rows expected;
        SelectionState state;
    };
    const Row rows[] = {
        // The rows below the lower image become background.
        {"yes widens", WidenAnswer::Yes, {"#..#", ".##.", "...."}, SelectionState::None},
        {"no keeps the width", WidenAnswer::No, {"#.", ".#", "##"}, SelectionState::Pasted},
        {"cancel changes nothing", WidenAnswer::Cancel, start, SelectionState::None},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Editing e(start);
        EXPECT_TRUE(e.glyph.widenQuestionNeeded(e.font, image.width));
        PasteOutcome out = e.glyph.pasteImage(source, e.font, row.answer);
        EXPECT_EQ(picture(e.glyph), row.expected);
        EXPECT_EQ(e.glyph.selectionState(), row.state);
        EXPECT_EQ(out.cancelled, row.answer == WidenAnswer::Cancel);
        EXPECT_EQ(e.glyph.modified(), row.answer != WidenAnswer::Cancel);
        EXPECT_EQ(out.edit.titleChanged, row.answer == WidenAnswer::Yes);
    }

    // A fixed-width font is never widened.
    Editing fixed(start);
    fixed.font.fixedWidth = 2;
    EXPECT_FALSE(fixed.glyph.widenQuestionNeeded(fixed.font, image.width));
    fixed.glyph.pasteImage(source, fixed.font, WidenAnswer::Yes);
    EXPECT_EQ(picture(fixed.glyph), (Rows{"#.", ".#", "##"}));
}

TEST(PasteImage, GreyFontsGetOnlyBackgroundAndOne) {
    Editing e({"33", "33"}, 2);
    PatternSource source(2, 1, [](int x, int) { return x == 0 ? Rgb{255, 0, 0} : grey(200); });
    e.glyph.pasteImage(source, e.font);
    EXPECT_EQ(picture(e.glyph), (Rows{"#.", "33"}));

    // Copy and paste back within the program: 192 and 128 are light, only black is ink.
    Editing f({"32#."}, 2);
    const ClipboardImage copied = f.glyph.copyImage();
    ClipboardImageSource back(copied);
    f.glyph.pasteImage(back, f.font);
    EXPECT_EQ(picture(f.glyph), (Rows{"#..."}));
}

TEST(PasteImage, ReadsNoMoreThanTheGlyphHoldsAndRefusesEmptyImages) {
    const auto ink = [](int, int) { return Rgb{}; };
    PatternSource huge(2'000'000'000, 2'000'000'000, ink);
    Editing e(test::blankRows(3, 2));
    e.font.fixedWidth = 3;
    e.glyph.pasteImage(huge, e.font);
    EXPECT_EQ(huge.reads, 6);
    EXPECT_EQ(picture(e.glyph), (Rows{"###", "###"}));

    // Widened, the glyph stops at the widest glyph the editor makes.
    PatternSource wide(2'000'000'000, 1, ink);
    Editing w(test::blankRows(3, 2));
    w.glyph.pasteImage(wide, w.font, WidenAnswer::Yes);
    EXPECT_EQ(w.glyph.width(), kMaxGlyphWidth);
    EXPECT_EQ(wide.reads, kMaxGlyphWidth);
    EXPECT_EQ(w.glyph.pixel(kMaxGlyphWidth - 1, 0), 1);
    EXPECT_EQ(w.glyph.pixel(0, 1), 0);

    for (auto [width, height] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, -3}}) {
        SCOPED_TRACE(width);
        PatternSource empty(width, height, ink);
        Editing n({"#."});
        PasteOutcome out = n.glyph.pasteImage(empty, n.font, WidenAnswer::Yes);
        EXPECT_EQ(out.message, kPasteError);
        EXPECT_EQ(picture(n.glyph), (Rows{"#."}));
        EXPECT_FALSE(n.glyph.modified());
        EXPECT_EQ(empty.reads, 0);
    }
}

}  // namespace
}  // namespace typeloom
