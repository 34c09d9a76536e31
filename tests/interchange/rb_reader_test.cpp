// RB11 and RB12 firmware font files assembled byte by byte; pixels derived by hand.

#include "interchange/rb_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "interchange/font_import.h"
#include "interchange/imported_font.h"
#include "interchange_test_support.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::LeBytes;
using test::TempDir;
using Art = std::vector<std::string>;

constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Header {
    std::uint16_t maxWidth = 0;
    std::uint16_t height = 0;
    std::uint16_t ascent = 0;
    std::uint16_t padding = 0;
    std::uint32_t first = 0;
    std::uint32_t defaultCode = 0;
    std::uint32_t count = 0;
    std::uint32_t bits = 0;
    std::uint32_t offsets = 0;
    std::uint32_t widths = 0;
};

void rb11Header(LeBytes& b, const Header& h) {
    b.text("RB11");
    b.text("name in file").zeros(64 - 12);
    b.text("(c)").zeros(256 - 3);
    b.u16(h.maxWidth).u16(h.height).u16(h.ascent).u16(h.padding);
    b.u32(h.first).u32(h.defaultCode).u32(h.count).u32(h.bits).u32(h.offsets).u32(h.widths);
}

void rb12Header(LeBytes& b, const Header& h) {
    b.text("RB12").u16(h.maxWidth).u16(h.height).u16(h.ascent).u16(h.padding);
    b.u32(h.first).u32(h.defaultCode).u32(h.count).u32(h.bits).u32(h.offsets).u32(h.widths);
}

// RB11, 3 rows high: 'A' 5 wide, 'B' missing, 'C' 17 wide (two words a row). Five words of
// bit data, so one padding word follows before the offsets.
std::vector<std::uint8_t> rb11Variable(const std::function<void(Header&)>& change = {}) {
    Header h{17, 3, 2, 0, 0x41, 0x41, 3, 9, 3, 3};
    if (change) {
        change(h);
    }
    LeBytes b;
    rb11Header(b, h);
    // 'A' rows: "#...#", ".#.#.", "..#.." -> 0x8800, 0x5000, 0x2000
    b.u16(0x8800).u16(0x5000).u16(0x2000);
    // 'C' rows of 17: "#...............#", ".................", "################."
    b.u16(0x8000).u16(0x8000).u16(0x0000).u16(0x0000).u16(0xFFFF).u16(0x0000);
    b.u16(0);  // padding to a 4-byte position (9 words = 18 bytes after a 356-byte header)
    b.u32(0).u32(kNone).u32(3);
    b.u8(5).u8(0).u8(17);
    return b.bytes();
}

struct Imported {
    ImportOutcome outcome;
    Font font;
};

Imported importBytes(const std::vector<std::uint8_t>& bytes, const std::string& name = "rb.fnt") {
    TempDir dir;
    test::writeFile(dir.file(name), bytes);
    Imported r{{}, test::openFont()};
    r.outcome = importFontResource(dir.file(name), r.font);
    return r;
}

TEST(RbReader, Rb11WithOffsetAndWidthTables) {
    Imported r = importBytes(rb11Variable(), "small.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.outcome.reader, "rb");
    const Font& f = r.font;
    EXPECT_EQ(f.faceName, "small");
    EXPECT_EQ(f.height, 3);
    EXPECT_EQ(f.ascent, 2);
    EXPECT_EQ(f.codeList, (std::vector<std::uint16_t>{0x41, 0x43}));
    EXPECT_EQ(f.fixedWidth, 0);
    EXPECT_EQ(f.maxWidth, 17);
    EXPECT_EQ(glyphArt(f, 0x41), (Art{"#...#", ".#.#.", "..#.."}));
    EXPECT_EQ(glyphArt(f, 0x43),
              (Art{"#...............#", ".................", "################."}));
}

TEST(RbReader, Rb11WithoutTablesIsFixedWidth) {
    // Two characters 4 wide, 2 rows each, one after the other; no padding without tables.
    LeBytes b;
    rb11Header(b, {4, 2, 2, 0, 0x30, 0x30, 2, 4, 0, 0});
    b.u16(0xF000).u16(0x9000).u16(0x6000).u16(0x6000);
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.fixedWidth, 4);
    EXPECT_EQ(glyphArt(r.font, 0x30), (Art{"####", "#..#"}));
    EXPECT_EQ(glyphArt(r.font, 0x31), (Art{".##.", ".##."}));
}

TEST(RbReader, CodesSharingTheDefaultBitmapAreLeftOut) {
    LeBytes b;
    rb11Header(b, {2, 1, 1, 0, 0x20, 0x21, 4, 2, 4, 0});
    b.u16(0x8000).u16(0x4000);
    b.u32(0).u32(1).u32(1).u32(0);  // 0x22 shares the default's bitmap; 0x23 shares 0x20's
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{0x20, 0x21, 0x23}));
    EXPECT_EQ(glyphArt(r.font, 0x23), (Art{"#."}));
}

TEST(RbReader, Rb12BandsPutRowZeroInBitZero) {
    // 'A' 3 wide, 10 rows: two bands of 3 bytes. 'B' missing. 'C' 2 wide.
    // 'A' column 0: rows 0 and 9; column 1: row 1; column 2: rows 2 and 8.
    LeBytes b;
    rb12Header(b, {3, 10, 8, 0, 0x41, 0x41, 3, 10, 3, 3});
    b.u8(0x01).u8(0x02).u8(0x04);           // band 0
    b.u8(0x02).u8(0x00).u8(0x01);           // band 1: row 9 in column 0, row 8 in column 2
    b.u8(0xFF).u8(0x00).u8(0x03).u8(0x00);  // 'C': column 0 rows 0-7, band 1 rows 8-9
    // 10 bytes: even, no padding; 16-bit offsets (0xFFFF is an ordinary offset, so a missing
    // code needs the 32-bit layout: here 'B' points at 'A' like the default).
    b.u16(0).u16(0).u16(6);
    b.u8(3).u8(3).u8(2);
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{0x41, 0x43}));
    EXPECT_EQ(glyphArt(r.font, 0x41),
              (Art{"#..", ".#.", "..#", "...", "...", "...", "...", "...", "..#", "#.."}));
    EXPECT_EQ(glyphArt(r.font, 0x43),
              (Art{"#.", "#.", "#.", "#.", "#.", "#.", "#.", "#.", "#.", "#."}));
    EXPECT_EQ(r.font.maxWidth, 3);
}

TEST(RbReader, Rb12OddDataIsPaddedToAnEvenPosition) {
    LeBytes b;
    rb12Header(b, {2, 1, 1, 0, 0x41, 0x41, 2, 3, 2, 2});
    b.u8(0x01).u8(0x00).u8(0x01).u8(0xEE);  // 3 bytes of data and one padding byte
    b.u16(0).u16(2);
    b.u8(2).u8(1);
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 0x41), (Art{"#."}));
    EXPECT_EQ(glyphArt(r.font, 0x42), (Art{"#"}));
}

TEST(RbReader, Rb12LargeDataHasLongOffsets) {
    // 65,499 bytes of bit data: padded to a multiple of 4 and followed by 32-bit offsets.
    const std::uint32_t size = 65499;
    LeBytes b;
    rb12Header(b, {1, 1, 1, 0, 0x41, 0x41, 3, size, 3, 0});
    std::vector<std::uint8_t> data(size, 0);
    data[size - 1] = 1;
    b.raw(data).zeros(1);  // 36 + 65,499 = 65,535: one byte to 65,536
    b.u32(size - 1).u32(kNone).u32(0);
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{0x41, 0x43}));
    EXPECT_EQ(glyphArt(r.font, 0x41), (Art{"#"}));
    EXPECT_EQ(glyphArt(r.font, 0x43), (Art{"."}));
}

TEST(RbReader, Rb12WithoutOffsetsStepsByMaximumWidthBands) {
    // Fixed 2 x 9: each character is two bands of 2 bytes = 4 bytes.
    LeBytes b;
    rb12Header(b, {2, 9, 9, 0, 0x61, 0x61, 2, 8, 0, 0});
    b.u8(0x01).u8(0x00).u8(0x00).u8(0x01);
    b.u8(0x00).u8(0x80).u8(0x01).u8(0x00);
    Imported r = importBytes(b.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 0x61), (Art{"#.", "..", "..", "..", "..", "..", "..", "..", ".#"}));
    EXPECT_EQ(glyphArt(r.font, 0x62), (Art{"..", "..", "..", "..", "..", "..", "..", ".#", "#."}));
}

TEST(RbReader, CodesBeyond65535AreLeftOut) {
    LeBytes b;
    rb12Header(b, {1, 1, 1, 0, 0xFFFE, 0xFFFE, 0xFFFFFFFF, 1, 0, 0});
    b.u8(1);
    // Only 0xFFFE and 0xFFFF are codes of the font; without offsets 0xFFFF's bitmap would lie
    // beyond the data, so the file is refused rather than read past its end.
    Imported r = importBytes(b.bytes());
    EXPECT_EQ(r.outcome.status, ImportOutcome::Status::Failed);
    LeBytes ok;
    rb12Header(ok, {1, 1, 1, 0, 0xFFFE, 0xFFFE, 5, 2, 0, 0});
    ok.u8(1).u8(0);
    r = importBytes(ok.bytes());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{0xFFFE, 0xFFFF}));
}

TEST(RbReader, RefusesDamagedFilesAndKeepsTheOpenFont) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    auto rb12 = [](const Header& h, const std::vector<std::uint8_t>& rest) {
        LeBytes b;
        rb12Header(b, h);
        b.raw(rest);
        return b.bytes();
    };
    std::vector<std::uint8_t> shortFile(35, 0);
    shortFile[0] = 'R', shortFile[1] = 'B', shortFile[2] = '1', shortFile[3] = '2';
    std::vector<std::uint8_t> truncated = rb11Variable();
    truncated.resize(truncated.size() - 2);
    std::vector<std::uint8_t> cutHeader = rb11Variable();
    cutHeader.resize(200);
    const Header fine{2, 1, 1, 0, 0x41, 0x41, 1, 1, 1, 1};
    const Case cases[] = {
        {"35 bytes", shortFile},
        {"RB11 padding not 0", rb11Variable([](Header& h) { h.padding = 1; })},
        {"RB12 depth not 0", rb12({2, 1, 1, 1, 0x41, 0x41, 1, 1, 1, 1}, {1, 0, 0, 0, 2})},
        {"RB11 header cut short", cutHeader},
        {"width table cut short", truncated},
        {"huge bit count", rb11Variable([](Header& h) { h.bits = 0x7FFFFFFF; })},
        {"huge offset count", rb11Variable([](Header& h) { h.offsets = 0xFFFFFFFF; })},
        {"huge width count", rb11Variable([](Header& h) { h.widths = 0xFFFFFFFF; })},
        {"offset table shorter than the codes", rb11Variable([](Header& h) { h.offsets = 2; })},
        {"offset beyond the bit data", rb12(fine, {1, 0, 0x40, 0x00, 2})},
        {"bitmap running past the bit data", rb12(fine, {1, 0, 0x01, 0x00, 2})},
        {"first code beyond 65535", rb12({2, 1, 1, 0, 0x10000, 0, 1, 2, 0, 0}, {1, 1})},
        {"no codes", rb12({2, 1, 1, 0, 0x41, 0x41, 0, 2, 0, 0}, {1, 1})},
        {"height 0", rb12({2, 0, 0, 0, 0x41, 0x41, 1, 2, 0, 0}, {1, 1})},
        {"ascent above the height", rb12({2, 1, 2, 0, 0x41, 0x41, 1, 2, 0, 0}, {1, 1})},
        {"wider than 255 pixels",
         rb12({256, 1, 1, 0, 0x41, 0x41, 1, 256, 0, 0}, std::vector<std::uint8_t>(256, 1))},
        {"bitmap in empty bit data",
         rb12({1, 1, 1, 0, 0x41, 0x41, 1, 0, 1, 0}, {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Imported r = importBytes(c.bytes);
        EXPECT_EQ(r.outcome.status, ImportOutcome::Status::Failed);
        EXPECT_EQ(r.outcome.messages, (std::vector<std::string>{"Failed to loaded this file."}));

        test::expectOpenFontUnchanged(r.font);
    }
}

// The bit data expands into the same pixels as ImportedFont::pixel reads one at a time, in
// both layouts, for widths narrower than, equal to and wider than the words the expansion
// stores, and heights that do and do not fill their last band; width 0 gives one blank
// column. The last two codes share the bitmap of the one before them, at its width and
// narrower.
TEST(RbReader, ExpansionMatchesThePixelsOfTheBitData) {
    const std::vector<int> widths = {0, 1, 2, 3, 7, 8, 9, 15, 16, 17, 33, 33, 9};
    const std::size_t shared = 11;
    for (auto layout : {ImportedFont::BitLayout::WordRows, ImportedFont::BitLayout::ByteBands}) {
        for (int height : {1, 5, 8, 9, 23}) {
            ImportedFont imported;
            imported.layout = layout;
            imported.height = height;
            imported.ascent = 0;
            imported.firstCode = 0x41;
            imported.codeCount = static_cast<int>(widths.size());
            std::uint32_t seed = 12345;
            const auto next = [&seed] {
                seed = seed * 1103515245u + 12345u;
                return seed >> 16;
            };
            for (int width : widths) {
                imported.widths.push_back(static_cast<std::uint8_t>(width));
                imported.maxWidth = std::max(imported.maxWidth, width);
                if (imported.offsets.size() >= shared) {
                    imported.offsets.push_back(imported.offsets[shared - 1]);
                } else if (layout == ImportedFont::BitLayout::WordRows) {
                    imported.offsets.push_back(static_cast<std::int64_t>(imported.words.size()));
                    for (int k = 0; k < (width + 15) / 16 * height; ++k) {
                        imported.words.push_back(static_cast<std::uint16_t>(next()));
                    }
                } else {
                    imported.offsets.push_back(static_cast<std::int64_t>(imported.bytes.size()));
                    for (int k = 0; k < (height + 7) / 8 * width; ++k) {
                        imported.bytes.push_back(static_cast<std::uint8_t>(next()));
                    }
                }
            }
            Font font;
            buildFromImported(imported, "expand.fnt", font);
            ASSERT_EQ(font.count(), imported.codeCount);
            for (int k = 0; k < imported.codeCount; ++k) {
                const int code = imported.firstCode + k;
                const Glyph* g = font.glyphs.find(static_cast<std::uint16_t>(code));
                ASSERT_NE(g, nullptr);
                const int width = std::max(widths[k], 1);
                ASSERT_EQ(g->pixels.size(), static_cast<std::size_t>(width * height));
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const bool ink = widths[k] > 0 && imported.pixel(code, x, y);
                        ASSERT_EQ(g->pixel(x, y), ink ? 1 : 0)
                            << "layout " << static_cast<int>(layout) << ", width " << widths[k]
                            << ", height " << height << ", pixel " << x << "," << y;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace typeloom
