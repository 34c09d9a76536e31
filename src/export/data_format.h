#pragma once

#include <cstdint>
#include <string>

namespace typeloom::exporters {

// The data-format word: how a glyph's pixels become data units.
//
//   0x00000001  packed: the bit stream runs on across rows (columns); clear: each row
//               (column) starts a new unit
//   0x00000010  scan preferred Row; clear: Column
//   0x00000100  scan based Row (a unit holds horizontal neighbours); clear: Column
//   0x00001000  big endian (first pixel in the most significant bit); clear: little endian
//   0x000F0000  unit length: 0x20000 8 bits, 0x40000 16 bits, 0x80000 32 bits
//   0x00100000  character data panel in C syntax; clear: assembler
//   0x01000000  character data panel with detail info; clear: pure data
//   0x02000000  invert every unit when exporting, padding bits included
//
// The default 0x01121110 is big endian, row based, row preferred, unpacked, 8 bits, C syntax
// with detail info, not inverted.
inline constexpr std::uint32_t kPacked = 0x00000001;
inline constexpr std::uint32_t kPreferRow = 0x00000010;
inline constexpr std::uint32_t kScanRow = 0x00000100;
inline constexpr std::uint32_t kBigEndian = 0x00001000;
inline constexpr std::uint32_t kLengthMask = 0x000F0000;
inline constexpr std::uint32_t kLength4 = 0x00010000;
inline constexpr std::uint32_t kLength8 = 0x00020000;
inline constexpr std::uint32_t kLength16 = 0x00040000;
inline constexpr std::uint32_t kLength32 = 0x00080000;
inline constexpr std::uint32_t kPanelC = 0x00100000;
inline constexpr std::uint32_t kPanelDetail = 0x01000000;
inline constexpr std::uint32_t kInvert = 0x02000000;
inline constexpr std::uint32_t kTraversalMask = kPacked | kPreferRow | kScanRow;

// Unit width in bits: 16 for 0x40000, else 32 for 0x80000, else 8. The 4-bit value 0x10000,
// which no control sets, encodes 8-bit units as the data-format dialog shows it.
int unitBits(std::uint32_t word);
// The word with its length field replaced by the one for 8, 16 or 32 bits.
std::uint32_t withUnitBits(std::uint32_t word, int bits);

inline bool isBigEndian(std::uint32_t word) {
    return (word & kBigEndian) != 0;
}
inline bool isInverted(std::uint32_t word) {
    return (word & kInvert) != 0;
}

// "Big Endian, Row based, Row preferred, Unpacked" and so on, as export headers write it.
std::string describeDataFormat(std::uint32_t word);

// The radio buttons of the "Bitmap Data Format" dialog; each click changes only its own bits.
enum class DataFormatRadio {
    ScanRow,
    ScanColumn,
    PreferRow,
    PreferColumn,
    PackedYes,
    PackedNo,
    BigEndian,
    LittleEndian,
    Bits8,
    Bits16,
    Bits32,
};
std::uint32_t applyDataFormatRadio(std::uint32_t word, DataFormatRadio radio);

}  // namespace typeloom::exporters
