#include "transform_test_support.h"

#include "charset/encodings.h"

namespace typeloom::test {

Glyph glyphOf(const std::vector<std::string>& rows, std::uint16_t code) {
    Glyph g;
    g.code = code;
    g.width = rows.empty() ? 0 : static_cast<std::uint16_t>(rows.front().size());
    for (const std::string& row : rows) {
        for (std::size_t x = 0; x < g.width; ++x) {
            g.pixels.push_back(x < row.size() && row[x] == '#' ? 1 : 0);
        }
    }
    return g;
}

std::vector<std::string> rowsOf(const Glyph& glyph) {
    std::vector<std::string> rows;
    if (glyph.width == 0) {
        if (!glyph.pixels.empty()) {
            rows.push_back("width 0 with pixels");
        }
        return rows;
    }
    if (glyph.pixels.size() % glyph.width != 0) {
        return {"pixels are not whole rows"};
    }
    for (std::size_t y = 0; y < glyph.pixels.size() / glyph.width; ++y) {
        std::string row;
        for (std::size_t x = 0; x < glyph.width; ++x) {
            const std::uint8_t v = glyph.pixels[y * glyph.width + x];
            row += v == 0 ? '.' : v == 1 ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

Font fontOf(std::uint16_t height, std::int16_t ascent, std::vector<Glyph> glyphs) {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.height = height;
    font.ascent = ascent;
    std::uint16_t u = 'A';
    for (Glyph& g : glyphs) {
        g.code = u;
        font.codeList.push_back(u);
        font.unicodeList.push_back(u);
        font.glyphs.insert(u, std::move(g));
        ++u;
    }
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

std::vector<std::string> blankRows(std::size_t count, std::size_t width) {
    return std::vector<std::string>(count, std::string(width, '.'));
}

}  // namespace typeloom::test
