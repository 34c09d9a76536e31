// BDF export: the file is read back with FreeType's BDF driver (glyph pictures, properties,
// character set) and imported again; the font-wide choices are checked against values worked
// out by hand.

#include "interchange/bdf_writer.h"

#include <ft2build.h>
#include <gtest/gtest.h>
#include FT_FREETYPE_H
#include FT_BDF_H

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

// Unicode codes 0x41, 0x42 and 0x20AC of widths 3, 10 and 5, five rows, ascent 3.
Font unicodeFont() {
    Font font;
    font.createFromScratch(0x41, 0x42, 6, 5, "Odd \"Name\"-1");
    font.insertCode(0x20AC, 0x20AC);
    font.addBlankGlyph(0x20AC, 5);
    test::setGlyphArt(font, 0x41, {".#.", "#.#", "###", "#.#", "#.#"});
    test::setGlyphArt(font, 0x42,
                      {"#........#", "##########", "#........#", "..........", "#.#.#.#.#."});
    test::setGlyphArt(font, 0x20AC, {".###.", "#....", "####.", "#....", ".###."});
    font.ascent = 3;
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

struct FtFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    explicit FtFace(const std::vector<std::uint8_t>& bytes) {
        if (FT_Init_FreeType(&library) == 0 &&
            FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0,
                               &face) != 0) {
            face = nullptr;
        }
    }
    ~FtFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);
    }
    long integer(const char* name) const {
        BDF_PropertyRec p{};
        if (FT_Get_BDF_Property(face, name, &p) != 0) {
            return -999;
        }
        return p.type == BDF_PROPERTY_TYPE_INTEGER ? p.u.integer : static_cast<long>(p.u.cardinal);
    }
    std::string text(const char* name) const {
        BDF_PropertyRec p{};
        if (FT_Get_BDF_Property(face, name, &p) != 0 || p.type != BDF_PROPERTY_TYPE_ATOM) {
            return "?";
        }
        return p.u.atom != nullptr ? p.u.atom : "";
    }
};

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(BdfWriter, FreeTypeReadsEveryGlyphAndTheProperties) {
    const Font font = unicodeFont();
    const std::vector<std::uint8_t> bytes = bytesOf(bdfText(font));
    const test::ReferenceFace ref = test::freetypeFace(bytes);
    ASSERT_TRUE(ref.ok) << ref.error;
    // FreeType numbers the characters from 1 in ascending code order.
    ASSERT_EQ(ref.glyphs.size(), 4u);
    for (int i = 0; i < font.count(); ++i) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        EXPECT_EQ(ref.glyphs[static_cast<std::size_t>(i) + 1].rows, glyphArt(font, u)) << u;
    }
    EXPECT_EQ(ref.family, "Odd 'Name'-1");

    FtFace ft(bytes);
    ASSERT_NE(ft.face, nullptr);
    EXPECT_EQ(ft.integer("FONT_ASCENT"), 3);
    EXPECT_EQ(ft.integer("FONT_DESCENT"), 2);
    EXPECT_EQ(ft.integer("PIXEL_SIZE"), 5);
    EXPECT_EQ(ft.text("SPACING"), "P");
    const char* encoding = nullptr;
    const char* registry = nullptr;
    ASSERT_EQ(FT_Get_BDF_Charset_ID(ft.face, &encoding, &registry), 0);
    EXPECT_STREQ(registry, "ISO10646");
    EXPECT_STREQ(encoding, "1");
    // No '?' and no default in the header: the space is absent too, so the first character.
    EXPECT_EQ(ft.integer("DEFAULT_CHAR"), 0x41);
    // Advances are the widths.
    for (const auto& [code, width] : {std::pair{0x41u, 3}, {0x42u, 10}, {0x20ACu, 5}}) {
        ASSERT_EQ(FT_Load_Char(ft.face, code, FT_LOAD_DEFAULT), 0);
        EXPECT_EQ(ft.face->glyph->advance.x >> 6, width) << code;
    }
}

TEST(BdfWriter, ExportThenImportGivesTheSameFont) {
    TempDir dir;
    const Font font = unicodeFont();
    writeBdf(font, dir.file("out.bdf"));
    Font back;
    const ImportOutcome outcome = importFontResource(dir.file("out.bdf"), back);
    ASSERT_TRUE(outcome.ok()) << outcome.detail;
    EXPECT_EQ(outcome.warnings, std::vector<std::string>{});
    EXPECT_EQ(back.codeList, font.codeList);
    EXPECT_EQ(back.height, font.height);
    EXPECT_EQ(back.ascent, font.ascent);
    for (std::uint16_t u : font.unicodeList) {
        EXPECT_EQ(glyphArt(back, u), glyphArt(font, u)) << u;
    }
}

TEST(BdfWriter, CodePageFontsNameTheirCodePageAndKeepTheirCodes) {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x3F, 0x80, 4, 6, "Ansi");
    font.ascent = 9;  // below the cell: the baseline goes to its bottom edge
    font.fontHeader.defaultChar = 0x80;
    const std::vector<std::uint8_t> bytes = bytesOf(bdfText(font));
    FtFace ft(bytes);
    ASSERT_NE(ft.face, nullptr);
    const char* encoding = nullptr;
    const char* registry = nullptr;
    ASSERT_EQ(FT_Get_BDF_Charset_ID(ft.face, &encoding, &registry), 0);
    EXPECT_STREQ(registry, "microsoft");
    EXPECT_STREQ(encoding, "cp1252");
    EXPECT_EQ(ft.integer("FONT_ASCENT"), 6);
    EXPECT_EQ(ft.integer("FONT_DESCENT"), 0);
    EXPECT_EQ(ft.integer("DEFAULT_CHAR"), 0x80);
    EXPECT_EQ(ft.text("SPACING"), "C");
    // The ENCODING numbers are the codes (0x80 is the euro sign's code, not its value).
    const std::string text = bdfText(font);
    EXPECT_NE(text.find("\nENCODING 128\n"), std::string::npos);
    EXPECT_EQ(text.find("\nENCODING 8364\n"), std::string::npos);
}

TEST(BdfWriter, RefusesAnEmptyFontAndKeepsAnEarlierFile) {
    TempDir dir;
    const std::string path = dir.file("keep.bdf");
    test::writeFile(path, {'o', 'l', 'd'});
    Font empty;
    EXPECT_THROW(writeBdf(empty, path), FileError);
    EXPECT_THROW(writeBdf(unicodeFont(), dir.file("missing/x.bdf")), FileError);
    EXPECT_EQ(test::readFile(path), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

}  // namespace
}  // namespace typeloom
