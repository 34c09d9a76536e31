// BDF import: files written line by line here, pixels derived by hand from the rows.

#include "interchange/bdf_reader.h"

#include <gtest/gtest.h>

#include "charset/encodings.h"
#include "interchange/font_import.h"
#include "interchange_test_support.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::TempDir;
using Art = std::vector<std::string>;

// Two characters in an 8-row cell with the baseline 6 rows down.
std::vector<std::string> tinyFont() {
    return {
        "STARTFONT 2.1",
        "FONT -Misc-Tiny-Medium-R-Normal--8-80-75-75-C-60-ISO10646-1",
        "SIZE 8 75 75",
        "FONTBOUNDINGBOX 6 8 0 -2",
        "STARTPROPERTIES 3",
        "FONT_ASCENT 6",
        "FONT_DESCENT 2",
        "UNKNOWN_PROPERTY \"whatever\"",
        "ENDPROPERTIES",
        "CHARS 2",
        "STARTCHAR A",
        "ENCODING 65",
        "SWIDTH 500 0",
        "DWIDTH 6 0",
        "BBX 5 6 0 0",
        "BITMAP",
        "20",
        "50",
        "88",
        "F8",
        "88",
        "88",
        "ENDCHAR",
        "STARTCHAR g",
        "ENCODING 103",
        "DWIDTH 6 0",
        "BBX 4 5 1 -2",
        "BITMAP",
        "70",
        "90",
        "70",
        "10",
        "E0",
        "ENDCHAR",
        "ENDFONT",
    };
}

// One character with the given lines between ENCODING 65 and ENDCHAR, in the tiny font's cell.
std::vector<std::string> oneCharacter(const std::vector<std::string>& body) {
    std::vector<std::string> text = {"STARTFONT 2.1", "FONTBOUNDINGBOX 6 8 0 -2",
                                     "FONT_ASCENT 6", "FONT_DESCENT 2",
                                     "STARTCHAR x",   "ENCODING 65"};
    text.insert(text.end(), body.begin(), body.end());
    text.push_back("ENDCHAR");
    text.push_back("ENDFONT");
    return text;
}

struct Imported {
    ImportOutcome outcome;
    Font font;
};

Imported importText(const std::vector<std::string>& text, const std::string& name = "tiny.bdf") {
    TempDir dir;
    test::writeFile(dir.file(name), test::lines(text));
    Imported result{{}, test::openFont()};
    result.outcome = importFontResource(dir.file(name), result.font);
    return result;
}

TEST(BdfReader, ImportsPixelsWidthsAndMetrics) {
    Imported r = importText(tinyFont());
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    const Font& f = r.font;
    EXPECT_EQ(f.faceName, "tiny");
    EXPECT_EQ(f.height, 8);
    EXPECT_EQ(f.ascent, 6);
    EXPECT_EQ(f.encoding, static_cast<std::uint32_t>(kEncodingUnicode));
    EXPECT_EQ(f.codeList, (std::vector<std::uint16_t>{65, 103}));
    EXPECT_EQ(f.unicodeList, f.codeList);
    EXPECT_EQ(f.fixedWidth, 6);
    EXPECT_EQ(f.maxWidth, 6);
    EXPECT_EQ(f.sourceFont.faceName, "tiny");
    EXPECT_EQ(f.sourceFont.height, 8);
    EXPECT_FALSE(f.fromSystemFont);
    EXPECT_EQ(glyphArt(f, 65), (Art{"..#...", ".#.#..", "#...#.", "#####.", "#...#.", "#...#.",
                                    "......", "......"}));
    // BBX y offset -2 puts the last row two rows under the baseline; x offset 1 shifts right.
    EXPECT_EQ(glyphArt(f, 103), (Art{"......", "......", "......", "..###.", ".#..#.", "..###.",
                                     "....#.", ".###.."}));
    EXPECT_TRUE(f.charTable.committed.get(65).enabled);
    EXPECT_TRUE(f.charTable.committed.get(103).mapped);
    EXPECT_FALSE(f.charTable.committed.get(66).mapped);
    // The data format and other values an import does not set come from the open font.
    EXPECT_EQ(f.dataFormat, 0x01020304u);
}

TEST(BdfReader, NamesTheFontAfterTheFile) {
    EXPECT_EQ(importText(tinyFont(), "courR10.bdf").font.faceName, "courR10");
    EXPECT_EQ(importText(tinyFont(), "a.b.BDF").font.faceName, "a.b");
}

TEST(BdfReader, ParsesCrLfLines) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& line : tinyFont()) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    ImportedFont f = parseBdf(bytes);
    EXPECT_EQ(f.firstCode, 65);
    EXPECT_EQ(f.codeCount, 39);
    EXPECT_EQ(f.height, 8);
}

TEST(BdfReader, ClipsRowsOutsideTheCell) {
    // Nine rows from y = 6 down to y = -2: the row at y = 6 lies above the ascent.
    Imported r = importText(oneCharacter({"DWIDTH 6 0", "BBX 6 9 0 -2", "BITMAP", "FC", "80", "40",
                                          "20", "10", "08", "04", "08", "10"}));
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 65), (Art{"#.....", ".#....", "..#...", "...#..", "....#.", ".....#",
                                         "....#.", "...#.."}));
}

TEST(BdfReader, NegativeXOffsetWidensTheCharacter) {
    Imported r = importText(oneCharacter({"DWIDTH 6 0", "BBX 8 2 -2 0", "BITMAP", "FF", "81"}));
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 65), (Art{"........", "........", "........", "........", "########",
                                         "#......#", "........", "........"}));
}

TEST(BdfReader, ReadsHexRows) {
    struct Case {
        const char* name;
        std::string dwidth;
        std::string row;
        std::string expected;
    };
    const Case cases[] = {
        {"two digits fill the high byte", "8", "C0", "##......"},
        {"digits beyond the width are dropped", "6", "FFFF", "######"},
        {"at most one word for a narrow character", "6", "0000FFFF", "......"},
        {"odd digit count fills the last digit's pixels", "12", "FFF", "############"},
        {"single digit", "12", "A", "#.#........."},
        {"lower case and other characters", "8", "aZ", "#.#....."},
        {"second word", "20", "0000F", "................####"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Imported r = importText(oneCharacter(
            {"DWIDTH " + c.dwidth + " 0", "BBX " + c.dwidth + " 1 0 0", "BITMAP", c.row}));
        ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
        EXPECT_EQ(glyphArt(r.font, 65)[5], c.expected);
    }
}

TEST(BdfReader, SkipsUnencodedAndRepeatedCodes) {
    Imported r = importText({"STARTFONT 2.1",
                             "FONT_ASCENT 1",
                             "FONT_DESCENT 0",
                             "STARTCHAR u",
                             "ENCODING -1",
                             "DWIDTH 2 0",
                             "BBX 2 1 0 0",
                             "BITMAP",
                             "C0",
                             "ENDCHAR",
                             "STARTCHAR first",
                             "ENCODING 66",
                             "DWIDTH 2 0",
                             "BBX 2 1 0 0",
                             "BITMAP",
                             "80",
                             "ENDCHAR",
                             "STARTCHAR again",
                             "ENCODING 66",
                             "DWIDTH 2 0",
                             "BBX 2 1 0 0",
                             "BITMAP",
                             "40",
                             "ENDCHAR",
                             "STARTCHAR big",
                             "ENCODING 70000",
                             "DWIDTH 2 0",
                             "BBX 2 1 0 0",
                             "BITMAP",
                             "C0",
                             "ENDCHAR",
                             "ENDFONT"});
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{66}));
    EXPECT_EQ(glyphArt(r.font, 66), (Art{"#."}));
}

TEST(BdfReader, WidthsComeFromDwidthTheFontOrThePreviousCharacter) {
    std::vector<std::string> text = {"STARTFONT 2.1", "FONTBOUNDINGBOX 7 1 0 0", "FONT_ASCENT 1",
                                     "FONT_DESCENT 0"};
    auto add = [&](int code, const std::vector<std::string>& body) {
        text.push_back("STARTCHAR c");
        text.push_back("ENCODING " + std::to_string(code));
        text.insert(text.end(), body.begin(), body.end());
        text.push_back("BITMAP");
        text.push_back("FF");
        text.push_back("ENDCHAR");
    };
    add(65, {"DWIDTH 3 0"});
    add(66, {});                // the previous character's width
    add(67, {"DWIDTH 0 0"});    // the bounding box's width
    add(68, {"BBX 2 1 -1 0"});  // previous width 7, widened by the negative offset
    text.push_back("ENDFONT");
    Imported r = importText(text);
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    std::vector<int> widths;
    for (std::uint16_t u : r.font.unicodeList) {
        widths.push_back(r.font.glyphs.find(u)->width);
    }
    EXPECT_EQ(widths, (std::vector<int>{3, 3, 7, 8}));
    EXPECT_EQ(r.font.fixedWidth, 0);
    EXPECT_EQ(r.font.maxWidth, 8);
    EXPECT_EQ(glyphArt(r.font, 68), (Art{"########"}));

    // A font-wide DWIDTH serves characters without their own.
    text.insert(text.begin() + 1, "DWIDTH 5 0");
    r = importText(text);
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.glyphs.find(66)->width, 5);
}

TEST(BdfReader, MissingCodesTakeTheDefaultWidthInTheFixedWidthDecision) {
    auto font = [](const std::string& defaultChar) {
        return std::vector<std::string>{"STARTFONT 2.1",
                                        "FONT_ASCENT 1",
                                        "FONT_DESCENT 0",
                                        "DEFAULT_CHAR " + defaultChar,
                                        "STARTCHAR A",
                                        "ENCODING 65",
                                        "DWIDTH 4 0",
                                        "BBX 4 1 0 0",
                                        "BITMAP",
                                        "F0",
                                        "ENDCHAR",
                                        "STARTCHAR C",
                                        "ENCODING 67",
                                        "DWIDTH 4 0",
                                        "BBX 4 1 0 0",
                                        "BITMAP",
                                        "F0",
                                        "ENDCHAR",
                                        "ENDFONT"};
    };
    // A default character the font has: the gap at 66 is 4 wide like the others.
    Imported r = importText(font("67"));
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.fixedWidth, 4);
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{65, 67}));
    // The default character 66 is missing: the gap's width is 0, so the font is variable.
    r = importText(font("66"));
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.fixedWidth, 0);
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{65, 67}));
    // A default character outside the codes becomes the lowest code.
    ImportedFont parsed = parseBdf(test::lines(font("500")));
    EXPECT_EQ(parsed.defaultCode, 65);
}

TEST(BdfReader, ZeroWidthCharactersBecomeOneBlankColumn) {
    // DWIDTH 0 with a bounding box of width 0: rows are read but have no pixels to set.
    Imported r = importText({"STARTFONT 2.1", "FONTBOUNDINGBOX 0 2 0 0", "FONT_ASCENT 2",
                             "FONT_DESCENT 0", "STARTCHAR z", "ENCODING 65", "DWIDTH 0 0", "BITMAP",
                             "FF", "FF", "ENDCHAR", "ENDFONT"});
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 65), (Art{".", "."}));
}

// A character of DWIDTH 0 (a combining mark, a zero width space) takes the width of its own
// ink, whatever the font's bounding box (here 20 wide at x offset -2, which would have made
// each of them 22 columns wide); a positive DWIDTH keeps its rule.
TEST(BdfReader, ZeroAdvanceCharactersTakeTheWidthOfTheirInk) {
    const struct {
        const char* name;
        std::vector<std::string> lines;
        Art art;
    } rows[] = {
        {"ink left of the origin",
         {"DWIDTH 0 0", "BBX 3 1 -5 2", "BITMAP", "E0"},
         {"...", "###", "...", "..."}},
        {"ink right of the origin",
         {"DWIDTH 0 0", "BBX 2 1 1 0", "BITMAP", "C0"},
         {"...", "...", "...", ".##"}},
        {"no ink", {"DWIDTH 0 0", "BBX 0 0 0 0", "BITMAP"}, {".", ".", ".", "."}},
        {"positive advance",
         {"DWIDTH 5 0", "BBX 2 1 -1 0", "BITMAP", "C0"},
         {"......", "......", "......", "##...."}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> text = {"STARTFONT 2.1", "FONTBOUNDINGBOX 20 4 -2 0",
                                         "FONT_ASCENT 4", "FONT_DESCENT 0",
                                         "STARTCHAR m",   "ENCODING 768"};
        text.insert(text.end(), row.lines.begin(), row.lines.end());
        text.insert(text.end(), {"ENDCHAR", "ENDFONT"});
        Imported r = importText(text);
        ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
        EXPECT_EQ(glyphArt(r.font, 768), row.art);
    }
}

TEST(BdfReader, LinesAmongTheRowsSetTheWidthTheRowsArePlacedWith) {
    // The DWIDTH line after BITMAP is read as a row and still gives the character its width
    // of 6; the row's first four characters "DWID" are the digits D, 0, 0, D.
    Imported r = importText({"STARTFONT 2.1", "FONT_ASCENT 2", "FONT_DESCENT 0", "STARTCHAR a",
                             "ENCODING 65", "DWIDTH 4 0", "BBX 8 2 0 0", "BITMAP", "FF",
                             "DWIDTH 6 0", "ENDCHAR", "ENDFONT"});
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.glyphs.find(65)->width, 6);
    EXPECT_EQ(glyphArt(r.font, 65), (Art{"######", "##.#.."}));
}

TEST(BdfReader, CharactersAfterALineBeginningWithEndfontAreSkipped) {
    Imported r = importText({"STARTFONT 2.1", "FONT_ASCENT 1", "FONT_DESCENT 0", "STARTCHAR a",
                             "ENCODING 65", "DWIDTH 2 0", "BBX 2 1 0 0", "BITMAP", "80", "ENDCHAR",
                             "ENDFONTS", "STARTCHAR b", "ENCODING 66", "DWIDTH 2 0", "BBX 2 1 0 0",
                             "BITMAP", "C0", "ENDCHAR", "ENDFONT"});
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{65}));
    EXPECT_EQ(glyphArt(r.font, 65), (Art{"#."}));
}

TEST(BdfReader, ControlCodesAreCharactersButDisabledInTheTable) {
    Imported r = importText({"STARTFONT 2.1", "FONT_ASCENT 1", "FONT_DESCENT 0", "STARTCHAR tab",
                             "ENCODING 9", "DWIDTH 1 0", "BBX 1 1 0 0", "BITMAP", "80", "ENDCHAR",
                             "STARTCHAR c1", "ENCODING 133", "DWIDTH 1 0", "BBX 1 1 0 0", "BITMAP",
                             "80", "ENDCHAR", "ENDFONT"});
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{9, 133}));
    for (std::uint16_t c : {9, 133}) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(r.font.glyphs.contains(c));
        EXPECT_TRUE(r.font.charTable.committed.get(c).mapped);
        EXPECT_FALSE(r.font.charTable.committed.get(c).enabled);
    }
}

// Replaces the first line equal to `from` (or beginning with it) by `to` lines.
std::vector<std::string> edit(std::vector<std::string> text, const std::string& from,
                              const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i].rfind(from, 0) == 0) {
            text.erase(text.begin() + static_cast<std::ptrdiff_t>(i));
            text.insert(text.begin() + static_cast<std::ptrdiff_t>(i), to.begin(), to.end());
            return text;
        }
    }
    ADD_FAILURE() << "no line " << from;
    return text;
}

TEST(BdfReader, RefusesMalformedFilesAndKeepsTheOpenFont) {
    struct Case {
        const char* name;
        std::vector<std::string> text;
    };
    const std::vector<std::string> base = tinyFont();
    std::vector<std::string> cutInBitmap(base.begin(), base.begin() + 19);
    std::vector<std::string> cutBeforeEnd(base.begin(), base.end() - 1);
    const Case cases[] = {
        {"no FONT_ASCENT", edit(base, "FONT_ASCENT", {})},
        {"no FONT_DESCENT", edit(base, "FONT_DESCENT", {})},
        {"ENDFONT with a trailing space", edit(base, "ENDFONT", {"ENDFONT "})},
        {"no ENDFONT", cutBeforeEnd},
        {"ends inside a bitmap", cutInBitmap},
        {"empty FONT", edit(base, "FONT -Misc", {"FONT "})},
        {"FONT_ASCENT without a number", edit(base, "FONT_ASCENT", {"FONT_ASCENT x"})},
        {"FONTBOUNDINGBOX with three numbers",
         edit(base, "FONTBOUNDINGBOX", {"FONTBOUNDINGBOX 1 2 3"})},
        {"ENCODING without a number", edit(base, "ENCODING 103", {"ENCODING "})},
        {"negative DWIDTH", edit(base, "DWIDTH 6 0", {"DWIDTH -1 0"})},
        {"BBX with three numbers", edit(base, "BBX 5", {"BBX 5 6 0"})},
        {"character without ENCODING", edit(base, "ENCODING 103", {})},
        {"STARTCHAR inside a character", edit(base, "STARTCHAR g", {"STARTCHAR x", "STARTCHAR g"})},
        {"ENDFONT inside a character", edit(base, "BITMAP", {"ENDFONT"})},
        {"no code in 0-65535",
         edit(edit(base, "ENCODING 65", {"ENCODING -1"}), "ENCODING 103", {"ENCODING 65536"})},
        {"wider than 255 pixels", edit(base, "DWIDTH 6 0", {"DWIDTH 256 0"})},
        {"widened beyond 255 pixels", edit(base, "BBX 5", {"BBX 5 6 -251 0"})},
        {"first character without any width", edit(base, "DWIDTH 6 0", {})},
        {"no rows",
         edit(edit(base, "FONT_ASCENT", {"FONT_ASCENT 0"}), "FONT_DESCENT", {"FONT_DESCENT 0"})},
        {"huge ascent", edit(base, "FONT_ASCENT", {"FONT_ASCENT 99999999999"})},
        {"huge descent", edit(base, "FONT_DESCENT", {"FONT_DESCENT 65535"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Imported r = importText(c.text);
        EXPECT_EQ(r.outcome.status, ImportOutcome::Status::Failed);
        EXPECT_EQ(r.outcome.messages, (std::vector<std::string>{"Failed to loaded this file."}));
        EXPECT_FALSE(r.outcome.detail.empty());
        test::expectOpenFontUnchanged(r.font);
    }
}

// What is readable is read; every repaired or left-out character is counted in a warning with
// the first lines where it was found.
TEST(BdfReader, RepairsAndLeftOutCharactersAreReported) {
    auto changed = [](std::size_t index, const std::string& line) {
        std::vector<std::string> text = tinyFont();
        text[index] = line;
        return text;
    };
    std::vector<std::string> noStartchar = tinyFont();
    noStartchar.erase(noStartchar.begin() + 23);  // STARTCHAR g: its ENCODING is line 24
    const std::vector<std::string> twoWithoutBitmap = {
        "STARTFONT 2.1", "FONT_ASCENT 2", "FONT_DESCENT 0", "STARTCHAR a",
        "ENCODING 65",   "DWIDTH 3 0",    "ENDCHAR",        "STARTCHAR b",
        "ENCODING 66",   "DWIDTH 3 0",    "ENDCHAR",        "ENDFONT"};
    struct Row {
        const char* what;
        std::vector<std::string> text;
        std::vector<std::string> warnings;
    };
    const Row rows[] = {
        {"a clean file", tinyFont(), {}},
        {"trailing blanks after a row",
         oneCharacter({"DWIDTH 6 0", "BBX 6 1 0 0", "BITMAP", "F8 "}),
         {}},
        {"no BITMAP",
         oneCharacter({"DWIDTH 3 0", "BBX 3 2 0 0"}),
         {"1 character without BITMAP kept blank (line 5)"}},
        {"two without BITMAP",
         twoWithoutBitmap,
         {"2 characters without BITMAP kept blank (lines 4, 8)"}},
        {"no STARTCHAR",
         noStartchar,
         {"CHARS 2 (line 10) does not match the number of characters, 1; the characters are "
          "read as found",
          "1 character without STARTCHAR left out (line 24)"}},
        {"CHARS 999999999",
         changed(9, "CHARS 999999999"),
         {"CHARS 999999999 (line 10) does not match the number of characters, 2; the "
          "characters are read as found"}},
        {"CHARS -1",
         changed(9, "CHARS -1"),
         {"CHARS -1 (line 10) does not match the number of characters, 2; the characters are "
          "read as found"}},
        {"negative FONTBOUNDINGBOX",
         changed(3, "FONTBOUNDINGBOX -6 8 0 -2"),
         {"FONTBOUNDINGBOX has a negative size, read as size 0 (line 4)"}},
        {"negative BBX",
         oneCharacter({"DWIDTH 3 0", "BBX 3 -2 0 0", "BITMAP"}),
         {"1 character with a negative BBX size read as size 0 (line 8)"}},
        {"not hexadecimal",
         oneCharacter({"DWIDTH 6 0", "BBX 6 2 0 0", "BITMAP", "FX", "8G"}),
         {"1 character with bitmap rows that are not hexadecimal, each row read up to its "
          "first other character (line 10)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Imported r = importText(row.text);
        ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
        EXPECT_EQ(r.outcome.warnings, row.warnings);
    }
    // The repaired characters themselves.
    Imported blank = importText(oneCharacter({"DWIDTH 3 0", "BBX 3 2 0 0"}));
    EXPECT_EQ(glyphArt(blank.font, 65),
              (Art{"...", "...", "...", "...", "...", "...", "...", "..."}));
    Imported hex = importText(oneCharacter({"DWIDTH 6 0", "BBX 6 2 0 0", "BITMAP", "FX", "8G"}));
    EXPECT_EQ(glyphArt(hex.font, 65), (Art{"......", "......", "......", "......", "####..",
                                           "#.....", "......", "......"}));
    Imported orphan = importText(noStartchar);
    EXPECT_EQ(orphan.font.codeList, std::vector<std::uint16_t>{65});
}

TEST(BdfReader, TooManyPixelsIsRefusedBeforeAllocating) {
    // Ten characters of 255 x 65,535 pixels would need 167 million pixels.
    std::vector<std::string> text = {"STARTFONT 2.1", "FONT_ASCENT 32767", "FONT_DESCENT 32768"};
    for (int code = 0; code < 10; ++code) {
        for (const std::string& l : {std::string("STARTCHAR c"), "ENCODING " + std::to_string(code),
                                     std::string("DWIDTH 255 0"), std::string("ENDCHAR")}) {
            text.push_back(l);
        }
    }
    text.push_back("ENDFONT");
    EXPECT_THROW(parseBdf(test::lines(text)), FileError);
}

TEST(FontImport, ChoosesTheReaderByExtension) {
    TempDir dir;
    Font font = test::openFont();
    // A BDF file that cannot be opened shows only the second message.
    ImportOutcome missing = importFontResource(dir.file("missing.bdf"), font);
    EXPECT_EQ(missing.status, ImportOutcome::Status::Failed);
    EXPECT_EQ(missing.messages, (std::vector<std::string>{"Failed to open this .fnt file"}));
    // Missing .fnt and .fon files, unknown contents and unknown extensions show nothing.
    test::writeFile(dir.file("text.fnt"), test::lines({"hello"}));
    test::writeFile(dir.file("tiny.txt"), test::lines(tinyFont()));
    test::writeFile(dir.file("rb.fon"), test::lines({"RB12"}));
    for (const char* name : {"missing.fnt", "missing.fon", "text.fnt", "tiny.txt", "rb.fon"}) {
        SCOPED_TRACE(name);
        ImportOutcome o = importFontResource(dir.file(name), font);
        EXPECT_EQ(o.status, ImportOutcome::Status::NotRecognised);
        EXPECT_TRUE(o.messages.empty());
    }
    test::expectOpenFontUnchanged(font);
}

}  // namespace
}  // namespace typeloom
