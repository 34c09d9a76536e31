#include "model/new_font.h"

#include <gtest/gtest.h>

#include "charset/encodings.h"
#include "model/font.h"

namespace typeloom {
namespace {

TEST(NewFontDialog, AcceptsTheInitialFields) {
    NewFontOutcome out = acceptNewFontDialog(NewFontFields{});
    ASSERT_TRUE(out.accepted);
    EXPECT_EQ(out.params.name, "Untitled");
    EXPECT_EQ(out.params.first, 32);
    EXPECT_EQ(out.params.last, 127);
    EXPECT_EQ(out.params.width, 12);
    EXPECT_EQ(out.params.height, 12);
}

TEST(NewFontDialog, RefusesEachFieldOutsideItsRangeInDialogOrder) {
    struct Row {
        const char* what;
        NewFontFields fields;
        NewFontField focus;
        const char* message;
    };
    auto with = [](auto change) {
        NewFontFields f;
        change(f);
        return f;
    };
    const Row rows[] = {
        {"name of 33", with([](auto& f) { f.name = std::string(33, 'x'); }), NewFontField::Name,
         "Please enter no more than 32 characters."},
        {"from 65535", with([](auto& f) { f.first = "65535"; }), NewFontField::First,
         "Please enter an integer between 0 and 65534."},
        {"to 0", with([](auto& f) { f.last = "0"; }), NewFontField::Last,
         "Please enter an integer between 1 and 65535."},
        {"to 65536", with([](auto& f) { f.last = "65536"; }), NewFontField::Last,
         "Please enter an integer between 1 and 65535."},
        {"width 0", with([](auto& f) { f.width = "0"; }), NewFontField::Width,
         "Please enter an integer between 1 and 512."},
        {"width 513", with([](auto& f) { f.width = "513"; }), NewFontField::Width,
         "Please enter an integer between 1 and 512."},
        {"height 3", with([](auto& f) { f.height = "3"; }), NewFontField::Height,
         "Please enter an integer between 4 and 512."},
        {"height not a number", with([](auto& f) { f.height = "12a"; }), NewFontField::Height,
         "Please enter an integer between 4 and 512."},
        {"from and width both bad: from first",
         with([](auto& f) { f.first = "-1", f.width = "0"; }), NewFontField::First,
         "Please enter an integer between 0 and 65534."},
        {"65 to 65", with([](auto& f) { f.first = "65", f.last = "65"; }), NewFontField::Last,
         "Last character must be larger than First character"},
        {"from above to", with([](auto& f) { f.first = "200", f.last = "100"; }),
         NewFontField::Last, "Last character must be larger than First character"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NewFontOutcome out = acceptNewFontDialog(row.fields);
        EXPECT_FALSE(out.accepted);
        EXPECT_EQ(out.focus, row.focus);
        EXPECT_EQ(out.message, row.message);
    }
}

TEST(NewFontDialog, BlankNameBecomesUntitledAndEdgesAreAccepted) {
    NewFontFields f;
    f.name = "   ";
    f.first = "0";
    f.last = "65535";
    f.width = "512";
    f.height = "4";
    NewFontOutcome out = acceptNewFontDialog(f);
    ASSERT_TRUE(out.accepted);
    EXPECT_EQ(out.params.name, "Untitled");
    EXPECT_EQ(out.params.last, 0xFFFF);
    f.name = std::string(32, 'n');
    EXPECT_TRUE(acceptNewFontDialog(f).accepted);
}

TEST(CreateFromScratch, MakesBlankFixedWidthCharacters) {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch(32, 127, 12, 12, "Demo");
    EXPECT_EQ(font.count(), 96);
    EXPECT_EQ(font.glyphs.size(), 96u);
    EXPECT_EQ(font.ascent, 10);
    EXPECT_EQ(font.fixedWidth, 12);
    EXPECT_EQ(font.height, 12);
    EXPECT_EQ(font.faceName, "Demo");
    EXPECT_EQ(font.sourceFont.faceName, "Demo");
    EXPECT_EQ(font.sourceFont.height, 10);
    EXPECT_FALSE(font.fromSystemFont);
    EXPECT_EQ(font.codeList, font.unicodeList);
    EXPECT_EQ(font.codeAt(0), 32);
    EXPECT_EQ(font.codeAt(95), 127);
    const Glyph* a = font.glyphs.find('A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->code, 'A');
    EXPECT_EQ(a->pixels, std::vector<std::uint8_t>(144, 0));
    font.updateMaxWidth();
    EXPECT_EQ(font.maxWidth, 12);
    // The table: every code of the space, only the font's codes mapped and enabled.
    EXPECT_EQ(font.charTable.committed.size(), 65536u);
    EXPECT_EQ(font.charTable.enabledCount(), 96u);
    EXPECT_EQ(font.charTable.mappedCount(), 96u);
    EXPECT_EQ(font.charTable.supportedSet, font.unicodeList);
    EXPECT_EQ(font.charTable.editing, font.charTable.committed);
}

TEST(CreateFromScratch, KeepsTheHeaderAndDoesNotLowerMaxWidth) {
    Font font;
    font.fontHeader.copyright[0] = 'C';
    font.maxWidth = 30;
    font.createFromScratch(0, 0xFFFF, 16, 16, "All");
    EXPECT_EQ(font.count(), 65536);
    EXPECT_EQ(font.glyphs.size(), 65536u);
    EXPECT_EQ(font.maxWidth, 30);
    EXPECT_EQ(font.fontHeader.copyright[0], 'C');
}

TEST(CreateFromScratch, OtherEncodingsConvertCodesThroughTheirCodePage) {
    Font font;
    font.setEncoding(kEncodingShiftJis);
    font.createFromScratch(0x829F, 0x82A1, 8, 8, "Kana");
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x829F, 0x82A0, 0x82A1}));
    EXPECT_EQ(font.unicodeList, (std::vector<std::uint16_t>{0x3041, 0x3042, 0x3043}));
    EXPECT_TRUE(font.glyphs.contains(0x3042));
    EXPECT_EQ(font.charTable.committed.get(0x82A0).unicode, 0x3042);
    EXPECT_TRUE(font.charTable.committed.get(0x82A0).enabled);
}

}  // namespace
}  // namespace typeloom
