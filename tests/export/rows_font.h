#pragma once

// Fonts drawn as rows of '#' (ink) and '.' for the writer tests, and the fixed creation time
// the text writers are given.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "model/font.h"

namespace typeloom::exporters::test {

struct RowGlyph {
    std::uint16_t code;
    std::uint16_t unicode;
    std::vector<std::string> rows;  // one string per pixel row, all of the glyph's width
};

// A font of the given height and encoding holding the glyphs in code order; every glyph has
// `height` rows (a glyph of width 0 is given as empty strings).
inline Font rowsFont(const std::string& name, std::uint16_t height, int encoding,
                     const std::vector<RowGlyph>& glyphs, std::uint32_t dataFormat) {
    Font font;
    font.setEncoding(encoding);
    font.faceName = name;
    font.height = height;
    font.ascent = static_cast<std::int16_t>(height);
    font.dataFormat = dataFormat;
    for (const RowGlyph& g : glyphs) {
        const auto width = static_cast<std::uint16_t>(g.rows.empty() ? 0 : g.rows[0].size());
        Glyph glyph;
        glyph.init(g.unicode, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                glyph.pixels[static_cast<std::size_t>(y * width + x)] =
                    g.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? 1 : 0;
            }
        }
        font.glyphs.insert(g.unicode, std::move(glyph));
        font.insertCode(g.code, g.unicode);
    }
    font.updateFixedWidth();
    font.updateMaxWidth();
    return font;
}

// 09:05 on 7 December 2026, local time: the create time "09:05 12-07-2026".
inline std::time_t fixedNow() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_isdst = -1;
    return std::mktime(&t);
}
inline constexpr const char* kFixedNowText = "09:05 12-07-2026";

}  // namespace typeloom::exporters::test
