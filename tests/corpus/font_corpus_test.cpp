// Real bitmap fonts shipped by Debian, imported by the product and compared glyph by glyph
// with FreeType's own BDF and Windows font drivers reading the same files:
//   xfonts-base, xfonts-75dpi, xfonts-unifont  PCF fonts, turned into BDF by pcf2bdf
//   fonts-wine                                 Windows .fon libraries
// A package that is not installed skips its test (scripts/deps.sh test installs them).

#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "charset/encodings.h"
#include "interchange/bdf_reader.h"
#include "interchange/bdf_writer.h"
#include "interchange/font_import.h"
#include "interchange/freetype_reference.h"
#include "interchange/imported_font.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesIn(const fs::path& folder, const std::string& suffix) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            files.push_back(e.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool havePcf2bdf() {
    return std::system("command -v pcf2bdf > /dev/null 2>&1") == 0;
}

// RAII FreeType face over a file.
struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    explicit Face(const std::string& path) {
        if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            face = nullptr;
        }
    }
    ~Face() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);
    }
};

// Compares every character of an imported BDF font with FreeType's rendering of the same
// code: the ink FreeType places inside the character's cell (its bitmap moved by the glyph's
// left and top bearings, a negative left bearing widening the character instead) must be the
// imported ink, pixel for pixel, and the width its advance (a character that advances nothing
// is as wide as its ink). Returns the number of characters that differ.
int compareBdf(const std::string& path, const Font& font, int& checked) {
    Face ft(path);
    EXPECT_NE(ft.face, nullptr) << path;
    if (ft.face == nullptr) {
        return 1;
    }
    // Fonts of other registries than ISO 10646 have a charmap of their own encoding, which
    // FreeType does not select by itself.
    if (ft.face->charmap == nullptr && ft.face->num_charmaps > 0) {
        FT_Set_Charmap(ft.face, ft.face->charmaps[0]);
    }
    int differences = 0;
    for (int i = 0; i < font.count(); ++i) {
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        const FT_UInt index = FT_Get_Char_Index(ft.face, code);
        if (index == 0 || FT_Load_Glyph(ft.face, index, FT_LOAD_DEFAULT) != 0) {
            ADD_FAILURE() << path << ": FreeType has no glyph for code " << code;
            ++differences;
            continue;
        }
        const FT_GlyphSlot slot = ft.face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        const Glyph& g = *font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(i)));
        const int left = std::max(slot->bitmap_left, 0);
        const int advance = static_cast<int>(slot->advance.x >> 6);
        std::vector<std::uint8_t> expected(g.pixels.size(), 0);
        for (unsigned r = 0; r < bm.rows; ++r) {
            for (unsigned c = 0; c < bm.width; ++c) {
                const unsigned char* line = bm.buffer + static_cast<long>(r) * bm.pitch;
                if ((line[c / 8] & (0x80 >> (c % 8))) == 0) {
                    continue;
                }
                const int x = left + static_cast<int>(c);
                const int y = font.ascent - slot->bitmap_top + static_cast<int>(r);
                if (x < g.width && y >= 0 && y < font.height) {
                    expected[static_cast<std::size_t>(y) * g.width + static_cast<std::size_t>(x)] =
                        1;
                }
            }
        }
        // A character of advance 0 (DWIDTH 0) is as wide as its ink, at least one column.
        const int expectedWidth = advance == 0 ? std::max(1, static_cast<int>(bm.width) + left)
                                               : advance - std::min(slot->bitmap_left, 0);
        const bool sameWidth = expectedWidth == g.width;
        if (expected != g.pixels || !sameWidth) {
            if (++differences <= 5) {
                ADD_FAILURE() << path << ": code " << code << " differs (width " << g.width
                              << ", FreeType advance " << advance << ", left " << slot->bitmap_left
                              << ")";
            }
        }
        ++checked;
    }
    return differences;
}

// Imports a file written from `font` and expects the same codes, metrics and pictures.
void expectSameFont(const std::string& path, const Font& font) {
    Font back;
    const ImportOutcome outcome = importFontResource(path, back);
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(back.codeList, font.codeList);
    EXPECT_EQ(back.height, font.height);
    EXPECT_EQ(back.ascent, font.ascent);
    int differing = 0;
    for (int i = 0; i < font.count(); ++i) {
        const Glyph* ours = font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(i)));
        const Glyph* theirs = back.glyphs.find(static_cast<std::uint16_t>(font.codeAt(i)));
        if (theirs == nullptr || ours->width != theirs->width || ours->pixels != theirs->pixels) {
            if (++differing <= 5) {
                ADD_FAILURE() << path << ": code " << font.codeAt(i) << " differs after import";
            }
        }
    }
}

void checkPcfFolder(const fs::path& folder, std::size_t minimumFiles) {
    if (!fs::exists(folder) || !havePcf2bdf()) {
        GTEST_SKIP() << folder << " or pcf2bdf is not installed";
    }
    const std::vector<fs::path> files = filesIn(folder, ".pcf.gz");
    ASSERT_GE(files.size(), minimumFiles);
    test::TempDir dir;
    int fonts = 0;
    int glyphs = 0;
    for (const fs::path& pcf : files) {
        SCOPED_TRACE(pcf.string());
        const std::string stem = pcf.filename().string();
        const std::string bdf = dir.file(stem.substr(0, stem.size() - 7) + ".bdf");
        const std::string command =
            "gzip -dc '" + pcf.string() + "' | pcf2bdf -o '" + bdf + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        Font font;
        const ImportOutcome outcome = importFontResource(bdf, font);
        ASSERT_TRUE(outcome.ok()) << outcome.detail;
        // Fonts FreeType reads cleanly import without a warning.
        EXPECT_EQ(outcome.warnings, std::vector<std::string>{});
        EXPECT_EQ(font.encoding, static_cast<std::uint32_t>(kEncodingUnicode));
        EXPECT_EQ(font.codeList, font.unicodeList);
        EXPECT_EQ(compareBdf(bdf, font, glyphs), 0);
        // The font exported as BDF again: FreeType reads the same glyphs from it, and its
        // import gives the same font.
        const std::string exported = dir.file("exported.bdf");
        writeBdf(font, exported);
        int exportedGlyphs = 0;
        EXPECT_EQ(compareBdf(exported, font, exportedGlyphs), 0);
        expectSameFont(exported, font);
        ++fonts;
        fs::remove(bdf);
    }
    std::printf("%d fonts, %d characters compared\n", fonts, glyphs);
}

// The misc folder holds xfonts-base and the unifont of xfonts-unifont.
TEST(FontCorpus, MiscFontsMatchFreeTypesBdfDriver) {
    checkPcfFolder("/usr/share/fonts/X11/misc", 50);
}

TEST(FontCorpus, Xfonts75dpiMatchesFreeTypesBdfDriver) {
    checkPcfFolder("/usr/share/fonts/X11/75dpi", 100);
}

// Compares an imported Windows font with FreeType's Windows font driver: FreeType numbers
// the characters first..last from glyph 1.
void compareWinFont(const std::vector<std::uint8_t>& bytes, const Font& font,
                    const std::string& what) {
    const test::ReferenceFace face = test::freetypeFace(bytes);
    ASSERT_TRUE(face.ok) << what << ": " << face.error;
    const int first = font.codeAt(0);
    for (int i = 0; i < font.count(); ++i) {
        const int code = font.codeAt(i);
        const std::size_t index = static_cast<std::size_t>(code - first + 1);
        ASSERT_LT(index, face.glyphs.size()) << what;
        std::vector<std::string> ours;
        const Glyph& g = *font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(i)));
        for (int y = 0; y < font.height; ++y) {
            std::string row;
            for (int x = 0; x < g.width; ++x) {
                row += g.pixel(x, y) != 0 ? '#' : '.';
            }
            ours.push_back(row);
        }
        EXPECT_EQ(face.glyphs[index].rows, ours) << what << ": code " << code;
    }
}

TEST(FontCorpus, WineFontsMatchFreeTypesWindowsFontDriver) {
    const std::vector<fs::path> files = filesIn("/usr/share/wine/fonts", ".fon");
    if (files.empty()) {
        GTEST_SKIP() << "fonts-wine is not installed";
    }
    test::TempDir dir;
    int characters = 0;
    for (const fs::path& fon : files) {
        SCOPED_TRACE(fon.string());
        Font font;
        const ImportOutcome outcome = importFontResource(fon.string(), font);
        ASSERT_TRUE(outcome.ok()) << outcome.detail;
        EXPECT_EQ(font.encoding, static_cast<std::uint32_t>(kEncodingAnsi));
        std::vector<std::uint16_t> keys = font.unicodeList;
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end()) << "shared keys";
        compareWinFont(test::readFile(fon.string()), font, "library");
        // What was imported writes back as a .fnt and a .fon with the same characters.
        compareWinFont(fntBytes(font), font, "written .fnt");
        compareWinFont(fonBytes(font), font, "written .fon");
        // ... and as a BDF file of its code page that FreeType and the import read back.
        const std::string exported = dir.file("exported.bdf");
        writeBdf(font, exported);
        int exportedGlyphs = 0;
        EXPECT_EQ(compareBdf(exported, font, exportedGlyphs), 0);
        expectSameFont(exported, font);
        characters += font.count();
    }
    std::printf("%zu libraries, %d characters compared\n", files.size(), characters);
}

}  // namespace
}  // namespace typeloom
