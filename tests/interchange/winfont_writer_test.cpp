// Windows font export: the .fnt and .fon files are read back with FreeType's Windows font
// driver and every glyph is compared; header fields are checked against values worked out by
// hand from the layout.

#include "interchange/winfont_writer.h"

#include <gtest/gtest.h>

#include <map>

#include "charset/encodings.h"
#include "common/file_error.h"
#include "freetype_reference.h"
#include "interchange/font_import.h"
#include "interchange_test_support.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::TempDir;
using Art = std::vector<std::string>;

std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return u16At(b, at) | (std::uint32_t{u16At(b, at + 2)} << 16);
}

// Codes 0x41-0x45 without 0x43, of widths 5, 12, 17 and 3, five rows high.
Font variableFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x41, 0x45, 6, 5, "Test Face");
    test::setGlyphArt(font, 0x41, {"..#..", ".#.#.", "#...#", "#####", "#...#"});
    test::setGlyphArt(
        font, 0x42,
        {"#..........#", ".#........#.", "..########..", ".#........#.", "#..........#"});
    test::setGlyphArt(font, 0x44,
                      {"#...............#", "#################", ".................",
                       "#.#.#.#.#.#.#.#.#", "................#"});
    test::setGlyphArt(font, 0x45, {"###", "#.#", "###", "#.#", "###"});
    font.codeList.erase(font.codeList.begin() + 2);
    font.unicodeList.erase(font.unicodeList.begin() + 2);
    font.updateFixedWidth();
    font.updateMaxWidth();
    font.fontHeader.defaultChar = 0x42;
    font.fontHeader.vertRes = 96;
    font.fontHeader.horizRes = 96;
    font.fontHeader.weight = 400;
    return font;
}

const Art kFramedB = {"############", "##........##", "#.########.#", "##........##",
                      "############"};

TEST(WinFontWriter, Version2HeaderAndTableFollowTheLayout) {
    const Font font = variableFont();
    const std::vector<std::uint8_t> b = fntBytes(font);
    // Stripes: 1 + 2 + 2 (the framed default) + 3 + 1, one blank, padded to 12 -> 60 bytes.
    ASSERT_EQ(b.size(), 212u);
    EXPECT_EQ(u16At(b, 0), 0x0200);
    EXPECT_EQ(u32At(b, 2), 212u);
    EXPECT_EQ(std::string(b.begin() + 6, b.begin() + 6 + 40), kDefaultFntCopyright);
    EXPECT_EQ(b[6 + 40], 0);
    EXPECT_EQ(u16At(b, 68), 3);   // points: 5 x 72 / 96
    EXPECT_EQ(u16At(b, 70), 96);  // vertical resolution as it stands
    EXPECT_EQ(u16At(b, 74), 3);   // ascent
    EXPECT_EQ(u16At(b, 76), 2);   // internal leading: height - ascent
    EXPECT_EQ(u16At(b, 78), 3);   // external leading: the ascent
    EXPECT_EQ(u16At(b, 83), 400);
    EXPECT_EQ(u16At(b, 86), 0);  // variable width
    EXPECT_EQ(u16At(b, 88), 5);
    EXPECT_EQ(b[90] & 0x0F, 1);
    EXPECT_EQ(u16At(b, 91), 5);   // no 'X': the first character's width
    EXPECT_EQ(u16At(b, 93), 17);  // maximum width
    EXPECT_EQ(b[95], 0x41);
    EXPECT_EQ(b[96], 0x45);
    EXPECT_EQ(b[97], 0x42);
    EXPECT_EQ(b[98], 0x41);  // break character 0 lies outside: the first character
    EXPECT_EQ(u16At(b, 99), 12);
    EXPECT_EQ(u32At(b, 101), 0u);
    EXPECT_EQ(u32At(b, 105), 202u);
    EXPECT_EQ(u32At(b, 109), 0u);
    EXPECT_EQ(u32At(b, 113), 142u);
    EXPECT_EQ(b[117], 0);
    const std::uint16_t table[][2] = {{5, 142},  {12, 147}, {12, 157},
                                      {17, 167}, {3, 182},  {8, 187}};
    for (std::size_t k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(u16At(b, 118 + 4 * k), table[k][0]);
        EXPECT_EQ(u16At(b, 120 + 4 * k), table[k][1]);
    }
    // 'A' is one stripe: rows ..#.. .#.#. #...# ##### #...#
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 142, b.begin() + 147),
              (std::vector<std::uint8_t>{0x20, 0x50, 0x88, 0xF8, 0x88}));
    // The blank stripe and the padding stripes are zero.
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 187, b.begin() + 202),
              std::vector<std::uint8_t>(15, 0));
    EXPECT_EQ(std::string(b.begin() + 202, b.end()), std::string("Test Face") + '\0');
}

TEST(WinFontWriter, FixedWidthFontsSetPitchAndWidths) {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x30, 0x5A, 7, 9, "Mono");
    font.fontHeader.pitchAndFamily = 0x35;
    const std::vector<std::uint8_t> b = fntBytes(font);
    EXPECT_EQ(u16At(b, 86), 7);
    EXPECT_EQ(b[90], 0x32);  // family kept, pitch bits 2
    EXPECT_EQ(u16At(b, 91), 7);
    EXPECT_EQ(u16At(b, 93), 7);
    // Variable width: the average is the width of 'X'.
    Font variable = font;
    variable.glyphs.find(0x58)->init(0x58, 4, 9);
    variable.updateFixedWidth();
    variable.updateMaxWidth();
    const std::vector<std::uint8_t> v = fntBytes(variable);
    EXPECT_EQ(v[90], 0x31);
    EXPECT_EQ(u16At(v, 91), 4);
}

// Compares the glyphs FreeType reads with the font's, code by code; missing codes against
// `missing`.
void expectSameGlyphs(const test::ReferenceFace& face, const Font& font, int first, int last,
                      const std::map<int, Art>& missing) {
    ASSERT_TRUE(face.ok) << face.error;
    ASSERT_EQ(face.glyphCount, last - first + 2);
    for (int code = first; code <= last; ++code) {
        SCOPED_TRACE(code);
        // The Windows font driver numbers the characters from 1; glyph 0 is the default.
        const test::ReferenceGlyph& g = face.glyphs[static_cast<std::size_t>(code - first + 1)];
        const int index = font.indexOfCode(static_cast<std::uint16_t>(code));
        const Art expected = index >= 0
                                 ? glyphArt(font, static_cast<std::uint16_t>(font.unicodeAt(index)))
                                 : missing.at(code);
        EXPECT_EQ(g.rows, expected);
    }
}

TEST(WinFontWriter, FreeTypeReadsTheVersion2File) {
    const Font font = variableFont();
    const test::ReferenceFace face = test::freetypeFace(fntBytes(font));
    expectSameGlyphs(face, font, 0x41, 0x45, {{0x43, kFramedB}});
    EXPECT_EQ(face.family, "Test Face");
}

Font largeFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x20, 0xFF, 40, 64, "Large");
    font.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
        for (std::size_t i = 0; i < g.pixels.size(); ++i) {
            g.pixels[i] = (i * 7 + key) % 5 == 0 ? 1 : 0;
        }
    });
    return font;
}

TEST(WinFontWriter, LargeFontsBecomeVersion3) {
    const Font font = largeFont();
    const std::vector<std::uint8_t> b = fntBytes(font);
    // 224 characters of 5 stripes and a blank one, padded to 1124 stripes of 64 bytes.
    const std::size_t tableEnd = 148 + 225 * 6;
    ASSERT_EQ(b.size(), tableEnd + 1124 * 64 + 6);
    EXPECT_EQ(u16At(b, 0), 0x0300);
    EXPECT_EQ(u32At(b, 113), tableEnd);
    EXPECT_EQ(u32At(b, 118), 1u);  // flags: fixed
    EXPECT_EQ(u16At(b, 148), 40);
    EXPECT_EQ(u32At(b, 150), tableEnd);
    EXPECT_EQ(u16At(b, 148 + 224 * 6), 8);
    EXPECT_EQ(u32At(b, 150 + 224 * 6), tableEnd + 224 * 5 * 64);
    expectSameGlyphs(test::freetypeFace(b), font, 0x20, 0xFF, {});
}

TEST(WinFontWriter, WriteThenImportGivesTheSameCharacters) {
    TempDir dir;
    const Font font = variableFont();
    ASSERT_TRUE(writeFnt(font, dir.file("out.fnt")).ok);
    Font back;
    ASSERT_TRUE(importFontResource(dir.file("out.fnt"), back).ok());
    EXPECT_EQ(back.codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0x43, 0x44, 0x45}));
    for (std::uint16_t u : font.unicodeList) {
        SCOPED_TRACE(u);
        EXPECT_EQ(glyphArt(back, u), glyphArt(font, u));
    }
    EXPECT_EQ(glyphArt(back, 0x43), kFramedB);
    EXPECT_EQ(back.faceName, "Test Face");
    EXPECT_EQ(back.ascent, 3);
}

// What is written reads back: every ascent from 0 to the height, with the internal leading
// left to the writer (height - ascent, more than an ascent under half the height) or kept
// from an earlier font (4), imports again as .fnt and .fon with the same characters and
// metrics, and FreeType reads the same glyphs.
TEST(WinFontWriter, EveryAscentImportsAgain) {
    TempDir dir;
    for (const std::uint16_t leading : {0, 4}) {
        for (std::int16_t ascent = 0; ascent <= 5; ++ascent) {
            for (const bool fon : {false, true}) {
                SCOPED_TRACE(testing::Message() << "ascent " << ascent << " leading " << leading
                                                << (fon ? " .fon" : " .fnt"));
                Font font = variableFont();
                font.ascent = ascent;
                font.fontHeader.internalLeading = leading;
                const std::vector<std::uint8_t> b = fon ? fonBytes(font) : fntBytes(font);
                expectSameGlyphs(test::freetypeFace(b), font, 0x41, 0x45, {{0x43, kFramedB}});
                const std::string path = dir.file(fon ? "a.fon" : "a.fnt");
                test::writeFile(path, b);
                Font back;
                const ImportOutcome outcome = importFontResource(path, back);
                ASSERT_TRUE(outcome.ok()) << outcome.detail;
                EXPECT_EQ(back.height, font.height);
                EXPECT_EQ(back.ascent, ascent);
                EXPECT_EQ(back.fixedWidth, font.fixedWidth);
                for (std::uint16_t u : font.unicodeList) {
                    EXPECT_EQ(glyphArt(back, u), glyphArt(font, u)) << u;
                }
            }
        }
    }
}

TEST(WinFontWriter, LibraryHoldsTheFontForFreeType) {
    const Font font = variableFont();
    const std::vector<std::uint8_t> b = fonBytes(font);
    expectSameGlyphs(test::freetypeFace(b), font, 0x41, 0x45, {{0x43, kFramedB}});
    // And for the product's own reader.
    TempDir dir;
    test::writeFile(dir.file("t.fon"), b);
    Font back;
    ASSERT_TRUE(importFontResource(dir.file("t.fon"), back).ok());
    EXPECT_EQ(glyphArt(back, 0x44), glyphArt(font, 0x44));
}

TEST(WinFontWriter, LibraryLayoutAndChecksums) {
    const Font font = variableFont();
    const std::vector<std::uint8_t> fnt = fntBytes(font);
    std::vector<std::uint8_t> b = fonBytes(font);
    EXPECT_EQ(b[0], 'M');
    EXPECT_EQ(u16At(b, 2), 0x00F4);
    EXPECT_EQ(u16At(b, 4), 1);
    EXPECT_EQ(u16At(b, 0x18), 0x0040);
    EXPECT_EQ(u32At(b, 0x3C), 0x80u);
    EXPECT_EQ(std::string(b.begin() + 0x4E, b.begin() + 0x4E + 39),
              "This program cannot be run in DOS mode.");
    EXPECT_EQ(b[0x80], 'N');
    EXPECT_EQ(b[0x81], 'E');
    EXPECT_EQ(u16At(b, 0x80 + 0x0C), 0x8300);
    EXPECT_EQ(u16At(b, 0x80 + 0x24), 64);
    EXPECT_EQ(u16At(b, 0x80 + 0x32), 4);
    EXPECT_EQ(b[0x80 + 0x36], 2);
    EXPECT_EQ(u16At(b, 0x80 + 0x3E), 0x030A);
    // Resource table at 0xC0: shift, FONTDIR block, FONT block, end, "FONTDIR".
    EXPECT_EQ(u16At(b, 0xC0), 4);
    EXPECT_EQ(u16At(b, 0xC2), 0x8007);
    EXPECT_EQ(u16At(b, 0xCE), 0x0C50);
    EXPECT_EQ(u16At(b, 0xD0), 44);
    EXPECT_EQ(u16At(b, 0xD6), 0x8008);
    EXPECT_EQ(u16At(b, 0xE2), 0x1C30);
    EXPECT_EQ(u16At(b, 0xE4), 0x8001);
    EXPECT_EQ(u16At(b, 0xEA), 0);
    EXPECT_EQ(b[0xEC], 7);
    EXPECT_EQ(std::string(b.begin() + 0xED, b.begin() + 0xF4), "FONTDIR");
    // Resident names at 0xF4, the entry table after them.
    EXPECT_EQ(u16At(b, 0x80 + 0x26), 0xF4 - 0x80);
    EXPECT_EQ(std::string(b.begin() + 0xF5, b.begin() + 0xFC), "FONTRES");
    EXPECT_EQ(u16At(b, 0x80 + 0x04), 0xFF - 0x80);
    EXPECT_EQ(u16At(b, 0x80 + 0x28), 0xFF - 0x80);
    const std::size_t nonResident = u32At(b, 0x80 + 0x2C);
    EXPECT_EQ(nonResident, 0x101u);
    const std::string description = "FONTRES 100,96,96 : Test Face (VGA res)";
    EXPECT_EQ(b[nonResident], description.size());
    EXPECT_EQ(std::string(b.begin() + static_cast<long>(nonResident) + 1,
                          b.begin() + static_cast<long>(nonResident + 1 + description.size())),
              description);
    EXPECT_EQ(u16At(b, 0x80 + 0x20), description.size() + 4);
    // FONTDIR: count 1, ordinal 1, the first 109 header bytes, 4 zeros, device "", face.
    const std::size_t dir = std::size_t{u16At(b, 0xCA)} * 16;
    EXPECT_EQ(dir % 16, 0u);
    EXPECT_GT(dir, nonResident + description.size() + 4);
    EXPECT_EQ(u16At(b, dir), 1);
    EXPECT_EQ(u16At(b, dir + 2), 1);
    EXPECT_TRUE(std::equal(fnt.begin(), fnt.begin() + 109, b.begin() + static_cast<long>(dir) + 4));
    EXPECT_EQ(u32At(b, dir + 113), 0u);
    EXPECT_EQ(b[dir + 117], 0);
    EXPECT_EQ(std::string(b.begin() + static_cast<long>(dir) + 118,
                          b.begin() + static_cast<long>(dir) + 128),
              std::string("Test Face") + '\0');
    // FONT: the .fnt image, its length rounded up in 16-byte units; the file ends padded.
    const std::size_t fontAt = std::size_t{u16At(b, 0xDE)} * 16;
    EXPECT_EQ(u16At(b, 0xE0), (fnt.size() + 15) / 16);
    EXPECT_EQ(std::size_t{u16At(b, 0xCC)} * 16, fontAt - dir);
    EXPECT_TRUE(std::equal(fnt.begin(), fnt.end(), b.begin() + static_cast<long>(fontAt)));
    EXPECT_EQ(b.size(), (fontAt + fnt.size()) / 16 * 16 + 16);

    // Checksums over the first 244 bytes: the MZ one with the NE field at its first value,
    // the NE one over 32-bit words without its own field.
    const std::uint16_t mzSum = u16At(b, 0x12);
    const std::uint32_t neSum = u32At(b, 0x88);
    b[0x12] = b[0x13] = 0;
    b[0x88] = 0x66, b[0x89] = 0xBC, b[0x8A] = 0x38, b[0x8B] = 0x99;
    std::uint32_t expectMz = 0;
    for (std::size_t i = 0; i < 244; i += 2) {
        expectMz += u16At(b, i);
    }
    EXPECT_EQ(mzSum, static_cast<std::uint16_t>(expectMz));
    b[0x12] = static_cast<std::uint8_t>(mzSum);
    b[0x13] = static_cast<std::uint8_t>(mzSum >> 8);
    std::uint32_t expectNe = 0;
    for (std::size_t i = 0; i < 244; i += 4) {
        if (i != 0x88) {
            expectNe += u32At(b, i);
        }
    }
    EXPECT_EQ(neSum, expectNe);
}

TEST(WinFontWriter, RefusesOtherEncodingsAndReportsFailures) {
    Font font = variableFont();
    EXPECT_EQ(windowsFontExportRefusal(font, false), nullptr);
    for (int e = 1; e <= 5; ++e) {
        SCOPED_TRACE(e);
        font.encoding = static_cast<std::uint32_t>(e);
        EXPECT_STREQ(windowsFontExportRefusal(font, false), kFntEncodingMessage);
        EXPECT_STREQ(windowsFontExportRefusal(font, true), kFonEncodingMessage);
    }
    EXPECT_EQ(std::string(kFonEncodingMessage).substr(0, 47),
              "Windows Bitmap Font (*.fon) file can ONLY be \r\n");

    TempDir dir;
    const Font good = variableFont();
    // A destination that cannot be created shows nothing and leaves nothing behind.
    FontWriteResult r = writeFnt(good, dir.file("missing/out.fnt"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
    // A font without rows cannot be written; an earlier file stays as it was.
    test::writeFile(dir.file("old.fon"), {1, 2, 3});
    Font empty = good;
    empty.height = 0;
    r = writeFon(empty, dir.file("old.fon"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, kTempFntFailedMessage);
    EXPECT_EQ(test::readFile(dir.file("old.fon")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"old.fon"}));
    EXPECT_EQ(writeFnt(empty, dir.file("x.fnt")).message, kFontTooLargeMessage);
}

TEST(WinFontWriter, SuggestsNameFromFaceAndHeight) {
    Font font = variableFont();
    font.faceName = "My Font-Bold";
    EXPECT_EQ(suggestedWindowsFontName(font), "My_Font_Bold5h");
}

}  // namespace
}  // namespace typeloom
