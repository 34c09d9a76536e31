#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// The panel text as "Save As" writes it to a file: windows-1252 (a character the code page
// lacks becomes '?') with CR LF line ends, like every generated text file.
std::string characterDataFileContents(std::string_view panelText);

}  // namespace typeloom::exporters
