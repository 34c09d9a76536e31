#pragma once

#include <string>

namespace typeloom {

class Font;

inline constexpr const char* kBdfFilter = "Bitmap Distribution Format (*.bdf)|*.bdf||";

// The character set a BDF file names for its ENCODING numbers: for a "Unicode" font the
// Unicode values ("ISO10646" "1"); for a font of a code page (Ascii+ISO8859 and the
// double-byte encodings) the font's own codes in that code page ("microsoft" "cp1252",
// "cp932", ...).
struct BdfCharset {
    std::string registry;
    std::string encoding;
};
BdfCharset bdfCharsetOf(const Font& font);

// The code DEFAULT_CHAR names: the Windows header's default character when the font has it,
// else '?', else the space, else the first character.
int bdfDefaultCode(const Font& font);

// A Glyph Bitmap Distribution Format 2.1 text of the font: an X logical font name, SIZE at
// 96 dpi, a FONTBOUNDINGBOX of the widest character and the cell, the properties (among them
// FONT_ASCENT, FONT_DESCENT, DEFAULT_CHAR, SPACING, CHARSET_REGISTRY and CHARSET_ENCODING),
// then one character per listed code in the font's order, each with DWIDTH its width and a
// BBX of its whole cell (width x height, the bottom row on the descent) so that every pixel
// row is kept as drawn. Lines end with LF. A baseline outside the cell is moved to its
// nearest edge (FONT_DESCENT may not be negative).
std::string bdfText(const Font& font);

// Writes bdfText atomically. Throws FileError(Io) when the file cannot be written, and
// FileError(BadFormat) for a font without characters or rows.
void writeBdf(const Font& font, const std::string& path);

}  // namespace typeloom
