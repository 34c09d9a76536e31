#include "model/project_file.h"

#include <gtest/gtest.h>

#include "charset/encodings.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "project_bytes.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::Bytes;
using test::TempDir;

// A one-character Unicode font small enough to write out by hand: 'A', 3 x 2 pixels, and a
// table of two codes.
Font tinyFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    LogFont lf;
    lf.height = 10;
    lf.faceName = "Arial";
    font.setSourceFont(lf);
    font.faceName = "Arial";
    font.height = 2;
    font.fixedWidth = 3;
    font.maxWidth = 3;
    font.glyphs.insert(0x41, Glyph(0x41, 3, {1, 0, 0, 0, 1, 0}));
    font.insertCode(0x41, 0x41);
    font.charTable.codeOrder = {0x41};
    font.charTable.supportedSet = {0x41};
    font.charTable.committed.encoding = kEncodingUnicode;
    font.charTable.committed.codePage = 1252;
    font.charTable.committed.set(0x41, {0x41, true, true});
    font.charTable.committed.set(0x42, {0x42, false, false});
    font.charTable.editing = font.charTable.committed;
    return font;
}

Bytes tinyFontBytes() {
    Bytes b;
    b.header("FDCL", 0x0300, 0x0200);
    b.logFont(10, "Arial");
    b.u16(0).u16(3).u16(2).u16(0);  // point size, fixed width, height, ascent
    b.u32(0x00010001);              // encoding 1, 1 bit per pixel
    b.words({0x41});                // Unicode list; no code list for encoding 1
    b.u16(3).u16(1);                // maximum width, glyph count
    b.u16(0x41).glyph(0x41, 3, {1, 0, 0, 0, 1, 0});
    b.words({0x41}).words({0x41});  // code order, supported set
    b.u32(1).u32(1252).u32(2);
    b.u16(0x41).u32(0x00410101);  // Unicode 0x41, mapped, enabled
    b.u16(0x42).u32(0x00420000);
    return b;
}

Font readBack(const std::vector<std::uint8_t>& bytes) {
    Font font;
    NullProgressSink progress;
    readProject(bytes, font, progress);
    return font;
}

void expectSameFont(const Font& a, const Font& b) {
    EXPECT_EQ(a.sourceFont, b.sourceFont);
    EXPECT_EQ(a.faceName, b.faceName);
    EXPECT_EQ(a.pointSize, b.pointSize);
    EXPECT_EQ(a.fixedWidth, b.fixedWidth);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.ascent, b.ascent);
    EXPECT_EQ(a.encoding, b.encoding);
    EXPECT_EQ(a.maxWidth, b.maxWidth);
    EXPECT_EQ(a.unicodeList, b.unicodeList);
    EXPECT_EQ(a.codeList, b.codeList);
    EXPECT_TRUE(a.glyphs == b.glyphs);
    EXPECT_EQ(a.charTable.codeOrder, b.charTable.codeOrder);
    EXPECT_EQ(a.charTable.supportedSet, b.charTable.supportedSet);
    EXPECT_TRUE(a.charTable.committed == b.charTable.committed);
}

TEST(ProjectFile, WritesTheVersion3LayoutByteForByte) {
    EXPECT_EQ(projectBytes(tinyFont()), tinyFontBytes().bytes());
}

TEST(ProjectFile, ReadsHandAssembledVersion3) {
    Font font = readBack(tinyFontBytes().bytes());
    expectSameFont(font, tinyFont());
    EXPECT_TRUE(font.charTable.editing == font.charTable.committed);
}

TEST(ProjectFile, RoundTripKeepsEveryPartOfAnEncodingZeroFont) {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.height = 5;
    font.ascent = 4;
    font.pointSize = 7;
    LogFont lf;
    lf.height = -12;
    lf.weight = 700;
    lf.italic = 1;
    lf.charSet = 204;
    lf.faceName = "Caf\xC3\xA9 \xE4\xB8\x80";  // non-ASCII face name
    font.setSourceFont(lf);
    font.faceName = lf.faceName;
    font.charTable.buildFromUnicodeList(std::vector<std::uint16_t>{0x410, 0x411, 0x44F}, 204,
                                        kEncodingAnsi);
    font.rebuildFromTable();  // lists from the table, blank glyphs of width maxWidth (0)
    font.glyphs.insert(0x410, Glyph(0xC0, 4, std::vector<std::uint8_t>(20, 1)));
    font.glyphs.insert(0x7777, Glyph(0x7777, 2, std::vector<std::uint8_t>(10, 1)));
    font.updateFixedWidth();
    font.updateMaxWidth();
    ASSERT_EQ(font.codeList, (std::vector<std::uint16_t>{0xC0, 0xC1, 0xFF}));
    ASSERT_EQ(font.unicodeList, (std::vector<std::uint16_t>{0x410, 0x411, 0x44F}));

    Font back = readBack(projectBytes(font));
    expectSameFont(back, font);
    EXPECT_TRUE(back.glyphs.contains(0x7777));  // glyphs outside the lists are kept
}

TEST(ProjectFile, HandlesAllSixtyFiveThousandGlyphs) {
    Font font;
    font.createFromScratch(0, 0xFFFF, 2, 4, "Arial");
    font.glyphs.find(0xFFFF)->pixels[7] = 1;
    std::vector<std::uint8_t> bytes = projectBytes(font);
    // The header's high count field holds 1, the body's low count 0.
    EXPECT_EQ(bytes[8], 1);
    EXPECT_EQ(bytes[9] | bytes[10] | bytes[11], 0);
    Font back = readBack(bytes);
    EXPECT_EQ(back.glyphs.size(), 65536u);
    EXPECT_EQ(back.count(), 65536);
    EXPECT_EQ(back.glyphs.find(0xFFFF)->pixels[7], 1);
    expectSameFont(back, font);
}

TEST(ProjectFile, LongStringsUseTheWiderLengthForms) {
    for (std::size_t n : {254u, 255u, 300u, 70000u}) {
        SCOPED_TRACE(n);
        ByteWriter w;
        writeArchiveString(w, std::string(n, 'x'));
        const auto& b = w.data();
        ASSERT_GE(b.size(), 4u);
        EXPECT_EQ(b[0], 0xFF);
        EXPECT_EQ(b[1] | (b[2] << 8), 0xFFFE);
        if (n < 255) {
            EXPECT_EQ(b[3], n);
        } else if (n < 0xFFFE) {
            EXPECT_EQ(b[3], 0xFF);
            EXPECT_EQ(b[4] | (b[5] << 8), static_cast<int>(n));
        } else {
            EXPECT_EQ(b[3], 0xFF);
            EXPECT_EQ(b[4] | (b[5] << 8), 0xFFFF);
        }
        ByteReader r(b);
        EXPECT_EQ(readArchiveString(r).size(), n);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(ProjectFile, ReadsAnsiStringsWithoutTheUnicodeMarker) {
    Bytes b;
    b.u8(3).u8('C').u8(0x80).u8('!');  // windows-1252 0x80 is the euro sign
    ByteReader r(b.bytes());
    EXPECT_EQ(readArchiveString(r), "C\xE2\x82\xAC!");
    Bytes longer;
    longer.u8(0xFF).u16(300).text(std::string(300, 'a'));
    ByteReader r2(longer.bytes());
    EXPECT_EQ(readArchiveString(r2), std::string(300, 'a'));
}

TEST(ProjectFile, KeepsAtMost31CharactersOfAFaceName) {
    Bytes b;
    b.logFont(-16, std::string(40, 'F'));
    ByteReader r(b.bytes());
    EXPECT_EQ(readLogFont(r).faceName, std::string(31, 'F'));
}

// Version 2 of this edition: no glyph keys and no table; the table comes from the source font.
TEST(ProjectFile, ReadsHandAssembledVersion2) {
    Bytes b;
    b.header("FDCL", 0x0200, 0x0200);
    b.logFont(-16, "Mono");
    b.u16(9).u16(2).u16(3).u16(2);  // points, fixed width, height, ascent
    b.u32(1);
    b.words({0x41, 0x42});
    b.glyph(0x41, 2, {1, 1, 0, 0, 1, 1});
    b.glyph(0x42, 2, {0, 1, 0, 1, 0, 1});
    Font font = readBack(b.bytes());
    EXPECT_EQ(font.faceName, "Mono");
    EXPECT_EQ(font.pointSize, 9);
    EXPECT_EQ(font.height, 3);
    EXPECT_EQ(font.ascent, 2);
    EXPECT_EQ(font.encoding, 1u);
    EXPECT_EQ(font.bitsPerPixel, 1u);
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0x41, 0x42}));
    EXPECT_EQ(font.unicodeList, font.codeList);
    EXPECT_EQ(font.glyphs.find(0x42)->pixels, (std::vector<std::uint8_t>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(font.maxWidth, 2);
    // The listed values are enabled; other supported values are mapped, rendered, disabled.
    EXPECT_TRUE(font.charTable.committed.get(0x41).enabled);
    EXPECT_TRUE(font.charTable.committed.get(0x61).mapped);
    EXPECT_FALSE(font.charTable.committed.get(0x61).enabled);
    EXPECT_TRUE(font.glyphs.contains(0x61));
    EXPECT_FALSE(font.charTable.committed.get(0x4E00).mapped);
    EXPECT_EQ(font.charTable.codeOrder, (std::vector<std::uint16_t>{0x41, 0x42}));
}

TEST(ProjectFile, Version2WithACodeListTakesItsEncodingLast) {
    Bytes b;
    b.header("FDCL", 0x0200, 0x0200);
    b.logFont(-16, "Mono");
    b.u16(9).u16(1).u16(1).u16(1);
    b.u32(0);  // encoding 0: a code list follows the Unicode list
    b.words({0x20AC}).words({0x80});
    b.glyph(0x80, 1, {1});
    Font font = readBack(b.bytes());
    EXPECT_EQ(font.encoding, 0u);
    EXPECT_EQ(font.codeList, std::vector<std::uint16_t>{0x80});
    EXPECT_EQ(font.unicodeList, std::vector<std::uint16_t>{0x20AC});
}

TEST(ProjectFile, ReadsHandAssembledVersion20) {
    Bytes b;
    b.header("NOFW", 0x0220, 0x0220);
    b.logFont(-11, "Old", 204);
    b.ustr("Ignored name").ustr("Copyright 2014 by ...");
    b.u8(0xC0).u8(0xC1).u8(0xC0).u8(0xC0);  // first, last, default, break
    b.u16(2).u16(1).u16(2).u16(8);          // pixel height, width, ascent, points
    b.u16(0).u16(0);                        // leadings
    b.u8(0).u8(0).u8(0).u8(1);              // italic, underline, strike-out twice
    b.u16(400).u8(204).u8(0x31);            // weight, char set, pitch and family
    b.u16(0x300).u16(0).u16(96).u16(96).u16(1).u16(1);
    b.u32(1251);
    b.glyph(0xC0, 1, {1, 0});
    b.glyph(0xC1, 1, {0, 1});
    Font font = readBack(b.bytes());
    EXPECT_EQ(font.faceName, "Old");
    EXPECT_EQ(font.encoding, 0u);
    EXPECT_EQ(font.height, 2);
    EXPECT_EQ(font.fixedWidth, 1);
    EXPECT_EQ(font.pointSize, 8);
    EXPECT_EQ(font.fontHeader.strikeOut, 1);
    EXPECT_EQ(font.fontHeader.version, 0x300);
    EXPECT_EQ(font.codeList, (std::vector<std::uint16_t>{0xC0, 0xC1}));
    // windows-1251: 0xC0 is CYRILLIC CAPITAL A, 0xC1 CYRILLIC CAPITAL BE.
    EXPECT_EQ(font.unicodeList, (std::vector<std::uint16_t>{0x410, 0x411}));
    EXPECT_EQ(font.glyphs.find(0x411)->pixels, (std::vector<std::uint8_t>{0, 1}));
    EXPECT_TRUE(font.charTable.committed.get(0xC0).enabled);
    EXPECT_EQ(font.charTable.committed.get(0xC0).unicode, 0x410);
    EXPECT_FALSE(font.charTable.committed.get(0x41).enabled);
}

// Codes 32..126 without 65: 95 records, the one for 65 blank and 1 pixel wide unless the table
// ties 65 to a glyph that exists.
TEST(ProjectFile, Version20WritesOneRecordPerCodeOfTheRange) {
    for (bool tableHasGlyph : {false, true}) {
        SCOPED_TRACE(tableHasGlyph);
        Font font;
        font.setEncoding(kEncodingAnsi);
        font.height = 2;
        for (std::uint16_t c = 32; c <= 126; ++c) {
            if (c != 65) {
                font.insertCode(c, c);
                font.glyphs.insert(c, Glyph(c, 3, std::vector<std::uint8_t>(6, c & 1)));
            }
        }
        font.charTable.buildFromUnicodeList(font.unicodeList, 0, kEncodingAnsi);
        if (tableHasGlyph) {
            font.glyphs.insert(65, Glyph(65, 2, {1, 1, 1, 1}));
        }
        font.updateFixedWidth();
        font.updateMaxWidth();
        std::vector<std::uint8_t> bytes = projectBytesVer20(font);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "NOFW");
        EXPECT_EQ(bytes[4] | (bytes[5] << 8), 0x0220);
        EXPECT_EQ(bytes[6] | (bytes[7] << 8), 0x0220);

        Font back = readBack(bytes);
        EXPECT_EQ(back.count(), 95);
        ASSERT_TRUE(back.glyphs.contains(65));
        const Glyph& a = *back.glyphs.find(65);
        if (tableHasGlyph) {
            EXPECT_EQ(a.width, 2);
            EXPECT_EQ(a.pixels, (std::vector<std::uint8_t>{1, 1, 1, 1}));
        } else {
            EXPECT_EQ(a.width, 1);
            EXPECT_EQ(a.pixels, (std::vector<std::uint8_t>{0, 0}));
        }
        EXPECT_EQ(back.glyphs.find(66)->pixels, std::vector<std::uint8_t>(6, 0));
        EXPECT_EQ(back.glyphs.find(67)->pixels, std::vector<std::uint8_t>(6, 1));
        EXPECT_EQ(back.fontHeader.firstChar, 32);
        EXPECT_EQ(back.fontHeader.lastChar, 126);
    }
}

TEST(ProjectFile, NameCheckWantsATlfExtension) {
    EXPECT_TRUE(isProjectFileName("font.TLF"));
    EXPECT_TRUE(isProjectFileName("a.tlf"));
    EXPECT_FALSE(isProjectFileName(".tlf"));
    EXPECT_FALSE(isProjectFileName("font.tl"));
    EXPECT_FALSE(isProjectFileName("font.tlf.bak"));

    Font font = tinyFont();
    NullProgressSink progress;
    ProjectLoadResult r = loadProject("font.bdf", font, progress);
    EXPECT_EQ(r.status, ProjectLoadResult::Status::BadName);
    EXPECT_EQ(r.message,
              "Failed to open the file.\n\nThis is not a valid Typeloom document (*.tlf).");
}

TEST(ProjectFile, SuggestedNameUsesFaceNameAndHeight) {
    Font font;
    font.faceName = "Untitled";
    font.height = 12;
    EXPECT_EQ(suggestedProjectName(font), "Untitled12h");
    font.faceName = "My font-bold";
    EXPECT_EQ(suggestedProjectName(font), "My_font_bold12h");
}

// A font made from no installed font stores its own name as its description's face name, so
// the name comes back on reopen; a description holds 31 UTF-16 units, so a longer name comes
// back cut (and a surrogate pair is never cut in half).
TEST(ProjectFile, NewFontReloadsWithItsOwnName) {
    const struct {
        std::string name;
        std::string reloaded;
    } rows[] = {
        {"Demo", "Demo"},
        {"Untitled", "Untitled"},
        {std::string(31, 'n'), std::string(31, 'n')},
        {std::string(32, 'n'), std::string(31, 'n')},
        {std::string(30, 'n') + "\xF0\x9F\x98\x80", std::string(30, 'n')},
    };
    TempDir dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Font font;
        font.createFromScratch(32, 127, 12, 12, row.name);
        saveProject(dir.file("u.tlf"), font);
        Font loaded;
        NullProgressSink progress;
        ASSERT_TRUE(loadProject(dir.file("u.tlf"), loaded, progress).ok());
        EXPECT_EQ(loaded.faceName, row.reloaded);
        EXPECT_EQ(loaded.count(), 96);
    }
}

TEST(ProjectFile, LoadKeepsWhatTheFileDoesNotStore) {
    TempDir dir;
    saveProject(dir.file("t.tlf"), tinyFont());
    Font font;
    font.dataFormat = 0x12345678;
    font.fromSystemFont = true;
    font.charSet = 161;
    font.fontHeader.weight = 700;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(dir.file("t.tlf"), font, progress).ok());
    EXPECT_EQ(font.dataFormat, 0x12345678u);
    EXPECT_TRUE(font.fromSystemFont);
    EXPECT_EQ(font.charSet, 161);
    EXPECT_EQ(font.fontHeader.weight, 700);
    EXPECT_EQ(font.count(), 1);
}

TEST(ProjectFile, SaveReplacesAtomicallyAndAFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("keep.tlf");
    saveProject(path, tinyFont());
    const auto before = test::readFile(path);
    EXPECT_THROW(saveProject(dir.file("missing/keep.tlf"), tinyFont()), FileError);
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"keep.tlf"});
}

TEST(ProjectFile, ShowsProgressForManyGlyphs) {
    struct Recorder : NullProgressSink {
        int steps = 0;
        std::string last;
        void stepIt() override { ++steps; }
        void setText(const std::string& t) override { last = t; }
    };
    Font font;
    font.createFromScratch(0, 299, 1, 4, "p");
    Font back;
    Recorder progress;
    readProject(projectBytes(font), back, progress);
    EXPECT_EQ(progress.steps, 300 + 65536);  // glyphs, then the table's entries
    EXPECT_EQ(progress.last, "For Help, press F1");
}

}  // namespace
}  // namespace typeloom
