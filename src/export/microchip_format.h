#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "export/export_driver.h"

namespace typeloom::exporters {

// The Microchip writers.
bool writeMicrochipC(ExportContext& context);
bool writeMicrochipBin(ExportContext& context);

// Where everything sits in a Microchip font image: the 8-byte header, one 4-byte entry per
// character (width, then the 24-bit byte offset of its bitmap from the start of the image)
// and the bitmaps.
struct MicrochipLayout {
    std::uint16_t firstCode = 0;  // First Character ID
    std::uint16_t lastCode = 0;   // Last Character ID
    // Per character in font order: (byte offset << 8) | width.
    std::vector<std::uint32_t> entries;
    std::uint64_t imageSize = 0;  // header, character table and bitmaps, in bytes
};

// Lays out the image of a font of at least one character from the unit offsets of
// BitmapEncoder::encodeAll (count + 1 entries) and the unit length in bits. Throws FileError
// when the layout cannot hold the font: a character wider than 255 pixels, or a bitmap that
// would start beyond the 24-bit offsets.
MicrochipLayout microchipLayout(const Font& font, std::span<const std::uint32_t> unitOffsets,
                                int unitBits);

}  // namespace typeloom::exporters
