// Each controller preset against a reader of that controller's memory, written from the
// arrangement's own description (which byte holds a pixel, which bit of it), not from the
// encoder: the units the font's word makes must put every pixel where the display reads it.

#include "export/controller_presets.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "export/bitmap_encoder.h"
#include "export/data_format.h"
#include "rows_font.h"

namespace typeloom::exporters {
namespace {

// Reads pixel (row r, column c) of a W x H glyph out of the display memory `bytes`.
using MemoryReader =
    std::function<int(const std::vector<std::uint32_t>& bytes, int w, int h, int r, int c)>;

struct Expectation {
    const char* preset;
    MemoryReader pixel;
    std::function<std::size_t(int w, int h)> size;  // bytes the memory takes
};

int bitOf(std::uint32_t byte, int bit) {
    return static_cast<int>((byte >> bit) & 1u);
}

const Expectation kExpectations[] = {
    // Pages of 8 rows from the top; in a page, one byte per column, left to right; in a byte,
    // bit 0 is the page's top row.
    {"page",
     [](const auto& m, int w, int, int r, int c) {
         return bitOf(m[static_cast<std::size_t>((r / 8) * w + c)], r % 8);
     },
     [](int w, int h) { return static_cast<std::size_t>(w * ((h + 7) / 8)); }},
    // One column after another, each column's bytes from the top page down; bit 0 on top.
    {"page-column",
     [](const auto& m, int, int h, int r, int c) {
         return bitOf(m[static_cast<std::size_t>(c * ((h + 7) / 8) + r / 8)], r % 8);
     },
     [](int w, int h) { return static_cast<std::size_t>(w * ((h + 7) / 8)); }},
    // Rows from the top, each starting a new byte; bit 7 is the leftmost pixel of a byte.
    {"row",
     [](const auto& m, int w, int, int r, int c) {
         return bitOf(m[static_cast<std::size_t>(r * ((w + 7) / 8) + c / 8)], 7 - c % 8);
     },
     [](int w, int h) { return static_cast<std::size_t>(h * ((w + 7) / 8)); }},
    // One bit stream row after row; pixel n of the stream is bit 7 - n % 8 of byte n / 8.
    {"row-stream",
     [](const auto& m, int w, int, int r, int c) {
         const int n = r * w + c;
         return bitOf(m[static_cast<std::size_t>(n / 8)], 7 - n % 8);
     },
     [](int w, int h) { return static_cast<std::size_t>((w * h + 7) / 8); }},
    // One byte per row for each 8 columns; bit 0 is the leftmost LED.
    {"led-row",
     [](const auto& m, int w, int, int r, int c) {
         return bitOf(m[static_cast<std::size_t>(r * ((w + 7) / 8) + c / 8)], c % 8);
     },
     [](int w, int h) { return static_cast<std::size_t>(h * ((w + 7) / 8)); }},
};

// A glyph with a scrambled pattern, so that a pixel read from the wrong place shows.
test::RowGlyph sampleGlyph(std::uint16_t code, int w, int h) {
    test::RowGlyph glyph{code, code, {}};
    for (int r = 0; r < h; ++r) {
        std::string row;
        for (int c = 0; c < w; ++c) {
            row += ((r * 7 + c * 3 + r * c) % 5) < 2 ? '#' : '.';
        }
        glyph.rows.push_back(row);
    }
    return glyph;
}

TEST(ControllerPresets, EachMatchesAReaderOfItsControllersMemory) {
    ASSERT_EQ(controllerPresets().size(), std::size(kExpectations));
    struct Size {
        int w, h;
    };
    // An 8 x 8 LED character, a 5 x 7 font, and glyphs with partial pages and bytes.
    for (const Size size : {Size{8, 8}, Size{5, 7}, Size{13, 19}, Size{16, 16}, Size{1, 9}}) {
        for (const Expectation& expect : kExpectations) {
            SCOPED_TRACE(testing::Message() << expect.preset << " " << size.w << "x" << size.h);
            const ControllerPreset* preset = findControllerPreset(expect.preset);
            ASSERT_NE(preset, nullptr);
            // The word the user had (32-bit, packed columns, inverted, panel bits) gets the
            // preset's layout and keeps its invert and panel bits.
            const std::uint32_t word = applyControllerPreset(0x01180001, *preset);
            EXPECT_EQ(word & ~kPresetMask, 0x01100000u);
            const Font font = test::rowsFont("S", static_cast<std::uint16_t>(size.h), 1,
                                             {sampleGlyph(0x41, size.w, size.h)}, word);
            BitmapEncoder encoder(font);
            encoder.encodeGlyph(0x41);
            const std::vector<std::uint32_t> memory(encoder.unitsOf(0x41).begin(),
                                                    encoder.unitsOf(0x41).end());
            ASSERT_EQ(memory.size(), expect.size(size.w, size.h));
            for (std::uint32_t byte : memory) {
                ASSERT_LE(byte, 0xFFu);
            }
            const Glyph& glyph = *font.glyphs.find(0x41);
            for (int r = 0; r < size.h; ++r) {
                for (int c = 0; c < size.w; ++c) {
                    ASSERT_EQ(expect.pixel(memory, size.w, size.h, r, c),
                              glyph.pixels[static_cast<std::size_t>(r * size.w + c)])
                        << "row " << r << ", column " << c;
                }
            }
        }
    }
}

TEST(ControllerPresets, NamesMatchingAndDescriptions) {
    std::set<std::string> names;
    for (const ControllerPreset& preset : controllerPresets()) {
        SCOPED_TRACE(preset.name);
        EXPECT_TRUE(names.insert(preset.name).second);
        EXPECT_NE(std::string(preset.description), "");
        EXPECT_NE(std::string(preset.arrangement), "");
        EXPECT_EQ(matchingControllerPreset(applyControllerPreset(0x02000000, preset)), &preset);
        EXPECT_EQ(findControllerPreset(preset.name), &preset);
    }
    // The default word is the row framebuffer's layout; a 4-bit length counts as 8 bits.
    EXPECT_STREQ(matchingControllerPreset(0x01121110)->name, "row");
    EXPECT_STREQ(matchingControllerPreset(0x00011110)->name, "row");
    EXPECT_EQ(matchingControllerPreset(0x00041110), nullptr);
    EXPECT_EQ(findControllerPreset("Page"), nullptr);
}

}  // namespace
}  // namespace typeloom::exporters
