#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/bitmap_encoder.h"

namespace typeloom::exporters {

// What the example picture of the "Bitmap Data Format" dialog shows for a data-format word,
// computed at run time from the encoder: a sample letter on a pixel grid, the unit and bit
// each pixel goes to, the units in output order with their values, and a caption. The dialog
// only draws this model, so the picture shows what the encoder does for every word.
struct FormatPicture {
    int width = 0;  // the sample letter's size in pixels
    int height = 0;
    std::vector<std::uint8_t> ink;     // the sample's pixels, row-major, 0 or 1
    std::vector<BitPlace> places;      // where each pixel goes, row-major
    std::vector<std::uint32_t> units;  // the sample's units in output order
    // For each unit, the pixel (row-major index) that comes first in it in traversal order:
    // where the picture writes the unit's number.
    std::vector<int> firstPixel;
    int unitBits = 8;
    bool bigEndian = false;
    bool inverted = false;
    // "Row based, Row preferred, Unpacked, Big Endian, 8-bit units"
    std::string caption;
    // What the word's unit length means when it is not one of 8, 16 and 32 bits; else empty.
    std::string note;
};

// The picture of a word: its traversal, bit order, unit length and invert bit.
FormatPicture formatPicture(std::uint32_t word);

// A unit's value as the picture writes it: "0x%02X", "0x%04X" or "0x%08X".
std::string pictureUnitText(std::uint32_t unit, int bits);

}  // namespace typeloom::exporters
