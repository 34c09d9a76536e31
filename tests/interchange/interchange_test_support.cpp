#include "interchange_test_support.h"

#include <gtest/gtest.h>

#include "model/font.h"

namespace typeloom::test {

std::vector<std::uint8_t> lines(const std::vector<std::string>& text) {
    std::vector<std::uint8_t> out;
    for (const std::string& line : text) {
        out.insert(out.end(), line.begin(), line.end());
        out.push_back('\n');
    }
    return out;
}

std::vector<std::string> glyphArt(const Font& font, std::uint16_t key) {
    std::vector<std::string> rows;
    const Glyph* g = font.glyphs.find(key);
    if (g == nullptr) {
        return rows;
    }
    for (int y = 0; y < font.height; ++y) {
        std::string row;
        for (int x = 0; x < g->width; ++x) {
            row += g->pixel(x, y) != 0 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::uint8_t> pixelsOfArt(const std::vector<std::string>& art) {
    std::vector<std::uint8_t> px;
    for (const std::string& row : art) {
        for (char c : row) {
            px.push_back(c == '#' ? 1 : 0);
        }
    }
    return px;
}

void setGlyphArt(Font& font, std::uint16_t key, const std::vector<std::string>& art) {
    Glyph& g = *font.glyphs.find(key);
    g.width = static_cast<std::uint16_t>(art[0].size());
    g.pixels = pixelsOfArt(art);
}

Font openFont() {
    Font font;
    font.createFromScratch(0x30, 0x39, 5, 7, "Digits");
    font.glyphs.find(0x31)->pixels[3] = 1;
    font.dataFormat = 0x01020304;
    font.fontHeader.weight = 700;
    return font;
}

void expectOpenFontUnchanged(const Font& font) {
    const Font original = openFont();
    EXPECT_EQ(font.faceName, original.faceName);
    EXPECT_EQ(font.height, original.height);
    EXPECT_EQ(font.codeList, original.codeList);
    EXPECT_EQ(font.unicodeList, original.unicodeList);
    EXPECT_TRUE(font.glyphs == original.glyphs);
    EXPECT_TRUE(font.charTable.committed == original.charTable.committed);
    EXPECT_EQ(font.fontHeader.weight, original.fontHeader.weight);
    EXPECT_EQ(font.encoding, original.encoding);
}

}  // namespace typeloom::test
