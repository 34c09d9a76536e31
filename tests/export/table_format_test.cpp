#include "export/table_format.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "export_test_support.h"
#include "model/font.h"
#include "test_support.h"

// Tests of the table-based writers (C, assembler and binary). The expected texts, here and in
// tests/data/export/table_format, are written out from the format description, line by line;
// they are never produced by the writer.

namespace typeloom::exporters {
namespace {

// ---------------------------------------------------------------------------------------------
// Helpers

std::string fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// 09:05 on 7 December 2026, local time (the header shows local time).
std::time_t fixedNow() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// A font of the given encoding and height with (code, width) characters; pixel (x, y) of
// character i is rule(x, y, i).
Font makeFont(int encoding, std::uint16_t height,
              const std::vector<std::pair<std::uint16_t, std::uint16_t>>& characters,
              const std::function<bool(int, int, int)>& rule) {
    Font font;
    font.setEncoding(encoding);
    font.faceName = "Made";
    font.height = height;
    font.ascent = static_cast<std::int16_t>(height > 1 ? height - 1 : 1);
    int i = 0;
    for (const auto& [code, width] : characters) {
        Glyph g;
        g.init(code, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                g.pixels[static_cast<std::size_t>(y * width + x)] = rule(x, y, i) ? 1 : 0;
            }
        }
        font.glyphs.insert(code, std::move(g));
        font.insertCode(code, code);
        ++i;
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, encoding);
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

// Height 35, encoding Unicode, widths 7, 17 and 33: full bands and remainders for every unit
// length, and codes above 255.
Font tallFont() {
    return makeFont(kEncodingUnicode, 35, {{0x100, 7}, {0x101, 17}, {0x3000, 33}},
                    [](int x, int y, int i) { return (x * 7 + y * 3 + i * 5) % 5 == 0 || x == y; });
}

std::string exportText(const Font& font, int pages, ExportFormat id, const std::string& base) {
    MemorySettingsStore settings = test::settingsWithPages(pages);
    std::optional<std::string> text = exportToMemory(font, settings, id, base, fixedNow());
    EXPECT_TRUE(text.has_value());
    return text.value_or("");
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The lines from the one equal to `first` up to (not including) the first one equal to `stop`.
std::vector<std::string> linesBetween(const std::string& text, const std::string& first,
                                      const std::string& stop) {
    std::vector<std::string> all = splitLines(text);
    std::vector<std::string> out;
    bool in = false;
    for (const std::string& line : all) {
        if (!in && line == first) {
            in = true;
        } else if (in && line == stop) {
            break;
        }
        if (in) {
            out.push_back(line);
        }
    }
    return out;
}

// Compares two texts line by line so that a failure names the first differing line.
void expectSameText(const std::string& actual, const std::string& expected) {
    const std::vector<std::string> a = splitLines(actual);
    const std::vector<std::string> e = splitLines(expected);
    for (std::size_t i = 0; i < std::min(a.size(), e.size()); ++i) {
        if (a[i] != e[i]) {
            ADD_FAILURE() << "line " << i + 1 << " differs\n  actual:   [" << a[i]
                          << "]\n  expected: [" << e[i] << "]";
            return;
        }
    }
    EXPECT_EQ(a.size(), e.size()) << "line counts differ";
    EXPECT_EQ(actual, expected);
}

// ---------------------------------------------------------------------------------------------
// Whole files

// A font exported with every writer option fixed and compared, whole, with its expected file
// under tests/data/export/table_format (windows-1252 text with CR LF line ends). In the ASCII
// index table of those files code c is shown as the character U+00c in windows-1252: "."
// below 32, "?" for the C1 controls the code page lacks.
struct Golden {
    const char* name;
    Font (*font)();
    std::uint32_t layout;  // the font's data format, which the file's header names
    int pages;
    ExportFormat id;
    const char* base;
    const char* file;
    std::optional<ExportFormat> sameFileId;  // an older format id that writes the same file
};

void PrintTo(const Golden& golden, std::ostream* out) {
    *out << golden.name;
}

// The variable-width font (codes 0x20, 0x21, 0x30, 0x31: a gap; the last character empty).
// Pixels (x * 3 + y + i) % 4 == 0:
//   ' ' (w 2): #. / .# / .. / ..          units 80 40 00 00
//   '!' (w 1): . / . / . / #              units 00 00 00 80
//   '0' (w 9): ..#...#.. / ...#...#. / #...#...# / .#...#...
//                                         units 22 00 11 00 88 80 44 00
//   '1' (w 0): no units
// Inverted, units and drawings are complemented:
//   ' ': 7F BF FF FF  drawn .# / #. / ## / ##
//   '!': FF FF FF 7F  drawn # / # / # / .
//   '0': DD FF / EE FF / 77 7F / BB FF  drawn ##.###.## / ###.###.# / .###.###. / #.###.###
Font invertedVariableFont() {
    Font font = test::variableFont();
    font.dataFormat |= kInvert;
    return font;
}

// The Unicode font (U+0041, U+00E9, U+4E00; fixed width 3, height 5) with 16-bit units, big
// endian, column based, column preferred, packed, inverted: each glyph is one 15-pixel column
// stream in one unit, bit 0 the (inverted) padding.
//   U+0041 columns 10010 01001 00100 -> 0x9248, inverted 0x6DB7
//   U+00E9 columns 01001 00100 10010 -> 0x4924, inverted 0xB6DB
//   U+4E00 columns 00100 10010 01001 -> 0x2492, inverted 0xDB6D
const std::uint32_t kUnicodeLayout = kInvert | kLength16 | kBigEndian | kPacked;

Font packedUnicodeFont() {
    Font font = test::unicodeFont();
    font.dataFormat = kUnicodeLayout;
    return font;
}

const Golden kGoldens[] = {
    // The default layout (big endian, row based, row preferred, unpacked, 8 bits) with every
    // table on.
    {"VariableFontC", test::variableFont, 0x01121110, 0x6F, ExportFormat::TableC, "fontVar_Test4h",
     "variable_font.c", ExportFormat::StudioC},
    // Assembler, inverted, with the width and extended index switches off.
    {"VariableFontAsm", invertedVariableFont, 0x01121110 | kInvert, 0x0B, ExportFormat::TableAsm,
     "fontVar_Test4h", "variable_font.asm", ExportFormat::StudioAsm},
    // What differs from the variable font's file in kind: the data table of run-on units
    // (UCHAR data: each 16-bit unit as two bytes, high byte first), the index lines of a
    // non-ASCII encoding, three ranges, the header.
    {"UnicodeFontC", packedUnicodeFont, kUnicodeLayout, 0x7F, ExportFormat::TableC, "fontUni5h",
     "unicode_font.c", std::nullopt},
    // Typed 16-bit units ("dw") and only the extended index switched on; numbers that start
    // with a letter get a leading 0 right before their digits.
    {"UnicodeFontAsm", packedUnicodeFont, kUnicodeLayout, 0x41, ExportFormat::TableAsm, "fontUni5h",
     "unicode_font.asm", std::nullopt},
};

class TableGolden : public testing::TestWithParam<Golden> {};

TEST_P(TableGolden, WritesTheExpectedFile) {
    const Golden& golden = GetParam();
    const Font font = golden.font();
    ASSERT_EQ(font.dataFormat, golden.layout);
    const std::string text = exportText(font, golden.pages, golden.id, golden.base);
    expectSameText(text,
                   typeloom::test::readTestData(std::string("export/table_format/") + golden.file));
    if (golden.sameFileId) {
        // The "Old Typeloom Studio 3.0 Format" ids.
        EXPECT_EQ(exportText(font, golden.pages, *golden.sameFileId, golden.base), text);
    }
}

INSTANTIATE_TEST_SUITE_P(, TableGolden, testing::ValuesIn(kGoldens), typeloom::test::RowName());

// ---------------------------------------------------------------------------------------------
// Parts of the text

// One character 20 pixels wide and 8 high whose column c holds one pixel, at row c % 8:
// column based, unpacked, little endian gives one unit 1 << (c % 8) per column, whatever the
// unit length.
Font diagonalFont(std::uint32_t lengthBits) {
    Font font =
        makeFont(kEncodingAnsi, 8, {{0x41, 20}}, [](int x, int y, int) { return y == x % 8; });
    font.dataFormat = lengthBits;  // column based, column preferred, unpacked, little endian
    return font;
}

TEST(TableText, RunOnUnitsSixteenEightOrFourToALine) {
    const std::string head = "    /*character 0x0041 ('A'): [width=20, offset= 0x0000 (0) ]*/";
    {
        const std::string text =
            exportText(diagonalFont(kLength8), 0x6F, ExportFormat::TableC, "fontD");
        EXPECT_EQ(linesBetween(text, head, "};"),
                  (std::vector<std::string>{
                      head,
                      "    0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x01, 0x02, 0x04, 0x08, "
                      "0x10, 0x20, 0x40, 0x80, ",
                      "    0x01, 0x02, 0x04, 0x08"}));
    }
    {
        const std::string text =
            exportText(diagonalFont(kLength16), 0x6F, ExportFormat::TableC, "fontD");
        EXPECT_EQ(linesBetween(text, head, "};"),
                  (std::vector<std::string>{
                      head, "    0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x0080, ",
                      "    0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x0080, ",
                      "    0x0001, 0x0002, 0x0004, 0x0008"}));
    }
    {
        const std::string text =
            exportText(diagonalFont(kLength32), 0x6F, ExportFormat::TableC, "fontD");
        EXPECT_EQ(
            linesBetween(text, head, "};"),
            (std::vector<std::string>{head, "    0x00000001, 0x00000002, 0x00000004, 0x00000008, ",
                                      "    0x00000010, 0x00000020, 0x00000040, 0x00000080, ",
                                      "    0x00000001, 0x00000002, 0x00000004, 0x00000008, ",
                                      "    0x00000010, 0x00000020, 0x00000040, 0x00000080, ",
                                      "    0x00000001, 0x00000002, 0x00000004, 0x00000008"}));
        // UCHAR data: each unit as its four bytes, most significant first; still four units
        // to a line.
        const std::string bytes =
            exportText(diagonalFont(kLength32), 0x7F, ExportFormat::TableC, "fontD");
        const std::vector<std::string> lines = linesBetween(bytes, head, "};");
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[1],
                  "    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04, "
                  "0x00, 0x00, 0x00, 0x08, ");
        EXPECT_EQ(lines[5],
                  "    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x04, "
                  "0x00, 0x00, 0x00, 0x08");
        EXPECT_NE(bytes.find("const UCHAR fontD_data_table[] = \r\n"), std::string::npos);
        EXPECT_NE(bytes.find("     const ULONG *pData = data_table[offset];\r\n"),
                  std::string::npos);
    }
    const std::string asmHead = "     ;character 0x0041 ('A'): [width=20, offset= 0x0000 (0) ]  ";
    {
        const std::string text =
            exportText(diagonalFont(kLength8), 0x6F, ExportFormat::TableAsm, "fontD");
        EXPECT_EQ(linesBetween(text, asmHead, ""),
                  (std::vector<std::string>{
                      asmHead,
                      "    db  01h,  02h,  04h,  08h,  10h,  20h,  40h,  80h,  01h,  02h,  04h,  "
                      "08h,  10h,  20h,  40h,  80h",
                      "    db  01h,  02h,  04h,  08h"}));
    }
    {
        const std::string text =
            exportText(diagonalFont(kLength16), 0x6F, ExportFormat::TableAsm, "fontD");
        EXPECT_EQ(
            linesBetween(text, asmHead, ""),
            (std::vector<std::string>{
                asmHead, "    dw  0001h,  0002h,  0004h,  0008h,  0010h,  0020h,  0040h,  0080h",
                "    dw  0001h,  0002h,  0004h,  0008h,  0010h,  0020h,  0040h,  0080h",
                "    dw  0001h,  0002h,  0004h,  0008h"}));
        // UCHAR: "db" lines, the bytes of a unit separated by ",  ", units by ", ".
        const std::string bytes =
            exportText(diagonalFont(kLength16), 0x7F, ExportFormat::TableAsm, "fontD");
        const std::vector<std::string> lines = linesBetween(bytes, asmHead, "");
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[3], "    db  00h,   01h,  00h,   02h,  00h,   04h,  00h,   08h");
    }
    {
        const std::string text =
            exportText(diagonalFont(kLength32), 0x6F, ExportFormat::TableAsm, "fontD");
        const std::vector<std::string> lines = linesBetween(text, asmHead, "");
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[2], "    dd  00000010h,  00000020h,  00000040h,  00000080h");
        EXPECT_EQ(lines[5], "    dd  00000001h,  00000002h,  00000004h,  00000008h");
    }
}

TEST(TableText, RowModeUnitsOfEveryLengthWithTheirDrawing) {
    // Fixed font 'A' row 0: (x + y) % 3 == 0 -> #..#.
    Font font = test::fixedFont();
    const std::string first = "    /* character 0x0041 ('A'): [width=5, offset= 0x0000 (0) ] */";
    const std::string asmFirst = "     ; character 0x0041 ('A'): [width=5, offset= 0x0000 (0) ]   ";
    struct Case {
        std::uint32_t word;
        int pages;
        ExportFormat id;
        std::string head;
        std::string row0;
    };
    const std::uint32_t rowMode = kScanRow | kPreferRow;
    const std::vector<Case> cases = {
        {rowMode | kBigEndian | kLength8, 0x6F, ExportFormat::TableC, first, "    0x90,  // #..#."},
        {rowMode | kLength8, 0x6F, ExportFormat::TableC, first, "    0x09,  // #..#."},
        {rowMode | kBigEndian | kLength16, 0x6F, ExportFormat::TableC, first,
         "    0x9000,  // #..#."},
        {rowMode | kLength16, 0x6F, ExportFormat::TableC, first, "    0x0009,  // #..#."},
        {rowMode | kBigEndian | kLength16, 0x7F, ExportFormat::TableC, first,
         "    0x90, 0x00,  // #..#."},
        {rowMode | kBigEndian | kLength32, 0x6F, ExportFormat::TableC, first,
         "    0x90000000,  // #..#."},
        {rowMode | kBigEndian | kLength32, 0x7F, ExportFormat::TableC, first,
         "    0x90, 0x00, 0x00, 0x00,  // #..#."},
        {rowMode | kBigEndian | kLength8, 0x6F, ExportFormat::TableAsm, asmFirst,
         "    db  90h ;  #..#."},
        {rowMode | kBigEndian | kLength16, 0x6F, ExportFormat::TableAsm, asmFirst,
         "    dw  9000h ;  #..#."},
        {rowMode | kBigEndian | kLength16, 0x7F, ExportFormat::TableAsm, asmFirst,
         "    db  90h,   00h ;  #..#."},
        {rowMode | kBigEndian | kLength32, 0x6F, ExportFormat::TableAsm, asmFirst,
         "    dd  90000000h ;  #..#."},
        {rowMode | kLength32 | kInvert, 0x6F, ExportFormat::TableAsm, asmFirst,
         "    dd 0fffffff6h ;  .##.#"},
        {rowMode | kBigEndian | kLength32 | kInvert, 0x7F, ExportFormat::TableAsm, asmFirst,
         "    db  6fh,  0ffh,  0ffh,  0ffh ;  .##.#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row0);
        font.dataFormat = c.word;
        const std::vector<std::string> lines =
            linesBetween(exportText(font, c.pages, c.id, "fontF"), c.head, "");
        ASSERT_EQ(lines.size(), 8u);  // the character line and seven rows
        EXPECT_EQ(lines[1], c.row0);
    }
}

TEST(TableText, LastUnitOfTableBelongsToTheLastCharacterWithUnits) {
    // The variable font's last character is empty: the table ends inside '0'.
    Font font = test::variableFont();
    font.dataFormat = kLength8;  // column based, unpacked: one unit per column (2, 1, 9, 0)
    const std::string text = exportText(font, 0x6F, ExportFormat::TableC, "fontV");
    const std::vector<std::string> lines =
        linesBetween(text, "    /*character 0x0030 ('0'): [width=9, offset= 0x0003 (3) ]*/", "");
    ASSERT_EQ(lines.size(), 2u);
    // Column x holds row (x + 2) % 4; no separator after the last unit of the table.
    EXPECT_EQ(lines[1], "    0x04, 0x08, 0x01, 0x02, 0x04, 0x08, 0x01, 0x02, 0x04");
    EXPECT_NE(text.find("\r\n    /*character 0x0031 ('1'): [width=0, offset= 0x000C (12) ]*/\r\n"
                        "};\r\n"),
              std::string::npos);
}

TEST(TableText, HeaderTabsAndGlyphSetOfManyRanges) {
    // Twelve characters 12 wide and 16 high at every other code: twelve ranges.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> characters;
    for (std::uint16_t k = 0; k < 12; ++k) {
        characters.push_back({static_cast<std::uint16_t>(0x41 + 2 * k), 12});
    }
    Font font = makeFont(kEncodingAnsi, 16, characters, [](int x, int y, int) { return x == y; });
    const std::string c = exportText(font, 0x6F, ExportFormat::TableC, "fontT");
    for (const char* line : {
             "    12, \t\t/* font width in pixels. 0 for variable width font */\r\n",
             "    16, \t\t/* font height in pixels */\r\n",
             "    15, \t\t/* font ascent (baseline) in pixels */\r\n",
             "    12, \t\t/* # characters in font, maybe not equal to (lastchar-firstchar+1) "
             "*/\r\n",
             "    0x3c, \t/* cbThis = sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE)*nRanges */\r\n",
             "    12, \t/* nChars: total # characters in font */\r\n",
             "    12, \t/* nRanges: # ranges */\r\n",
             "  {    65,        1 },  /*[0x0041 - 0x0041]*/ \r\n",
             "  {    87,        1 }   /*[0x0057 - 0x0057]*/ \r\n",
             "    0x0057, \t/* last character code defined in font */\r\n",
             "    0x180, \t\t/* # bytes/words/dwords(based bitsPerUnit) imagebits data in data "
             "table */\r\n",                                             // 12 x 16 rows x 2 units
             "    12      /*    W        0057         87 */\r\n};\r\n",  // width table, last entry
         }) {
        EXPECT_NE(c.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(c.find("font_T"), std::string::npos);
    const std::string a = exportText(font, 0x6F, ExportFormat::TableAsm, "fontT");
    for (const char* line : {
             "    dw  12   \t ; font width in pixels. 0 for variable width font \r\n",
             "    dw  12   \t ; # characters in font, maybe not equal to (lastchar-firstchar+1) "
             "\r\n",
             "     dw     3ch \t; cbThis = sizeof(GLYPH_SET) + sizeof(GLYPH_RANGE)*nRanges \r\n",
             "     dw     0ch \t; nChars: total # characters in font \r\n",
             "     dw     0ch \t; nRanges: # ranges \r\n",
             "     dw    57h,       1h    ;[0x0057 - 0x0057]   \r\n",
             "    dd  180h\t ; # bytes/words/dwords(based bitsPerUnit) imagebits data in data "
             "table \r\n",
         }) {
        EXPECT_NE(a.find(line), std::string::npos) << line;
    }
}

// The fixed-width ASCII font of the format's edge cases: codes 0x20 to 0x7E, height 8.
Font asciiFont() {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> characters;
    for (std::uint16_t code = 0x20; code <= 0x7E; ++code) {
        characters.push_back({code, 6});
    }
    return makeFont(kEncodingAnsi, 8, characters,
                    [](int x, int y, int i) { return (x + y + i) % 5 == 0; });
}

TEST(TableText, NinetyFiveAsciiCharactersMakeOneRange) {
    Font font = asciiFont();
    const std::string c = exportText(font, 0x6F, ExportFormat::TableC, "fontA");
    EXPECT_NE(
        c.find("    0x0045, \t/* font flags = FONT_FLAG_PROP | FONT_FLAG_BW | FONT_FLAG_ASCII */"),
        std::string::npos);
    EXPECT_EQ(linesBetween(c, "/*charLow    nGlyphs     from      to*/", "};"),
              (std::vector<std::string>{"/*charLow    nGlyphs     from      to*/",
                                        "/*=======    =======     =======   =======*/",
                                        "  {    32,       95 }   /*[0x0020 - 0x007E]*/ "}));
    EXPECT_NE(c.find("    0x10, \t/* cbThis"), std::string::npos);
    EXPECT_NE(c.find("    95, \t/* nChars"), std::string::npos);
    EXPECT_NE(c.find("    1, \t\t/* nRanges"), std::string::npos);
    EXPECT_NE(c.find("\r\n    31,     /*    ?        003F         63 */\r\n"), std::string::npos);
    EXPECT_NE(c.find("\r\n    94,     /*    ~        007E        126 */\r\n"), std::string::npos);
    EXPECT_NE(c.find("\r\n     0,     /*    .        007F        127 */\r\n"), std::string::npos);
    // The width table of a fixed-width font holds the fixed width for every character.
    EXPECT_NE(c.find("\r\n     6      /*    ~        007E        126 */\r\n};\r\n#endif"),
              std::string::npos);
}

TEST(TableText, CodesInTwoRuns) {
    Font font = makeFont(kEncodingAnsi, 3, {{0x41, 2}, {0x42, 2}, {0x44, 2}},
                         [](int x, int y, int) { return x == y; });
    const std::string c = exportText(font, 0x6F, ExportFormat::TableC, "fontR");
    EXPECT_EQ(linesBetween(c, "/*charLow    nGlyphs     from      to*/", "};"),
              (std::vector<std::string>{"/*charLow    nGlyphs     from      to*/",
                                        "/*=======    =======     =======   =======*/",
                                        "  {    65,        2 },  /*[0x0041 - 0x0042]*/ ",
                                        "  {    68,        1 }   /*[0x0044 - 0x0044]*/ "}));
}

TEST(TableText, AsciiIndexOnlyForCodesBelow256) {
    Font font = makeFont(kEncodingUnicode, 3, {{0x41, 2}, {0xFF, 2}, {0x100, 2}, {0x101, 2}},
                         [](int x, int y, int) { return x == y; });
    const std::string c = exportText(font, 0x6F, ExportFormat::TableC, "fontI");
    std::vector<std::string> table =
        linesBetween(c, "const UCHAR fontI_ascii_index_table[] = ", "};");
    ASSERT_EQ(table.size(), 2u + 2u + 256u);
    for (int code = 0; code < 256; ++code) {
        const int index = code == 0x41 ? 0 : code == 0xFF ? 1 : 0;
        EXPECT_EQ(table[static_cast<std::size_t>(4 + code)].substr(0, 7),
                  fmt("    %2d%c", index, code == 255 ? ' ' : ','));
    }
    EXPECT_EQ(table.back(), "     1      /*    \xFF        00FF        255 */");
}

TEST(TableText, ControlCharactersAreWrittenAsDots) {
    Font font =
        makeFont(kEncodingAnsi, 2, {{0x01, 1}, {0x1F, 1}}, [](int, int, int) { return true; });
    const std::string c = exportText(font, 0x6F, ExportFormat::TableC, "fontK");
    EXPECT_NE(c.find("    /* character 0x0001 ('.'): [width=1, offset= 0x0000 (0) ] */\r\n"),
              std::string::npos);
    EXPECT_NE(c.find("    0x0000, /*    -     .        0001          1 */\r\n"), std::string::npos);
    EXPECT_NE(c.find("     1      /*    .        001F         31 */\r\n"), std::string::npos);
    for (char control = 1; control < 32; ++control) {
        if (control != '\t' && control != '\r' && control != '\n') {
            EXPECT_EQ(c.find(control), std::string::npos) << int(control);
        }
    }

    // A lone surrogate is no character: the comments show '?', as for any character the code
    // page lacks.
    Font surrogate = makeFont(kEncodingUnicode, 2, {{0xD800, 1}, {0xDFFF, 1}},
                              [](int, int, int) { return true; });
    for (ExportFormat format : {ExportFormat::TableC, ExportFormat::TableAsm}) {
        SCOPED_TRACE(format);
        const std::string text = exportText(surrogate, 0x6F, format, "fontS");
        EXPECT_NE(text.find(" character 0xD800 ('?'): [width=1, offset= 0x0000 (0) ] "),
                  std::string::npos);
        EXPECT_NE(text.find("?        DFFF      57343"), std::string::npos);
    }
}

// One character per 65,535 units at most: a font whose data table holds `total` units
// (8-bit, column based, unpacked, height 8: one unit per column).
Font fontOfUnits(std::uint32_t total) {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> characters;
    std::uint16_t code = 0x41;
    while (total > 0) {
        const std::uint32_t width = std::min<std::uint32_t>(total, 0xFFFF);
        characters.push_back({code++, static_cast<std::uint16_t>(width)});
        total -= width;
    }
    Font font = makeFont(kEncodingAnsi, 8, characters, [](int, int, int) { return false; });
    font.dataFormat = kLength8;
    return font;
}

TEST(TableText, AssemblerOffsetsGrowWithTheTotal) {
    struct Case {
        std::uint32_t total;
        std::string first;
        std::string last;
        std::string size;
    };
    const std::vector<Case> cases = {
        {0x9FFF, "    dw         0000h ;    -     A        0041         65",
         "    dw         9fffh ;", "    dd  9fffh\t ;"},
        {0xA000, "    dw        00000h ;    -     A        0041         65",
         "    dw        0a000h ;", "    dd  0a000h\t ;"},
        {0x10000, "    dd        00000h ;    -     A        0041         65",
         "    dd        10000h ;", "    dd  10000h\t ;"},
        {0xA0000, "    dd       000000h ;    -     A        0041         65",
         "    dd       0a0000h ;", "    dd  0a0000h\t ;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        const std::string text =
            exportText(fontOfUnits(c.total), 0x6F, ExportFormat::TableAsm, "fontO");
        const std::vector<std::string> lines = linesBetween(
            text, "     ;     ========       -  ====     =======    =======", ";#endif");
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[1], c.first);
        EXPECT_EQ(lines.back(), c.last +
                                    "    -  extra address: the end of the last character's "
                                    "imagebits data.");
        EXPECT_NE(text.find("\r\n" + c.size + " # bytes/words/dwords"), std::string::npos);
    }
    // Entries between: the second character of the 0x10000 font starts at 0xFFFF.
    const std::string text =
        exportText(fontOfUnits(0x10000), 0x6F, ExportFormat::TableAsm, "fontO");
    EXPECT_NE(text.find("\r\n    dd        0ffffh ;    -     B        0042         66\r\n"),
              std::string::npos);
    const std::string c = exportText(fontOfUnits(0xA000), 0x6F, ExportFormat::TableC, "fontO");
    EXPECT_NE(c.find("\r\n    0xA000  /*    -  extra address"), std::string::npos);
    EXPECT_NE(c.find("\r\n    0xA000, \t\t/* # bytes/words/dwords"), std::string::npos);
}

TEST(TableText, DataTypeFollowsTheLengthUnlessUcharIsChosen) {
    Font font = test::fixedFont();
    for (auto [length, type, pointer] :
         {std::tuple{kLength8, "UCHAR", "UCHAR"}, std::tuple{kLength16, "USHORT", "USHORT"},
          std::tuple{kLength32, "ULONG", "ULONG"}}) {
        font.dataFormat = length | kScanRow;
        const std::string typed = exportText(font, 0x6F, ExportFormat::TableC, "fontF");
        EXPECT_NE(typed.find(std::string("\r\nconst ") + type + " fontF_data_table[] = \r\n{\r\n"),
                  std::string::npos);
        EXPECT_NE(typed.find(std::string("\r\n     const ") + pointer +
                             " *pData = data_table[offset];\r\n"),
                  std::string::npos);
        const std::string bytes = exportText(font, 0x7F, ExportFormat::TableC, "fontF");
        EXPECT_NE(bytes.find("\r\nconst UCHAR fontF_data_table[] = \r\n{\r\n"), std::string::npos);
        EXPECT_NE(bytes.find(std::string("\r\n     const ") + pointer +
                             " *pData = data_table[offset];\r\n"),
                  std::string::npos);
        // The header counts bytes per unit in the texts.
        EXPECT_NE(
            typed.find(fmt("\r\n    %d, \t\t\t/* 1, 2, 4 bytes per unit", unitBits(length) / 8)),
            std::string::npos);
    }
}

TEST(TableText, FontWithoutCharactersIsRefused) {
    Font font;
    font.height = 8;
    MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat id : {ExportFormat::TableC, ExportFormat::TableAsm, ExportFormat::TableBin}) {
        EXPECT_FALSE(exportToMemory(font, settings, id, "fontE", fixedNow()).has_value()) << id;
    }
}

// Records what the writers show on the status bar.
class RecordingSink : public ProgressSink {
  public:
    void show(bool) override {}
    void setRange(int, int) override {}
    void setStep(int) override {}
    void stepIt() override {}
    void setText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

TEST(TableText, StatusTextsBeforeTheSections) {
    Font font = test::fixedFont();
    MemorySettingsStore settings = test::settingsWithPages(0x6F);
    ExportStream out;
    BitmapEncoder encoder(font);
    CancelFlag cancel;
    RecordingSink sink;
    ExportContext context(font, encoder, out, cancel, sink, settings, "fontF");
    ASSERT_TRUE(writeTableC(context));
    std::vector<std::string> sections;
    for (const std::string& t : sink.texts) {
        if (t.rfind("Export: ", 0) == 0 || t == kIdleStatusText) {
            sections.push_back(t);
        }
    }
    EXPECT_EQ(sections,
              (std::vector<std::string>{
                  kIdleStatusText,  // the end of the encoding walk
                  "Export: Font Information...", "Export: Offset Table...",
                  "Export: Font Information...", "Export: Index Table (Ascii)...",
                  "Export: Index Table (Extended)...", "Export: Font Header...", kIdleStatusText}));
}

// ---------------------------------------------------------------------------------------------
// Layouts, unit counts and pixels read back (independent of the encoder)

struct Layout {
    std::uint32_t traversal;  // word & 0x111
    bool bigEndian;
    int bits;
    bool invert;

    std::uint32_t word() const {
        return traversal | (bigEndian ? kBigEndian : 0u) | withUnitBits(0, bits) |
               (invert ? kInvert : 0u);
    }
};

const std::uint32_t kTraversals[] = {0x110, 0x100, 0x111, 0x101, 0x000, 0x010, 0x001, 0x011};

// Every traversal x both bit orders x 8/16/32 bits x inverted or not.
std::vector<Layout> allLayouts() {
    std::vector<Layout> layouts;
    for (std::uint32_t traversal : kTraversals) {
        for (bool big : {false, true}) {
            for (int bits : {8, 16, 32}) {
                for (bool invert : {false, true}) {
                    layouts.push_back({traversal, big, bits, invert});
                }
            }
        }
    }
    return layouts;
}

int unitsFor(int n, int bits) {
    return (n + bits - 1) / bits;
}

// The unit counts of the traversal table.
int expectedUnits(int W, int H, std::uint32_t traversal, int P) {
    if (W == 0) {
        return 0;
    }
    switch (traversal) {
        case 0x110:
        case 0x100:
            return H * unitsFor(W, P);
        case 0x111:
        case 0x001:
            return unitsFor(W * H, P);
        case 0x101:
            return H * (W / P) + unitsFor(H * (W % P), P);
        case 0x000:
        case 0x010:
            return W * unitsFor(H, P);
        case 0x011:
            return W * (H / P) + unitsFor(W * (H % P), P);
        default:
            return -1;
    }
}

// The pixel each bit position of the character's units carries, in order: y * W + x, or -1
// for padding. Its length is units x P.
std::vector<int> bitPositions(int W, int H, std::uint32_t traversal, int P) {
    std::vector<int> at;
    auto pixel = [&](int y, int x) { at.push_back(y < H && x < W ? y * W + x : -1); };
    auto finish = [&] {
        while (at.size() % static_cast<std::size_t>(P) != 0) {
            at.push_back(-1);
        }
    };
    if (W == 0) {
        return at;
    }
    switch (traversal) {
        case 0x110:
            for (int y = 0; y < H; ++y)
                for (int b = 0; b < unitsFor(W, P); ++b)
                    for (int k = 0; k < P; ++k)
                        pixel(y, b * P + k);
            break;
        case 0x100:
            for (int b = 0; b < unitsFor(W, P); ++b)
                for (int y = 0; y < H; ++y)
                    for (int k = 0; k < P; ++k)
                        pixel(y, b * P + k);
            break;
        case 0x111:
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    pixel(y, x);
            finish();
            break;
        case 0x101:
            for (int b = 0; b < W / P; ++b)
                for (int y = 0; y < H; ++y)
                    for (int k = 0; k < P; ++k)
                        pixel(y, b * P + k);
            for (int y = 0; y < H; ++y)
                for (int x = W / P * P; x < W; ++x)
                    pixel(y, x);
            finish();
            break;
        case 0x000:
            for (int x = 0; x < W; ++x)
                for (int b = 0; b < unitsFor(H, P); ++b)
                    for (int k = 0; k < P; ++k)
                        pixel(b * P + k, x);
            break;
        case 0x010:
            for (int b = 0; b < unitsFor(H, P); ++b)
                for (int x = 0; x < W; ++x)
                    for (int k = 0; k < P; ++k)
                        pixel(b * P + k, x);
            break;
        case 0x001:
            for (int x = 0; x < W; ++x)
                for (int y = 0; y < H; ++y)
                    pixel(y, x);
            finish();
            break;
        case 0x011:
            for (int b = 0; b < H / P; ++b)
                for (int x = 0; x < W; ++x)
                    for (int k = 0; k < P; ++k)
                        pixel(b * P + k, x);
            for (int x = 0; x < W; ++x)
                for (int y = H / P * P; y < H; ++y)
                    pixel(y, x);
            finish();
            break;
        default:
            break;
    }
    return at;
}

// The character's rows drawn with '#' and '.', each ended by "\n".
std::string drawn(const Font& font, int i, int width) {
    std::string rows;
    for (int y = 0; y < font.height; ++y) {
        for (int x = 0; x < width; ++x) {
            rows += test::pixelOf(font, static_cast<std::uint16_t>(font.unicodeAt(i)), x, y) ? '#'
                                                                                             : '.';
        }
        rows += '\n';
    }
    return rows;
}

int widthOf(const Font& font, int i) {
    std::uint16_t w = 0;
    font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), w);
    return w;
}

std::uint16_t expectedFlags(const Font& font) {
    return static_cast<std::uint16_t>(0x0001 | 0x0004 | (0x0040 << font.encoding));
}

std::vector<std::pair<int, int>> expectedRanges(const Font& font) {
    std::vector<std::pair<int, int>> ranges;
    for (int i = 0; i < font.count(); ++i) {
        if (i > 0 && font.codeAt(i) == font.codeAt(i - 1) + 1) {
            ++ranges.back().second;
        } else {
            ranges.push_back({font.codeAt(i), 1});
        }
    }
    return ranges;
}

// ---------------------------------------------------------------------------------------------
// The generated C compiled with the host compiler and read back by a C program

// Walks the compiled tables of each export: prints the header, the index tables, and every
// character found through them, redrawn from its units by the layout's traversal.
const char* const kDecoder = R"C(#include <stdio.h>
#include "tlmtype.h"

typedef struct {
    const char *name;
    const FONTHEADER_TLM *h;
    unsigned traversal;
    int bigEndian, invert, bytes; /* bytes: wide units written as UCHAR, high byte first */
    int count;
    const unsigned short *codes;
    const unsigned short *widths; /* for a variable-width font without width table */
} Export;

typedef struct {
    const Export *e;
    int L;
    unsigned long next; /* the next unit to load */
    int k;              /* pixels taken from the loaded unit */
    unsigned long unit;
    int badPadding;
} Reader;

static unsigned long unitAt(const Export *e, unsigned long n) {
    const UCHAR *p = e->h->data_table;
    int size = e->h->bytesPerUnit;
    if (size == 1) return p[n];
    if (e->bytes) {
        unsigned long v = 0;
        int b;
        for (b = 0; b < size; ++b) v = (v << 8) | p[n * size + b];
        return v;
    }
    if (size == 2) return ((const USHORT *)(const void *)p)[n];
    return ((const ULONG *)(const void *)p)[n];
}

static int take(Reader *r) {
    int bit;
    if (r->k == 0) {
        r->unit = unitAt(r->e, r->next++);
        if (r->e->invert) r->unit = ~r->unit & (r->L == 32 ? 0xFFFFFFFFul : ((1ul << r->L) - 1));
    }
    bit = r->e->bigEndian ? r->L - 1 - r->k : r->k;
    if (++r->k == r->L) r->k = 0;
    return (int)((r->unit >> bit) & 1u);
}

static void pad(Reader *r) {
    if (take(r)) r->badPadding = 1;
}

static void finish(Reader *r) {
    while (r->k != 0) pad(r);
}

static int px[64][64];

static void put(Reader *r, int row, int col, int W, int H) {
    if (row < H && col < W) px[row][col] = take(r);
    else pad(r);
}

static void decode(Reader *r, int W, int H) {
    int P = r->L, b, row, col, k;
    int rowBands = (W + P - 1) / P, colBands = (H + P - 1) / P;
    switch (r->e->traversal) {
    case 0x110:
        for (row = 0; row < H; ++row)
            for (b = 0; b < rowBands; ++b)
                for (k = 0; k < P; ++k) put(r, row, b * P + k, W, H);
        break;
    case 0x100:
        for (b = 0; b < rowBands; ++b)
            for (row = 0; row < H; ++row)
                for (k = 0; k < P; ++k) put(r, row, b * P + k, W, H);
        break;
    case 0x111:
        for (row = 0; row < H; ++row)
            for (col = 0; col < W; ++col) px[row][col] = take(r);
        finish(r);
        break;
    case 0x101:
        for (b = 0; b < W / P; ++b)
            for (row = 0; row < H; ++row)
                for (k = 0; k < P; ++k) px[row][b * P + k] = take(r);
        for (row = 0; row < H; ++row)
            for (col = W / P * P; col < W; ++col) px[row][col] = take(r);
        finish(r);
        break;
    case 0x000:
        for (col = 0; col < W; ++col)
            for (b = 0; b < colBands; ++b)
                for (k = 0; k < P; ++k) put(r, b * P + k, col, W, H);
        break;
    case 0x010:
        for (b = 0; b < colBands; ++b)
            for (col = 0; col < W; ++col)
                for (k = 0; k < P; ++k) put(r, b * P + k, col, W, H);
        break;
    case 0x001:
        for (col = 0; col < W; ++col)
            for (row = 0; row < H; ++row) px[row][col] = take(r);
        finish(r);
        break;
    case 0x011:
        for (b = 0; b < H / P; ++b)
            for (col = 0; col < W; ++col)
                for (k = 0; k < P; ++k) px[b * P + k][col] = take(r);
        for (col = 0; col < W; ++col)
            for (row = H / P * P; row < H; ++row) px[row][col] = take(r);
        finish(r);
        break;
    }
}

/* The index of a code through the glyph ranges, -2 when no range holds it. */
static int extendedIndex(const GLYPH_SET *set, unsigned code) {
    int index = 0;
    unsigned i;
    for (i = 0; i < set->nRanges; ++i) {
        const GLYPH_RANGE *range = &set->pRanges[i];
        if (code < range->charLow) return -2;
        if (code < (unsigned)range->charLow + range->nGlyphs) return index + (int)(code - range->charLow);
        index += range->nGlyphs;
    }
    return -2;
}

static void walk(const Export *e) {
    const FONTHEADER_TLM *h = e->h;
    unsigned long running = 0;
    int i, c, row, col;
    printf("== %s\n", e->name);
    printf("hdr %04X %04X %04X %u %u %u %04X %04X %u %u %u %lu\n", h->magic, h->version, h->flags,
           h->width, h->height, h->ascent, h->firstChar, h->lastChar, h->nChars, h->reserved,
           h->bytesPerUnit, (unsigned long)h->dataSize);
    printf("tables %d%d%d%d\n", h->offset_table != NULL, h->width_table != NULL,
           h->ascii_index_table != NULL, h->extended_index_table != NULL);
    if (h->offset_table) printf("end %lu\n", (unsigned long)h->offset_table[h->nChars]);
    if (h->ascii_index_table) {
        for (c = 0; c < 256; ++c)
            if (h->ascii_index_table[c]) printf("a %02X %u\n", c, h->ascii_index_table[c]);
    }
    if (h->extended_index_table) {
        const GLYPH_SET *set = h->extended_index_table;
        printf("set %lu %u %u\n", (unsigned long)set->cbThis, set->nChars, set->nRanges);
        for (i = 0; i < set->nRanges; ++i)
            printf("r %04X %u\n", set->pRanges[i].charLow, set->pRanges[i].nGlyphs);
    }
    for (i = 0; i < e->count; ++i) {
        unsigned code = e->codes[i];
        int a = (h->ascii_index_table && code < 256) ? h->ascii_index_table[code] : -1;
        int x = h->extended_index_table ? extendedIndex(h->extended_index_table, code) : -1;
        int index = a >= 0 ? a : x >= 0 ? x : i;
        int W = h->width_table ? h->width_table[index] : h->width ? h->width : e->widths[i];
        unsigned long offset = h->offset_table ? h->offset_table[index] : running;
        Reader r;
        r.e = e;
        r.L = h->bytesPerUnit * 8;
        r.next = offset;
        r.k = 0;
        r.unit = 0;
        r.badPadding = 0;
        decode(&r, W, h->height);
        printf("c %04X idx %d %d w %d off %lu units %lu%s\n", code, a, x, W, offset, r.next - offset,
               r.badPadding ? " badpad" : "");
        running = r.next;
        for (row = 0; row < h->height; ++row) {
            for (col = 0; col < W; ++col) putchar(px[row][col] ? '#' : '.');
            putchar('\n');
        }
    }
}
)C";

struct CompiledExport {
    std::string name;         // the identifier base and the label of its output
    int font;                 // index into the fonts
    std::uint32_t word;       // data format
    int pages;                // table options
    bool standalone = false;  // compiled as its own translation unit
};

// What the decoder prints for an export, from the source font and the format description.
std::string expectedWalk(const CompiledExport& x, const Font& font) {
    const int bits = unitBits(x.word);
    const std::uint32_t traversal = x.word & kTraversalMask;
    const bool offsets = x.pages & kPageOffsetTable, widths = x.pages & kPageWidthTable,
               ascii = x.pages & kPageAsciiIndexTable, extended = x.pages & kPageExtendedIndexTable;
    std::vector<int> units;
    unsigned long total = 0;
    for (int i = 0; i < font.count(); ++i) {
        units.push_back(expectedUnits(widthOf(font, i), font.height, traversal, bits));
        total += static_cast<unsigned long>(units.back());
    }
    std::string out = "== " + x.name + "\n";
    out += fmt("hdr 6A5D 0320 %04X %u %u %u %04X %04X %u 0 %d %lu\n", expectedFlags(font),
               font.fixedWidth, font.height, static_cast<unsigned>(font.ascent), font.codeAt(0),
               font.codeAt(font.count() - 1), static_cast<unsigned>(font.count()), bits / 8, total);
    out += fmt("tables %d%d%d%d\n", offsets, widths, ascii, extended);
    if (offsets) {
        out += fmt("end %lu\n", total);
    }
    if (ascii) {
        for (int i = 1; i < font.count() && font.codeAt(i) < 256; ++i) {
            out += fmt("a %02X %d\n", font.codeAt(i), i);
        }
    }
    if (extended) {
        const auto ranges = expectedRanges(font);
        out += fmt("set %zu %d %zu\n", 12 + 4 * ranges.size(), font.count(), ranges.size());
        for (const auto& [low, n] : ranges) {
            out += fmt("r %04X %d\n", low, n);
        }
    }
    unsigned long running = 0;
    for (int i = 0; i < font.count(); ++i) {
        const int code = font.codeAt(i);
        out +=
            fmt("c %04X idx %d %d w %d off %lu units %d\n", code, ascii && code < 256 ? i : -1,
                extended ? i : -1, widthOf(font, i), running, units[static_cast<std::size_t>(i)]);
        running += static_cast<unsigned long>(units[static_cast<std::size_t>(i)]);
        out += drawn(font, i, widthOf(font, i));
    }
    return out;
}

std::vector<Font> compileFonts() {
    return {test::fixedFont(), test::variableFont(), test::unicodeFont(), tallFont()};
}

// Exports every case, compiles them all into one program with the decoder (the bulk included
// into one translation unit, the standalone ones as their own), runs it and compares what it
// read back, export by export.
void compileAndCompare(const std::vector<CompiledExport>& cases) {
    std::vector<Font> fonts = compileFonts();
    // The record types the generated files name, from the "tlmtype.h" the program ships.
    std::vector<std::pair<std::string, std::string>> files = {
        {"tlmtype.h", typeloom::test::readShippedHeader("tlmtype.h")}};
    std::string tables;
    std::string main = kDecoder;
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        std::string codes, widths;
        for (int i = 0; i < fonts[f].count(); ++i) {
            codes += fmt("%d, ", fonts[f].codeAt(i));
            widths += fmt("%d, ", widthOf(fonts[f], i));
        }
        main += fmt("static const unsigned short codes%zu[] = {%s};\n", f, codes.c_str());
        main += fmt("static const unsigned short widths%zu[] = {%s};\n", f, widths.c_str());
    }
    std::string list;
    std::string expected;
    for (const CompiledExport& x : cases) {
        Font& font = fonts[static_cast<std::size_t>(x.font)];
        font.dataFormat = x.word;
        const std::string text = exportText(font, x.pages, ExportFormat::TableC, x.name);
        if (x.standalone) {
            files.push_back({x.name + ".c", text});
        } else {
            files.push_back({x.name + ".inc", text});
            tables += "#include \"" + x.name + ".inc\"\n";
        }
        main += "extern const FONTHEADER_TLM " + x.name + ";\n";
        list +=
            fmt("    {\"%s\", &%s, 0x%03X, %d, %d, %d, %d, codes%d, widths%d},\n", x.name.c_str(),
                x.name.c_str(), x.word & kTraversalMask, isBigEndian(x.word), isInverted(x.word),
                (x.pages & kPageUcharData) != 0, font.count(), x.font, x.font);
        expected += expectedWalk(x, font);
    }
    main += "static const Export exports[] = {\n" + list + "};\n";
    main +=
        "int main(void) {\n    unsigned i;\n"
        "    for (i = 0; i < sizeof exports / sizeof exports[0]; ++i) walk(&exports[i]);\n"
        "    return 0;\n}\n";
    files.push_back({"main.c", main});
    files.push_back({"tables.c", tables});
    test::CompileResult r = test::compileAndRun(files, "-Wextra");
    ASSERT_TRUE(r.compiled) << r.diagnostics.substr(0, 4000);
    ASSERT_EQ(r.exitStatus, 0);
    // Export by export, so that a failure names the export.
    auto split = [](const std::string& text) {
        std::map<std::string, std::string> parts;
        std::size_t at = 0;
        while ((at = text.find("== ", at)) != std::string::npos) {
            const std::size_t nameEnd = text.find('\n', at);
            const std::size_t next = text.find("\n== ", nameEnd);
            const std::size_t end = next == std::string::npos ? text.size() : next + 1;
            parts[text.substr(at + 3, nameEnd - at - 3)] = text.substr(at, end - at);
            at = end;
        }
        return parts;
    };
    const auto got = split(r.output);
    const auto want = split(expected);
    ASSERT_EQ(got.size(), cases.size());
    int failures = 0;
    for (const auto& [name, text] : want) {
        const auto it = got.find(name);
        ASSERT_NE(it, got.end()) << name;
        if (it->second != text && ++failures <= 5) {
            ADD_FAILURE() << "export " << name << " read back\n"
                          << it->second << "expected\n"
                          << text;
        }
    }
    EXPECT_EQ(failures, 0);
}

std::string layoutName(const Layout& l) {
    return fmt("%03X%s%d%s", l.traversal, l.bigEndian ? "be" : "le", l.bits, l.invert ? "i" : "");
}

// Every layout on every font, once with all tables and typed data, once with no table and
// UCHAR data (so the decoder computes offsets and takes widths from the header).
TEST(TableCompiled, EveryLayoutReadsBackTheFontPixels) {
    std::vector<CompiledExport> cases;
    const char* const fontNames[] = {"Fix", "Var", "Uni", "Tall"};
    for (const Layout& layout : allLayouts()) {
        for (int f = 0; f < 4; ++f) {
            for (int pages : {0x6F, 0x11}) {
                cases.push_back(
                    {fmt("font%s_%s_%02X", fontNames[f], layoutName(layout).c_str(), pages), f,
                     layout.word(), pages});
            }
        }
    }
    // One file per font also compiled on its own.
    for (int f = 0; f < 4; ++f) {
        cases.push_back({fmt("font%s_solo", fontNames[f]), f, kDefaultDataFormat, 0x6F, true});
    }
    compileAndCompare(cases);
}

// Every combination of the four table switches, with typed and with UCHAR data.
TEST(TableCompiled, EveryTableSwitchOnAndOff) {
    std::vector<CompiledExport> cases;
    const char* const fontNames[] = {"Fix", "Var", "Uni", "Tall"};
    const int switches[] = {kPageOffsetTable, kPageWidthTable, kPageAsciiIndexTable,
                            kPageExtendedIndexTable};
    for (int mask = 0; mask < 16; ++mask) {
        for (bool uchar : {false, true}) {
            int pages = kPageDataTable | (uchar ? kPageUcharData : 0);
            for (int s = 0; s < 4; ++s) {
                if (mask & (1 << s)) {
                    pages |= switches[s];
                }
            }
            for (int f = 0; f < 4; ++f) {
                const Layout layout{0x101, true, 16, f % 2 == 1};
                cases.push_back({fmt("font%s_pages%02X", fontNames[f], pages), f, layout.word(),
                                 pages, mask == 15 && uchar});
            }
        }
    }
    compileAndCompare(cases);
}

// ---------------------------------------------------------------------------------------------
// The binary form, read by a decoder of its own

class Bytes {
  public:
    explicit Bytes(const std::string& data) : m_data(data) {}
    std::size_t size() const { return m_data.size(); }
    std::uint32_t u8(std::size_t at) const {
        return at < m_data.size() ? static_cast<std::uint8_t>(m_data[at]) : 0xFFFFFFFFu;
    }
    std::uint32_t u16(std::size_t at) const { return le(at, 2); }
    std::uint32_t u32(std::size_t at) const { return le(at, 4); }
    std::uint32_t le(std::size_t at, int n) const {
        if (at + static_cast<std::size_t>(n) > m_data.size()) {
            ADD_FAILURE() << "read past the end at " << at;
            return 0xFFFFFFFFu;
        }
        std::uint32_t v = 0;
        for (int k = n - 1; k >= 0; --k) {
            v = (v << 8) | static_cast<std::uint8_t>(m_data[at + static_cast<std::size_t>(k)]);
        }
        return v;
    }

  private:
    const std::string& m_data;
};

// Checks every field, table and offset of the binary export of `font` in layout `word` with
// table options `pages`, and reads every character's pixels back from its units.
void checkBinary(Font font, std::uint32_t word, int pages) {
    font.dataFormat = word;
    const std::string data = exportText(font, pages, ExportFormat::TableBin, "fontB");
    const Bytes b(data);
    const int bits = unitBits(word);
    const std::uint32_t traversal = word & kTraversalMask;
    const int count = font.count();
    std::vector<std::uint32_t> units;
    std::uint32_t total = 0;
    for (int i = 0; i < count; ++i) {
        units.push_back(static_cast<std::uint32_t>(
            expectedUnits(widthOf(font, i), font.height, traversal, bits)));
        total += units.back();
    }
    ASSERT_GE(b.size(), 44u);
    EXPECT_EQ(b.u16(0), 0x6A5Du);
    EXPECT_EQ(b.u16(2), 0x0320u);
    EXPECT_EQ(b.u16(4), expectedFlags(font));
    EXPECT_EQ(b.u16(6), font.fixedWidth);
    EXPECT_EQ(b.u16(8), font.height);
    EXPECT_EQ(b.u16(10), static_cast<std::uint16_t>(font.ascent));
    EXPECT_EQ(b.u16(12), static_cast<std::uint32_t>(font.codeAt(0)));
    EXPECT_EQ(b.u16(14), static_cast<std::uint32_t>(font.codeAt(count - 1)));
    EXPECT_EQ(b.u16(16), static_cast<std::uint32_t>(count));
    EXPECT_EQ(b.u8(18), 0u);
    EXPECT_EQ(b.u8(19), static_cast<std::uint32_t>(bits));  // bits, not bytes, in the binary
    EXPECT_EQ(b.u32(20), total);
    EXPECT_EQ(b.u32(24), 44u);

    const std::uint32_t dataBytes = total * static_cast<std::uint32_t>(bits / 8);
    const std::uint32_t padded = (dataBytes + 3) / 4 * 4;
    std::uint32_t p = 44 + padded;
    const std::uint32_t offsetAt = (pages & kPageOffsetTable) ? p : 0;
    p += offsetAt ? 4 * static_cast<std::uint32_t>(count + 1) : 0;
    const std::uint32_t widthAt = (pages & kPageWidthTable) ? p : 0;
    p += widthAt ? 2 * static_cast<std::uint32_t>(count) : 0;
    const std::uint32_t asciiAt = (pages & kPageAsciiIndexTable) ? p : 0;
    p += asciiAt ? 256 : 0;
    const std::uint32_t extendedAt = (pages & kPageExtendedIndexTable) ? p : 0;
    const auto ranges = expectedRanges(font);
    p += extendedAt ? static_cast<std::uint32_t>(12 + 4 * ranges.size()) : 0;
    EXPECT_EQ(b.u32(28), offsetAt);
    EXPECT_EQ(b.u32(32), widthAt);
    EXPECT_EQ(b.u32(36), asciiAt);
    EXPECT_EQ(b.u32(40), extendedAt);
    ASSERT_EQ(b.size(), p);
    for (std::uint32_t k = 44 + dataBytes; k < 44 + padded; ++k) {
        EXPECT_EQ(b.u8(k), 0u) << "padding byte " << k;
    }

    // The characters, read back bit by bit.
    std::uint32_t first = 0;
    for (int i = 0; i < count; ++i) {
        const int W = widthOf(font, i);
        const std::vector<int> at = bitPositions(W, font.height, traversal, bits);
        ASSERT_EQ(at.size(), units[static_cast<std::size_t>(i)] * static_cast<std::size_t>(bits));
        std::vector<int> pixels(static_cast<std::size_t>(W * font.height), -1);
        for (std::size_t j = 0; j < at.size(); ++j) {
            const std::uint32_t unit = b.le(44 + (first + j / static_cast<std::size_t>(bits)) *
                                                     static_cast<std::size_t>(bits / 8),
                                            bits / 8);
            const int k = static_cast<int>(j % static_cast<std::size_t>(bits));
            const int bit = isBigEndian(word) ? bits - 1 - k : k;
            const int v = static_cast<int>((unit >> bit) & 1u) ^ (isInverted(word) ? 1 : 0);
            if (at[j] < 0) {
                EXPECT_EQ(v, 0) << "padding bit " << j << " of character " << i;
            } else {
                pixels[static_cast<std::size_t>(at[j])] = v;
            }
        }
        std::string redrawn;
        for (int y = 0; y < font.height; ++y) {
            for (int x = 0; x < W; ++x) {
                redrawn += pixels[static_cast<std::size_t>(y * W + x)] == 1 ? '#' : '.';
            }
            redrawn += '\n';
        }
        EXPECT_EQ(redrawn, drawn(font, i, W)) << "character " << i;
        first += units[static_cast<std::size_t>(i)];
    }

    if (offsetAt != 0) {
        std::uint32_t running = 0;
        for (int i = 0; i <= count; ++i) {
            EXPECT_EQ(b.u32(offsetAt + 4 * static_cast<std::uint32_t>(i)), running)
                << "offset " << i;
            if (i < count) {
                running += units[static_cast<std::size_t>(i)];
            }
        }
    }
    if (widthAt != 0) {
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(b.u16(widthAt + 2 * static_cast<std::uint32_t>(i)),
                      static_cast<std::uint32_t>(widthOf(font, i)));
        }
    }
    if (asciiAt != 0) {
        std::vector<std::uint32_t> expected(256, 0);
        for (int i = 0; i < count && font.codeAt(i) < 256; ++i) {
            expected[static_cast<std::size_t>(font.codeAt(i))] = static_cast<std::uint32_t>(i);
        }
        for (std::uint32_t c = 0; c < 256; ++c) {
            EXPECT_EQ(b.u8(asciiAt + c), expected[c]) << "ascii index " << c;
        }
    }
    if (extendedAt != 0) {
        EXPECT_EQ(b.u32(extendedAt), 12 + 4 * ranges.size());
        EXPECT_EQ(b.u16(extendedAt + 4), static_cast<std::uint32_t>(count));
        EXPECT_EQ(b.u16(extendedAt + 6), ranges.size());
        EXPECT_EQ(b.u32(extendedAt + 8), extendedAt + 12);
        for (std::size_t r = 0; r < ranges.size(); ++r) {
            EXPECT_EQ(b.u16(extendedAt + 12 + 4 * r), static_cast<std::uint32_t>(ranges[r].first));
            EXPECT_EQ(b.u16(extendedAt + 14 + 4 * r), static_cast<std::uint32_t>(ranges[r].second));
        }
    }
}

// The variable font in the default layout with the default tables, byte by byte.
TEST(TableBinary, VariableFontByteByByte) {
    const std::string data =
        exportText(test::variableFont(), 0x6F, ExportFormat::TableBin, "fontV");
    std::vector<std::uint8_t> e = {0x5D, 0x6A, 0x20, 0x03, 0x45, 0x00,  // magic, version, flags
                                   0x00, 0x00, 0x04, 0x00, 0x03,
                                   0x00,  // width 0, height 4, ascent 3
                                   0x20, 0x00, 0x31, 0x00, 0x04, 0x00,  // first, last, count
                                   0x00, 0x08,                          // reserved, 8 bits
                                   0x10, 0x00, 0x00, 0x00,              // 16 units
                                   0x2C, 0x00, 0x00, 0x00,              // data at 44
                                   0x3C, 0x00, 0x00, 0x00,              // offsets at 60
                                   0x50, 0x00, 0x00, 0x00,              // widths at 80
                                   0x58, 0x00, 0x00, 0x00,              // ascii index at 88
                                   0x58, 0x01, 0x00, 0x00,              // extended index at 344
                                   // data: 16 bytes, no padding
                                   0x80, 0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x22, 0x00, 0x11,
                                   0x00, 0x88, 0x80, 0x44, 0x00,
                                   // offsets 0, 4, 8, 16, 16
                                   0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00,
                                   0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00,
                                   // widths 2, 1, 9, 0
                                   0x02, 0x00, 0x01, 0x00, 0x09, 0x00, 0x00, 0x00};
    std::vector<std::uint8_t> ascii(256, 0);
    ascii[0x21] = 1;
    ascii[0x30] = 2;
    ascii[0x31] = 3;
    e.insert(e.end(), ascii.begin(), ascii.end());
    const std::vector<std::uint8_t> extended = {
        0x14, 0x00, 0x00, 0x00, 0x04, 0x00, 0x02, 0x00,  // cbThis 20, 4 characters, 2 ranges
        0x64, 0x01, 0x00, 0x00,                          // ranges at 356
        0x20, 0x00, 0x02, 0x00, 0x30, 0x00, 0x02, 0x00};
    e.insert(e.end(), extended.begin(), extended.end());
    EXPECT_EQ(data, std::string(e.begin(), e.end()));
    // The same under the "Old Typeloom Studio 3.0 Format" id; UCHAR text option changes nothing.
    EXPECT_EQ(exportText(test::variableFont(), 0x6F, ExportFormat::StudioDat, "fontV"), data);
    EXPECT_EQ(exportText(test::variableFont(), 0x7F, ExportFormat::TableBin, "fontV"), data);
}

TEST(TableBinary, WithoutTablesOnlyHeaderDataAndPadding) {
    Font font = test::fixedFont();  // row mode: 3 characters x 7 rows x 1 unit
    for (auto [length, size] : {std::pair{kLength8, 44u + 24u}, std::pair{kLength16, 44u + 44u},
                                std::pair{kLength32, 44u + 84u}}) {
        font.dataFormat = kScanRow | kPreferRow | length;
        const std::string data = exportText(font, 0x01, ExportFormat::TableBin, "fontF");
        const Bytes b(data);
        EXPECT_EQ(data.size(), size);
        EXPECT_EQ(b.u32(20), 21u);
        for (std::size_t at = 28; at < 44; at += 4) {
            EXPECT_EQ(b.u32(at), 0u);
        }
        checkBinary(font, font.dataFormat, 0x01);
    }
}

TEST(TableBinary, EveryLayoutOnEveryFont) {
    std::vector<Font> fonts = compileFonts();
    for (const Layout& layout : allLayouts()) {
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            for (int pages : {0x6F, 0x01}) {
                SCOPED_TRACE(
                    fmt("layout %s font %zu pages %02X", layoutName(layout).c_str(), f, pages));
                checkBinary(fonts[f], layout.word(), pages);
                if (HasFailure()) {
                    return;
                }
            }
        }
    }
}

TEST(TableBinary, EveryTableSwitchOnAndOff) {
    std::vector<Font> fonts = compileFonts();
    for (int pages = 0; pages < 0x80; ++pages) {
        if ((pages & (kPageUcharData | kPageC99Braces)) != 0) {
            continue;
        }
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            SCOPED_TRACE(fmt("font %zu pages %02X", f, pages));
            checkBinary(fonts[f], 0x00041101u, pages);
        }
    }
}

TEST(TableBinary, EdgeCasesOfTheFormat) {
    // 95 ASCII characters: flags 0x45, one range (0x20, 95), cbThis 16, indexes 0..94.
    Font ascii = asciiFont();
    checkBinary(ascii, kDefaultDataFormat, 0x6F);
    const std::string data = exportText(ascii, 0x4F, ExportFormat::TableBin, "fontA");
    const Bytes b(data);
    EXPECT_EQ(b.u16(4), 0x0045u);
    const std::uint32_t extendedAt = b.u32(40);
    EXPECT_EQ(b.u32(extendedAt), 16u);
    EXPECT_EQ(b.u16(extendedAt + 6), 1u);
    EXPECT_EQ(b.u16(extendedAt + 12), 0x20u);
    EXPECT_EQ(b.u16(extendedAt + 14), 95u);
    EXPECT_EQ(b.u8(b.u32(36) + 0x7E), 94u);
    EXPECT_EQ(b.u8(b.u32(36) + 0x7F), 0u);
    // Two runs of codes; codes from 256 on never enter the ASCII index.
    checkBinary(makeFont(kEncodingAnsi, 3, {{0x41, 2}, {0x42, 2}, {0x44, 2}},
                         [](int x, int y, int) { return x == y; }),
                kDefaultDataFormat, 0x6F);
    checkBinary(makeFont(kEncodingUnicode, 3, {{0x41, 2}, {0xFF, 2}, {0x100, 2}, {0x101, 2}},
                         [](int x, int y, int) { return x == y; }),
                kDefaultDataFormat, 0x6F);
    // 16-bit units: the binary says 16, the C text 2.
    Font font = test::fixedFont();
    font.dataFormat = kDefaultDataFormat & ~kLengthMask;
    font.dataFormat |= kLength16;
    EXPECT_EQ(Bytes(exportText(font, 0x6F, ExportFormat::TableBin, "fontF")).u8(19), 16u);
    EXPECT_NE(exportText(font, 0x6F, ExportFormat::TableC, "fontF")
                  .find("\r\n    2, \t\t\t/* 1, 2, 4 bytes per unit"),
              std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Cancel

using test::CancellingSink;

// Cancelling at every point a writer reports progress (the encoding walk, each section, each
// character) leaves no file, and an earlier file at the path as it was. Only a cancel after
// the last section (at the final status text) lets the file through.
TEST(TableCancel, EveryPointLeavesNoFile) {
    Font font = test::variableFont();
    MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (auto [id, extension] :
         {std::pair{ExportFormat::TableC, "c"}, std::pair{ExportFormat::TableAsm, "asm"},
          std::pair{ExportFormat::TableBin, "bin"}}) {
        SCOPED_TRACE(extension);
        const std::string name = std::string("Var_Test4h.") + extension;
        typeloom::test::TempDir full;
        CancelFlag cancel;
        CancellingSink counter(cancel, -1);
        ExportRequest request;
        request.format = id;
        request.now = fixedNow();
        request.path = full.file(name);
        ASSERT_TRUE(runExport(font, settings, request, cancel, counter).ok());
        const std::vector<std::uint8_t> complete = typeloom::test::readFile(request.path);
        const int calls = counter.calls();
        ASSERT_GT(calls, 10);
        for (int n = 1; n <= calls; ++n) {
            for (bool existing : {false, true}) {
                SCOPED_TRACE(fmt("cancel at call %d of %d, earlier file %d", n, calls, existing));
                typeloom::test::TempDir dir;
                request.path = dir.file(name);
                const std::vector<std::uint8_t> old = {'o', 'l', 'd', '\n'};
                if (existing) {
                    typeloom::test::writeFile(request.path, old);
                }
                cancel.reset();
                CancellingSink sink(cancel, n);
                const ExportResult result = runExport(font, settings, request, cancel, sink);
                if (n < calls) {
                    EXPECT_EQ(result.status, ExportResult::Status::Cancelled);
                    EXPECT_EQ(
                        typeloom::test::listFolder(dir.path()),
                        existing ? std::vector<std::string>{name} : std::vector<std::string>{});
                    if (existing) {
                        EXPECT_EQ(typeloom::test::readFile(request.path), old);
                    }
                } else {
                    EXPECT_TRUE(result.ok());
                    EXPECT_EQ(typeloom::test::listFolder(dir.path()),
                              std::vector<std::string>{name});
                    EXPECT_EQ(typeloom::test::readFile(request.path), complete);
                }
            }
        }
    }
}

// The writers check the flag themselves between characters: with a height above 100 the
// data table drives the progress indicator, and a flag cleared at its first step (after the
// first character) stops the writer before the second character.
TEST(TableCancel, WritersStopBetweenCharacters) {
    Font font = makeFont(kEncodingAnsi, 101, {{0x41, 2}, {0x42, 2}, {0x43, 2}},
                         [](int x, int y, int) { return (x + y) % 2 == 0; });
    MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat id : {ExportFormat::TableC, ExportFormat::TableAsm, ExportFormat::TableBin}) {
        SCOPED_TRACE(id);
        ExportStream out;
        BitmapEncoder encoder(font);
        CancelFlag cancel;
        // Counts the steps after the encoding walk has ended (its indicator hidden).
        struct Sink : ProgressSink {
            CancelFlag* flag = nullptr;
            bool walked = false;
            void show(bool visible) override {
                if (!visible)
                    walked = true;
            }
            void setRange(int, int) override {}
            void setStep(int) override {}
            void stepIt() override {
                if (walked)
                    flag->requestCancel();
            }
            void setText(const std::string&) override {}
        } sink;
        sink.flag = &cancel;
        ExportContext context(font, encoder, out, cancel, sink, settings, "fontV");
        EXPECT_FALSE(writerFor(id)(context));
        const std::string& written = out.contents();
        if (id == ExportFormat::TableBin) {
            EXPECT_EQ(written.size(), 44u + 101u);  // the header and the first character
        } else {
            EXPECT_NE(written.find("character 0x0041"), std::string::npos);
            EXPECT_EQ(written.find("character 0x0042"), std::string::npos);
        }
    }
}
}  // namespace
}  // namespace typeloom::exporters
