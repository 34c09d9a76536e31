#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/file_error.h"
#include "model/glyph_renderer.h"

namespace typeloom {

class Font;

// Limits every importer keeps so that a hostile file cannot make it allocate without bound.
// The pixels of all characters together (width x height bytes each) may not pass this.
inline constexpr std::uint64_t kMaxImportedPixels = kMaxFontPixels;
// The font record keeps the ascent in 16 signed bits and the height in 16 bits.
inline constexpr int kMaxImportedAscent = 0x7FFF;
inline constexpr int kMaxImportedHeight = 0xFFFF;

// The common result of the BDF reader and of the two compact "RB" binary readers: the font's
// vertical metrics, which codes it covers and, per covered code, a width and where its bitmap
// lies in the bit data.
struct ImportedFont {
    // How the bit data holds a character.
    enum class BitLayout {
        // `height` rows of ceil(width / 16) 16-bit words, bit 15 of each word the leftmost
        // pixel (BDF and RB11). Offsets count words.
        WordRows,
        // ceil(height / 8) bands of 8 rows, each band `width` bytes (one per column from the
        // left), bit 0 the band's top row (RB12). Offsets count bytes.
        ByteBands,
    };

    int maxWidth = 0;
    int height = 0;
    int ascent = -1;
    int descent = -1;  // BDF only
    int firstCode = 0;
    int codeCount = 0;  // codes firstCode .. firstCode + codeCount - 1
    int defaultCode = -1;
    int fontWidth = -1;  // BDF font-wide DWIDTH, -1 when absent

    // Per covered code (index code - firstCode): its width and its bitmap's position in the
    // bit data, -1 when the file has no character for the code.
    std::vector<std::uint8_t> widths;
    std::vector<std::int64_t> offsets;

    BitLayout layout = BitLayout::WordRows;
    std::vector<std::uint16_t> words;  // WordRows bit data
    std::vector<std::uint8_t> bytes;   // ByteBands bit data

    // False when every covered code has width maxWidth (the font is then fixed-width).
    bool hasWidths = true;

    // What the reader repaired or left out while reading on (BDF): one sentence per kind of
    // damage, with how many characters it touched and the first lines where it was found.
    std::vector<std::string> warnings;

    // Kept from the file but not used by the import.
    std::string fontName;
    std::string copyright;
    int charsCount = 0;

    bool covers(int code) const { return code >= firstCode && code - firstCode < codeCount; }
    bool isPresent(int code) const {
        return covers(code) && offsets[static_cast<std::size_t>(code - firstCode)] >= 0;
    }
    // Pixel (x, y) of a present code's character (x below its width, y below height).
    bool pixel(int code, int x, int y) const;
    // Whether a character of the given width at the given offset lies inside the bit data.
    bool bitmapFits(std::int64_t offset, int width) const;
};

// The font name an import gives: the file name without folder and extension (the text after
// the last '/' or '\' up to the last '.').
std::string importedFaceName(const std::string& path);

// Replaces the contents of `font` (a fresh record) with an imported font: encoding "Unicode",
// one glyph per present code (code = Unicode value), codes that merely share the default
// character's bitmap left out, the character table built from the code list. Throws FileError
// when a bitmap lies outside the bit data, when no character is left or when the characters
// would need more than kMaxImportedPixels pixels.
void buildFromImported(const ImportedFont& imported, const std::string& path, Font& font);

}  // namespace typeloom
