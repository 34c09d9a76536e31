#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "export/bitmap_encoder.h"

namespace typeloom {
class Font;
}

namespace typeloom::exporters {

// The text of the character data panel: the encoded units of one character as C or
// assembler source, ready to paste into firmware.
//
//  - `index` is the character's position in the font (its code and Unicode value come from
//    there); an index outside the font gives an empty text.
//  - `panelWord` is the panel's copy of the data-format word; only its syntax bit (0x00100000,
//    C; clear: assembler) and detail bit (0x01000000, "Detail info"; clear: "Pure data") are
//    read from it. How the units are made (traversal, unit length, bit order, inversion)
//    comes from the font's own word, as in every export.
//  - `pagesOption` is "Pages option"; its bit 0x10 writes the units as bytes (UCHAR).
//  - `editedPixels` are the pixels being edited (the glyph's width x font height bytes); when
//    empty, or not of that size, the glyph's stored pixels are used.
//
// The text is UTF-8 with CR LF line ends, as the panel's multi-line field shows it.
std::string characterDataText(const Font& font, int index, std::uint32_t panelWord, int pagesOption,
                              std::span<const std::uint8_t> editedPixels = {});

// The glyph on screen while it is being edited: its width and its width x font height pixels,
// which may differ from the stored glyph's (a column inserted, a stroke under way).
struct EditedGlyph {
    int width = 0;
    std::span<const std::uint8_t> pixels;
};

// One unit's text inside the panel text: its first byte and its length.
struct TextSpan {
    std::size_t begin = 0;
    std::size_t length = 0;
};

// Everything the panel shows and inspects for one character: the text, the units as the
// font's word makes them, where each unit's text lies in the text, and where each pixel of the
// glyph went (row-major, width x height entries), so that the panel and the pixel grid can
// point from a unit to its pixels and back.
struct CharacterData {
    std::string text;
    std::vector<std::uint32_t> units;
    std::vector<TextSpan> unitSpans;  // one per unit, in output order
    std::vector<BitPlace> places;     // one per pixel
    int unitBits = 8;
    int width = 0;
    int height = 0;
};

// characterDataText with its units and maps. `edited`, when given and of width x height
// pixels, replaces the stored glyph (its width included).
CharacterData characterData(const Font& font, int index, std::uint32_t panelWord, int pagesOption,
                            const EditedGlyph* edited = nullptr);

// The panel text as "Save As" writes it to a file: windows-1252 (a character the code page
// lacks becomes '?') with CR LF line ends, like every generated text file.
std::string characterDataFileContents(std::string_view panelText);

}  // namespace typeloom::exporters
