#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/font.h"

namespace typeloom::test {

// A glyph drawn as rows of text: '#' is ink, any other character blank. The width is the
// length of the first row.
Glyph glyphOf(const std::vector<std::string>& rows, std::uint16_t code = 0);

// The rows of a glyph as text ('#' ink, '.' blank), or a note when its pixels do not make
// whole rows.
std::vector<std::string> rowsOf(const Glyph& glyph);

// A Unicode font listing the glyphs under 'A', 'B', 'C', ... in that order, with the given
// height and ascent; fixed and maximum width are computed from the glyphs.
Font fontOf(std::uint16_t height, std::int16_t ascent, std::vector<Glyph> glyphs);

// `count` rows of blank text `width` wide.
std::vector<std::string> blankRows(std::size_t count, std::size_t width);

}  // namespace typeloom::test
