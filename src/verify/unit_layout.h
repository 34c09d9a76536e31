#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace typeloom::verify {

// How the data units of an export hold a character's pixels, read from a data-format word:
//   0x00000001  packed (the bit stream runs on across rows or columns)
//   0x00000010  row preferred (else column preferred)
//   0x00000100  row based: a unit holds horizontal neighbours (else vertical ones)
//   0x00001000  big endian: the first pixel of a unit in its most significant bit
//   0x000F0000  unit length: 0x40000 16 bits, 0x80000 32 bits, anything else 8 bits
//   0x02000000  every unit complemented, padding bits included
// The decoders read this description on their own: they share nothing with the writers.
struct UnitLayout {
    int unitBits = 8;
    bool bigEndian = true;
    bool rowBased = true;
    bool rowPreferred = true;
    bool packed = false;
    bool inverted = false;

    static UnitLayout fromWord(std::uint32_t word);
    std::uint32_t word() const;
    // "Big Endian, Row based, Row preferred, Unpacked", as export headers spell it.
    std::string describe() const;
    // Reads that spelling back (separators and case as written); false when it is not one.
    bool parseDescription(const std::string& text);
};

// Units a character of `width` x `height` pixels occupies in the layout (0 for width 0).
std::size_t unitCount(const UnitLayout& layout, int width, int height);

// Where each bit of a character's units goes: for unit u and pixel k of it (k from the first
// pixel in traversal order), slots[u * unitBits + k] is the pixel index y * width + x, or -1
// for a padding bit. Built once per character shape and reused.
std::vector<std::int32_t> pixelSlots(const UnitLayout& layout, int width, int height);

struct UnitProblem {
    std::size_t unit = 0;  // index of the unit within the character
    std::string what;
};

// The pixels (width x height, 1 = ink) the units hold. A padding bit that is not what the
// layout writes there (0, or 1 when inverted) is a problem: it cannot come from a glyph.
// `units` must hold unitCount units.
std::vector<std::uint8_t> decodeUnits(const UnitLayout& layout, int width, int height,
                                      std::span<const std::uint32_t> units,
                                      std::vector<UnitProblem>& problems);

}  // namespace typeloom::verify
