#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/font_header.h"

namespace typeloom {

class Font;

// A Windows font resource as read from a .fnt file or from the first FONT resource of a
// .fon library: its header (with the face name and copyright as text) and its characters.
struct WindowsFontResource {
    struct Character {
        std::uint16_t code = 0;
        std::uint16_t width = 0;
        std::vector<std::uint8_t> pixels;  // width x pixel height, 1 = ink
    };
    FontHeaderInfo header;
    std::vector<Character> characters;  // codes first..last whose width is not 0, ascending
};

inline constexpr std::size_t kFntHeaderSize2 = 118;
inline constexpr std::size_t kFntHeaderSize3 = 148;

// The position of the .fnt image in a file: 0 for a bare .fnt (first word 0x0200 or 0x0300),
// or, for an "MZ" file with an "NE" header, the first resource of the first FONT type of its
// resource table. Throws FileError when there is none or the table runs off the file.
std::size_t findFontResource(std::span<const std::uint8_t> file);

// Reads the font resource of a .fnt or .fon file and checks its header. Throws FileError
// (offsets are file positions) for anything that is refused.
WindowsFontResource parseWindowsFontResource(std::span<const std::uint8_t> file);
WindowsFontResource readWindowsFontResource(const std::string& path);

// Replaces the contents of `font` (a fresh record) with the resource: encoding
// "Ascii+ISO8859" in the resource's character set, one character per code of non-zero width
// keyed by its Unicode value in that code page. A code whose value another code already has,
// or which has none, is keyed by the private-use value U+F700 + code, so that no two codes
// share a glyph.
void buildFromWindowsResource(const WindowsFontResource& resource, Font& font);

}  // namespace typeloom
