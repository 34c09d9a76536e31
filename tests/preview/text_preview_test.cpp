// The preview of text as the firmware draws it: a known string against a picture assembled by
// hand from the test's glyphs, read back from the PNG with libpng's own reader; wrapping,
// missing characters, the pictures of an export, and strict UTF-8.

#include "preview/text_preview.h"

#include <gtest/gtest.h>
#include <png.h>

#include "common/text.h"
#include "model/font.h"
#include "preview/png_file.h"
#include "verify/decoded_export.h"

namespace typeloom::preview {
namespace {

using Art = std::vector<std::string>;

// 'A' 3 x 4, 'B' 2 x 4 and a blank space 1 x 4; everything else is missing.
Font smallFont(std::uint32_t word) {
    Font font;
    font.createFromScratch(0x41, 0x42, 3, 4, "Small");
    font.insertCode(0x20, 0x20);
    font.addBlankGlyph(0x20, 1);
    Glyph& a = *font.glyphs.find(0x41);
    a.pixels = {0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 0, 1};
    Glyph& b = *font.glyphs.find(0x42);
    b.width = 2;
    b.pixels = {1, 0, 1, 1, 1, 0, 1, 1};
    font.updateFixedWidth();
    font.dataFormat = word;
    return font;
}

// '#' ink, '.' paper, 'r' the red frame of a missing character.
Art artOf(const PreviewImage& image) {
    Art rows;
    for (int y = 0; y < image.height; ++y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t c = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            row += c == kInkColour       ? '#'
                   : c == kPaperColour   ? '.'
                   : c == kMissingColour ? 'r'
                                         : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// The PNG decoded by libpng's reader into the same letters.
Art artOfPng(const std::vector<std::uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_NE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()), 0);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    EXPECT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
    PreviewImage back;
    back.width = static_cast<int>(image.width);
    back.height = static_cast<int>(image.height);
    for (std::size_t k = 0; k + 2 < rgb.size(); k += 3) {
        back.pixels.push_back((std::uint32_t{rgb[k]} << 16) | (std::uint32_t{rgb[k + 1]} << 8) |
                              rgb[k + 2]);
    }
    return artOf(back);
}

TEST(TextPreview, KnownStringEqualsThePictureAssembledByHand) {
    // The same picture whatever the data layout the units went through.
    for (std::uint32_t word : {0x01121110u, 0x02080101u, 0x00041011u}) {
        Font font = smallFont(word);
        EncodedPictures pictures(font);
        const PreviewImage image = renderText(U"AB\nBxA", pictures, {});
        // Line 1: A (3) and B (2); line 2: B, x (missing, 3 wide) and A.
        const Art expected = {".#.#....", "#.###...", "####....", "#.###...",
                              "#.rrr.#.", "##r.r#.#", "#.r.r###", "##rrr#.#"};
        EXPECT_EQ(artOf(image), expected) << word;
        EXPECT_EQ(artOfPng(pngBytes(image)), expected);
        ASSERT_EQ(image.missing.size(), 1u);
        EXPECT_EQ(describeMissing(image.missing[0]), "U+0078 'x' (line 2, column 2)");
    }
}

TEST(TextPreview, ScaleAndWrapping) {
    Font font = smallFont(0x01121110);
    EncodedPictures pictures(font);
    const PreviewImage big = renderText(U"B", pictures, {3, 0});
    EXPECT_EQ(artOf(big), (Art{"###...", "###...", "###...", "######", "######", "######", "###...",
                               "###...", "###...", "######", "######", "######"}));
    // "AB AB" in 7 pixels: the second word goes to the next line without its space.
    const PreviewImage wrapped = renderText(U"AB BA", pictures, {1, 7});
    EXPECT_EQ(wrapped.width, 7);
    EXPECT_EQ(wrapped.height, 8);
    const Art rows = artOf(wrapped);
    EXPECT_EQ(rows[4], "#..#...");  // line 2 starts with B
    // A word longer than the line breaks before the character that does not fit.
    const PreviewImage cut = renderText(U"AAA", pictures, {1, 7});
    EXPECT_EQ(cut.height, 8);
    EXPECT_TRUE(cut.missing.empty());
}

TEST(TextPreview, PicturesOfAnExportAndEditedGlyphs) {
    Font font = smallFont(0x01121110);
    verify::DecodedExport decoded;
    decoded.height = 4;
    decoded.characters.push_back({0x41, 1, {1, 1, 1, 1}, 0, {}});
    ExportPictures fromExport(font, decoded);
    const PreviewImage image = renderText(U"AB", fromExport, {});
    EXPECT_EQ(artOf(image)[0], "#rrr");  // 'A' as the export holds it, 'B' missing from it
    EncodedPictures edited(font);
    edited.overridePixels(0x42, 1, {1, 0, 1, 0});
    EXPECT_EQ(artOf(renderText(U"B", edited, {})), (Art{"#", ".", "#", "."}));
}

TEST(TextPreview, StrictUtf8NamesTheFirstBadByte) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::size_t bad;  // npos: valid
        std::u32string text;
    };
    const std::size_t ok = std::string::npos;
    const std::vector<Case> cases = {
        {{'a', 0xC2, 0xB0, 'C'}, ok, U"a\u00B0C"},
        {{0xEF, 0xBB, 0xBF, 'x'}, ok, U"x"},
        {{0xF0, 0x9F, 0x98, 0x80}, ok, U"\U0001F600"},
        {{'a', 0xB0}, 1, U""},               // a lone continuation byte
        {{'a', 'b', 0xC0, 0x80}, 2, U""},    // an overlong form
        {{0xED, 0xA0, 0x80}, 0, U""},        // a surrogate
        {{'x', 0xE4, 0xB8}, 1, U""},         // cut off
        {{0xF4, 0x90, 0x80, 0x80}, 0, U""},  // above U+10FFFF
    };
    for (const Case& c : cases) {
        std::size_t bad = 99;
        const auto text = decodeUtf8Strict(c.bytes, bad);
        if (c.bad == ok) {
            ASSERT_TRUE(text);
            EXPECT_EQ(*text, c.text);
        } else {
            EXPECT_FALSE(text);
            EXPECT_EQ(bad, c.bad);
        }
    }
}

}  // namespace
}  // namespace typeloom::preview
