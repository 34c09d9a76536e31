#include "export/general_format.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/progress_sink.h"
#include "export/export_driver.h"
#include "export_test_support.h"
#include "glyph_decode_support.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

using test::Layout;

constexpr int kPagesPlain = 0x0F;  // tables on, no C99 braces
constexpr int kPagesC99 = 0x2F;

std::string generalC(const Font& font, int pages, const std::string& base) {
    auto text = exportToMemory(font, test::settingsWithPages(pages), ExportFormat::GeneralC, base,
                               test::fixedExportTime());
    EXPECT_TRUE(text.has_value());
    return text.value_or("");
}

std::string generalBin(const Font& font) {
    auto bytes = exportToMemory(font, test::settingsWithPages(kPagesPlain),
                                ExportFormat::GeneralBin, "fontX", 0);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or("");
}

// ---------------------------------------------------------------------------------------
// Whole files, compared with their expected files under tests/data/export/general_format.

struct Golden {
    const char* name;
    Font (*font)();
    int pages;
    const char* base;
    const char* file;
};

void PrintTo(const Golden& golden, std::ostream* out) {
    *out << golden.name;
}

const Golden kGoldens[] = {
    // Fixed font, default layout (big endian, row based and preferred, unpacked, 8 bits). Pixel
    // (x, y) of character i is set when (x + y + i) % 3 == 0, so each 5-pixel row is one of
    // #..#. (0x90), ..#.. (0x20) or .#..# (0x48).
    {"FixedFontRowModeByHand", test::fixedFont, kPagesPlain, "fontFixed", "fixed_font_rows.c"},
    // Variable font (codes 0x20 0x21, gap, 0x30 0x31; widths 2, 1, 9, 0) with the C99 braces.
    // Pixel (x, y) of character i is set when (3x + y + i) % 4 == 0. The gap makes two records;
    // the empty character still gets an array of one element, which ISO C needs.
    {"VariableFontWithGapAndC99BracesByHand", test::variableFont, kPagesC99, "fontVar",
     "variable_font_c99_braces.c"},
};

class GeneralCGolden : public testing::TestWithParam<Golden> {};

TEST_P(GeneralCGolden, WritesTheExpectedFile) {
    const Golden& golden = GetParam();
    EXPECT_EQ(generalC(golden.font(), golden.pages, golden.base),
              typeloom::test::readTestData(std::string("export/general_format/") + golden.file));
}

INSTANTIATE_TEST_SUITE_P(, GeneralCGolden, testing::ValuesIn(kGoldens), typeloom::test::RowName());

// Outside the row mode the units run on, 64 / L of them a line, with no pixel drawing.
TEST(GeneralC, OtherTraversalsRunOnByHand) {
    {
        SCOPED_TRACE("fixed font, column based and preferred, packed, 16-bit little endian");
        // Column-major stream of 35 pixels cut into 16-bit units, pixel k at bit k.
        const Font font = test::withLayout(test::fixedFont(), {0x001, 16, false, false});
        const std::string text = generalC(font, kPagesPlain, "fontCol");
        EXPECT_NE(text.find("const USHORT abc_fontCol_0041[   3] = { /* code 0041 */\r\n"
                            "  0x9249,  0x4924,  0x0002\r\n"
                            "};\r\n\r\n"
                            "const USHORT abc_fontCol_0042[   3] = { /* code 0042 */\r\n"
                            "  0x4924,  0x2492,  0x0001\r\n"
                            "};\r\n\r\n"
                            "const USHORT abc_fontCol_0043[   3] = { /* code 0043 */\r\n"
                            "  0x2492,  0x9249,  0x0004\r\n"
                            "};\r\n\r\n"
                            "const TLM_CHARINFO fontCol_CharInfo[3] = {\r\n"
                            "   {   5,   3, abc_fontCol_0041 }, /* code 0041 */\r\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("   FONTTYPE_PROP | ENCODING_ASCII | DATALENGTH_16, /* font type */"),
                  std::string::npos);
        EXPECT_EQ(text.find(" // "), std::string::npos);
    }
    {
        SCOPED_TRACE("variable font, column based and preferred, unpacked, 32-bit little endian");
        // Character 0x30: one unit per column holding rows 0..3 in bits 0..3.
        const Font font = test::withLayout(test::variableFont(), {0x000, 32, false, false});
        const std::string text = generalC(font, kPagesPlain, "fontV32");
        EXPECT_NE(text.find("const ULONG abc_fontV32_0030[   9] = { /* code 0030 */\r\n"
                            "  0x00000004,  0x00000008,\r\n"
                            "  0x00000001,  0x00000002,\r\n"
                            "  0x00000004,  0x00000008,\r\n"
                            "  0x00000001,  0x00000002,\r\n"
                            "  0x00000004\r\n"
                            "};\r\n\r\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("const ULONG abc_fontV32_0031[   1] = { /* code 0031 */\r\n"
                            "  0x00000000  /* width 0: no data */\r\n"),
                  std::string::npos);
        EXPECT_NE(text.find("DATALENGTH_32, /* font type */"), std::string::npos);
    }
}

// Three separate codes make three records, each pointing to the next one written before it.
TEST(GeneralC, UnicodeFontChainsThreeRanges) {
    const Font font = test::unicodeFont();
    const std::string text = generalC(font, kPagesPlain, "fontU");
    // The records as written, the last one first, then the start of the font record.
    const std::string chain =
        typeloom::test::readTestData("export/general_format/unicode_font_range_chain.fragment.c");
    EXPECT_NE(text.find(chain), std::string::npos) << text;
    EXPECT_NE(text.find(" * Encode: Unicode"), std::string::npos);
    EXPECT_NE(text.find("const UCHAR abc_fontU_4E00[   5] = { /* code 4E00 */\r\n"),
              std::string::npos);
}

// ---------------------------------------------------------------------------------------
// The generated C compiled with the host compiler and read back by a program that walks the
// records and redraws every glyph.

struct CompiledCase {
    std::string base;
    Font font;
    Layout layout;
};

std::uint32_t expectedFontType(const Font& font, int bits) {
    const std::uint32_t encoding = font.encoding == 0 ? 0x00010000u : 0x00020000u;
    const std::uint32_t length = bits == 8 ? 0x01000000u : bits == 16 ? 0x02000000u : 0x04000000u;
    return 0x00000002u | encoding | length;
}

std::string decoderMain(const std::vector<CompiledCase>& cases) {
    std::string m = "#include <stdio.h>\n#include \"tlmfont.h\"\n" + test::cGlyphDecoder();
    m += "static unsigned long at8(const void *d, long i) { return ((const UCHAR *)d)[i]; }\n"
         "static unsigned long at16(const void *d, long i) { return ((const USHORT *)d)[i]; }\n"
         "static unsigned long at32(const void *d, long i) { return ((const ULONG *)d)[i]; }\n";
    for (const CompiledCase& c : cases) {
        m += "extern const TLM_FONT " + c.base + ";\n";
    }
    m += "static const struct { const TLM_FONT *font; int traversal, L, be, inv; } cases[] = {\n";
    for (const CompiledCase& c : cases) {
        m += "    {&" + c.base + ", " + std::to_string(c.layout.traversal) + ", " +
             std::to_string(c.layout.bits) + ", " + std::to_string(c.layout.bigEndian) + ", " +
             std::to_string(c.layout.invert) + "},\n";
    }
    m += R"C(};
int main(void) {
    static unsigned char pix[65536];
    unsigned i;
    for (i = 0; i < sizeof cases / sizeof cases[0]; i++) {
        const TLM_FONT *f = cases[i].font;
        const TLM_FONT_PROP *p;
        int L = cases[i].L;
        UnitAt get = L == 8 ? at8 : L == 16 ? at16 : at32;
        printf("font %u type %08X height %u ascent %d reserved %u\n", i, f->fontType, f->height,
               f->ascent, f->reserved);
        for (p = f->first.pProp; p != 0; p = p->pNext) {
            long code;
            printf("range %04X-%04X\n", p->first, p->last);
            for (code = p->first; code <= p->last; code++) {
                const TLM_CHARINFO *ci = p->pFirstChar + (code - p->first);
                int ok = (long)ci->width * f->height <= (long)sizeof pix &&
                         decodeGlyph(get, TLM_CHAR_DATA(ci), ci->units, ci->width, f->height,
                                     cases[i].traversal, L, cases[i].be, cases[i].inv, pix);
                printf("char %04lX width %u units %u %s\n", code, ci->width, ci->units,
                       ok ? "ok" : "BAD");
                if (ok) printGlyph(pix, ci->width, f->height);
            }
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
        std::snprintf(line, sizeof line, "font %zu type %08X height %u ascent %d reserved 0\n", i,
                      expectedFontType(font, cases[i].layout.bits), font.height, font.ascent);
        out += line;
        // Runs of consecutive codes, from the font's code list.
        for (int start = 0; start < font.count();) {
            int end = start;
            while (end + 1 < font.count() && font.codeAt(end + 1) == font.codeAt(end) + 1) {
                ++end;
            }
            std::snprintf(line, sizeof line, "range %04X-%04X\n", font.codeAt(start),
                          font.codeAt(end));
            out += line;
            for (int k = start; k <= end; ++k) {
                const auto u = static_cast<std::uint16_t>(font.unicodeAt(k));
                std::uint16_t w = 0;
                font.widthOf(u, w);
                std::snprintf(line, sizeof line, "char %04X width %u units %d ok\n", font.codeAt(k),
                              w,
                              test::expectedUnits(w, font.height, cases[i].layout.traversal,
                                                  cases[i].layout.bits));
                out += line;
                out += test::drawnGlyph(font, u);
            }
            start = end + 1;
        }
    }
    return out;
}

void compileAndCompare(const std::vector<CompiledCase>& cases, bool c99) {
    std::vector<std::pair<std::string, std::string>> files;
    // The record types from the "tlmfont.h" the program ships, told the form of the entries.
    files.emplace_back("tlmfont.h", typeloom::test::readShippedHeader("tlmfont.h"));
    // One translation unit per font with the files of all its layouts one after the other (each
    // file stands on its own; fewer compiler runs keep the test quick).
    for (const CompiledCase& c : cases) {
        const std::string unit = c.base.substr(0, c.base.find('L')) + ".c";
        if (files.back().first != unit) {
            files.emplace_back(unit, "");
        }
        files.back().second += generalC(c.font, c99 ? kPagesC99 : kPagesPlain, c.base);
    }
    files.emplace_back("main.c", decoderMain(cases));
    const test::CompileResult r = test::compileAndRun(
        files, c99 ? "-pedantic-errors" : "-pedantic-errors -DTLMFONT_NO_C99_BRACES");
    ASSERT_TRUE(r.compiled) << r.diagnostics;
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.output, expectedDecoderOutput(cases));
}

std::vector<CompiledCase> casesFor(const std::vector<Layout>& layouts) {
    std::vector<CompiledCase> cases;
    const Font fonts[] = {test::fixedFont(), test::variableFont(), test::unicodeFont(),
                          test::tallFont()};
    for (std::size_t f = 0; f < std::size(fonts); ++f) {
        for (std::size_t l = 0; l < layouts.size(); ++l) {
            cases.push_back({"fontF" + std::to_string(f) + "L" + std::to_string(l),
                             test::withLayout(fonts[f], layouts[l]), layouts[l]});
        }
    }
    return cases;
}

TEST(GeneralC, CompilesAndRedrawsEveryGlyphInEveryTraversal) {
    compileAndCompare(casesFor(test::mixedLayouts()), false);
}

TEST(GeneralC, CompilesWithC99Braces) {
    compileAndCompare(casesFor({{0x110, 16, false, true}, {0x001, 32, true, false}}), true);
}

// ---------------------------------------------------------------------------------------
// The binary file read back field by field.

struct ParsedRange {
    std::uint16_t first;
    std::uint16_t last;
};

void checkGeneralBinary(const Font& font, const Layout& layout, const std::string& bytes) {
    test::ByteReader in{bytes};
    EXPECT_EQ(in.u32(), expectedFontType(font, layout.bits));
    EXPECT_EQ(in.u16(), font.height);
    EXPECT_EQ(in.u16(), static_cast<std::uint16_t>(font.ascent));
    EXPECT_EQ(in.u16(), 0);  // reserved
    const std::uint16_t nRanges = in.u16();
    std::vector<ParsedRange> ranges;
    for (int r = 0; r < nRanges; ++r) {
        const std::uint16_t first = in.u16();
        ranges.push_back({first, in.u16()});
    }
    // The ranges name every code of the font, in order, and only those.
    std::vector<int> codes;
    for (const ParsedRange& r : ranges) {
        EXPECT_LE(r.first, r.last);
        if (!codes.empty()) {
            EXPECT_GT(r.first, codes.back() + 1) << "ranges must be maximal";
        }
        for (int c = r.first; c <= r.last; ++c) {
            codes.push_back(c);
        }
    }
    std::vector<int> fontCodes;
    for (int i = 0; i < font.count(); ++i) {
        fontCodes.push_back(font.codeAt(i));
    }
    EXPECT_EQ(codes, fontCodes);

    std::uint32_t expectedOffset = 12 + 4 * nRanges + 8 * static_cast<std::uint32_t>(font.count());
    for (int i = 0; i < font.count(); ++i) {
        SCOPED_TRACE("character " + std::to_string(i));
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        std::uint16_t w = 0;
        font.widthOf(u, w);
        const int units = test::expectedUnits(w, font.height, layout.traversal, layout.bits);
        const std::uint32_t size = static_cast<std::uint32_t>(units * layout.bits / 8);
        EXPECT_EQ(in.u16(), w);
        EXPECT_EQ(in.u16(), size);
        const std::uint32_t offset = in.u32();
        EXPECT_EQ(offset, expectedOffset);
        const std::size_t entryEnd = in.pos;
        const auto decoded = test::decodeUnits(
            in.units(offset, static_cast<std::size_t>(units), layout.bits), w, font.height, layout);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(test::drawnPixels(*decoded, w, font.height), test::drawnGlyph(font, u));
        in.pos = entryEnd;
        expectedOffset += size;
    }
    EXPECT_FALSE(in.overrun);
    EXPECT_EQ(bytes.size(), expectedOffset);
}

TEST(GeneralBinary, EveryFieldRecordAndOffsetReadsBack) {
    const Font fonts[] = {test::fixedFont(), test::variableFont(), test::unicodeFont(),
                          test::tallFont()};
    for (const Font& base : fonts) {
        for (const Layout& layout : test::mixedLayouts()) {
            SCOPED_TRACE(base.faceName + ", " + layout.name());
            const Font font = test::withLayout(base, layout);
            checkGeneralBinary(font, layout, generalBin(font));
        }
    }
}

TEST(GeneralBinary, TwoRangesOfThreeCharactersStartDataAt44) {
    Font font = test::fixedFont();
    Glyph g;
    g.init(0x61, 5, font.height);
    font.glyphs.insert(0x61, g);
    font.insertCode(0x61, 0x61);
    font.glyphs.erase(0x43);
    font.codeList.erase(font.codeList.begin() + 2);
    font.unicodeList.erase(font.unicodeList.begin() + 2);
    const std::string bytes = generalBin(font);
    test::ByteReader in{bytes};
    in.pos = 10;
    EXPECT_EQ(in.u16(), 2);  // ranges 0x41-0x42 and 0x61
    EXPECT_EQ(in.u16(), 0x41);
    EXPECT_EQ(in.u16(), 0x42);
    EXPECT_EQ(in.u16(), 0x61);
    EXPECT_EQ(in.u16(), 0x61);
    in.pos = 20 + 4;
    EXPECT_EQ(in.u32(), 44u);
    EXPECT_EQ(in.u32() & 0xFFFF, 5u);  // width of the second character
    EXPECT_EQ(in.u32(), 44u + 7);
}

// Offsets are 32-bit and count the real sizes: past 65,536 bytes of data they keep growing.
// A character of more than 65,535 bytes is refused (layout_limits_test).
TEST(GeneralBinary, OffsetsStayExactPast64KiB) {
    Font font;
    font.setEncoding(1);
    font.faceName = "Big";
    font.height = 511;
    font.ascent = 500;
    const std::uint16_t widths[] = {1024, 8, 16, 128};
    const std::uint16_t codes[] = {0x41, 0x42, 0x43, 0x44};
    for (int i = 0; i < 4; ++i) {
        Glyph g;
        g.init(codes[i], widths[i], font.height);
        for (int y = 0; y < font.height; ++y) {
            for (int x = 0; x < widths[i]; ++x) {
                g.pixels[static_cast<std::size_t>(y) * widths[i] + x] = (x * 3 + y + i) % 7 == 0;
            }
        }
        font.glyphs.insert(codes[i], std::move(g));
        font.insertCode(codes[i], codes[i]);
    }
    const Layout layout{0x110, 8, true, false};
    font = test::withLayout(font, layout);
    const std::string bytes = generalBin(font);

    test::ByteReader in{bytes};
    in.pos = 12 + 4;
    // 1024 x 511 pixels in rows of 128 bytes: 65,408 bytes, 0xFF80, the largest size the
    // 16-bit field holds in whole rows; the offsets after it pass 64 KiB.
    EXPECT_EQ(in.u16(), 1024);
    EXPECT_EQ(in.u16(), 0xFF80);
    EXPECT_EQ(in.u32(), 12u + 4 + 32);
    EXPECT_EQ(in.u16(), 8);
    EXPECT_EQ(in.u16(), 511);
    EXPECT_EQ(in.u32(), 48u + 65408);
    EXPECT_EQ(in.u16(), 16);
    EXPECT_EQ(in.u16(), 1022);
    EXPECT_EQ(in.u32(), 48u + 65408 + 511);
    EXPECT_EQ(in.u16(), 128);
    EXPECT_EQ(in.u16(), 8176);
    EXPECT_EQ(in.u32(), 48u + 65408 + 511 + 1022);
    EXPECT_EQ(bytes.size(), 48u + 65408 + 511 + 1022 + 8176);
    // The characters after the large one decode from where their offsets point.
    for (int i = 1; i < 4; ++i) {
        const std::size_t entry = 16 + 8 * static_cast<std::size_t>(i);
        in.pos = entry + 4;
        const std::uint32_t offset = in.u32();
        const int units = widths[i] / 8 * font.height;
        const auto decoded = test::decodeUnits(in.units(offset, static_cast<std::size_t>(units), 8),
                                               widths[i], font.height, layout);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(test::drawnPixels(*decoded, widths[i], font.height),
                  test::drawnGlyph(font, codes[i]));
    }
}

// ---------------------------------------------------------------------------------------
// Cancelling.

// Requests the cancel at the Nth step of any walk over the characters.
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

Font manyCharacters() {
    Font font;
    font.setEncoding(1);
    font.faceName = "Many";
    font.height = 4;
    font.ascent = 3;
    for (int i = 0; i < 600; ++i) {
        const auto code = static_cast<std::uint16_t>(0x100 + i + (i >= 300 ? 10 : 0));
        Glyph g;
        g.init(code, 3, font.height);
        g.pixels[static_cast<std::size_t>(i % 12)] = 1;
        font.glyphs.insert(code, std::move(g));
        font.insertCode(code, code);
    }
    font.updateFixedWidth();
    return font;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// 600 characters: steps 1-600 encode, 601-1200 write the characters (large fonts show that
// walk too). A cancel anywhere leaves no file and an earlier file as it was.
TEST(GeneralFormats, CancelLeavesNoFileAndKeepsTheOldOne) {
    const Font font = manyCharacters();
    const MemorySettingsStore settings = test::settingsWithPages(kPagesC99);
    for (ExportFormat format : {ExportFormat::GeneralC, ExportFormat::GeneralBin}) {
        for (int step : {1, 299, 600, 601, 850, 1200}) {
            SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) +
                         ", cancel at step " + std::to_string(step));
            typeloom::test::TempDir dir;
            ExportRequest request;
            request.format = format;
            request.now = test::fixedExportTime();

            request.path = dir.file("fresh.c");
            CancelFlag flag;
            CancelAtStep sink(flag, step);
            ExportResult r = runExport(font, settings, request, flag, sink);
            EXPECT_EQ(r.status, ExportResult::Status::Cancelled);
            EXPECT_TRUE(typeloom::test::listFolder(dir.path()).empty());

            request.path = dir.file("old.c");
            {
                std::ofstream old(request.path, std::ios::binary);
                old << "earlier export";
            }
            CancelFlag flag2;
            CancelAtStep sink2(flag2, step);
            r = runExport(font, settings, request, flag2, sink2);
            EXPECT_EQ(r.status, ExportResult::Status::Cancelled);
            EXPECT_EQ(readFile(request.path), "earlier export");
            EXPECT_EQ(typeloom::test::listFolder(dir.path()).size(), 1u);
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
        EXPECT_EQ(readFile(request.path), format == ExportFormat::GeneralC
                                              ? generalC(font, kPagesC99, "fontdone")
                                              : generalBin(font));
    }
}

TEST(GeneralFormats, FontWithoutCharactersIsNotExported) {
    Font empty;
    empty.height = 8;
    for (ExportFormat format : {ExportFormat::GeneralC, ExportFormat::GeneralBin}) {
        EXPECT_FALSE(exportToMemory(empty, test::settingsWithPages(kPagesPlain), format, "fontE", 0)
                         .has_value());
    }
}

}  // namespace
}  // namespace typeloom::exporters
