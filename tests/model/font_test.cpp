#include "model/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/progress_sink.h"

namespace typeloom {
namespace {

// A Unicode font whose characters have the given widths, codes from 0x41 on.
Font fontWithWidths(const std::vector<std::uint16_t>& widths, std::uint16_t height = 8) {
    Font font;
    font.height = height;
    std::uint16_t code = 0x41;
    for (std::uint16_t w : widths) {
        font.addBlankGlyph(code, w);
        font.insertCode(code, code);
        ++code;
    }
    return font;
}

TEST(Font, FixedWidthFollowsTheListedWidths) {
    Font font = fontWithWidths({6, 6, 6});
    EXPECT_EQ(font.updateFixedWidth(), 6);
    font.updateMaxWidth();
    EXPECT_EQ(font.maxWidth, 6);

    font.setGlyph(0x42, 7, std::vector<std::uint8_t>(7 * 8, 0));
    EXPECT_EQ(font.updateFixedWidth(), 0);
    font.updateMaxWidth();
    EXPECT_EQ(font.maxWidth, 7);

    Font single = fontWithWidths({9});
    EXPECT_EQ(single.updateFixedWidth(), 9);
    Font empty;
    EXPECT_EQ(empty.updateFixedWidth(), 0);
}

TEST(Font, GlyphsOutsideTheListsDoNotCountForWidths) {
    Font font = fontWithWidths({5, 5});
    font.addBlankGlyph(0x100, 30);  // rendered but disabled character
    EXPECT_EQ(font.updateFixedWidth(), 5);
    font.fixedWidth = 0;
    font.updateMaxWidth();
    EXPECT_EQ(font.maxWidth, 5);
}

TEST(Font, InsertPositionAndInsertCodeKeepTheListsOrdered) {
    Font font;
    EXPECT_EQ(font.insertPosition(10), 0);
    font.insertCode(20, 0x2020);
    font.insertCode(10, 0x1010);
    font.insertCode(30, 0x3030);
    font.insertCode(20, 0x9999);  // already present: ignored
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{10, 20, 30}));
    EXPECT_EQ(font.unicodeList, (std::vector<std::uint16_t>{0x1010, 0x2020, 0x3030}));
    EXPECT_EQ(font.insertPosition(20), -1);
    EXPECT_EQ(font.insertPosition(25), 2);
    EXPECT_EQ(font.insertPosition(31), font.count());
    EXPECT_EQ(font.insertPosition(0), 0);
    EXPECT_TRUE(font.glyphs.empty());  // inserting a code makes no glyph
}

TEST(Font, LookupsReportAbsence) {
    Font font = fontWithWidths({4, 5});  // codes 0x41, 0x42
    EXPECT_EQ(font.unicodeAt(1), 0x42);
    EXPECT_EQ(font.unicodeAt(2), -1);
    EXPECT_EQ(font.codeAt(-1), -1);
    EXPECT_EQ(font.lastIndex(), 1);
    EXPECT_EQ(font.indexOfCode(0x42), 1);
    EXPECT_EQ(font.indexOfCode(0x43), -1);
    EXPECT_EQ(font.initialIndex(), 0);

    Font noA = fontWithWidths({4, 5});
    noA.codeList = {0x30, 0x31};
    EXPECT_EQ(noA.initialIndex(), 0);
    Font withA = fontWithWidths({4, 5, 6});
    withA.codeList = {0x30, 0x41, 0x50};
    EXPECT_EQ(withA.initialIndex(), 1);
    EXPECT_EQ(Font().initialIndex(), -1);
    EXPECT_EQ(Font().lastIndex(), -1);
}

TEST(Font, GetGlyphReportsHeightAndAscentEvenWithoutAGlyph) {
    Font font = fontWithWidths({3}, 9);
    font.ascent = 7;
    std::uint16_t w = 99;
    std::uint16_t h = 0;
    std::int16_t a = 0;
    std::vector<std::uint8_t> pixels;
    EXPECT_EQ(font.getGlyph(0x7000, w, h, a, pixels), 0);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(w, 99);  // untouched
    EXPECT_EQ(font.getGlyph(0x41, w, h, a, pixels), 0x41);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(pixels.size(), 27u);
    EXPECT_FALSE(font.getPixels(0x7000, pixels));
    EXPECT_FALSE(font.widthOf(0x7000, w));
}

TEST(Font, SetGlyphWithoutAGlyphStillRaisesMaxWidth) {
    Font font = fontWithWidths({3});
    font.maxWidth = 3;
    font.setGlyph(0x7000, 11, std::vector<std::uint8_t>(11 * 8, 1));
    EXPECT_FALSE(font.glyphs.contains(0x7000));
    EXPECT_EQ(font.maxWidth, 11);
    font.setGlyph(0x41, 2, std::vector<std::uint8_t>(16, 1));
    EXPECT_EQ(font.maxWidth, 11);  // never lowered here
    EXPECT_EQ(font.glyphs.find(0x41)->width, 2);
}

TEST(Font, SetEncodingKeepsTheOldValueForUnknownEncodings) {
    Font font;
    font.setEncoding(3);
    EXPECT_EQ(font.encoding, 3u);
    EXPECT_EQ(font.charTable.encoding(), 3);
    font.charTable.setEncoding(0);
    font.setEncoding(9);
    EXPECT_EQ(font.encoding, 3u);
    EXPECT_EQ(font.charTable.encoding(), 3);  // copied into the table
}

TEST(Font, RebuildWithoutEnabledCodesListsTheSupportedSet) {
    Font font;
    font.height = 4;
    font.setEncoding(kEncodingUnicode);
    font.charTable.buildFromUnicodeList(std::vector<std::uint16_t>{0x41, 0x42}, 0,
                                        kEncodingUnicode);
    for (std::uint16_t u : {0x41, 0x42}) {
        font.charTable.committed.setEnabled(u, false);
    }
    font.rebuildFromTable();
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42}));
    EXPECT_EQ(font.unicodeList, font.codeList);
}

TEST(Font, RebuildCreatesBlankGlyphsForEnabledUnmappedCodes) {
    Font font;
    font.height = 5;
    font.createFromScratch(0x41, 0x42, 6, 5, "t");
    font.glyphs.find(0x41)->pixels[0] = 1;
    CodeMap& map = font.charTable.committed;
    map.set(0x43, {0x43, false, true});
    font.charTable.codeOrder = {0x41, 0x42, 0x43};
    font.rebuildFromTable();
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0x43}));
    ASSERT_TRUE(font.glyphs.contains(0x43));
    EXPECT_EQ(font.glyphs.find(0x43)->width, 6);
    EXPECT_EQ(font.glyphs.find(0x43)->pixels, std::vector<std::uint8_t>(30, 0));
    EXPECT_TRUE(map.get(0x43).mapped);
    EXPECT_EQ(font.glyphs.find(0x41)->pixels[0], 1);  // existing glyphs are kept
    EXPECT_EQ(font.fixedWidth, 6);
}

TEST(Font, SyncHeaderInfoPutsOutsideDefaultCharactersOnTheFirst) {
    Font font;
    font.height = 16;
    font.ascent = 13;
    font.fixedWidth = 0;
    font.maxWidth = 9;
    for (std::uint16_t c = 32; c <= 126; ++c) {
        font.insertCode(c, c);
    }
    font.fontHeader.defaultChar = 10;
    font.fontHeader.breakChar = 32;
    font.syncHeaderInfo();
    EXPECT_EQ(font.fontHeader.firstChar, 32);
    EXPECT_EQ(font.fontHeader.lastChar, 126);
    EXPECT_EQ(font.fontHeader.defaultChar, 32);
    EXPECT_EQ(font.fontHeader.breakChar, 32);
    EXPECT_EQ(font.fontHeader.points, 12);  // 16 px at 96 dpi
    EXPECT_EQ(font.fontHeader.pixHeight, 16);
    EXPECT_EQ(font.fontHeader.ascent, 13);
    EXPECT_EQ(font.fontHeader.maxWidth, 9);

    Font empty;
    empty.fontHeader.defaultChar = 200;
    empty.syncHeaderInfo();
    EXPECT_EQ(empty.fontHeader.defaultChar, 200);
}

TEST(Glyph, FromPackedRowsReadsMostSignificantBitFirst) {
    Glyph g;
    // Width 10: two bytes a row. Row 0 = 1000 0000 01xx, row 1 = 0000 0001 10xx.
    const std::vector<std::uint8_t> rows = {0x80, 0x40, 0x01, 0xBF};
    g.fromPackedRows(0x41, 10, 2, rows);
    EXPECT_EQ(g.width, 10);
    std::vector<std::uint8_t> expected(20, 0);
    expected[0] = 1;
    expected[9] = 1;
    expected[10 + 7] = 1;
    expected[10 + 8] = 1;  // 0xBF = 1011 1111: bit for x=8 set, x=9 clear
    EXPECT_EQ(g.pixels, expected);

    g.fromPackedRows(0x42, 0, 3, rows);
    EXPECT_EQ(g.width, 1);
    EXPECT_EQ(g.pixels, std::vector<std::uint8_t>(3, 0));
    // Rows missing at the end of the data are blank rather than read out of bounds.
    g.fromPackedRows(0x43, 8, 4, std::vector<std::uint8_t>{0xFF});
    EXPECT_EQ(g.pixels,
              (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// A stored glyph stays where it is (pointers to it hold) while keys of other pages arrive, and
// exchange swaps a present glyph out or takes it away.
TEST(GlyphMap, GlyphsStayInPlaceAndExchangeHandsThemBack) {
    GlyphMap map;
    const Glyph* a = &map.insert(0x41, Glyph(0x41, 1, {1}));
    for (std::uint32_t k = 0x100; k < 0x10000; k += 0x100) {
        map.insert(static_cast<std::uint16_t>(k), Glyph(static_cast<std::uint16_t>(k), 2, {0, 1}));
    }
    EXPECT_EQ(map.find(0x41), a);
    std::unique_ptr<Glyph> old =
        map.exchange(0x41, std::make_unique<Glyph>(0x41, 1, std::vector<std::uint8_t>{0}));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->pixels, std::vector<std::uint8_t>{1});
    EXPECT_EQ(map.find(0x41)->pixels, std::vector<std::uint8_t>{0});
    EXPECT_EQ(map.size(), 256u);
    old = map.exchange(0x41, nullptr);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->pixels, std::vector<std::uint8_t>{0});
    EXPECT_FALSE(map.contains(0x41));
    EXPECT_EQ(map.size(), 255u);
}

// The glyph and code maps keep their keys in pages allocated as keys arrive: whatever the
// order of insertion, enumeration is ascending, maps with the same contents compare equal,
// lookups between the keys find nothing, and a map moved from is empty and usable.
TEST(GlyphMap, KeysInAnyOrderAcrossPages) {
    const std::vector<std::vector<std::uint16_t>> keySets = {
        {0x41}, {0xFFFF, 0x0000}, {0x4E00, 0x41, 0x4E01, 0xFF, 0x100, 0xFFFE}};
    for (const auto& keys : keySets) {
        GlyphMap forward;
        GlyphMap backward;
        CodeMap codesForward;
        CodeMap codesBackward;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::uint16_t k = keys[i];
            const std::uint16_t r = keys[keys.size() - 1 - i];
            forward.insert(k, Glyph(k, 1, {1}));
            backward.insert(r, Glyph(r, 1, {1}));
            codesForward.set(k, {k, true, true});
            codesBackward.set(r, {r, true, true});
        }
        EXPECT_EQ(forward, backward);
        EXPECT_EQ(codesForward, codesBackward);
        std::vector<std::uint16_t> sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::uint16_t> seen;
        backward.forEach([&](std::uint16_t k, const Glyph& g) {
            EXPECT_EQ(g.code, k);
            seen.push_back(k);
        });
        EXPECT_EQ(seen, sorted);
        seen.clear();
        codesBackward.forEach([&](std::uint16_t c, CodeEntry e) {
            EXPECT_EQ(e.unicode, c);
            seen.push_back(c);
        });
        EXPECT_EQ(seen, sorted);
        for (std::uint16_t k : sorted) {
            const auto between = static_cast<std::uint16_t>(k ^ 0x80);
            if (!std::binary_search(sorted.begin(), sorted.end(), between)) {
                EXPECT_FALSE(forward.contains(between));
                EXPECT_FALSE(codesForward.contains(between));
                EXPECT_EQ(codesForward.get(between), CodeEntry{});
            }
        }

        // Erasing a key and putting it back leaves an equal map; an erased key is absent
        // although its page stays.
        backward.erase(sorted.front());
        EXPECT_FALSE(backward.contains(sorted.front()));
        EXPECT_NE(forward, backward);
        EXPECT_EQ(
            backward.exchange(sorted.front(), std::make_unique<Glyph>(
                                                  sorted.front(), 1, std::vector<std::uint8_t>{1})),
            nullptr);
        EXPECT_EQ(forward, backward);

        GlyphMap moved = std::move(backward);
        CodeMap movedCodes = std::move(codesBackward);
        EXPECT_EQ(moved, forward);
        EXPECT_EQ(movedCodes, codesForward);
        EXPECT_TRUE(backward.empty());       // NOLINT(bugprone-use-after-move)
        EXPECT_TRUE(codesBackward.empty());  // NOLINT(bugprone-use-after-move)
        EXPECT_FALSE(backward.contains(sorted.front()));
        EXPECT_FALSE(codesBackward.contains(sorted.front()));
        backward.insert(0x41, Glyph(0x41, 1, {0}));
        codesBackward.set(0x41, {0x41, false, false});
        EXPECT_EQ(backward.size(), 1u);
        EXPECT_EQ(codesBackward.size(), 1u);
    }
}

// A renderer whose characters are as wide as their value modulo 8 plus 2, with a left-leaning
// italic A spacing for 'f'; it draws a single ink pixel at its origin.
class FakeRenderer : public GlyphRenderer {
  public:
    explicit FakeRenderer(bool fixed) : m_fixed(fixed) {}
    RenderMetrics metrics() const override {
        RenderMetrics m;
        m.ascent = 7;
        m.descent = 2;
        m.averageWidth = 5;
        m.fixedPitch = m_fixed;
        m.scalable = true;
        m.weight = 700;
        m.charSet = 0;
        m.defaultChar = 0x1F;
        m.breakChar = 0x20;
        return m;
    }
    std::vector<std::pair<std::uint16_t, std::uint32_t>> unicodeRanges() const override {
        return {{0x20, 0x5F}, {0x400, 3}};
    }
    CharSpacing spacing(std::uint16_t u) const override {
        CharSpacing s;
        s.hasAbc = true;
        s.advance = m_fixed ? 5 : (u == ' ' ? 3 : u % 8 + 2);
        s.b = s.advance;
        if (u == 'f' && !m_fixed) {
            s.a = -2;
            s.b = 6;
        }
        return s;
    }
    bool render(std::uint16_t u, int originX, int width, int height,
                std::uint8_t* pixels) const override {
        if (u != ' ' && originX < width && height > 0) {
            pixels[originX] = 1;
        }
        return true;
    }

  private:
    bool m_fixed;
};

class SystemFontTest : public ::testing::Test {
  protected:
    void TearDown() override {
        setRendererFactory([](const LogFont& f) { return std::make_shared<BlankRenderer>(f); });
    }
    void useFakeRenderer(bool fixed) {
        setRendererFactory(
            [fixed](const LogFont&) { return std::make_shared<FakeRenderer>(fixed); });
    }
};

TEST_F(SystemFontTest, RenderGlyphShiftsNegativeASpacingAndWidensTheCell) {
    FakeRenderer r(false);
    Glyph f = renderGlyph('f', r, 9);
    // advance 'f' % 8 + 2 = 8; |A| + B = 8 as well: the width stays 8, drawn at x = 2
    EXPECT_EQ(f.width, 8);
    EXPECT_EQ(f.pixels[2], 1);
    EXPECT_EQ(f.pixels[0], 0);
    Glyph space = renderGlyph(' ', r, 9);
    EXPECT_EQ(space.width, 3);  // keeps its advance, draws nothing
    EXPECT_EQ(space.pixels, std::vector<std::uint8_t>(27, 0));
}

TEST_F(SystemFontTest, CreateFromSystemFontRendersEverySupportedValue) {
    useFakeRenderer(false);
    Font font;
    font.setEncoding(kEncodingUnicode);
    LogFont lf;
    lf.faceName = "Test Sans";
    lf.height = -8;
    NullProgressSink progress;
    font.createFromSystemFont(lf, DbcsTables::program(), progress);
    EXPECT_TRUE(font.fromSystemFont);
    EXPECT_EQ(font.faceName, "Test Sans");
    EXPECT_EQ(font.height, 9);
    EXPECT_EQ(font.ascent, 7);
    // 0..255 plus the ranges, every value rendered; controls are rendered but not listed.
    EXPECT_TRUE(font.glyphs.contains(0x05));
    EXPECT_TRUE(font.glyphs.contains(0x85));
    EXPECT_TRUE(font.glyphs.contains(0x402));
    EXPECT_EQ(font.indexOfCode(0x05), -1);
    EXPECT_EQ(font.indexOfCode(0x85), -1);
    EXPECT_GE(font.indexOfCode(0x41), 0);
    EXPECT_EQ(font.glyphs.size(), 256u + 3u);
    EXPECT_EQ(font.count(), 256 - 64 + 3);
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(font.maxWidth, 9);  // widest listed: value % 8 == 7 gives 9
    EXPECT_EQ(font.fontHeader.version, 0x200);
    EXPECT_EQ(font.fontHeader.weight, 700);
    EXPECT_EQ(font.fontHeader.vertRes, 96);
    EXPECT_EQ(font.fontHeader.defaultChar, 0x1F);
}

TEST_F(SystemFontTest, FixedPitchFontBecomesFixedWidth) {
    useFakeRenderer(true);
    Font font;
    NullProgressSink progress;
    font.createFromSystemFont(LogFont{}, DbcsTables::program(), progress);
    EXPECT_EQ(font.fixedWidth, 5);
    EXPECT_EQ(font.maxWidth, 5);
}

TEST_F(SystemFontTest, AddedCharactersOfARenderedFontAreRendered) {
    useFakeRenderer(false);
    Font font;
    font.setEncoding(kEncodingUnicode);
    NullProgressSink progress;
    font.createFromSystemFont(LogFont{}, DbcsTables::program(), progress);
    font.glyphs.erase(0x7000);
    font.charTable.beginEditing();
    font.charTable.enableCode(0x7000);
    ASSERT_TRUE(font.commitCharacterTable(0));
    ASSERT_TRUE(font.glyphs.contains(0x7000));
    EXPECT_EQ(font.glyphs.find(0x7000)->width, 0x7000 % 8 + 2);
    EXPECT_EQ(font.glyphs.find(0x7000)->pixels[0], 1);
}

}  // namespace
}  // namespace typeloom
