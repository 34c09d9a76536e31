#pragma once

// FreeType as an independent reader of the files the writers produce (and of real fonts):
// every glyph of a face as a picture.

#include <cstdint>
#include <string>
#include <vector>

namespace typeloom::test {

struct ReferenceGlyph {
    unsigned index = 0;             // FreeType glyph index
    int width = 0;                  // bitmap width in pixels
    std::vector<std::string> rows;  // '#' ink, '.' background, top row first
};

struct ReferenceFace {
    bool ok = false;
    std::string error;
    std::string family;
    int height = 0;  // rows of the bitmaps of a bitmap font (the pixel height)
    long glyphCount = 0;
    std::vector<ReferenceGlyph> glyphs;  // by glyph index
};

// Loads face 0 of a font file held in memory and renders every glyph index.
ReferenceFace freetypeFace(const std::vector<std::uint8_t>& bytes);

}  // namespace typeloom::test
