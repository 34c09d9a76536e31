#include "export/version2_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "export/export_driver.h"
#include "export_test_support.h"
#include "rows_font.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

using test::RowGlyph;
using test::rowsFont;

// Lines joined with CR LF after each.
std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const std::string kOpen = "/" + std::string(91, '*');
const std::string kClose = " " + std::string(91, '*') + "/";
const std::string kCreate = std::string("  Create time: ") + test::kFixedNowText +
                            "  by Typeloom Basic v3.1 (e-mail: fonts@typeloom.example)";

std::string run(const Font& font, ExportFormat format, int pages, const std::string& id) {
    MemorySettingsStore settings = test::settingsWithPages(pages);
    std::optional<std::string> out = exportToMemory(font, settings, format, id, test::fixedNow());
    EXPECT_TRUE(out.has_value());
    return out.value_or("");
}

// ----- Whole files, compared with their expected files under tests/data/export/version2_format.

// 'A' (3 wide) and 'B' (10 wide, two units a row), 3 rows.
Font tinyFont(std::uint32_t word) {
    return rowsFont("Tiny", 3, kEncodingAnsi,
                    {{0x41, 0x41, {"#.#", ".##", "..."}},
                     {0x42, 0x42, {"##########", "#........#", "........##"}}},
                    word);
}

// Column based, column preferred, unpacked, little endian: one unit per column of two rows.
Font columnFont(std::uint32_t word) {
    return rowsFont("Cols", 2, kEncodingAnsi,
                    {{0x30, 0x30, {"#.##.", ".#.##"}}, {0x31, 0x31, {"#", "#"}}}, word);
}

struct Golden {
    const char* name;
    Font (*font)(std::uint32_t word);
    std::uint32_t word;
    ExportFormat format;
    int pages;
    const char* id;
    const char* file;
};

void PrintTo(const Golden& golden, std::ostream* out) {
    *out << golden.name;
}

const Golden kGoldens[] = {
    // Big endian rows of 8 bits with the data, offset and width tables.
    {"RowModeC", tinyFont, 0x01121110, ExportFormat::V2C, 0x07, "fontTiny3h", "row_mode.c"},
    {"RowModeAsm", tinyFont, 0x01121110, ExportFormat::V2Asm, 0x07, "fontTiny3h", "row_mode.asm"},
    // 32-bit units: four to a line, the character's last unit ends its line.
    {"RunOnWordsCEndsAfterTheDataTable", columnFont, 0x00080000, ExportFormat::V2C, 0x01,
     "fontCols", "run_on_words.c"},
    // Inverted 32-bit units written as bytes (UCHAR): 0xFFFFFFFE is "0ffh,  0ffh,  0ffh,  0feh".
    {"RunOnBytesAsmInverted", columnFont, 0x02080000, ExportFormat::V2Asm, 0x11, "fontCols",
     "run_on_bytes_inverted.asm"},
};

class Version2Golden : public testing::TestWithParam<Golden> {};

TEST_P(Version2Golden, WritesTheExpectedFile) {
    const Golden& golden = GetParam();
    EXPECT_EQ(run(golden.font(golden.word), golden.format, golden.pages, golden.id),
              typeloom::test::readTestData(std::string("export/version2_format/") + golden.file));
}

INSTANTIATE_TEST_SUITE_P(, Version2Golden, testing::ValuesIn(kGoldens), typeloom::test::RowName());

// ----- Parts of the text.

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(Version2Text, HeaderAndPointerLinesFollowTheDataFormat) {
    struct Case {
        std::uint32_t word;
        int pages;
        bool fixed;
        std::vector<std::string> header;  // the lines from "Font width" to the create time
        const char* pointer;
    };
    const Case cases[] = {
        {0x00021111,
         0x01,
         true,
         {"  Font width: 2 (monospaced font)", "  Font height: 3", "  Data length: 8 bits",
          "  Data format: Big Endian, Row based, Row preferred, Packed", "", ""},
         "     const unsigned char *pData = data_table[offset];"},
        {0x00040000,
         0x01,
         false,
         {"  Font width: varialbe (proportional font)", "  Font height: 3",
          "  Data length: 16 bits",
          "  Data format: Little Endian, Column based, Column preferred, Unpacked", ""},
         "     const unsigned short *pData = data_table[offset];"},
        {0x00040000,
         0x11,
         false,
         {"  Font width: varialbe (proportional font)", "  Font height: 3",
          "  Data length: 16 bits",
          "  Data format: Little Endian, Column based, Column preferred, Unpacked", ""},
         "     const unsigned char *pData = data_table[offset];"},
        // The 4-bit length value, which the units are written in 8 bits for: the header says
        // the 8 bits written.
        {0x00011100,
         0x01,
         false,
         {"  Font width: varialbe (proportional font)", "  Font height: 3", "  Data length: 8 bits",
          "  Data format: Big Endian, Row based, Column preferred, Unpacked", ""},
         "     const unsigned char *pData = data_table[offset];"},
        {0x00080001,
         0x01,
         false,
         {"  Font width: varialbe (proportional font)", "  Font height: 3",
          "  Data length: 32 bits",
          "  Data format: Little Endian, Column based, Column preferred, Packed", "", ""},
         "     const unsigned long *pData = data_table[offset];"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.word << " pages " << c.pages);
        std::vector<RowGlyph> glyphs = {{0x41, 0x41, {"#.", ".#", "##"}}};
        if (!c.fixed) {
            glyphs.push_back({0x42, 0x42, {"#", ".", "#"}});
        }
        const Font font = rowsFont("H", 3, kEncodingAnsi, glyphs, c.word);
        for (ExportFormat format : {ExportFormat::V2C, ExportFormat::V2Asm}) {
            const std::string p = format == ExportFormat::V2Asm ? ";" : "";
            const std::vector<std::string> lines = splitLines(run(font, format, c.pages, "fontH"));
            ASSERT_GT(lines.size(), c.header.size() + 12);
            EXPECT_EQ(lines[1], p + "  Font name: H");
            for (std::size_t i = 0; i < c.header.size(); ++i) {
                EXPECT_EQ(lines[2 + i], p + c.header[i]);
            }
            const std::size_t next = 2 + c.header.size();
            EXPECT_EQ(lines[next], p + kCreate);
            EXPECT_EQ(lines[next + 1], p + kClose);
            EXPECT_EQ(lines[next + 2], "");
            EXPECT_EQ(lines[next + 3], p + kOpen);
            EXPECT_EQ(lines[next + 10], p + c.pointer);
        }
    }
}

TEST(Version2Text, IndexTableNumbersCodesUpTo255) {
    // Codes 0x0A (a control character), 0x41 and 0xE9 get 0, 1, 2; 0x100 and 0x4E00 none.
    const Font font = rowsFont("U", 2, kEncodingUnicode,
                               {{0x0A, 0x0A, {"#", "."}},
                                {0x41, 0x41, {"#", "#"}},
                                {0xE9, 0xE9, {".", "#"}},
                                {0x100, 0x100, {"#", "#"}},
                                {0x4E00, 0x4E00, {".", "."}}},
                               0x01121110);
    const std::string c = run(font, ExportFormat::V2C, 0x0B, "fontU");
    const std::string head =
        crlf({kOpen,
              "  Index table is used to find the mapping index of a character in range [0-255].",
              "",
              "  If you can find a simple mathematical expression for index mapping, you can use "
              "that.",
              "  If you do not have such a mathematical expression, this index table is just for "
              "you.",
              "", "  To get the index of character 'A', you can use the following expression:", "",
              "     const unsigned char index = index_table['A'];", "", kClose, ""}) +
        crlf({"const unsigned char fontU_index_table[] = ", "{",
              "    /*      -  char     hexcode    decimal */",
              "    /*      -  ====     =======    ======= */"});
    const std::size_t at = c.find(head);
    ASSERT_NE(at, std::string::npos);
    // The 256 entries, then the end of the file.
    std::vector<std::string> entries = splitLines(c.substr(at + head.size()));
    ASSERT_EQ(entries.size(), 256u + 4u);
    EXPECT_EQ(entries[0x00], "     0,     /*    .        0000          0 */");
    EXPECT_EQ(entries[0x0A], "     0,     /*    .        000A         10 */");
    EXPECT_EQ(entries[0x20], "     0,     /*             0020         32 */");
    EXPECT_EQ(entries[0x41], "     1,     /*    A        0041         65 */");
    EXPECT_EQ(entries[0xE9], "     2,     /*    \xE9        00E9        233 */");
    EXPECT_EQ(entries[0xFF], "     0      /*    \xFF        00FF        255 */");
    EXPECT_EQ(entries[256], "};");
    EXPECT_EQ(entries[257], "");
    EXPECT_EQ(entries[258], "");
    EXPECT_EQ(entries[259], "");
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        const int expected = code == 0x0A ? 0 : code == 0x41 ? 1 : code == 0xE9 ? 2 : 0;
        EXPECT_EQ(std::stoi(entries[static_cast<std::size_t>(code)]), expected);
    }
    // The control character is written as '.' in the data and offset comments too.
    EXPECT_NE(c.find("/* character 0x000A ('.'): [width=1, offset= 0x0000 (0) ] */"),
              std::string::npos);
    EXPECT_NE(c.find("0x0000, /*    -     .        000A         10 */"), std::string::npos);
    EXPECT_EQ(c.find('\0'), std::string::npos);

    const std::string a = run(font, ExportFormat::V2Asm, 0x09, "fontU");
    EXPECT_NE(a.find("\r\nfontU_index_table \r\n\r\n"
                     "     ;    index      -  char     hexcode    decimal\r\n"
                     "     ;    =====      -  ====     =======    =======\r\n"
                     "    db        0 ;    -     .        0000          0\r\n"),
              std::string::npos);
    EXPECT_NE(a.find("    db        1 ;    -     A        0041         65\r\n"), std::string::npos);
    EXPECT_NE(a.find("    db        0 ;    -     \xFF        00FF        255\r\n\r\n\r\n"),
              std::string::npos);
}

TEST(Version2Text, AsmOffsetEntriesTakeTheirWidthFromTheTotal) {
    // Glyphs one row high in column mode give one unit per column, so a width sets the units.
    struct Case {
        std::uint16_t firstWidth;
        std::uint16_t secondWidth;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {0x9FFE, 1, "    dw         0000h ;    -     A        0041         65",
         "    dw         9ffeh"},
        {0x9FFF, 1, "    dw        00000h ;    -     A        0041         65",
         "    dw        09fffh"},
        {0xFFFF, 1, "    dd        00000h ;    -     A        0041         65",
         "    dd        0ffffh"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        const Font font = rowsFont("Wide", 1, kEncodingAnsi,
                                   {{0x41, 0x41, {std::string(c.firstWidth, '#')}},
                                    {0x42, 0x42, {std::string(c.secondWidth, '.')}}},
                                   0x00020000);
        const std::string text = run(font, ExportFormat::V2Asm, 0x03, "fontWide");
        EXPECT_NE(text.find(std::string("=======\r\n") + c.first + "\r\n" + c.last + "\r\n\r\n"),
                  std::string::npos);
        EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    }
}

TEST(Version2Text, EmptyLastCharacter) {
    // The last character has no units and no rows: the table's last unit belongs to the one
    // before it, and assembler gets no "db" without operands.
    const Font font = rowsFont("E", 2, kEncodingAnsi,
                               {{0x41, 0x41, {"#.", ".#"}}, {0x42, 0x42, {"", ""}}}, 0x00121110);
    const std::string c = run(font, ExportFormat::V2C, 0x01, "fontE");
    EXPECT_NE(c.find("    0x80,  // #.\r\n"
                     "    0x40   // .#\r\n"
                     "\r\n"
                     "    /* character 0x0042 ('B'): [width=0, offset= 0x0002 (2) ] */\r\n"
                     "};\r\n\r\n\r\n"),
              std::string::npos)
        << c;
    const std::string a = run(font, ExportFormat::V2Asm, 0x01, "fontE");
    EXPECT_NE(a.find("    db  40h ;  .#\r\n"
                     "\r\n"
                     "     ; character 0x0042 ('B'): [width=0, offset= 0x0002 (2) ]   \r\n"
                     "\r\n\r\n\r\n"),
              std::string::npos)
        << a;
}

// ----- Independent decoding of the units of every traversal.

struct Layout {
    std::uint32_t mode;  // word & 0x111
    int bits;
    bool big;
    bool invert;
};

int unitsFor(int n, int bits) {
    return (n + bits - 1) / bits;
}

// Units of a W x H glyph under the layout, from the counts of each traversal.
std::uint32_t unitCount(const Layout& l, int w, int h) {
    if (w == 0) {
        return 0;
    }
    const int p = l.bits;
    switch (l.mode) {
        case 0x110:
        case 0x100:
            return static_cast<std::uint32_t>(h * unitsFor(w, p));
        case 0x111:
        case 0x001:
            return static_cast<std::uint32_t>(unitsFor(w * h, p));
        case 0x101:
            return static_cast<std::uint32_t>(h * (w / p) + unitsFor(h * (w % p), p));
        case 0x000:
        case 0x010:
            return static_cast<std::uint32_t>(w * unitsFor(h, p));
        default:  // 0x011
            return static_cast<std::uint32_t>(w * (h / p) + unitsFor(w * (h % p), p));
    }
}

// The unit index and bit position of pixel (row r, column c).
std::pair<std::uint32_t, int> pixelPlace(const Layout& l, int w, int h, int r, int c) {
    const int p = l.bits;
    long index = 0;
    int k = 0;
    switch (l.mode) {
        case 0x110:
            index = static_cast<long>(r) * unitsFor(w, p) + c / p, k = c % p;
            break;
        case 0x100:
            index = static_cast<long>(c / p) * h + r, k = c % p;
            break;
        case 0x111: {
            const long s = static_cast<long>(r) * w + c;
            index = s / p, k = static_cast<int>(s % p);
            break;
        }
        case 0x101: {
            const int full = w / p;
            if (c < full * p) {
                index = static_cast<long>(c / p) * h + r, k = c % p;
            } else {
                const long s = static_cast<long>(r) * (w - full * p) + (c - full * p);
                index = static_cast<long>(full) * h + s / p, k = static_cast<int>(s % p);
            }
            break;
        }
        case 0x000:
            index = static_cast<long>(c) * unitsFor(h, p) + r / p, k = r % p;
            break;
        case 0x010:
            index = static_cast<long>(r / p) * w + c, k = r % p;
            break;
        case 0x001: {
            const long s = static_cast<long>(c) * h + r;
            index = s / p, k = static_cast<int>(s % p);
            break;
        }
        default: {  // 0x011
            const int full = h / p;
            if (r < full * p) {
                index = static_cast<long>(r / p) * w + c, k = r % p;
            } else {
                const long s = static_cast<long>(c) * (h - full * p) + (r - full * p);
                index = static_cast<long>(full) * w + s / p, k = static_cast<int>(s % p);
            }
            break;
        }
    }
    return {static_cast<std::uint32_t>(index), l.big ? p - 1 - k : k};
}

std::uint32_t wordOf(const Layout& l) {
    std::uint32_t word = l.mode;
    word |= l.bits == 8 ? 0x20000u : l.bits == 16 ? 0x40000u : 0x80000u;
    word |= l.big ? 0x1000u : 0;
    word |= l.invert ? 0x02000000u : 0;
    return word;
}

// The glyphs as '#'/'.' rows, each character headed by its index and width.
std::string drawFont(const Font& font) {
    std::ostringstream out;
    for (int i = 0; i < font.count(); ++i) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        const int w = font.glyphs.find(u)->width;
        out << "char " << i << " width " << w << "\n";
        for (int r = 0; r < font.height; ++r) {
            for (int c = 0; c < w; ++c) {
                out << (test::pixelOf(font, u, c, r) != 0 ? '#' : '.');
            }
            out << "\n";
        }
    }
    return out.str();
}

std::uint32_t totalUnits(const Font& font, const Layout& l) {
    std::uint32_t total = 0;
    for (int i = 0; i < font.count(); ++i) {
        total += unitCount(
            l, font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(i)))->width, font.height);
    }
    return total;
}

struct FontCase {
    const char* name;
    Font (*make)();
    Layout layout;
    bool uchar;
};

Font tallFont() {
    // 18 rows: row bands of 8 and 16 bits with a remainder.
    std::vector<std::string> a, b;
    for (int y = 0; y < 18; ++y) {
        std::string ra, rb;
        for (int x = 0; x < 11; ++x) {
            ra += (x * y + x + y) % 5 == 0 ? '#' : '.';
        }
        for (int x = 0; x < 33; ++x) {
            rb += (x + 2 * y) % 7 < 2 ? '#' : '.';
        }
        a.push_back(ra);
        b.push_back(rb);
    }
    return rowsFont("Tall", 18, kEncodingAnsi, {{0x61, 0x61, a}, {0x7A, 0x7A, b}}, 0);
}

const FontCase kFontCases[] = {
    {"variable 0x110 BE 8", test::variableFont, {0x110, 8, true, false}, false},
    {"fixed 0x101 LE 16", test::fixedFont, {0x101, 16, false, false}, false},
    {"variable 0x011 BE 32 inverted bytes", test::variableFont, {0x011, 32, true, true}, true},
    {"fixed 0x000 LE 16 bytes", test::fixedFont, {0x000, 16, false, false}, true},
    {"unicode 0x111 BE 8", test::unicodeFont, {0x111, 8, true, false}, false},
    {"variable 0x100 LE 32", test::variableFont, {0x100, 32, false, false}, false},
    {"tall 0x010 BE 8", tallFont, {0x010, 8, true, false}, false},
    {"tall 0x011 LE 16", tallFont, {0x011, 16, false, false}, false},
    {"tall 0x001 BE 32 inverted", tallFont, {0x001, 32, true, true}, false},
    {"tall 0x101 LE 8 bytes", tallFont, {0x101, 8, false, false}, true},
};

// Redraws every glyph from the tables of the generated C: the offset table gives each
// character's first unit, the width table its width, the traversal each pixel's unit and bit.
const char* const kDecoderMain = R"(#include <stdio.h>
#include "font_v2.h"
#include "font_v2.inc"

#define UNITS (sizeof DATA / sizeof DATA[0])
#define BYTES_PER_UNIT (BITS / 8)

static unsigned long unit_at(unsigned long i) {
#if UCHAR
    unsigned long v = 0;
    int b;
    for (b = 0; b < BYTES_PER_UNIT; ++b)
        v = (v << 8) | DATA[i * BYTES_PER_UNIT + b];
    return v;
#else
    return DATA[i];
#endif
}

static long ub(long n) { return (n + BITS - 1) / BITS; }

static int pixel(unsigned long first, long w, long h, long r, long c) {
    long p = BITS, index, k, s, full;
    switch (MODE) {
    case 0x110: index = r * ub(w) + c / p; k = c % p; break;
    case 0x100: index = (c / p) * h + r; k = c % p; break;
    case 0x111: s = r * w + c; index = s / p; k = s % p; break;
    case 0x101:
        full = w / p;
        if (c < full * p) { index = (c / p) * h + r; k = c % p; }
        else { s = r * (w - full * p) + (c - full * p); index = full * h + s / p; k = s % p; }
        break;
    case 0x000: index = c * ub(h) + r / p; k = r % p; break;
    case 0x010: index = (r / p) * w + c; k = r % p; break;
    case 0x001: s = c * h + r; index = s / p; k = s % p; break;
    default:
        full = h / p;
        if (r < full * p) { index = (r / p) * w + c; k = r % p; }
        else { s = c * (h - full * p) + (r - full * p); index = full * w + s / p; k = s % p; }
        break;
    }
    return (int)((unit_at(first + (unsigned long)index) >> (BIG ? p - 1 - k : k)) & 1u) ^ INVERT;
}

int main(void) {
    int i, r, c;
    printf("units %lu\n", (unsigned long)(UNITS / (UCHAR ? BYTES_PER_UNIT : 1)));
    for (i = 0; i < COUNT; ++i) {
        int w = WIDTHS[i];
        printf("char %d width %d\n", i, w);
        for (r = 0; r < HEIGHT; ++r) {
            for (c = 0; c < w; ++c)
                putchar(pixel(OFFSETS[i], w, HEIGHT, r, c) ? '#' : '.');
            putchar('\n');
        }
    }
    for (c = 0; c < 256; ++c)
        printf("%d%c", INDEX[c], c % 16 == 15 ? '\n' : ' ');
    return 0;
}
)";

TEST(Version2C, CompilesAndRedrawsEveryGlyph) {
    for (const FontCase& fc : kFontCases) {
        SCOPED_TRACE(fc.name);
        Font font = fc.make();
        font.dataFormat = wordOf(fc.layout);
        const int pages = 0x0F | (fc.uchar ? 0x10 : 0);
        const std::string source = run(font, ExportFormat::V2C, pages, "fontT");
        const Layout& l = fc.layout;
        const char* unitType = fc.uchar || l.bits == 8 ? "unsigned char"
                               : l.bits == 16          ? "unsigned short"
                                                       : "unsigned long";
        // The declarations the tables must match, with the decoder's parameters.
        std::ostringstream header;
        header << "extern const " << unitType << " fontT_data_table[];\n"
               << "extern const unsigned int fontT_offset_table[];\n"
               << "extern const unsigned char fontT_width_table[];\n"
               << "extern const unsigned char fontT_index_table[];\n"
               << "#define DATA fontT_data_table\n#define OFFSETS fontT_offset_table\n"
               << "#define WIDTHS fontT_width_table\n#define INDEX fontT_index_table\n"
               << "#define COUNT " << font.count() << "\n#define HEIGHT " << font.height << "\n"
               << "#define BITS " << l.bits << "\n#define BIG " << (l.big ? 1 : 0) << "\n"
               << "#define MODE 0x" << std::hex << l.mode << std::dec << "\n"
               << "#define INVERT " << (l.invert ? 1 : 0) << "\n"
               << "#define UCHAR " << (fc.uchar ? 1 : 0) << "\n";
        const test::CompileResult result = test::compileAndRun(
            {{"font_v2.h", header.str()}, {"font_v2.inc", source}, {"main.c", kDecoderMain}});
        ASSERT_TRUE(result.compiled) << result.diagnostics;
        ASSERT_EQ(result.exitStatus, 0);

        std::ostringstream expected;
        expected << "units " << totalUnits(font, l) << "\n" << drawFont(font);
        int index[256] = {};
        for (int i = 0, next = 0; i < font.count() && font.codeAt(i) <= 255; ++i) {
            index[font.codeAt(i)] = next++;
        }
        for (int c = 0; c < 256; ++c) {
            expected << index[c] << (c % 16 == 15 ? '\n' : ' ');
        }
        EXPECT_EQ(result.output, expected.str());
    }
}

TEST(Version2Dat, HoldsOnlyTheUnitsLeastSignificantByteFirst) {
    for (const FontCase& fc : kFontCases) {
        SCOPED_TRACE(fc.name);
        Font font = fc.make();
        const Layout& l = fc.layout;
        font.dataFormat = wordOf(l);
        // The options change nothing in the binary file.
        const std::string dat = run(font, ExportFormat::V2Dat, 0x7F, "fontT");
        const std::size_t bytesPerUnit = static_cast<std::size_t>(l.bits / 8);
        ASSERT_EQ(dat.size(), totalUnits(font, l) * bytesPerUnit);
        auto unitAt = [&](std::uint32_t i) {
            std::uint32_t v = 0;
            for (std::size_t b = 0; b < bytesPerUnit; ++b) {
                v |= std::uint32_t{static_cast<std::uint8_t>(dat[i * bytesPerUnit + b])} << (8 * b);
            }
            return v;
        };
        const std::uint32_t unitMask = l.bits == 32 ? 0xFFFFFFFFu : (1u << l.bits) - 1;
        std::uint32_t first = 0;
        for (int i = 0; i < font.count(); ++i) {
            const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
            const int w = font.glyphs.find(u)->width;
            const std::uint32_t n = unitCount(l, w, font.height);
            std::vector<std::uint32_t> reached(n, 0);
            for (int r = 0; r < font.height; ++r) {
                for (int c = 0; c < w; ++c) {
                    const auto [index, bit] = pixelPlace(l, w, font.height, r, c);
                    ASSERT_LT(index, n);
                    reached[index] |= 1u << bit;
                    const int decoded =
                        static_cast<int>((unitAt(first + index) >> bit) & 1u) ^ (l.invert ? 1 : 0);
                    ASSERT_EQ(decoded, test::pixelOf(font, u, c, r))
                        << "char " << i << " row " << r << " column " << c;
                }
            }
            // Padding bits are 0, or 1 when inverted.
            for (std::uint32_t j = 0; j < n; ++j) {
                const std::uint32_t padding = unitAt(first + j) & ~reached[j] & unitMask;
                EXPECT_EQ(padding, l.invert ? ~reached[j] & unitMask : 0u) << "unit " << j;
            }
            first += n;
        }
    }
}

using test::CancellingSink;

TEST(Version2Export, CancelLeavesNoFileAndKeepsAnEarlierOne) {
    const Font font = test::variableFont();
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat format : {ExportFormat::V2C, ExportFormat::V2Asm, ExportFormat::V2Dat}) {
        SCOPED_TRACE(format);
        typeloom::test::TempDir dir;
        ExportRequest request;
        request.format = format;
        request.now = test::fixedNow();
        request.path = dir.file("out.c");
        // A run that is not cancelled, to count the progress calls.
        CancelFlag cancel;
        CancellingSink counter(cancel, -1);
        ASSERT_TRUE(runExport(font, settings, request, cancel, counter).ok());
        ASSERT_GT(counter.calls(), 4);
        const std::vector<std::uint8_t> written = typeloom::test::readFile(request.path);
        ASSERT_FALSE(written.empty());

        const std::vector<std::uint8_t> earlier = {'o', 'l', 'd'};
        for (int limit = 1; limit <= counter.calls(); ++limit) {
            SCOPED_TRACE(limit);
            for (bool existing : {false, true}) {
                const std::string path = dir.file(existing ? "kept.c" : "new.c");
                if (existing) {
                    typeloom::test::writeFile(path, earlier);
                }
                request.path = path;
                CancelFlag flag;
                CancellingSink sink(flag, limit);
                const ExportResult result = runExport(font, settings, request, flag, sink);
                EXPECT_EQ(result.status, ExportResult::Status::Cancelled);
                if (existing) {
                    EXPECT_EQ(typeloom::test::readFile(path), earlier);
                } else {
                    EXPECT_FALSE(std::filesystem::exists(path));
                }
            }
        }
        EXPECT_EQ(typeloom::test::listFolder(dir.path()).size(), 2u);  // out.c and kept.c
    }
}

TEST(Version2Export, LargeFontsCanBeCancelledWhileTheirCharactersAreWritten) {
    // More than 500 characters: a second progress walk runs while the data table is written,
    // and a cancel anywhere in it fails the run.
    std::vector<RowGlyph> glyphs;
    for (int i = 0; i < 501; ++i) {
        glyphs.push_back({static_cast<std::uint16_t>(0x100 + i),
                          static_cast<std::uint16_t>(0x100 + i),
                          {i % 2 ? "#." : ".#"}});
    }
    const Font font = rowsFont("Big", 1, kEncodingUnicode, glyphs, 0x01121110);
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat format : {ExportFormat::V2C, ExportFormat::V2Asm}) {
        SCOPED_TRACE(format);
        typeloom::test::TempDir dir;
        ExportRequest request;
        request.format = format;
        request.path = dir.file("big.c");
        CancelFlag cancel;
        CancellingSink counter(cancel, -1);
        ASSERT_TRUE(runExport(font, settings, request, cancel, counter).ok());
        // Two walks of 501 steps, each shown, stepped and hidden.
        const int walk = 3 + 2 * 501 + 2;
        ASSERT_EQ(counter.calls(), 2 * walk);
        for (int limit : {walk + 1, walk + 2 * 250, 2 * walk - 2, 2 * walk}) {
            SCOPED_TRACE(limit);
            request.path = dir.file("cancelled-" + std::to_string(limit) + ".c");
            CancelFlag flag;
            CancellingSink sink(flag, limit);
            EXPECT_EQ(runExport(font, settings, request, flag, sink).status,
                      ExportResult::Status::Cancelled);
            EXPECT_FALSE(std::filesystem::exists(request.path));
        }
    }
}

TEST(Version2Export, AFontWithoutCharactersIsNotExported) {
    const Font empty = rowsFont("Empty", 8, kEncodingAnsi, {}, 0x01121110);
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    for (ExportFormat format : {ExportFormat::V2C, ExportFormat::V2Asm, ExportFormat::V2Dat}) {
        EXPECT_FALSE(exportToMemory(empty, settings, format, "fontEmpty", test::fixedNow()))
            << format;
    }
}

}  // namespace
}  // namespace typeloom::exporters
