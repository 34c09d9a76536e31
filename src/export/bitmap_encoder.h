#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace typeloom {
class CancelFlag;
class Font;
class ProgressSink;
}  // namespace typeloom

namespace typeloom::exporters {

// Where one pixel lands in the encoded data: the index of its unit in output order and its
// bit in that unit (0 = least significant).
struct BitPlace {
    int unit = -1;
    int bit = -1;
    bool operator==(const BitPlace&) const = default;
};

// Turns glyphs into data units of 8, 16 or 32 bits as the font's data-format word says.
//
// Worked example, glyph W = 3, H = 2 with rows 101 / 011, 8-bit units:
//   row based, unpacked (0x110)      little endian 05 06   big endian A0 60
//   row based, packed (0x111)        little endian 35      big endian AC
//   column based, unpacked (0x000)   little endian 01 02 03  big endian 80 40 C0
//   column based, packed (0x001)     little endian 39      big endian 9C
// (the encoder tests hold these tables in full).
//
// An encoder lives for one export run or one refresh of the character data panel. It reads
// the font's height, bit order and unit length when constructed; a writer may change the
// unit length and bit order before encoding. The invert bit is read from the font's word for
// every unit.
class BitmapEncoder {
  public:
    explicit BitmapEncoder(const Font& font);

    int unitBits() const { return m_unitBits; }
    void setUnitBits(int bits) { m_unitBits = bits; }
    bool bigEndian() const { return m_bigEndian; }
    void setBigEndian(bool big) { m_bigEndian = big; }

    // Units needed for n pixels of one line: ceil(n / unitBits).
    int unitsFor(int n) const { return (n + m_unitBits - 1) / m_unitBits; }

    // Encodes the glyph of `unicode` (or, when given, the replacement pixels of the glyph's
    // size) with the traversal of `format` (-1: the font's word) and stores its units,
    // replacing earlier ones. Returns the number of units (0 for a missing or empty glyph).
    int encodeGlyph(std::uint16_t unicode, const std::uint8_t* pixels = nullptr,
                    std::int64_t format = -1);

    // Encodes every character in the font's order. `offsets` gets count + 1 entries: 0, then
    // the running total of units after each character. Reads the cancel flag before each
    // character (cancelled: stop and fail) and drives the "%d of %d" progress.
    bool encodeAll(std::vector<std::uint32_t>& offsets, std::int64_t format,
                   const CancelFlag& cancel, ProgressSink& progress);

    // The units stored for a character (empty when none); each unit is in the low bits.
    std::span<const std::uint32_t> unitsOf(std::uint16_t unicode) const;
    bool hasUnits(std::uint16_t unicode) const;

    // The traversal itself: pixels of a W x H bitmap (0 or 1, row-major) into units.
    static void encodePixels(const std::uint8_t* pixels, int width, int height,
                             std::uint32_t traversal, int unitBits, bool bigEndian, bool invert,
                             std::vector<std::uint32_t>& out);

    // Where each pixel of a W x H bitmap lands (row-major, as the pixels are stored) when
    // encodePixels runs with the same traversal, unit length and bit order. Both walk one
    // traversal, so flipping pixel i changes exactly bit places[i].bit of unit places[i].unit.
    static std::vector<BitPlace> placePixels(int width, int height, std::uint32_t traversal,
                                             int unitBits, bool bigEndian);

  private:
    const Font& m_font;
    int m_height;
    int m_unitBits;
    bool m_bigEndian;
    std::vector<std::vector<std::uint32_t>> m_units;  // by Unicode value
    std::vector<bool> m_present;
};

}  // namespace typeloom::exporters
