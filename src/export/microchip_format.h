#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "export/export_driver.h"

namespace typeloom::exporters {

// The Microchip writers.
bool writeMicrochipC(ExportContext& context);
bool writeMicrochipBin(ExportContext& context);

// Where everything sits in a Microchip font image: the 8-byte header, one 4-byte entry per
// code from the first to the last character (width, then the 24-bit byte offset of its
// bitmap from the start of the image) and the bitmaps. A reader finds a character's entry at
// code - first, so a code the font lacks between the first and the last gets an empty entry
// (width 0, the offset where the next bitmap starts).
struct MicrochipLayout {
    std::uint16_t firstCode = 0;  // First Character ID
    std::uint16_t lastCode = 0;   // Last Character ID
    // Per code from the first to the last: (byte offset << 8) | width.
    std::vector<std::uint32_t> entries;
    std::uint64_t imageSize = 0;     // header, character table and bitmaps, in bytes
    std::uint32_t missingCodes = 0;  // empty entries among `entries`
};

// Lays out the image of a font of at least one character from the unit offsets of
// BitmapEncoder::encodeAll (count + 1 entries) and the unit length in bits. Throws FileError
// when the layout cannot hold the font: a character wider than 255 pixels, or a bitmap that
// would start beyond the 24-bit offsets.
MicrochipLayout microchipLayout(const Font& font, std::span<const std::uint32_t> unitOffsets,
                                int unitBits);

// Gaps of more than this many codes are told: their empty entries take 4 bytes each.
inline constexpr std::uint32_t kMicrochipGapWarningCodes = 256;

// The warning a Microchip export of the font gives when the codes missing between its first
// and last character add more than kMicrochipGapWarningCodes empty entries to the character
// table (with the bytes they add); empty when they do not.
std::string microchipGapWarning(const Font& font);

}  // namespace typeloom::exporters
