#include "charset/character_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "model/font.h"
#include "test_support.h"

using namespace typeloom;

namespace {

// Double-byte tables with only the given Shift_JIS entries (Unicode value -> code).
DbcsTables shiftJisTables(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> entries) {
    std::array<std::vector<std::uint16_t>, 4> tables;
    tables[0].assign(DbcsTables::kEntries, DbcsTables::kNone);
    for (auto [u, code] : entries) {
        tables[0][u] = code;
    }
    test::TempDir dir;
    test::writeFile(dir.file("t.dat"), DbcsTables::serialize(tables));
    DbcsTables dbcs;
    EXPECT_EQ(dbcs.load(dir.file("t.dat")), std::nullopt);
    return dbcs;
}

std::vector<std::uint16_t> enabledCodes(const CodeMap& map) {
    std::vector<std::uint16_t> codes;
    map.forEach([&](std::uint16_t code, CodeEntry e) {
        if (e.enabled) {
            codes.push_back(code);
        }
    });
    return codes;
}

std::vector<std::uint16_t> codesFrom(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint16_t> codes;
    for (std::uint32_t c = first; c <= last; ++c) {
        codes.push_back(static_cast<std::uint16_t>(c));
    }
    return codes;
}

CodeEntry entry(std::uint16_t unicode, bool mapped, bool enabled) {
    return {unicode, mapped, enabled};
}

CharacterTable ansiTable(std::vector<std::uint16_t> supported, std::uint8_t charSet = 0) {
    CharacterTable t;
    t.buildFromSystemFont(std::move(supported), charSet, kEncodingAnsi, DbcsTables::program());
    return t;
}

}  // namespace

TEST(CharacterTable, SupportedSetOfScalableFontAddsLatin1ToItsRanges) {
    using Ranges = std::vector<std::pair<std::uint16_t, std::uint32_t>>;
    Ranges ranges = {{0x3040, 3}, {0x41, 2}, {0xFFFE, 5}};
    std::vector<std::uint16_t> expected = codesFrom(0, 0xFF);
    for (std::uint16_t u : {0x3040, 0x3041, 0x3042, 0xFFFE, 0xFFFF}) {
        expected.push_back(u);
    }
    EXPECT_EQ(CharacterTable::supportedSetOf(true, ranges, 0), expected);

    // Without ranges (or not scalable) the set is what the character set's bytes stand for.
    for (bool scalable : {true, false}) {
        auto set = CharacterTable::supportedSetOf(scalable, scalable ? Ranges{} : ranges, 204);
        EXPECT_EQ(set.size(), 256u);
        EXPECT_TRUE(std::is_sorted(set.begin(), set.end()));
        EXPECT_TRUE(std::binary_search(set.begin(), set.end(), 0x0410));
        EXPECT_FALSE(std::binary_search(set.begin(), set.end(), 0xC0));
    }
}

TEST(CharacterTable, EncodingZeroHasAllBytesWithControlCodesDisabled) {
    CharacterTable t = ansiTable({0x0A, 0x41, 0x0410, 0x20AC}, 204);  // windows-1251
    EXPECT_EQ(t.committed.size(), 256u);
    EXPECT_EQ(t.codeOrder, codesFrom(0, 0xFF));
    EXPECT_EQ(t.committed.codePage, 1251);
    EXPECT_EQ(t.committed.get(0x41), entry(0x41, true, true));
    EXPECT_EQ(t.committed.get(0xC0), entry(0x0410, true, true));
    EXPECT_EQ(t.committed.get(0xC1), entry(0x0411, false, false));
    EXPECT_EQ(t.committed.get(0x0A), entry(0x0A, true, false));
    EXPECT_EQ(t.committed.get(0x88), entry(0x20AC, true, false));
    EXPECT_EQ(enabledCodes(t.committed), (std::vector<std::uint16_t>{0x41, 0xC0}));
    EXPECT_TRUE(t.editing == t.committed);
}

TEST(CharacterTable, UnicodeBuildMapsControlCodesButStartsThemDisabled) {
    CharacterTable t;
    t.buildFromSystemFont({0x0A, 0x41, 0x85, 0x4E00}, 0, kEncodingUnicode, DbcsTables::program());
    EXPECT_EQ(t.committed.size(), 0x10000u);
    EXPECT_EQ(t.codeOrder, codesFrom(0, 0xFFFF));
    EXPECT_EQ(t.committed.get(0x0A), entry(0x0A, true, false));
    EXPECT_EQ(t.committed.get(0x85), entry(0x85, true, false));
    EXPECT_EQ(t.committed.get(0x42), entry(0x42, false, false));
    EXPECT_EQ(t.committed.get(0xFFFF), entry(0xFFFF, false, false));
    EXPECT_EQ(enabledCodes(t.committed), (std::vector<std::uint16_t>{0x41, 0x4E00}));
}

TEST(CharacterTable, DoubleByteBuildTiesCodesAndLaterCharacterWinsASharedCode) {
    DbcsTables dbcs =
        shiftJisTables({{0x41, 0x41}, {0x3041, 0x8300}, {0x3042, 0x82A2}, {0x3043, 0x82A2}});
    CharacterTable t;
    t.buildFromSystemFont({0x41, 0x3041, 0x3042, 0x3043, 0x4E00}, 128, kEncodingShiftJis, dbcs);
    EXPECT_EQ(t.committed.codePage, 932);
    EXPECT_EQ(t.committed.size(), 0x10000u);
    EXPECT_EQ(t.codeOrder, (std::vector<std::uint16_t>{0x41, 0x82A2, 0x8300}));
    EXPECT_EQ(t.committed.get(0x82A2), entry(0x3043, true, true));
    EXPECT_EQ(t.committed.get(0x8300), entry(0x3041, true, true));
    EXPECT_EQ(t.committed.get(0x1234), entry(0, false, false));

    // Through the real tables: U+3042 is Shift_JIS 0x82A0.
    t.buildFromSystemFont({0x3042}, 128, kEncodingShiftJis, DbcsTables::program());
    EXPECT_EQ(t.codeOrder, std::vector<std::uint16_t>{0x82A0});
}

TEST(CharacterTable, BuildFromCodeListsFillsTheCodeSpace) {
    CharacterTable t;
    t.buildFromCodeLists(std::vector<std::uint16_t>{0x0A, 0x41}, {}, kEncodingUnicode);
    EXPECT_EQ(t.committed.size(), 0x10000u);
    EXPECT_EQ(enabledCodes(t.committed), (std::vector<std::uint16_t>{0x0A, 0x41}));

    t.buildFromCodeLists(std::vector<std::uint16_t>{0x41, 0x80},
                         std::vector<std::uint16_t>{0x41, 0x20AC}, kEncodingAnsi);
    EXPECT_EQ(t.committed.codePage, 1252);
    EXPECT_EQ(t.codeOrder, codesFrom(0, 0xFF));
    EXPECT_EQ(t.committed.get(0x80), entry(0x20AC, true, true));
    EXPECT_EQ(t.committed.get(0xC0), entry(0xC0, false, false));
    EXPECT_EQ(t.committed.get(0x81), entry(0x81, false, false));

    t.buildFromCodeLists(std::vector<std::uint16_t>{0x82A0}, std::vector<std::uint16_t>{0x3042},
                         kEncodingShiftJis);
    EXPECT_EQ(t.committed.size(), 0x10000u);
    EXPECT_EQ(t.committed.get(0x82A0), entry(0x3042, true, true));
    EXPECT_EQ(t.committed.get(0x829F), entry(0x3041, false, false));
    EXPECT_TRUE(t.editing == t.committed);

    for (auto [encoding, page] : {std::pair{3, 950}, std::pair{4, 936}, std::pair{5, 949}}) {
        t.buildFromCodeLists({}, {}, encoding);
        EXPECT_EQ(t.committed.codePage, page) << encoding;
    }
}

TEST(CharacterTable, EditsReturnExactlyTheChangedCodesAndKeepUnicodeAndMapped) {
    CharacterTable t = ansiTable(codesFrom(0x20, 0x7E));
    std::vector<std::uint32_t> before(256);
    for (int c = 0; c < 256; ++c) {
        before[c] = t.editing.packed(static_cast<std::uint16_t>(c)) >> 8;
    }
    using Codes = std::vector<std::uint16_t>;
    EXPECT_EQ(t.enableCode(0x41), Codes{});
    EXPECT_EQ(t.disableCode(0x41), Codes{0x41});
    EXPECT_EQ(t.disableCode(0x41), Codes{});
    EXPECT_EQ(t.toggleCode(0x41), Codes{0x41});
    EXPECT_TRUE(t.editing.get(0x41).enabled);
    EXPECT_EQ(t.enableCode(0x100), Codes{});  // no such code in encoding 0
    EXPECT_EQ(t.toggleCode(0x100), Codes{});
    EXPECT_EQ(t.editing.size(), 256u);
    EXPECT_EQ(t.setRowEnabled(7, false), codesFrom(0x70, 0x7E));
    EXPECT_EQ(t.setRowEnabled(0, true), codesFrom(0x00, 0x0F));
    EXPECT_EQ(t.setRangeEnabled(0x0E, 0x12, false), (Codes{0x0E, 0x0F}));
    EXPECT_EQ(t.setRowEnabled(-1, true), Codes{});
    EXPECT_EQ(t.setRowEnabled(4096, true), Codes{});

    Codes expected = codesFrom(0x0E, 0x1F);
    for (std::uint16_t c : codesFrom(0x70, 0xFF)) {
        expected.push_back(c);
    }
    EXPECT_EQ(t.setAllEnabled(true), expected);
    EXPECT_EQ(t.setAllEnabled(true), Codes{});
    EXPECT_EQ(enabledCodes(t.editing), codesFrom(0, 0xFF));
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(t.editing.packed(static_cast<std::uint16_t>(c)) >> 8, before[c]) << c;
    }
}

TEST(CharacterTable, RangesReachTheLastCodeOfTheUnicodeSpace) {
    CharacterTable t;
    t.buildFromCodeLists({}, {}, kEncodingUnicode);
    EXPECT_EQ(t.setRowEnabled(4095, true), codesFrom(0xFFF0, 0xFFFF));
    EXPECT_EQ(t.setAllEnabled(true).size(), 0x10000u - 16);
    EXPECT_EQ(t.setRangeEnabled(0xFFFF, 0xFFFF, false), std::vector<std::uint16_t>{0xFFFF});
}

TEST(CharacterTable, SwitchingEncodingAndBackDiscardsManualEdits) {
    CharacterTable t = ansiTable({0x0A, 0x41, 0x42});
    t.disableCode(0x41);
    t.enableCode(0x0A);
    t.enableCode(0x43);

    t.setEditingEncoding(kEncodingUnicode, DbcsTables::program());
    EXPECT_EQ(t.editing.encoding, kEncodingUnicode);
    EXPECT_EQ(t.editing.size(), 0x10000u);
    EXPECT_EQ(t.editing.get(0x0A), entry(0x0A, true, false));
    EXPECT_EQ(enabledCodes(t.editing), (std::vector<std::uint16_t>{0x41, 0x42}));
    EXPECT_EQ(t.committed.encoding, kEncodingAnsi);

    t.setEditingEncoding(kEncodingAnsi, DbcsTables::program());
    EXPECT_TRUE(t.editing == t.committed);
}

TEST(CharacterTable, SwitchingToDoubleByteMarksCodesWithoutCharacter) {
    DbcsTables dbcs = shiftJisTables({{0x0A, 0x0A}, {0x3042, 0x82A0}});
    CharacterTable t;
    t.buildFromSystemFont({0x0A, 0x3042}, 0, kEncodingAnsi, dbcs);
    t.setEditingEncoding(kEncodingShiftJis, dbcs);
    EXPECT_EQ(t.editing.get(0x82A0), entry(0x3042, true, true));
    EXPECT_EQ(t.editing.get(0x0A), entry(0x0A, true, false));
    EXPECT_EQ(t.editing.get(0x1234), entry(0xFFFF, false, false));
    EXPECT_EQ(t.enableCode(0x1234), std::vector<std::uint16_t>{0x1234});
}

TEST(CharacterTable, AnotherScriptRebuildsWithItsCodePageTheSameScriptKeepsEdits) {
    CharacterTable t = ansiTable({0x0A, 0x41, 0xC0, 0x0410});
    t.disableCode(0x41);
    t.setEditingScript(0);
    EXPECT_FALSE(t.editing.get(0x41).enabled);

    t.setEditingScript(204);
    EXPECT_EQ(t.editing.codePage, 1251);
    EXPECT_EQ(t.editing.size(), 256u);
    EXPECT_EQ(t.editing.get(0x0A), entry(0x0A, true, false));
    EXPECT_EQ(t.editing.get(0xC0), entry(0x0410, true, true));
    EXPECT_EQ(t.editing.get(0xE0), entry(0x0430, false, false));
    EXPECT_EQ(enabledCodes(t.editing), (std::vector<std::uint16_t>{0x41, 0xC0}));

    // Encoding 0 is rebuilt in the editing map's own code page.
    t.setEditingEncoding(kEncodingUnicode, DbcsTables::program());
    t.setEditingEncoding(kEncodingAnsi, DbcsTables::program());
    EXPECT_EQ(t.editing.get(0xC0), entry(0x0410, true, true));
}

TEST(CharacterTable, IsEditedNeedsAnEnabledEntryAndADifference) {
    CharacterTable t = ansiTable({0x41, 0x42});
    EXPECT_FALSE(t.isEdited());
    t.disableCode(0x41);
    EXPECT_TRUE(t.isEdited());
    t.enableCode(0x41);
    EXPECT_FALSE(t.isEdited());
    t.setAllEnabled(false);
    EXPECT_FALSE(t.isEdited());
    t.beginEditing();
    t.setEditingScript(204);
    EXPECT_TRUE(t.isEdited());
}

namespace {

// A fixed-width font of blank 6x8 characters for codes 0x20..0x7E in encoding 0.
Font asciiFont() {
    Font font;
    font.encoding = kEncodingAnsi;
    font.createFromScratch(0x20, 0x7E, 6, 8, "Test");
    return font;
}

}  // namespace

TEST(CharacterTableCommit, NothingIsCommittedWithoutChangeOrWithEverythingDisabled) {
    for (bool disableAll : {false, true}) {
        SCOPED_TRACE(disableAll);
        Font font = asciiFont();
        const Font before = font;
        font.charTable.beginEditing();
        if (disableAll) {
            font.charTable.setAllEnabled(false);
        }
        EXPECT_FALSE(font.commitCharacterTable(0));
        EXPECT_EQ(font.codeList, before.codeList);
        EXPECT_EQ(font.unicodeList, before.unicodeList);
        EXPECT_TRUE(font.charTable.committed == before.charTable.committed);
        EXPECT_EQ(font.charTable.codeOrder.size(), 256u);  // a commit keeps only enabled codes
    }
}

TEST(CharacterTableCommit, NewlyEnabledCodeGetsABlankCharacterOfTheFontWidth) {
    Font font = asciiFont();
    font.charTable.beginEditing();
    font.charTable.enableCode(0xC0);
    ASSERT_TRUE(font.commitCharacterTable(0));
    ASSERT_EQ(font.codeList.back(), 0xC0);
    EXPECT_EQ(font.unicodeList.back(), 0xC0);
    EXPECT_EQ(font.count(), 0x7E - 0x20 + 2);
    EXPECT_EQ(font.charTable.committed.get(0xC0), entry(0xC0, true, true));
    EXPECT_EQ(font.charTable.codeOrder, font.codeList);
    ASSERT_NE(font.glyphs.find(0xC0), nullptr);
    EXPECT_EQ(font.glyphs.find(0xC0)->width, 6);
    EXPECT_EQ(font.glyphs.find(0xC0)->pixels, std::vector<std::uint8_t>(48, 0));
    EXPECT_EQ(font.fixedWidth, 6);

    // In a variable-width font a new character takes the maximum width.
    font.setGlyph(0x41, 9, std::vector<std::uint8_t>(72, 1));
    font.updateFixedWidth();
    font.updateMaxWidth();
    font.charTable.beginEditing();
    font.charTable.enableCode(0xC1);
    ASSERT_TRUE(font.commitCharacterTable(0));
    ASSERT_NE(font.glyphs.find(0xC1), nullptr);
    EXPECT_EQ(font.glyphs.find(0xC1)->width, 9);
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(font.maxWidth, 9);
}

TEST(CharacterTableCommit, DisabledCodesKeepTheirCharactersForLater) {
    Font font = asciiFont();
    const std::vector<std::uint8_t> inked(48, 1);
    font.setGlyph(0x42, 6, inked);
    font.charTable.beginEditing();
    font.charTable.disableCode(0x42);
    ASSERT_TRUE(font.commitCharacterTable(0));
    EXPECT_EQ(font.indexOfCode(0x42), -1);
    EXPECT_TRUE(font.glyphs.contains(0x42));

    font.charTable.beginEditing();
    font.charTable.enableCode(0x42);
    ASSERT_TRUE(font.commitCharacterTable(0));
    ASSERT_GE(font.indexOfCode(0x42), 0);
    EXPECT_EQ(font.glyphs.find(0x42)->pixels, inked);
}

TEST(CharacterTableCommit, CommitSetsScriptAndEncoding) {
    Font font = asciiFont();
    font.charTable.beginEditing();
    font.charTable.setEditingScript(204);
    ASSERT_TRUE(font.commitCharacterTable(204));
    EXPECT_EQ(font.sourceFont.charSet, 204);
    EXPECT_EQ(font.charTable.committed.codePage, 1251);
    EXPECT_EQ(font.codeList, codesFrom(0x20, 0x7E));

    font.charTable.beginEditing();
    font.charTable.setEditingEncoding(kEncodingUnicode, DbcsTables::program());
    ASSERT_TRUE(font.commitCharacterTable(0));  // the script only applies to encoding 0
    EXPECT_EQ(font.sourceFont.charSet, 204);
    EXPECT_EQ(font.encoding, 1u);
    EXPECT_EQ(font.charTable.encoding(), kEncodingUnicode);
    EXPECT_EQ(font.codeList, codesFrom(0x20, 0x7E));
    EXPECT_EQ(font.unicodeList, font.codeList);
}
