#include "model/freetype_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/cancel_flag.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"
#include "model/rasteriser.h"
#include "model/system_fonts.h"
#include "model/transforms.h"
#include "test_support.h"

// These tests read fonts of Debian packages (scripts/deps.sh installs them): fonts-dejavu-core,
// fonts-liberation, fonts-unifont and fonts-wine.

namespace typeloom {
namespace {

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";
const std::string kSans = kDejaVu + "DejaVuSans.ttf";
const std::string kSansOblique = kDejaVu + "DejaVuSans-Oblique.ttf";
const std::string kMono = kDejaVu + "DejaVuSansMono.ttf";
const std::string kLiberationSans =
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
const std::string kUnifont = "/usr/share/fonts/opentype/unifont/unifont.otf";
// Windows bitmap fonts: Courier for Central Europe (one 13-pixel face, character set 238)
// and MS Sans Serif (faces of 13, 16 and 20 pixels).
const std::string kCourierCe = "/usr/share/wine/fonts/couree.fon";
const std::string kSansSerifFon = "/usr/share/wine/fonts/sserife.fon";

LogFont logFont(const std::string& face, int height, int weight = 400, bool italic = false) {
    LogFont f;
    f.faceName = face;
    f.height = height;
    f.weight = weight;
    f.italic = italic ? 1 : 0;
    return f;
}

// An independent reader: FreeType called directly, as its documentation describes a hinted
// 1-bit rendering, with pixels read one by one from the bitmap.
class Reference {
  public:
    Reference(const std::string& file, int pixelsPerEm, int faceIndex = 0) {
        EXPECT_EQ(FT_Init_FreeType(&m_library), 0);
        EXPECT_EQ(FT_New_Face(m_library, file.c_str(), faceIndex, &m_face), 0) << file;
        if (m_face != nullptr && FT_IS_SCALABLE(m_face)) {
            FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelsPerEm));
        } else if (m_face != nullptr) {
            // A Windows bitmap face numbers its characters by byte in its only character map.
            FT_Select_Size(m_face, 0);
            EXPECT_EQ(m_face->num_charmaps, 1);
            FT_Set_Charmap(m_face, m_face->charmaps[0]);
        }
    }
    ~Reference() {
        if (m_face != nullptr) {
            FT_Done_Face(m_face);
        }
        FT_Done_FreeType(m_library);
    }

    struct FreeTypeBitmap {
        int advance = 0;
        int left = 0;
        int top = 0;
        int width = 0;
        int rows = 0;
        std::vector<std::uint8_t> ink;  // width x rows
    };

    FreeTypeBitmap load(FT_ULong charCode) const {
        FreeTypeBitmap g;
        EXPECT_EQ(FT_Load_Char(m_face, charCode, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER), 0);
        FT_GlyphSlot slot = m_face->glyph;
        g.advance = static_cast<int>(slot->advance.x >> 6);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = static_cast<int>(slot->bitmap.width);
        g.rows = static_cast<int>(slot->bitmap.rows);
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const unsigned char byte = slot->bitmap.buffer[y * slot->bitmap.pitch + x / 8];
                g.ink.push_back((byte >> (7 - x % 8)) & 1);
            }
        }
        return g;
    }

    // The character as the font model keeps it: the width is the advance, or |A| + B when
    // that is larger; a negative A moves the drawing right by -A; the baseline lies `ascent`
    // rows below the top of a cell `height` rows tall. A `pitch` above 0 is the width instead,
    // with the origin at the cell's left edge.
    Glyph cell(FT_ULong charCode, int ascent, int height, bool abc = true, int pitch = 0) const {
        FreeTypeBitmap g = load(charCode);
        const int a = g.width > 0 ? g.left : 0;
        int width = g.advance;
        if (abc && std::abs(a) + g.width > width) {
            width = std::abs(a) + g.width;
        }
        int originX = abc && a < 0 ? -a : 0;
        if (pitch > 0) {
            width = pitch;
            originX = 0;
        }
        Glyph out;
        out.code = static_cast<std::uint16_t>(charCode);
        out.width = static_cast<std::uint16_t>(width);
        out.pixels.assign(static_cast<std::size_t>(width * height), 0);
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const int cx = originX + g.left + x;
                const int cy = ascent - g.top + y;
                if (g.ink[y * g.width + x] != 0 && cx >= 0 && cx < width && cy >= 0 &&
                    cy < height) {
                    out.pixels[cy * width + cx] = 1;
                }
            }
        }
        return out;
    }

  private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

class FreeTypeRendererTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const std::string& f :
             {kSans, kSansOblique, kMono, kLiberationSans, kUnifont, kCourierCe, kSansSerifFon}) {
            ASSERT_TRUE(std::filesystem::exists(f)) << f << " missing: run scripts/deps.sh test";
        }
        installFreeTypeRenderer();
    }
    void TearDown() override {
        setRendererFactory([](const LogFont& f) { return std::make_shared<BlankRenderer>(f); });
    }

    static Font build(const LogFont& lf, unsigned threads = 0,
                      PitchRule pitch = PitchRule::WidenToInk) {
        Font font;
        font.setBitsPerPixel(1);
        font.setEncoding(kEncodingUnicode);
        NullProgressSink progress;
        rasteriseSystemFont(font, lf, DbcsTables::program(), progress, pitch, threads);
        return font;
    }
};

TEST_F(FreeTypeRendererTest, ResolvesFaceNameWeightAndItalicToTheFaceFile) {
    struct Row {
        LogFont font;
        std::string file;
    };
    const Row rows[] = {
        {logFont("DejaVu Sans", -16), kSans},
        {logFont("DejaVu Sans", -16, 0), kSans},  // weight 0: the regular face
        {logFont("DejaVu Sans Mono", -16), kMono},
        {logFont("DejaVu Sans Mono", -16, 700), kDejaVu + "DejaVuSansMono-Bold.ttf"},
        {logFont("DejaVu Sans", -16, 400, true), kSansOblique},
        {logFont("DejaVu Sans", 20, 700, true), kDejaVu + "DejaVuSans-BoldOblique.ttf"},
        {logFont("dejavu sans mono", -16), kMono},  // names match without regard to case
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.font.faceName + " " + std::to_string(row.font.weight));
        auto location = resolveLogFont(row.font);
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(location->file, row.file);
        FreeTypeRenderer r(row.font);
        EXPECT_TRUE(r.hasFace());
        EXPECT_EQ(r.file(), row.file);
    }
}

TEST_F(FreeTypeRendererTest, UnknownFaceNameFallsBackToTheBestMatch) {
    FreeTypeRenderer r(logFont("No Such Family Anywhere", -16));
    ASSERT_TRUE(r.hasFace());
    EXPECT_TRUE(std::filesystem::exists(r.file()));
    EXPECT_TRUE(r.metrics().scalable);
    EXPECT_FALSE(r.unicodeRanges().empty());
    // A face name with a character set steers the substitute towards a face of that script.
    LogFont cyrillic = logFont("No Such Family Anywhere", -16);
    cyrillic.charSet = 204;
    FreeTypeRenderer c(cyrillic);
    ASSERT_TRUE(c.hasFace());
    EXPECT_EQ(c.metrics().charSet, 204);
}

TEST_F(FreeTypeRendererTest, FileThatCannotBeOpenedGivesBlankCharacters) {
    test::TempDir dir;
    const std::string garbage = dir.file("garbage.ttf");
    test::writeFile(garbage, std::vector<std::uint8_t>(300, 0xA5));
    const std::string truncated = dir.file("truncated.ttf");
    std::vector<std::uint8_t> head = test::readFile(kSans);
    head.resize(2000);
    test::writeFile(truncated, head);
    for (const std::string& file :
         {dir.file("missing.ttf"), garbage, truncated, dir.path().string()}) {
        SCOPED_TRACE(file);
        FreeTypeRenderer r(logFont("X", -16), file, 0);
        EXPECT_FALSE(r.hasFace());
        EXPECT_TRUE(r.unicodeRanges().empty());
        std::vector<std::uint8_t> pixels(20 * 20, 0);
        r.render('A', 0, 20, 20, pixels.data());
        EXPECT_EQ(pixels, std::vector<std::uint8_t>(400, 0));
        EXPECT_GT(r.spacing('A').advance, 0);
    }
    // A face index beyond the file's faces as well.
    FreeTypeRenderer beyond(logFont("X", -16), kSans, 7);
    EXPECT_FALSE(beyond.hasFace());
}

TEST_F(FreeTypeRendererTest, MetricsFollowTheWindowsAscentAndDescent) {
    // DejaVu Sans: 2048 units per em, usWinAscent 1901, usWinDescent 483, xAvgCharWidth 1038,
    // no line gap. At an em of 16 pixels: ascent 1901 * 16 / 2048 = 14.85 -> 15, descent
    // 483 * 16 / 2048 = 3.77 -> 4, so 12 points (height -16) give a 19-pixel cell with an
    // internal leading of 3; average width 1038 * 16 / 2048 = 8.1 -> 8.
    FreeTypeRenderer em16(logFont("DejaVu Sans", -16));
    RenderMetrics m = em16.metrics();
    EXPECT_EQ(em16.pixelsPerEm(), 16);
    EXPECT_EQ(m.ascent, 15);
    EXPECT_EQ(m.descent, 4);
    EXPECT_EQ(m.internalLeading, 3);
    EXPECT_EQ(m.externalLeading, 0);
    EXPECT_EQ(m.averageWidth, 8);
    EXPECT_EQ(m.weight, 400);
    EXPECT_FALSE(m.fixedPitch);
    EXPECT_TRUE(m.scalable);
    EXPECT_EQ(m.italic, 0);

    // A positive height is the cell: 19 pixels over 2384 units give an em of
    // 19 * 2048 / 2384 = 16.3 -> 16, ascent 19 * 1901 / 2384 = 15.2 -> 15, descent 4.
    FreeTypeRenderer cell19(logFont("DejaVu Sans", 19));
    EXPECT_EQ(cell19.pixelsPerEm(), 16);
    EXPECT_EQ(cell19.metrics().ascent, 15);
    EXPECT_EQ(cell19.metrics().descent, 4);
    EXPECT_EQ(cell19.metrics().internalLeading, 3);
    // 10 pixels: em 8.6 -> 9, ascent 7.97 -> 8, descent 2, internal leading 1.
    FreeTypeRenderer cell10(logFont("DejaVu Sans", 10));
    EXPECT_EQ(cell10.pixelsPerEm(), 9);
    EXPECT_EQ(cell10.metrics().ascent, 8);
    EXPECT_EQ(cell10.metrics().descent, 2);
    EXPECT_EQ(cell10.metrics().internalLeading, 1);

    // Liberation Sans: usWinAscent 1854, usWinDescent 434, hhea 1854/-434 with a line gap of
    // 67 that the Windows metrics leave out: external leading 67 * 16 / 2048 = 0.52 -> 1;
    // xAvgCharWidth 1208 -> 9.4 -> 9; ascent 14.48 -> 14, descent 3.39 -> 3.
    FreeTypeRenderer liberation(logFont("Liberation Sans", -16));
    EXPECT_EQ(liberation.file(), kLiberationSans);
    EXPECT_EQ(liberation.metrics().externalLeading, 1);
    EXPECT_EQ(liberation.metrics().averageWidth, 9);
    EXPECT_EQ(liberation.metrics().ascent, 14);
    EXPECT_EQ(liberation.metrics().descent, 3);

    // Unifont: 64 units per em, 56 above and 8 below: exactly 14 + 2 at 16 pixels.
    FreeTypeRenderer unifont(logFont("X", -16), kUnifont, 0);
    EXPECT_EQ(unifont.metrics().ascent, 14);
    EXPECT_EQ(unifont.metrics().descent, 2);
    EXPECT_EQ(unifont.metrics().internalLeading, 0);
    EXPECT_TRUE(unifont.metrics().fixedPitch);

    // Bold and oblique faces report themselves.
    EXPECT_EQ(FreeTypeRenderer(logFont("DejaVu Sans", -16, 700)).metrics().weight, 700);
    EXPECT_EQ(FreeTypeRenderer(logFont("DejaVu Sans", -16, 400, true)).metrics().italic, 1);
}

TEST_F(FreeTypeRendererTest, TwelvePointsGiveTheCellOfTheWindowsMetrics) {
    Font font = build(logFont("DejaVu Sans", -16));
    EXPECT_EQ(font.height, 19);  // 15 + 4, not 16
    EXPECT_EQ(font.ascent, 15);
    EXPECT_EQ(font.faceName, "DejaVu Sans");
    EXPECT_TRUE(font.fromSystemFont);
    EXPECT_EQ(font.fontHeader.internalLeading, 3);
    EXPECT_EQ(font.fontHeader.avgWidth, 8);
    EXPECT_EQ(font.fontHeader.weight, 400);
}

TEST_F(FreeTypeRendererTest, SupportedSetIsTheCharacterMapInTheBasicPlane) {
    // Independently: every code FreeType's Unicode map of the face lists below 0x10000.
    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, kSans.c_str(), 0, &face), 0);
    std::vector<std::uint16_t> expected;
    FT_UInt gindex = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &gindex); gindex != 0;
         c = FT_Get_Next_Char(face, c, &gindex)) {
        if (c <= 0xFFFF) {
            expected.push_back(static_cast<std::uint16_t>(c));
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    ASSERT_GT(expected.size(), 3000u);

    FreeTypeRenderer r(logFont("DejaVu Sans", -16));
    std::vector<std::uint16_t> listed;
    std::uint32_t previousEnd = 0;
    for (auto [first, count] : r.unicodeRanges()) {
        EXPECT_GT(count, 0u);
        EXPECT_TRUE(listed.empty() || first > previousEnd) << "ranges are separate and ascending";
        for (std::uint32_t k = 0; k < count; ++k) {
            listed.push_back(static_cast<std::uint16_t>(first + k));
        }
        previousEnd = first + count;
    }
    EXPECT_EQ(listed, expected);

    // The font holds those plus 0..255.
    Font font = build(logFont("DejaVu Sans", -16));
    for (std::uint16_t u : expected) {
        ASSERT_TRUE(font.glyphs.contains(u)) << u;
    }
    for (int u = 0; u <= 0xFF; ++u) {
        ASSERT_TRUE(font.glyphs.contains(static_cast<std::uint16_t>(u))) << u;
    }
    EXPECT_FALSE(font.glyphs.contains(0x4E00));  // DejaVu has no ideographs
}

TEST_F(FreeTypeRendererTest, ControlCodesAreRenderedButNotListed) {
    Font font = build(logFont("DejaVu Sans", -16));
    for (int u : {0x00, 0x0A, 0x1F, 0x80, 0x85, 0x9F}) {
        SCOPED_TRACE(u);
        EXPECT_TRUE(font.glyphs.contains(static_cast<std::uint16_t>(u)));
        EXPECT_EQ(font.indexOfCode(static_cast<std::uint16_t>(u)), -1);
    }
    for (int u : {0x20, 0x41, 0x7E, 0xA0, 0xFF, 0x20AC}) {
        SCOPED_TRACE(u);
        EXPECT_GE(font.indexOfCode(static_cast<std::uint16_t>(u)), 0);
    }
}

TEST_F(FreeTypeRendererTest, SpaceKeepsItsAdvanceAndNoInk) {
    Reference ref(kSans, 16);
    const int advance = ref.load(' ').advance;
    EXPECT_EQ(advance, 5);  // 651 units at 16/2048 = 5.09
    Font font = build(logFont("DejaVu Sans", -16));
    const Glyph* space = font.glyphs.find(' ');
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->width, advance);
    EXPECT_EQ(space->pixels, std::vector<std::uint8_t>(static_cast<std::size_t>(advance) * 19, 0));
}

TEST_F(FreeTypeRendererTest, FixedPitchFaceGivesAFixedWidthFont) {
    // DejaVu Sans Mono advances every character 1233 units: 9.6 -> 10 pixels hinted.
    FreeTypeRenderer r(logFont("DejaVu Sans Mono", -16));
    EXPECT_TRUE(r.metrics().fixedPitch);
    EXPECT_EQ(r.metrics().averageWidth, 10);
    Font font = build(logFont("DejaVu Sans Mono", -16));
    for (int u = 0x20; u <= 0xFF; ++u) {
        if (!isControlCode(static_cast<std::uint16_t>(u))) {
            std::uint16_t width = 0;
            ASSERT_TRUE(font.widthOf(static_cast<std::uint16_t>(u), width));
            EXPECT_EQ(width, 10) << u;
        }
    }
    // Some marks of the face reach beyond their advance, and a cell holds all of a
    // character's ink: U+0361 starts 2 pixels left of its origin and is 13 wide, a cell of 15.
    // With those listed the font is of variable width.
    Reference ref(kMono, 16);
    Reference::FreeTypeBitmap breve = ref.load(0x0361);
    ASSERT_LT(breve.left, 0);
    std::uint16_t width = 0;
    ASSERT_TRUE(font.widthOf(0x0361, width));
    EXPECT_EQ(width, -breve.left + breve.width);
    EXPECT_EQ(font.fixedWidth, 0);
    // Keeping only the printable ASCII characters gives a fixed-width font of 10 pixels.
    font.charTable.beginEditing();
    font.charTable.setAllEnabled(false);
    font.charTable.setRangeEnabled(0x20, 0x7E, true);
    ASSERT_TRUE(font.commitCharacterTable(0));
    EXPECT_EQ(font.count(), 95);
    EXPECT_EQ(font.fixedWidth, 10);
    EXPECT_EQ(font.maxWidth, 10);
}

TEST_F(FreeTypeRendererTest, ProportionalFaceGivesAVariableFontAsWideAsItsWidestCharacter) {
    Font font = build(logFont("DejaVu Sans", -16));
    EXPECT_EQ(font.fixedWidth, 0);
    // The widest listed character by the reader's own advances and bearings.
    Reference ref(kSans, 16);
    int widest = 0;
    for (std::uint16_t u : font.unicodeList) {
        Reference::FreeTypeBitmap g = ref.load(u);
        const int a = g.width > 0 ? g.left : 0;
        widest = std::max({widest, g.advance, std::abs(a) + g.width});
    }
    EXPECT_EQ(font.maxWidth, widest);
    EXPECT_GT(widest, 16);
}

TEST_F(FreeTypeRendererTest, NegativeASpacingShiftsTheDrawingAndWidensTheCell) {
    FreeTypeRenderer r(logFont("DejaVu Sans", -16, 400, true));
    ASSERT_EQ(r.file(), kSansOblique);
    Reference ref(kSansOblique, 16);
    // 'j' of the oblique face hangs left of its origin.
    Reference::FreeTypeBitmap j = ref.load('j');
    ASSERT_LT(j.left, 0);
    CharSpacing s = r.spacing('j');
    EXPECT_TRUE(s.hasAbc);
    EXPECT_EQ(s.a, j.left);
    EXPECT_EQ(s.b, j.width);
    EXPECT_EQ(s.advance, j.advance);
    EXPECT_EQ(s.c, j.advance - j.left - j.width);

    Glyph glyph = renderGlyph('j', r, 19);
    EXPECT_GE(glyph.width, -j.left + j.width);
    // Moved right by -A, the leftmost ink lands in column 0.
    int leftmost = glyph.width;
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.pixel(x, y) != 0) {
                leftmost = std::min(leftmost, x);
            }
        }
    }
    EXPECT_EQ(leftmost, 0);
    EXPECT_EQ(glyph, ref.cell('j', 15, 19));
}

TEST_F(FreeTypeRendererTest, UnderlineAndStrikeOutRunAlongTheAdvance) {
    // DejaVu Sans: the post table puts the underline's top 40 units below the baseline, 90
    // thick; OS/2 the strike-out's top 530 units above it, 102 thick. At 16 pixels per em:
    // underline row 15 + round(0.31) = 15, one row (0.70 -> 1); strike-out row
    // 15 - round(4.14) = 11, one row (0.80 -> 1).
    LogFont lf = logFont("DejaVu Sans", -16);
    lf.underline = 1;
    lf.strikeOut = 1;
    FreeTypeRenderer r(lf);
    EXPECT_EQ(r.metrics().underline, 1);
    EXPECT_EQ(r.metrics().strikeOut, 1);
    Glyph space = renderGlyph(' ', r, 19);
    ASSERT_EQ(space.width, 5);
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(space.pixel(x, y), y == 15 || y == 11 ? 1 : 0) << x << "," << y;
        }
    }
    // Over a character the strokes join its own ink.
    Reference ref(kSans, 16);
    Glyph expected = ref.cell('A', 15, 19);
    for (int x = 0; x < expected.width; ++x) {
        expected.pixels[static_cast<std::size_t>(15 * expected.width + x)] = 1;
        expected.pixels[static_cast<std::size_t>(11 * expected.width + x)] = 1;
    }
    EXPECT_EQ(renderGlyph('A', r, 19), expected);
}

TEST_F(FreeTypeRendererTest, GlyphsMatchAPlainFreeTypeRendering) {
    struct Face {
        std::string name;
        int weight;
        bool italic;
        std::string file;
    };
    const Face faces[] = {{"DejaVu Sans", 400, false, kSans},
                          {"DejaVu Sans", 400, true, kSansOblique},
                          {"DejaVu Sans Mono", 400, false, kMono}};
    const std::u16string sample = u"AgjQW@%&fiyé€ЖΩʃ→¿|_";
    for (const Face& f : faces) {
        SCOPED_TRACE(f.file);
        Font font = build(logFont(f.name, -16, f.weight, f.italic));
        ASSERT_EQ(font.height, 19);
        Reference ref(f.file, 16);
        for (char16_t u : sample) {
            SCOPED_TRACE(static_cast<int>(u));
            const Glyph* glyph = font.glyphs.find(u);
            ASSERT_NE(glyph, nullptr);
            Glyph expected = ref.cell(u, 15, 19);
            EXPECT_EQ(glyph->width, expected.width);
            EXPECT_EQ(glyph->pixels, expected.pixels);
            EXPECT_NE(std::count(glyph->pixels.begin(), glyph->pixels.end(), 1), 0);
        }
    }
}

TEST_F(FreeTypeRendererTest, BitmapFaceSupportsTheBytesOfItsCodePage) {
    // couree.fon: a 13-pixel Courier for Central Europe, ascent 11, characters 32..255, 8
    // pixels wide, default character 32 + 96 = 128.
    FreeTypeRenderer r(logFont("Courier", -13), kCourierCe, 0);
    ASSERT_TRUE(r.hasFace());
    RenderMetrics m = r.metrics();
    EXPECT_FALSE(m.scalable);
    EXPECT_TRUE(m.fixedPitch);
    EXPECT_EQ(m.charSet, 238);
    EXPECT_EQ(m.ascent, 11);
    EXPECT_EQ(m.descent, 2);
    EXPECT_EQ(m.averageWidth, 8);
    EXPECT_EQ(m.defaultChar, 128);
    EXPECT_TRUE(r.unicodeRanges().empty());
    EXPECT_FALSE(r.spacing('A').hasAbc);
    EXPECT_EQ(r.spacing('A').advance, 8);

    setRendererFactory(
        [](const LogFont& lf) { return std::make_shared<FreeTypeRenderer>(lf, kCourierCe, 0); });
    Font font = build(logFont("Courier", -13));
    EXPECT_EQ(font.height, 13);
    EXPECT_EQ(font.fixedWidth, 8);
    EXPECT_EQ(font.glyphs.size(), 256u);  // the 256 values of windows-1250
    // U+0141 (L with stroke) is byte 0xA3 in windows-1250, U+0165 (t with caron) is 0x9D: the
    // face draws them from those bytes.
    Reference ref(kCourierCe, 13);
    for (auto [unicode, byte] : {std::pair{0x0141, 0xA3}, {0x0165, 0x9D}, {0x41, 0x41}}) {
        SCOPED_TRACE(unicode);
        const Glyph* glyph = font.glyphs.find(static_cast<std::uint16_t>(unicode));
        ASSERT_NE(glyph, nullptr);
        Glyph expected = ref.cell(static_cast<FT_ULong>(byte), 11, 13, false);
        EXPECT_EQ(glyph->width, expected.width);
        EXPECT_EQ(glyph->pixels, expected.pixels);
        EXPECT_NE(std::count(glyph->pixels.begin(), glyph->pixels.end(), 1), 0);
    }
    EXPECT_FALSE(font.glyphs.contains(0x00C3));  // A with tilde is not in windows-1250
}

TEST_F(FreeTypeRendererTest, SymbolFaceDrawsItsCharactersFromBytesToo) {
    // Marlett has only a symbol character map, with its characters at U+F000 + byte.
    const std::string marlett = "/usr/share/wine/fonts/marlett.ttf";
    ASSERT_TRUE(std::filesystem::exists(marlett));
    FreeTypeRenderer r(logFont("Marlett", -16), marlett, 0);
    ASSERT_TRUE(r.hasFace());
    EXPECT_EQ(r.metrics().charSet, 2);  // SYMBOL_CHARSET
    auto ranges = r.unicodeRanges();
    ASSERT_FALSE(ranges.empty());
    const std::uint16_t first = ranges.front().first;
    EXPECT_EQ(first & 0xFF00, 0xF000);

    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, marlett.c_str(), 0, &face), 0);
    ASSERT_EQ(FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL), 0);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(r.pixelsPerEm()));
    ASSERT_EQ(FT_Load_Char(face, first, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER), 0);
    const int advance = static_cast<int>(face->glyph->advance.x >> 6);
    const int inkRows = static_cast<int>(face->glyph->bitmap.rows);
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    // The byte and the private-use value draw the same glyph.
    const int height = r.metrics().ascent + r.metrics().descent;
    Glyph byByte = renderGlyph(first & 0xFF, r, static_cast<std::uint16_t>(height));
    Glyph byValue = renderGlyph(first, r, static_cast<std::uint16_t>(height));
    EXPECT_EQ(byByte.pixels, byValue.pixels);
    EXPECT_EQ(byByte.width, byValue.width);
    EXPECT_GE(byValue.width, advance);
    ASSERT_GT(inkRows, 0);
    EXPECT_NE(std::count(byValue.pixels.begin(), byValue.pixels.end(), 1), 0);
}

TEST_F(FreeTypeRendererTest, BitmapFaceKeepsItsOwnSize) {
    // sserife.fon face 1 is 16 pixels tall with an internal leading of 3; whatever height is
    // asked for, a face of one size is drawn at that size.
    for (int height : {-13, -8, 30}) {
        SCOPED_TRACE(height);
        FreeTypeRenderer r(logFont("MS Sans Serif", height), kSansSerifFon, 1);
        ASSERT_TRUE(r.hasFace());
        EXPECT_EQ(r.metrics().ascent + r.metrics().descent, 16);
        EXPECT_EQ(r.metrics().internalLeading, 3);
        EXPECT_FALSE(r.metrics().fixedPitch);
        EXPECT_EQ(r.metrics().charSet, 0);
    }
}

TEST_F(FreeTypeRendererTest, SeveralThreadsBuildTheSameFontAsOne) {
    for (const LogFont& lf : {logFont("DejaVu Sans", -16), logFont("DejaVu Sans", 11, 700, true)}) {
        SCOPED_TRACE(lf.height);
        Font one = build(lf, 1);
        Font two = build(lf, 2);
        Font three = build(lf, 3);
        ASSERT_GT(one.glyphs.size(), 3000u);
        EXPECT_EQ(two.codeList, one.codeList);
        EXPECT_EQ(two.unicodeList, one.unicodeList);
        EXPECT_EQ(two.height, one.height);
        EXPECT_EQ(two.maxWidth, one.maxWidth);
        EXPECT_EQ(two.glyphs.size(), one.glyphs.size());
        EXPECT_EQ(three.glyphs.size(), one.glyphs.size());
        std::size_t differing = 0;
        one.glyphs.forEach([&](std::uint16_t u, const Glyph& g) {
            const Glyph* g2 = two.glyphs.find(u);
            const Glyph* g3 = three.glyphs.find(u);
            if (g2 == nullptr || !(*g2 == g) || g3 == nullptr || !(*g3 == g)) {
                ++differing;
            }
        });
        EXPECT_EQ(differing, 0u);
    }
}

// Writes the glyphs into a project as they come, and can fail at a given glyph (a full disk).
class SavingSink : public RenderedFontSink {
  public:
    SavingSink(ProjectStreamWriter& writer, std::size_t failAt)
        : m_writer(writer), m_failAt(failAt) {}
    void start(const Font& font, std::size_t count) override { m_writer.begin(font, count); }
    void glyph(std::uint16_t key, const Glyph& g) override {
        if (++m_taken == m_failAt) {
            throw FileError(FileError::Kind::Io, "the disk is full");
        }
        m_writer.glyph(key, g);
    }

  private:
    ProjectStreamWriter& m_writer;
    std::size_t m_failAt;
    std::size_t m_taken = 0;
};

// A font saved while it renders reads back as the font made; a save that fails part way stops
// the rendering with its error (no thread left waiting) and leaves the file that was there.
TEST_F(FreeTypeRendererTest, AProjectWrittenWhileRenderingReadsBackAsTheFont) {
    test::TempDir dir;
    const std::string path = dir.file("sans.tlf");
    const LogFont lf = logFont("DejaVu Sans", -16);
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        test::writeFile(path, {'o', 'l', 'd'});
        for (std::size_t failAt : {std::size_t{1}, std::size_t{1500}}) {
            Font font;
            font.setEncoding(kEncodingUnicode);
            NullProgressSink progress;
            ProjectStreamWriter writer(path);
            SavingSink sink(writer, failAt);
            EXPECT_THROW(rasteriseSystemFont(font, lf, DbcsTables::program(), progress,
                                             PitchRule::WidenToInk, threads, &sink),
                         FileError);
        }
        EXPECT_EQ(test::readFile(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

        Font font;
        font.setEncoding(kEncodingUnicode);
        NullProgressSink progress;
        {
            ProjectStreamWriter writer(path);
            SavingSink sink(writer, 0);
            rasteriseSystemFont(font, lf, DbcsTables::program(), progress, PitchRule::WidenToInk,
                                threads, &sink);
            writer.finish(font);
        }
        ASSERT_GT(font.glyphs.size(), 3000u);
        ASSERT_GT(font.maxWidth, 0);
        Font loaded;
        ASSERT_TRUE(loadProject(path, loaded, progress).ok());
        EXPECT_EQ(loaded.maxWidth, font.maxWidth);
        EXPECT_EQ(loaded.fixedWidth, font.fixedWidth);
        EXPECT_EQ(loaded.unicodeList, font.unicodeList);
        EXPECT_TRUE(loaded.glyphs == font.glyphs);
        EXPECT_EQ(test::listFolder(dir.path()), std::vector<std::string>{"sans.tlf"});
    }
}

// Counts the steps and checks they arrive on the thread that started the build.
class CountingProgress : public ProgressSink {
  public:
    void show(bool) override {}
    void setRange(int, int upper) override { range = upper; }
    void setStep(int) override {}
    void stepIt() override {
        ++steps;
        if (std::this_thread::get_id() != owner) {
            ++foreignSteps;
        }
    }
    void setText(const std::string& t) override { text = t; }
    int range = 0;
    int steps = 0;
    int foreignSteps = 0;
    std::string text;
    std::thread::id owner = std::this_thread::get_id();
};

TEST_F(FreeTypeRendererTest, ProgressStepsOncePerCharacterOnTheCallingThread) {
    Font font;
    font.setEncoding(kEncodingUnicode);
    CountingProgress progress;
    font.createFromSystemFont(logFont("DejaVu Sans", -16), DbcsTables::program(), progress, 2);
    EXPECT_EQ(progress.range, static_cast<int>(font.glyphs.size()));
    EXPECT_EQ(progress.steps, progress.range);
    EXPECT_EQ(progress.foreignSteps, 0);
    EXPECT_EQ(progress.text, kIdleStatusText);
}

TEST_F(FreeTypeRendererTest, OddRequestsStayBounded) {
    // Absurd heights are drawn at the largest height rendered, a height of 0 at 16 pixels.
    FreeTypeRenderer huge(logFont("DejaVu Sans", -2000000000));
    EXPECT_EQ(huge.pixelsPerEm(), 512);
    FreeTypeRenderer hugeCell(logFont("DejaVu Sans", 2000000000));
    EXPECT_LE(hugeCell.metrics().ascent + hugeCell.metrics().descent, 512);
    for (int extreme : {INT32_MIN, INT32_MAX}) {
        FreeTypeRenderer none(logFont("X", extreme), "/nonexistent.ttf", 0);
        EXPECT_LE(none.metrics().ascent + none.metrics().descent, 1024);
    }
    FreeTypeRenderer zero(logFont("DejaVu Sans", 0));
    EXPECT_EQ(zero.metrics().ascent + zero.metrics().descent, 16);
    FreeTypeRenderer weights(logFont("DejaVu Sans", -16, -5));
    EXPECT_TRUE(weights.hasFace());
    // Rendering into nothing draws nothing.
    FreeTypeRenderer r(logFont("DejaVu Sans", -16));
    EXPECT_FALSE(r.render('A', 0, 0, 19, nullptr));
    std::vector<std::uint8_t> cell(4, 0);
    EXPECT_TRUE(r.render('W', 50, 2, 2, cell.data()));  // drawn outside: cut off
    EXPECT_EQ(cell, std::vector<std::uint8_t>(4, 0));
    // A value the face lacks draws its missing-character box, as the system does.
    CharSpacing missing = r.spacing(0x4E00);
    EXPECT_GT(missing.advance, 0);
}

TEST_F(FreeTypeRendererTest, DamagedFontFilesRenderWithinBounds) {
    // Bytes of a Windows bitmap font and of an outline font changed at fixed places, header
    // fields included: each either opens or renders blank, and the cells stay bounded.
    test::TempDir dir;
    std::size_t opened = 0;
    for (const std::string& source : {kCourierCe, kUnifont}) {
        const std::vector<std::uint8_t> original = test::readFile(source);
        ASSERT_GT(original.size(), 1000u);
        std::uint32_t seed = 12345;
        for (int variant = 0; variant < 24; ++variant) {
            std::vector<std::uint8_t> bytes = original;
            for (int k = 0; k < 8; ++k) {
                seed = seed * 1103515245u + 12345u;
                // Half of the changes fall into the first 1,024 bytes, where the headers are.
                const std::size_t limit = k % 2 == 0 ? 1024 : bytes.size();
                bytes[(seed >> 8) % limit] = static_cast<std::uint8_t>(seed >> 24);
            }
            const std::string file = dir.file("damaged" + std::to_string(variant));
            test::writeFile(file, bytes);
            SCOPED_TRACE(source + " variant " + std::to_string(variant));
            FreeTypeRenderer r(logFont("X", -16), file, 0);
            opened += r.hasFace() ? 1 : 0;
            const RenderMetrics m = r.metrics();
            ASSERT_GE(m.ascent, 0);
            ASSERT_LE(m.ascent + m.descent, kMaxRenderHeight);
            const int height = std::max(1, m.ascent + m.descent);
            for (std::uint16_t u : {0x20, 0x41, 0xA3, 0x4E00, 0xFFFF}) {
                Glyph g = renderGlyph(u, r, static_cast<std::uint16_t>(height));
                ASSERT_LE(g.width, kMaxRenderWidth);
                ASSERT_EQ(g.pixels.size(), static_cast<std::size_t>(g.width) * height);
            }
        }
    }
    EXPECT_GT(opened, 0u);  // the damage leaves some files readable
}

TEST_F(FreeTypeRendererTest, KeepingThePitchGivesEveryCharacterTheFacesAdvance) {
    // DejaVu Sans Mono declares a fixed pitch and advances every character 1233 units, 10
    // pixels at 16 pixels per em; DejaVu Sans is proportional.
    FreeTypeRenderer mono(logFont("DejaVu Sans Mono", -16));
    EXPECT_EQ(defaultPitchRule(mono), PitchRule::KeepPitch);
    EXPECT_EQ(defaultPitchRule(FreeTypeRenderer(logFont("DejaVu Sans", -16))),
              PitchRule::WidenToInk);
    Reference ref(kMono, 16);
    const int pitch = ref.load(' ').advance;
    ASSERT_EQ(pitch, 10);
    EXPECT_EQ(facePitch(mono), pitch);

    Font font = build(logFont("DejaVu Sans Mono", -16), 0, PitchRule::KeepPitch);
    EXPECT_EQ(font.fixedWidth, pitch);
    EXPECT_EQ(font.maxWidth, pitch);
    // Every character FreeType draws, clipped to a cell of the pitch at its origin; those
    // whose ink the cell clips are the ones counted as losing ink.
    const std::vector<std::uint16_t>& values = font.charTable.supportedSet;
    ASSERT_GT(values.size(), 3000u);
    int losing = 0;
    for (std::uint16_t u : values) {
        const Glyph* g = font.glyphs.find(u);
        ASSERT_NE(g, nullptr) << u;
        const Glyph kept = ref.cell(u, font.ascent, font.height, true, pitch);
        ASSERT_EQ(g->width, pitch) << u;
        ASSERT_EQ(g->pixels, kept.pixels) << u;
        const Glyph whole = ref.cell(u, font.ascent, font.height);
        losing += std::count(kept.pixels.begin(), kept.pixels.end(), 1) <
                          std::count(whole.pixels.begin(), whole.pixels.end(), 1)
                      ? 1
                      : 0;
    }
    EXPECT_GT(losing, 0);  // U+0361 among them
    EXPECT_EQ(countCharactersLosingInk(mono, values, font.height), losing);
    // Rendering counts the characters it clips, on one thread and on two; widened, none.
    for (const auto& [threads, rule, clipped] :
         {std::tuple{1u, PitchRule::KeepPitch, losing},
          std::tuple{2u, PitchRule::KeepPitch, losing}, std::tuple{2u, PitchRule::WidenToInk, 0}}) {
        Font again;
        again.setBitsPerPixel(1);
        again.setEncoding(kEncodingUnicode);
        NullProgressSink progress;
        EXPECT_EQ(rasteriseSystemFont(again, logFont("DejaVu Sans Mono", -16),
                                      DbcsTables::program(), progress, rule, threads),
                  clipped)
            << threads;
    }
    CancelFlag cancelled;
    cancelled.requestCancel();
    EXPECT_EQ(countCharactersLosingInk(mono, values, font.height, &cancelled), -1);

    // The font is fixed-width already: Change to Fixed-Width changes nothing.
    Font fixed = font;
    makeFixedWidth(fixed);
    EXPECT_EQ(fixed.fixedWidth, pitch);
    for (std::uint16_t u : font.unicodeList) {
        ASSERT_TRUE(*fixed.glyphs.find(u) == *font.glyphs.find(u)) << u;
    }
}

TEST_F(FreeTypeRendererTest, InstalledFactoryRendersFromTheSourceFont) {
    Font font;
    LogFont lf = logFont("DejaVu Sans Mono", -16);
    font.setSourceFont(lf);
    const auto* r = dynamic_cast<const FreeTypeRenderer*>(&font.renderer());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->file(), kMono);
}

TEST(SystemFonts, PointSizesBecomeTheSystemsPixelHeights) {
    // -MulDiv(points, 96, 72), the tenths of a point dropped first.
    struct Row {
        int tenths;
        int height;
    };
    for (const Row& row : {Row{120, -16}, Row{125, -16}, Row{129, -16}, Row{100, -13},
                           Row{110, -15}, Row{40, -5}, Row{90, -12}, Row{2440, -325}, Row{0, 0}}) {
        SCOPED_TRACE(row.tenths);
        EXPECT_EQ(heightForPointTenths(row.tenths), row.height);
    }
    // Halves round away from zero, whatever the signs; a zero divisor or an overflow gives -1.
    EXPECT_EQ(mulDiv(3, 1, 2), 2);
    EXPECT_EQ(mulDiv(-3, 1, 2), -2);
    EXPECT_EQ(mulDiv(3, 1, -2), -2);
    EXPECT_EQ(mulDiv(-3, -1, -2), -2);
    EXPECT_EQ(mulDiv(5, 1, 3), 2);
    EXPECT_EQ(mulDiv(7, 9, 0), -1);
    EXPECT_EQ(mulDiv(INT32_MAX, 2, 1), -1);
    EXPECT_EQ(mulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
}

TEST(SystemFonts, ListsInstalledFamiliesAndStyles) {
    std::vector<SystemFace> faces = listSystemFaces("dejavu sans mono");
    std::vector<std::string> styles;
    for (const SystemFace& f : faces) {
        EXPECT_EQ(f.family, "DejaVu Sans Mono");
        styles.push_back(f.style);
    }
    for (const char* style : {"Book", "Bold", "Oblique", "Bold Oblique"}) {
        EXPECT_NE(std::find(styles.begin(), styles.end(), style), styles.end()) << style;
    }
    std::vector<std::string> families = listSystemFamilies("DEJAVU");
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Serif"), families.end());
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_TRUE(listSystemFaces("no such family anywhere").empty());

    auto bold = findSystemFace("dejavu sans mono", "bold");
    ASSERT_TRUE(bold.has_value());
    EXPECT_EQ(bold->file, kDejaVu + "DejaVuSansMono-Bold.ttf");
    EXPECT_EQ(bold->weight, 700);
    EXPECT_FALSE(bold->italic);
    EXPECT_FALSE(findSystemFace("DejaVu Sans Mono", "Wobbly").has_value());
}

TEST(SystemFonts, EveryListedFaceHasADescriptionThatResolvesToIt) {
    // Condensed and light faces share weight and slant with others of their family; the
    // description names the family that sets them apart.
    for (const SystemFace& face : listSystemFaces("DejaVu")) {
        SCOPED_TRACE(face.family + " " + face.style);
        LogFont lf = logFontForFace(face, -16);
        auto location = resolveLogFont(lf);
        ASSERT_TRUE(location.has_value());
        EXPECT_EQ(location->file, face.file);
        EXPECT_EQ(lf.height, -16);
    }
}

TEST(SystemFonts, ScriptsFollowTheCodePageCoverage) {
    std::vector<std::string> names;
    for (const FontScript& s : knownScripts()) {
        names.push_back(s.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Western", "Central European", "Cyrillic", "Greek",
                                               "Turkish", "Hebrew", "Arabic", "Baltic",
                                               "Vietnamese", "Thai", "Japanese", "Hangul",
                                               "CHINESE_GB2312", "CHINESE_BIG5"}));
    auto namesOf = [](const std::vector<FontScript>& scripts) {
        std::vector<std::string> out;
        for (const FontScript& s : scripts) {
            out.push_back(s.name);
        }
        return out;
    };
    auto has = [](const std::vector<std::string>& v, const char* name) {
        return std::find(v.begin(), v.end(), name) != v.end();
    };
    // DejaVu Sans Mono writes the European alphabets but neither Thai nor the East Asian sets.
    std::vector<std::string> mono = namesOf(scriptsOfFace({kMono, 0}));
    for (const char* name :
         {"Western", "Central European", "Cyrillic", "Greek", "Turkish", "Baltic"}) {
        EXPECT_TRUE(has(mono, name)) << name;
    }
    for (const char* name : {"Thai", "Japanese", "Hangul", "CHINESE_GB2312", "CHINESE_BIG5"}) {
        EXPECT_FALSE(has(mono, name)) << name;
    }
    EXPECT_EQ(mono.front(), "Western");
    // Unifont covers the whole Basic Plane, East Asian sets included.
    std::vector<std::string> unifont = namesOf(scriptsOfFace({kUnifont, 0}));
    for (const char* name :
         {"Western", "Thai", "Japanese", "Hangul", "CHINESE_GB2312", "CHINESE_BIG5"}) {
        EXPECT_TRUE(has(unifont, name)) << name;
    }
    // A bitmap face of windows-1250 (not a face fontconfig lists) is read directly.
    std::vector<std::string> courier = namesOf(scriptsOfFace({kCourierCe, 0}));
    EXPECT_FALSE(has(courier, "Japanese"));
    EXPECT_TRUE(scriptsOfFace({"/nonexistent/font.ttf", 0}).empty());
    EXPECT_TRUE(scriptsOfCharSet(nullptr).empty());
}

}  // namespace
}  // namespace typeloom
