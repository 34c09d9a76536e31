#pragma once

// Shared by the General and Microchip writer tests: an independent reading of the data
// units (in C++ for binary files, in C for compiled sources), data formats to try and a font
// with wide and tall glyphs.

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/font.h"

namespace typeloom::exporters::test {

// One data layout to export with.
struct Layout {
    std::uint32_t traversal;  // word & 0x111
    int bits;                 // 8, 16, 32
    bool bigEndian;
    bool invert;

    std::uint32_t word() const;
    std::string name() const;
};

// Every traversal with a mix of unit lengths, bit orders and inversion.
const std::vector<Layout>& mixedLayouts();

// The font with its data-format word replaced by the layout's.
Font withLayout(Font font, const Layout& layout);

// Variable width, height 35, encoding 1, codes 0x100, 0x101, 0x102, 0x200, 0x201, 0x3000
// with widths 7, 0, 8, 17, 33, 40: bands and remainders for every unit length. Pixels follow
// a scrambled rule, so that a misplaced bit shows.
Font tallFont();

// Units a glyph of W x H pixels takes in a traversal, from the unit-count rules of the
// layouts (not from the encoder).
int expectedUnits(int width, int height, std::uint32_t traversal, int bits);

// Reads units back into W x H pixels by walking the traversal. nullopt when the units do not
// fit the glyph (too few, too many, or a padding bit that is not blank).
std::optional<std::vector<std::uint8_t>> decodeUnits(std::span<const std::uint32_t> units,
                                                     int width, int height, const Layout& layout);

// The glyph's rows drawn with '#' and '.', one line each ("\n" ends every line).
std::string drawnGlyph(const Font& font, std::uint16_t unicode);
std::string drawnPixels(const std::vector<std::uint8_t>& pixels, int width, int height);

// C source of `decodeGlyph` (see the text for its contract), for decoder programs that
// redraw compiled fonts.
std::string cGlyphDecoder();

// 09:05 on 7 December 2026, local time.
std::time_t fixedExportTime();

// Little-endian reads from a byte string, with bounds checks that fail the test.
struct ByteReader {
    const std::string& bytes;
    std::size_t pos = 0;
    bool overrun = false;

    std::uint32_t read(int size);
    std::uint8_t u8() { return static_cast<std::uint8_t>(read(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(read(2)); }
    std::uint32_t u32() { return read(4); }
    // Units of `bits` starting at byte `offset`.
    std::vector<std::uint32_t> units(std::size_t offset, std::size_t count, int bits);
};

}  // namespace typeloom::exporters::test
