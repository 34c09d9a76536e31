// Multi copy and paste: the clipboard block against bytes assembled by hand from its layout,
// every malformed block refused, and the merge into the target font.

#include "interchange/multicopy.h"

#include <gtest/gtest.h>

#include <array>

#include "charset/encodings.h"
#include "common/file_error.h"
#include "interchange_test_support.h"
#include "model/font.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::LeBytes;
using Art = std::vector<std::string>;

// A Unicode font "Ab": 'A' 2 wide, 'B' 3 wide, 2 rows.
Font unicodeFont() {
    Font font;
    font.createFromScratch(0x41, 0x42, 2, 2, "Ab");
    test::setGlyphArt(font, 0x41, {"#.", ".#"});
    test::setGlyphArt(font, 0x42, {"###", "..#"});
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

LeBytes blockHeader(const std::u16string& name, std::uint32_t bpp, std::uint32_t encoding,
                    std::uint32_t height, std::uint32_t count) {
    LeBytes b;
    b.u32(0x6A5D);
    for (std::size_t i = 0; i < 33; ++i) {
        b.u16(i < name.size() ? name[i] : 0);
    }
    b.u32(bpp).u32(encoding).u32(height).u32(count);
    return b;
}

TEST(MultiCopy, BuildsTheBlockOfTheChosenCodes) {
    const Font font = unicodeFont();
    const std::vector<std::uint16_t> chosen = {0x42, 0x99, 0x41, 0x42};
    LeBytes expected = blockHeader(u"Ab", 1, 1, 2, 2);
    expected.u16(0x41).u16(0x41).u16(2).u16(4).raw({1, 0, 0, 1});
    expected.u16(0x42).u16(0x42).u16(3).u16(6).raw({1, 1, 1, 0, 0, 1});
    EXPECT_EQ(buildMultiCopyData(font, chosen), expected.bytes());
    EXPECT_EQ(expected.size(), 86u + 12 + 14);
}

TEST(MultiCopy, CutsLongNamesAndLeavesOutCharactersTooLargeToDescribe) {
    Font font = unicodeFont();
    font.faceName = std::string(40, 'x');
    Glyph& wide = *font.glyphs.find(0x42);
    font.height = 300;
    wide.init(0x42, 300, 300);  // 90,000 pixels: more than a 16-bit count holds
    font.glyphs.find(0x41)->init(0x41, 2, 300);
    std::vector<std::uint16_t> leftOut;
    const std::vector<std::uint16_t> all = {0x41, 0x42};
    const MultiCopyData data = parseMultiCopyData(buildMultiCopyData(font, all, &leftOut));
    EXPECT_EQ(data.fontName, std::u16string(32, u'x'));
    ASSERT_EQ(data.records.size(), 1u);
    EXPECT_EQ(data.records[0].code, 0x41);
    EXPECT_EQ(leftOut, (std::vector<std::uint16_t>{0x42}));
}

TEST(MultiCopy, ParsesAHandMadeBlock) {
    LeBytes b = blockHeader(u"Src", 1, 0, 2, 2);
    b.u16(0x41).u16(0x41).u16(1).u16(2).raw({1, 7});
    b.u16(0xC0).u16(0x0410).u16(2).u16(4).raw({0, 1, 1, 0});
    const MultiCopyData data = parseMultiCopyData(b.bytes());
    EXPECT_EQ(data.fontName, u"Src");
    EXPECT_EQ(data.encoding, 0u);
    EXPECT_EQ(data.height, 2u);
    ASSERT_EQ(data.records.size(), 2u);
    EXPECT_EQ(data.records[0].pixels, (std::vector<std::uint8_t>{1, 1}));
    ASSERT_NE(data.find(0xC0), nullptr);
    EXPECT_EQ(data.find(0xC0)->key, 0x0410);
    EXPECT_EQ(data.find(0x42), nullptr);
}

TEST(MultiCopy, RefusesMalformedBlocks) {
    auto block = [](std::uint32_t magic, std::uint32_t height, std::uint32_t count,
                    const std::vector<std::array<std::uint16_t, 4>>& records) {
        LeBytes b = blockHeader(u"X", 1, 1, height, count);
        b.patch32(0, magic);
        for (const auto& r : records) {
            b.u16(r[0]).u16(r[1]).u16(r[2]).u16(r[3]).zeros(r[3]);
        }
        return b.bytes();
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"wrong magic", block(0x6A5E, 2, 1, {{1, 1, 1, 2}})},
        {"height 0", block(0x6A5D, 0, 1, {{1, 1, 1, 0}})},
        {"height beyond 65535", block(0x6A5D, 70000, 0, {})},
        {"pixel count not width x height", block(0x6A5D, 2, 1, {{1, 1, 2, 2}})},
        {"width 0", block(0x6A5D, 2, 1, {{1, 1, 0, 0}})},
        {"codes not ascending", block(0x6A5D, 1, 2, {{2, 2, 1, 1}, {1, 1, 1, 1}})},
        {"repeated code", block(0x6A5D, 1, 2, {{2, 2, 1, 1}, {2, 3, 1, 1}})},
        {"repeated key", block(0x6A5D, 1, 2, {{1, 5, 1, 1}, {2, 5, 1, 1}})},
        {"more records than bytes", block(0x6A5D, 1, 0xFFFFFFFF, {{1, 1, 1, 1}})},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(parseMultiCopyData(c.bytes), FileError);
    }
    // Every cut of a good block is refused.
    const std::vector<std::uint8_t> good = block(0x6A5D, 2, 2, {{1, 1, 1, 2}, {2, 2, 3, 6}});
    ASSERT_NO_THROW(parseMultiCopyData(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_THROW(parseMultiCopyData(std::span(good.data(), n)), FileError);
    }
}

TEST(MultiCopy, OffersCopyAndPasteOnlyWhereTheyMakeSense) {
    Font font = unicodeFont();
    EXPECT_TRUE(multiCopyEnabled(font));
    Font one;
    one.createFromScratch(0x41, 0x41, 2, 2, "One");
    EXPECT_FALSE(multiCopyEnabled(one));

    const std::vector<std::uint16_t> all = {0x41, 0x42};
    const std::vector<std::uint8_t> own = buildMultiCopyData(font, all);
    // The very font the data came from: not offered.
    EXPECT_FALSE(multiPasteEnabled(font, own));
    // After one more character it is.
    Font grown = font;
    grown.addBlankGlyph(0x43, 2);
    grown.insertCode(0x43, 0x43);
    EXPECT_TRUE(multiPasteEnabled(grown, own));
    // Another font, another height, another encoding, a part of the characters.
    Font other = unicodeFont();
    other.faceName = "Other";
    EXPECT_TRUE(multiPasteEnabled(other, own));
    const std::vector<std::uint16_t> justA = {0x41};
    EXPECT_TRUE(multiPasteEnabled(font, buildMultiCopyData(font, justA)));
    // Another bits-per-pixel value, unreadable data, or an empty target: not offered.
    std::vector<std::uint8_t> twoBits = own;
    twoBits[70] = 2;
    EXPECT_FALSE(multiPasteEnabled(other, twoBits));
    EXPECT_FALSE(
        multiPasteEnabled(other, std::vector<std::uint8_t>(own.begin(), own.begin() + 90)));
    EXPECT_FALSE(multiPasteEnabled(Font{}, own));
    // A name longer than 32 characters never matches its cut copy.
    Font longName = unicodeFont();
    longName.faceName = std::string(33, 'n');
    EXPECT_TRUE(multiPasteEnabled(longName, buildMultiCopyData(longName, all)));
}

TEST(MultiCopy, HeightQuestion) {
    EXPECT_EQ(pasteHeightQuestion(18, 16),
              "The height of pasted characters is a little larger \r\nthan the height of this "
              "font.\r\n\r\nHeight (pasted characters)\t=  18\r\nHeight (this font)\t\t=  "
              "16\r\n\r\nAfter pasted, you maybe need to modify these characters.\r\nDo you "
              "still want to paste these characters?");
    EXPECT_NE(pasteHeightQuestion(20, 16).find("is very larger \r\n"), std::string::npos);
    EXPECT_NE(pasteHeightQuestion(10, 16).find("is very smaller \r\n"), std::string::npos);
    EXPECT_NE(pasteHeightQuestion(13, 16).find("is a little smaller"), std::string::npos);
}

MultiCopyData block(std::uint32_t encoding, std::uint32_t height,
                    std::vector<MultiCopyRecord> records) {
    MultiCopyData d;
    d.encoding = encoding;
    d.height = height;
    d.records = std::move(records);
    return d;
}

MultiCopyRecord record(std::uint16_t code, std::uint16_t key, const Art& art) {
    return {code, key, static_cast<std::uint16_t>(art[0].size()), test::pixelsOfArt(art)};
}

TEST(MultiPaste, CentresCharactersOfAnotherHeight) {
    struct Case {
        const char* name;
        Art pasted;
        Art expected;  // in a font 3 rows high
    };
    const Case cases[] = {
        {"taller keeps the middle rows",
         {"#..", ".#.", "..#", "###", "#.#"},
         {".#.", "..#", "###"}},
        {"odd difference drops the extra row at the bottom",
         {"#..", ".#.", "..#", "###"},
         {"#..", ".#.", "..#"}},
        {"shorter is centred", {"##.", ".##"}, {"##.", ".##", "..."}},
        {"one row", {"#.#"}, {"...", "#.#", "..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Font font;
        font.createFromScratch(0x41, 0x42, 3, 3, "T");
        const std::vector<std::uint16_t> selected = {0x41};
        MultiPasteOutcome o = pasteCharacters(
            font,
            block(1, static_cast<std::uint32_t>(c.pasted.size()), {record(0x41, 0x41, c.pasted)}),
            selected);
        EXPECT_EQ(o.pasted, 1);
        EXPECT_EQ(glyphArt(font, 0x41), c.expected);
    }
}

TEST(MultiPaste, AddsNewCodesAndReplacesExistingOnes) {
    Font font = unicodeFont();
    const MultiCopyData data =
        block(1, 2,
              {record(0x41, 0x41, {"..", "##"}), record(0x43, 0x43, {"#", "#"}),
               record(0x60, 0x60, {"#..#", "...."})});
    // Only the selected codes are pasted.
    const std::vector<std::uint16_t> selected = {0x60, 0x41, 0x43};
    MultiPasteOutcome o = pasteCharacters(font, data, std::span(selected.data(), 2));
    EXPECT_EQ(o.pasted, 2);
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0x60}));
    EXPECT_EQ(font.unicodeList, font.codeList);
    EXPECT_EQ(glyphArt(font, 0x41), (Art{"..", "##"}));
    EXPECT_EQ(glyphArt(font, 0x60), (Art{"#..#", "...."}));
    EXPECT_FALSE(font.glyphs.contains(0x43));
    const CodeEntry e = font.charTable.committed.get(0x60);
    EXPECT_TRUE(e.mapped && e.enabled);
    EXPECT_EQ(e.unicode, 0x60);
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(font.maxWidth, 4);
    // Committing the table again keeps the pasted character.
    font.rebuildFromTable();
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0x60}));
}

Font ansiFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x41, 0x43, 2, 1, "Ansi");
    return font;
}

TEST(MultiPaste, KeepsOneKeyPerCodeAcrossEncodings) {
    // A Cyrillic character (code 0xC0, key U+0410) into a Unicode font lands on code 0xC0 with
    // key 0xC0: a Unicode font's codes are their keys.
    Font unicode = unicodeFont();
    const MultiCopyData cyrillic = block(0, 2, {record(0xC0, 0x0410, {"##", "#."})});
    const std::vector<std::uint16_t> c0 = {0xC0};
    EXPECT_EQ(pasteCharacters(unicode, cyrillic, c0).pasted, 1);
    EXPECT_EQ(unicode.codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0xC0}));
    EXPECT_EQ(unicode.unicodeList, unicode.codeList);
    EXPECT_EQ(glyphArt(unicode, 0xC0), (Art{"##", "#."}));

    // Into a Western font that lacks 0xC0 it keeps the block's key.
    Font western = ansiFont();
    const MultiCopyData oneRow = block(0, 1, {record(0xC0, 0x0410, {"#."})});
    EXPECT_EQ(pasteCharacters(western, oneRow, c0).pasted, 1);
    EXPECT_EQ(western.unicodeList.back(), 0x0410);
    EXPECT_EQ(western.charTable.committed.get(0xC0).unicode, 0x0410);

    // Into a font that has the code under another key, the font's character is replaced.
    Font has = ansiFont();
    const MultiCopyData onA = block(0, 1, {record(0x41, 0x0410, {".#"})});
    const std::vector<std::uint16_t> a = {0x41};
    EXPECT_EQ(pasteCharacters(has, onA, a).pasted, 1);
    EXPECT_EQ(has.unicodeList.front(), 0x41);
    EXPECT_EQ(glyphArt(has, 0x41), (Art{".#"}));
    EXPECT_FALSE(has.glyphs.contains(0x0410));

    // A block key another character already has: the table's own key for the code is used.
    Font clash = ansiFont();
    const MultiCopyData onLowerA = block(0, 1, {record(0x61, 0x41, {"##"})});
    const std::vector<std::uint16_t> lowerA = {0x61};
    EXPECT_EQ(pasteCharacters(clash, onLowerA, lowerA).pasted, 1);
    EXPECT_EQ(clash.codeList.back(), 0x61);
    EXPECT_EQ(clash.unicodeList.back(), 0x61);
    EXPECT_EQ(glyphArt(clash, 0x41), (Art{".."}));

    // Codes outside a Western font's code space are not pasted.
    Font small = ansiFont();
    const MultiCopyData beyond = block(1, 1, {record(0x410, 0x410, {"#"})});
    const std::vector<std::uint16_t> big = {0x410};
    MultiPasteOutcome o = pasteCharacters(small, beyond, big);
    EXPECT_EQ(o.pasted, 0);
    EXPECT_EQ(o.skipped, big);
    EXPECT_EQ(small.count(), 3);
}

TEST(MultiCopy, GridRowsAndPositions) {
    const Font ansi = ansiFont();
    EXPECT_EQ(multiCopyGridRows(ansi).size(), 16u);
    Font unicode;
    unicode.createFromScratch(0x41, 0x42, 2, 2, "U");
    unicode.addBlankGlyph(0x3042, 2);
    unicode.insertCode(0x3042, 0x3042);
    const std::vector<int> rows = multiCopyGridRows(unicode);
    EXPECT_EQ(rows, (std::vector<int>{4, 0x304}));
    EXPECT_EQ(gridPositionCode(rows, 1), 0x41);
    EXPECT_EQ(gridPositionCode(rows, 18), 0x3042);
    EXPECT_EQ(gridPositionCode(rows, 32), -1);
    EXPECT_EQ(gridPositionCode(rows, -1), -1);
}

}  // namespace
}  // namespace typeloom
