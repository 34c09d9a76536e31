#include "export/microchip_format.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/file_error.h"
#include "common/progress_sink.h"
#include "export/export_driver.h"
#include "export_test_support.h"
#include "glyph_decode_support.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

using test::Layout;

std::string microchipC(const Font& font, const std::string& base) {
    auto text = exportToMemory(font, test::settingsWithPages(kPagesOptionDefault),
                               ExportFormat::MicrochipC, base, test::fixedExportTime());
    EXPECT_TRUE(text.has_value());
    return text.value_or("");
}

std::string microchipBin(const Font& font) {
    auto bytes = exportToMemory(font, test::settingsWithPages(kPagesOptionDefault),
                                ExportFormat::MicrochipBin, "fontX", 0);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or("");
}

// ---------------------------------------------------------------------------------------
// Whole files, compared with their expected files under tests/data/export/microchip_format.

struct Golden {
    const char* name;
    Font (*font)();
    const char* base;
    const char* file;
};

void PrintTo(const Golden& golden, std::ostream* out) {
    *out << golden.name;
}

// Variable font (codes 0x20 0x21, gap, 0x30 0x31; widths 2, 1, 9, 0) in little-endian 16-bit
// row mode: one unit per row, pixel k at bit k, written low byte first. The table has an
// entry for each code 0x20..0x31 and ends at 8 + 18 * 4 = 80; the characters take 8, 8, 8 and
// 0 bytes, at 80, 88, 96 and 104; the 14 missing codes 0x22..0x2F are empty entries pointing
// at 96, where 0x30 starts. The index of a character is its code - 0x20. The empty last
// character leaves the two spaces to the last unit of the character before it.
Font variableFontSixteenBitRows() {
    return test::withLayout(test::variableFont(), {0x110, 16, false, false});
}

// The three characters of the Unicode font under the codes 0xE9, 0xEB and 0x101, so that the
// gaps between them stay small.
Font unicodeFontNearCodes() {
    const Font source = test::unicodeFont();
    Font font = source;
    font.clearGlyphs();
    const std::uint16_t codes[] = {0xE9, 0xEB, 0x101};
    for (int i = 0; i < 3; ++i) {
        Glyph g = *source.glyphs.find(static_cast<std::uint16_t>(source.unicodeAt(i)));
        g.code = codes[i];
        font.glyphs.insert(codes[i], std::move(g));
        font.insertCode(codes[i], codes[i]);
    }
    font.charTable.buildFromUnicodeList(font.unicodeList, 0, 1);
    return font;
}

// That font, column based and preferred, unpacked, 8-bit big endian: one unit per 5-pixel
// column. The table holds the codes 0xE9..0x101 (25 entries, 22 of them empty) and ends at
// 8 + 100 = 108; the characters start at 108, 111 and 114. The characters are written as
// windows-1252 text: U+00E9 and U+00EB are the bytes E9 and EB, U+0101 has no byte and
// becomes '?'.
Font unicodeFontColumns() {
    return test::withLayout(unicodeFontNearCodes(), {0x000, 8, true, false});
}

const Golden kGoldens[] = {
    // Fixed font, default layout (big endian, row based and preferred, unpacked, 8 bits):
    // three characters of seven 1-byte rows; the table ends at 8 + 3 * 4 = 20, so the bitmaps
    // start at bytes 20, 27 and 34 of a 41-byte image. Each row draws all 8 pixels of its unit.
    {"FixedFontRowModeByHand", test::fixedFont, "fontFixed", "fixed_font_rows.c"},
    {"VariableFontSixteenBitRowsByHand", variableFontSixteenBitRows, "fontVar",
     "variable_font_16bit_rows.c"},
    {"UnicodeFontColumnsByHand", unicodeFontColumns, "fontU", "unicode_font_columns.c"},
};

class MicrochipCGolden : public testing::TestWithParam<Golden> {};

TEST_P(MicrochipCGolden, WritesTheExpectedFile) {
    const Golden& golden = GetParam();
    EXPECT_EQ(microchipC(golden.font(), golden.base),
              typeloom::test::readTestData(std::string("export/microchip_format/") + golden.file));
}

INSTANTIATE_TEST_SUITE_P(, MicrochipCGolden, testing::ValuesIn(kGoldens),
                         typeloom::test::RowName());

// Outside the row mode a character's units run on, 64 / L a line.
TEST(MicrochipC, UnitsRunOnSixtyFourBitsALine) {
    // Character 0x30 of the variable font, column based and preferred, unpacked, 32-bit
    // little endian: one unit per column holding rows 0..3 in bits 0..3, two units a line.
    const Font font = test::withLayout(test::variableFont(), {0x000, 32, false, false});
    const std::string text = microchipC(font, "fontV");
    EXPECT_NE(text.find("// Index: 16 (0x0010)  Character: 0x0030 ('0')\r\n"
                        "0x04, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, \r\n"
                        "0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, \r\n"
                        "0x04, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, \r\n"
                        "0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, \r\n"
                        "0x04, 0x00, 0x00, 0x00  \r\n"
                        "\r\n"
                        "// Index: 17 (0x0011)  Character: 0x0031 ('1')\r\n"
                        "\r\n"
                        "};\r\n\r\n"),
              std::string::npos)
        << text;
}

// A one-character font whose only unit is 0x1234: big-endian 16-bit row of 16 pixels
// 0001 0010 0011 0100.
Font unit1234Font() {
    Font font;
    font.setEncoding(1);
    font.faceName = "One";
    font.height = 1;
    Glyph g;
    g.init(0x58, 16, 1);
    const char* row = "0001001000110100";
    for (int x = 0; x < 16; ++x) {
        g.pixels[static_cast<std::size_t>(x)] = row[x] == '1';
    }
    font.glyphs.insert(0x58, std::move(g));
    font.insertCode(0x58, 0x58);
    return test::withLayout(font, {0x110, 16, true, false});
}

TEST(MicrochipFormats, SixteenBitUnitsAreWrittenLowByteFirst) {
    const Font font = unit1234Font();
    EXPECT_NE(microchipC(font, "fontOne").find("0x34, 0x12   // ...#..#...##.#..\r\n"),
              std::string::npos);
    const std::string bytes = microchipBin(font);
    ASSERT_EQ(bytes.size(), 8u + 4 + 2);
    EXPECT_EQ(bytes.substr(12), "\x34\x12");
}

// Codes 0x20..0x7F, height 8, width 5, 8-bit units: the header and the first entry.
TEST(MicrochipBinary, NinetySixCharactersHeaderAndFirstEntry) {
    Font font;
    font.setEncoding(0);
    font.faceName = "Ascii";
    font.height = 8;
    for (std::uint16_t c = 0x20; c <= 0x7F; ++c) {
        Glyph g;
        g.init(c, 5, 8);
        font.glyphs.insert(c, std::move(g));
        font.insertCode(c, c);
    }
    font.dataFormat = 0x01121110;
    const std::string bytes = microchipBin(font);
    EXPECT_EQ(bytes.substr(0, 12), std::string("\x00\x00\x20\x00\x7F\x00\x08\x00"
                                               "\x05\x88\x01\x00",
                                               12));
    // Second entry: 392 + 8 bytes.
    EXPECT_EQ(bytes.substr(12, 4), std::string("\x05\x90\x01\x00", 4));
    EXPECT_EQ(bytes.size(), 392u + 96 * 8);
}

// A firmware finds a character's entry at code - first: a code missing between the first and
// last character gets an empty entry (width 0, pointing where the next bitmap starts). Codes
// 0x20, 0x21 and 0x30 of width 3 and 2 rows, one byte a row: 17 entries, the table ends at
// 8 + 68 = 76, the bitmaps start at 76, 78 and 80.
TEST(MicrochipBinary, GapsGetEmptyEntriesSoTheTableIndexesByCode) {
    Font font;
    font.setEncoding(0);
    font.height = 2;
    for (std::uint16_t c : {0x20, 0x21, 0x30}) {
        Glyph g;
        g.init(c, 3, 2);
        font.glyphs.insert(c, std::move(g));
        font.insertCode(c, c);
    }
    const std::string bytes = microchipBin(font);
    ASSERT_EQ(bytes.size(), 82u);
    EXPECT_EQ(bytes.substr(2, 4), std::string("\x20\x00\x30\x00", 4));
    EXPECT_EQ(bytes.substr(8, 8), std::string("\x03\x4C\x00\x00\x03\x4E\x00\x00", 8));
    for (std::size_t k = 2; k < 16; ++k) {
        EXPECT_EQ(bytes.substr(8 + 4 * k, 4), std::string("\x00\x50\x00\x00", 4)) << k;
    }
    EXPECT_EQ(bytes.substr(8 + 4 * 16, 4), std::string("\x03\x50\x00\x00", 4));
    const std::string text = microchipC(font, "fontG");
    EXPECT_NE(text.find("0x30,0x00,\t// Last Character ID\r\n"), std::string::npos);
    EXPECT_NE(text.find("// Font size: 82 bytes\r\n"), std::string::npos);
    EXPECT_NE(text.find("Index: 16 (0x0010)  Character: 0x0030 ('0')\r\n"), std::string::npos);
}

// More than 256 missing codes are told, with the bytes their empty entries take.
TEST(MicrochipFormats, LargeGapsAreWarnedAbout) {
    const struct {
        std::uint16_t last;
        std::string warning;
    } rows[] = {
        {0x21, ""},
        {0x20 + 257, ""},  // 256 missing
        {0x20 + 258,
         "The font's codes run from 0x0020 to 0x0122 with 257 codes missing between them. The "
         "Microchip character table holds an entry for every code in that range, so the missing "
         "codes take 257 empty entries: 1028 bytes more than the characters need."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.last);
        Font font;
        font.setEncoding(1);
        font.height = 1;
        for (std::uint16_t c : {std::uint16_t{0x20}, row.last}) {
            Glyph g;
            g.init(c, 1, 1);
            font.glyphs.insert(c, std::move(g));
            font.insertCode(c, c);
        }
        EXPECT_EQ(microchipGapWarning(font), row.warning);
    }
}

// Every header field, table entry and bitmap of the binary image read back.
void checkImage(const Font& font, const Layout& layout, const std::string& bytes) {
    test::ByteReader in{bytes};
    EXPECT_EQ(in.u8(), 0);  // Info
    EXPECT_EQ(in.u8(), 0);  // FontID
    const int first = font.codeAt(0);
    const int last = font.codeAt(font.lastIndex());
    EXPECT_EQ(in.u16(), first);
    EXPECT_EQ(in.u16(), last);
    EXPECT_EQ(in.u16(), font.height);
    const int unitBytes = layout.bits / 8;
    std::uint32_t expectedOffset = 8 + 4 * static_cast<std::uint32_t>(last - first + 1);
    for (int code = first; code <= last; ++code) {
        SCOPED_TRACE("code " + std::to_string(code));
        in.pos = 8 + 4 * static_cast<std::size_t>(code - first);
        const std::uint32_t entry = in.u32();
        const int i = font.indexOfCode(static_cast<std::uint16_t>(code));
        if (i < 0) {
            EXPECT_EQ(entry, expectedOffset << 8);  // empty, at the next bitmap
            continue;
        }
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        std::uint16_t w = 0;
        font.widthOf(u, w);
        EXPECT_EQ(entry & 0xFF, w);
        // Offsets count bytes from the start of the image, whatever the unit length.
        EXPECT_EQ(entry >> 8, expectedOffset);
        const int units = test::expectedUnits(w, font.height, layout.traversal, layout.bits);
        const auto decoded =
            test::decodeUnits(in.units(entry >> 8, static_cast<std::size_t>(units), layout.bits), w,
                              font.height, layout);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(test::drawnPixels(*decoded, w, font.height), test::drawnGlyph(font, u));
        expectedOffset += static_cast<std::uint32_t>(units * unitBytes);
    }
    EXPECT_FALSE(in.overrun);
    EXPECT_EQ(bytes.size(), expectedOffset);
}

TEST(MicrochipBinary, EveryFieldEntryAndBitmapReadsBack) {
    const Font fonts[] = {test::fixedFont(), test::variableFont(), test::unicodeFont(),
                          test::tallFont()};
    for (const Font& base : fonts) {
        for (const Layout& layout : test::mixedLayouts()) {
            SCOPED_TRACE(base.faceName + ", " + layout.name());
            const Font font = test::withLayout(base, layout);
            checkImage(font, layout, microchipBin(font));
        }
    }
}

// ---------------------------------------------------------------------------------------
// The C file compiled with the host compiler. It declares no include of its own: the
// reader-side definitions come from the graphics library, here a small stand-in forced in
// with -include.

const char* const kGraphicsHeader =
    "#ifndef GRAPHICS_STAND_IN_H\n#define GRAPHICS_STAND_IN_H\n"
    "#define FLASH 0x0001\n#define COMP_NONE 0x0000\n"
    "typedef struct { unsigned short type; const char *address; } FONT_FLASH;\n"
    "#endif\n";

struct CompiledCase {
    std::string base;
    Font font;
    Layout layout;
};

std::string decoderMain(const std::vector<CompiledCase>& cases) {
    std::string m = "#include <stdio.h>\n#include \"graphics.h\"\n" + test::cGlyphDecoder();
    m += R"C(
static int unitBytes;
static unsigned long atLe(const void *d, long i) {
    const unsigned char *b = (const unsigned char *)d + i * unitBytes;
    unsigned long v = 0;
    int j;
    for (j = unitBytes - 1; j >= 0; j--) v = (v << 8) | b[j];
    return v;
}
)C";
    for (const CompiledCase& c : cases) {
        m += "extern const FONT_FLASH " + c.base + ";\n";
    }
    m += "static const struct { const FONT_FLASH *font; long count, size; int traversal, L, be, "
         "inv; } cases[] = {\n";
    for (const CompiledCase& c : cases) {
        const long entries = c.font.codeAt(c.font.lastIndex()) - c.font.codeAt(0) + 1;
        long size = 8 + 4 * entries;
        for (int i = 0; i < c.font.count(); ++i) {
            std::uint16_t w = 0;
            c.font.widthOf(static_cast<std::uint16_t>(c.font.unicodeAt(i)), w);
            size += test::expectedUnits(w, c.font.height, c.layout.traversal, c.layout.bits) *
                    c.layout.bits / 8;
        }
        m += "    {&" + c.base + ", " + std::to_string(entries) + ", " + std::to_string(size) +
             ", " + std::to_string(c.layout.traversal) + ", " + std::to_string(c.layout.bits) +
             ", " + std::to_string(c.layout.bigEndian) + ", " + std::to_string(c.layout.invert) +
             "},\n";
    }
    m += R"C(};
int main(void) {
    static unsigned char pix[65536];
    unsigned i;
    for (i = 0; i < sizeof cases / sizeof cases[0]; i++) {
        const unsigned char *img = (const unsigned char *)cases[i].font->address;
        int height = img[6] | img[7] << 8;
        long j;
        unitBytes = cases[i].L / 8;
        printf("font %u type %u info %u id %u first %04X last %04X height %d\n", i,
               cases[i].font->type, img[0], img[1], img[2] | img[3] << 8, img[4] | img[5] << 8,
               height);
        for (j = 0; j < cases[i].count; j++) {
            const unsigned char *e = img + 8 + 4 * j;
            long offset = e[1] | (long)e[2] << 8 | (long)e[3] << 16;
            long next = j + 1 < cases[i].count ? (e[5] | (long)e[6] << 8 | (long)e[7] << 16)
                                               : cases[i].size;
            long n = (next - offset) / unitBytes;
            int ok = (next - offset) % unitBytes == 0 && (long)e[0] * height <= (long)sizeof pix &&
                     decodeGlyph(atLe, img + offset, n, e[0], height, cases[i].traversal,
                                 cases[i].L, cases[i].be, cases[i].inv, pix);
            printf("char %ld width %u offset %ld %s\n", j, e[0], offset, ok ? "ok" : "BAD");
            if (ok) printGlyph(pix, e[0], height);
        }
    }
    return 0;
}
)C";
    return m;
}

std::string expectedDecoderOutput(const std::vector<CompiledCase>& cases) {
    std::string out;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Font& font = cases[i].font;
        char line[160];
        std::snprintf(line, sizeof line,
                      "font %zu type 1 info 0 id 0 first %04X last %04X height %u\n", i,
                      font.codeAt(0), font.codeAt(font.lastIndex()), font.height);
        out += line;
        const int first = font.codeAt(0);
        long offset = 8 + 4 * (font.codeAt(font.lastIndex()) - first + 1);
        for (int code = first; code <= font.codeAt(font.lastIndex()); ++code) {
            const int k = font.indexOfCode(static_cast<std::uint16_t>(code));
            if (k < 0) {  // an empty entry: no units, nothing drawn
                std::snprintf(line, sizeof line, "char %d width 0 offset %ld ok\n", code - first,
                              offset);
                out += line + std::string(font.height, '\n');
                continue;
            }
            const auto u = static_cast<std::uint16_t>(font.unicodeAt(k));
            std::uint16_t w = 0;
            font.widthOf(u, w);
            std::snprintf(line, sizeof line, "char %d width %u offset %ld ok\n", code - first, w,
                          offset);
            out += line;
            out += test::drawnGlyph(font, u);
            offset += test::expectedUnits(w, font.height, cases[i].layout.traversal,
                                          cases[i].layout.bits) *
                      cases[i].layout.bits / 8;
        }
    }
    return out;
}

TEST(MicrochipC, CompilesAndRedrawsEveryGlyphInEveryTraversal) {
    std::vector<CompiledCase> cases;
    const Font fonts[] = {test::fixedFont(), test::variableFont(), unicodeFontNearCodes(),
                          test::tallFont()};
    for (std::size_t f = 0; f < std::size(fonts); ++f) {
        for (std::size_t l = 0; l < test::mixedLayouts().size(); ++l) {
            const Layout& layout = test::mixedLayouts()[l];
            cases.push_back({"fontF" + std::to_string(f) + "L" + std::to_string(l),
                             test::withLayout(fonts[f], layout), layout});
        }
    }
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back("graphics.h", kGraphicsHeader);
    // One translation unit per font with the files of all its layouts one after the other (each
    // file stands on its own; fewer compiler runs keep the test quick).
    for (const CompiledCase& c : cases) {
        const std::string unit = c.base.substr(0, c.base.find('L')) + ".c";
        if (files.back().first != unit) {
            files.emplace_back(unit, "");
        }
        files.back().second += microchipC(c.font, c.base);
    }
    files.emplace_back("main.c", decoderMain(cases));
    const test::CompileResult r = test::compileAndRun(files, "-include graphics.h");
    ASSERT_TRUE(r.compiled) << r.diagnostics;
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.output, expectedDecoderOutput(cases));
}

// ---------------------------------------------------------------------------------------
// Fonts the layout cannot hold, and odd codes.

// A control code shown as itself would end the comment line (a line feed) or the text (a
// zero), so it is shown as '.'; the file still compiles.
TEST(MicrochipC, ControlCodesAreShownAsDots) {
    Font font;
    font.setEncoding(0);
    font.height = 2;
    for (std::uint16_t c : {0x00, 0x0A, 0x0D, 0x41}) {
        Glyph g;
        g.init(c, 2, 2);
        g.pixels[0] = 1;
        font.glyphs.insert(c, std::move(g));
        font.insertCode(c, c);
    }
    const std::string text = microchipC(font, "fontCtl");
    EXPECT_NE(text.find("Index: 0 (0x0000)  Character: 0x0000 ('.')\r\n0x80,"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Index: 10 (0x000A)  Character: 0x000A ('.')\r\n0x80,"), std::string::npos);
    EXPECT_NE(text.find("Index: 13 (0x000D)  Character: 0x000D ('.')\r\n0x80,"), std::string::npos);
    EXPECT_NE(text.find("Index: 65 (0x0041)  Character: 0x0041 ('A')\r\n0x80,"), std::string::npos);
    const std::string main =
        "#include \"graphics.h\"\nextern const FONT_FLASH fontCtl;\n"
        "int main(void) { return fontCtl.address[8 + 4 * 0x41] == 2 ? 0 : 1; }\n";
    const test::CompileResult r =
        test::compileAndRun({{"graphics.h", kGraphicsHeader}, {"font.c", text}, {"main.c", main}},
                            "-include graphics.h");
    ASSERT_TRUE(r.compiled) << r.diagnostics;
    EXPECT_EQ(r.exitStatus, 0);
}

TEST(MicrochipFormats, CharacterWiderThan255PixelsIsRefused) {
    Font font = test::fixedFont();
    Glyph g;
    g.init(0x44, 256, font.height);
    font.glyphs.insert(0x44, std::move(g));
    font.insertCode(0x44, 0x44);
    for (ExportFormat format : {ExportFormat::MicrochipC, ExportFormat::MicrochipBin}) {
        SCOPED_TRACE(format);
        typeloom::test::TempDir dir;
        ExportRequest request;
        request.format = format;
        request.path = dir.file("wide.bin");
        CancelFlag cancel;
        NullProgressSink progress;
        const ExportResult r =
            runExport(font, test::settingsWithPages(0x6F), request, cancel, progress);
        EXPECT_EQ(r.status, ExportResult::Status::Failed);
        EXPECT_NE(r.message.find("0x0044 is 256 pixels wide"), std::string::npos) << r.message;
        EXPECT_TRUE(typeloom::test::listFolder(dir.path()).empty());
    }
    // 255 pixels still fit.
    font.glyphs.find(0x44)->init(0x44, 255, font.height);
    EXPECT_EQ(static_cast<std::uint8_t>(microchipBin(font)[8 + 12]), 255);
}

// The 24-bit offsets reach 16 MiB; a bitmap that would start beyond is refused rather than
// pointing somewhere else. Laid out from unit offsets directly, without a font that large.
TEST(MicrochipFormats, OffsetsBeyondTwentyFourBitsAreRefused) {
    const Font font = test::fixedFont();  // table ends at 8 + 12 = 20
    const std::vector<std::uint32_t> fits = {0, 1, 0xFFFFFF - 20, 0xFFFFFF - 20 + 5};
    const MicrochipLayout layout = microchipLayout(font, fits, 8);
    ASSERT_EQ(layout.entries.size(), 3u);
    EXPECT_EQ(layout.entries[1], (21u << 8) | 5);
    EXPECT_EQ(layout.entries[2], (0xFFFFFFu << 8) | 5);
    EXPECT_EQ(layout.imageSize, 0x1000004u);
    EXPECT_EQ(layout.firstCode, 0x41);
    EXPECT_EQ(layout.lastCode, 0x43);

    const std::vector<std::uint32_t> beyond = {0, 1, 0xFFFFFF - 20 + 1, 0xFFFFFF - 20 + 2};
    EXPECT_THROW(microchipLayout(font, beyond, 8), FileError);
    // 16-bit units: unit offsets count double in bytes.
    const std::vector<std::uint32_t> wide = {0, 1, 0x800000, 0x800001};
    EXPECT_THROW(microchipLayout(font, wide, 16), FileError);
    const std::vector<std::uint32_t> wideFits = {0, 1, 0x7FFFF0, 0x7FFFF1};
    EXPECT_EQ(microchipLayout(font, wideFits, 16).entries[2] >> 8, 20u + 0xFFFFE0);
}

// ---------------------------------------------------------------------------------------
// Cancelling.

class CancelAtStep : public NullProgressSink {
  public:
    CancelAtStep(CancelFlag& flag, int step) : m_flag(flag), m_step(step) {}
    void stepIt() override {
        if (++m_steps == m_step) {
            m_flag.requestCancel();
        }
    }
    int steps() const { return m_steps; }

  private:
    CancelFlag& m_flag;
    int m_step;
    int m_steps = 0;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// 600 characters (large enough to show the writing walk too): steps 1-600 encode, 601-1200
// write the bitmaps.
TEST(MicrochipFormats, CancelLeavesNoFileAndKeepsTheOldOne) {
    Font font;
    font.setEncoding(1);
    font.faceName = "Many";
    font.height = 4;
    for (int i = 0; i < 600; ++i) {
        const auto code = static_cast<std::uint16_t>(0x100 + i);
        Glyph g;
        g.init(code, 3, font.height);
        g.pixels[static_cast<std::size_t>(i % 12)] = 1;
        font.glyphs.insert(code, std::move(g));
        font.insertCode(code, code);
    }
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat format : {ExportFormat::MicrochipC, ExportFormat::MicrochipBin}) {
        for (int step : {1, 300, 600, 601, 777, 1200}) {
            SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) +
                         ", cancel at step " + std::to_string(step));
            typeloom::test::TempDir dir;
            ExportRequest request;
            request.format = format;
            request.path = dir.file("fresh.c");
            CancelFlag flag;
            CancelAtStep sink(flag, step);
            EXPECT_EQ(runExport(font, settings, request, flag, sink).status,
                      ExportResult::Status::Cancelled);
            EXPECT_TRUE(typeloom::test::listFolder(dir.path()).empty());

            request.path = dir.file("old.c");
            {
                std::ofstream old(request.path, std::ios::binary);
                old << "earlier export";
            }
            CancelFlag flag2;
            CancelAtStep sink2(flag2, step);
            EXPECT_EQ(runExport(font, settings, request, flag2, sink2).status,
                      ExportResult::Status::Cancelled);
            EXPECT_EQ(readFile(request.path), "earlier export");
        }
        SCOPED_TRACE("not cancelled");
        typeloom::test::TempDir dir;
        ExportRequest request;
        request.format = format;
        request.path = dir.file("done.c");
        request.now = test::fixedExportTime();
        CancelFlag flag;
        CancelAtStep sink(flag, 1201);
        EXPECT_TRUE(runExport(font, settings, request, flag, sink).ok());
        EXPECT_EQ(sink.steps(), 1200);
        EXPECT_EQ(readFile(request.path), format == ExportFormat::MicrochipC
                                              ? microchipC(font, "fontdone")
                                              : microchipBin(font));
    }
}

TEST(MicrochipFormats, FontWithoutCharactersIsNotExported) {
    Font empty;
    empty.height = 8;
    for (ExportFormat format : {ExportFormat::MicrochipC, ExportFormat::MicrochipBin}) {
        EXPECT_FALSE(
            exportToMemory(empty, test::settingsWithPages(0x6F), format, "fontE", 0).has_value());
    }
}

}  // namespace
}  // namespace typeloom::exporters
