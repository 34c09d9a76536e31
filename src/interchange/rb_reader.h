#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "interchange/imported_font.h"

namespace typeloom {

// The two compact firmware bitmap-font formats that also use the .fnt extension:
//  "RB11": 356-byte header (name, copyright, metrics, counts); bit data in 16-bit words,
//          `height` rows of ceil(width / 16) words per character, bit 15 leftmost; then
//          padding to a 4-byte file position, 32-bit offsets (in words) and 8-bit widths.
//  "RB12": 36-byte header; bit data in bytes, ceil(height / 8) bands of `width` bytes per
//          character, bit 0 the band's top row; then, with at most 65,498 bytes of bit data,
//          padding to an even position and 16-bit offsets, else padding to a multiple of 4
//          and 32-bit offsets (0xFFFFFFFF: no character); then 8-bit widths.
// Throws FileError for anything that is refused.
ImportedFont parseRbFont(std::span<const std::uint8_t> bytes, const std::string& path);
ImportedFont readRbFont(const std::string& path);

}  // namespace typeloom
