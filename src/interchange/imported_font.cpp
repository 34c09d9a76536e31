#include "interchange/imported_font.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "charset/encodings.h"
#include "common/bulk_data.h"
#include "model/font.h"

namespace typeloom {

namespace {

[[noreturn]] void refuse(const std::string& message) {
    throw FileError(FileError::Kind::BadFormat, message);
}

std::size_t wordsPerRow(int width) {
    return (static_cast<std::size_t>(width) + 15) / 16;
}

std::size_t bands(int height) {
    return (static_cast<std::size_t>(height) + 7) / 8;
}

// The eight pixels (0 or 1, leftmost first) of every byte value.
constexpr std::array<std::array<std::uint8_t, 8>, 256> kBytePixels = [] {
    std::array<std::array<std::uint8_t, 8>, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            table[value][bit] = static_cast<std::uint8_t>((value >> (7 - bit)) & 1);
        }
    }
    return table;
}();

// The eight rows of a band byte, top first: bit r of the value as byte r.
constexpr std::array<std::array<std::uint8_t, 8>, 256> kBandPixels = [] {
    std::array<std::array<std::uint8_t, 8>, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        for (unsigned row = 0; row < 8; ++row) {
            table[value][row] = static_cast<std::uint8_t>((value >> row) & 1);
        }
    }
    return table;
}();

// The expansions below write a glyph's rows in order, top to bottom. Where the glyph's buffer
// has room they store whole words even when a row ends inside one: the bytes past the row's
// end belong to rows written later, which overwrite them. A store of a fixed size costs a
// few instructions where one of a varying size is a call, and narrow glyphs thousands of rows
// tall (a few bytes of bit data can give millions of rows) make that the cost of an import.

// Writes the width x height pixels of the WordRows character at `index` (its bitmap checked
// to lie inside the bit data) into `pixels`, a word at a time.
TYPELOOM_BULK_DATA void expandWordRows(const ImportedFont& imported, std::size_t index, int width,
                                       std::uint8_t* pixels) {
    if (width == 0) {
        return;  // the glyph's one blank column stays blank
    }
    const std::size_t perRow = wordsPerRow(width);
    const std::size_t rowBytes = static_cast<std::size_t>(width);
    const std::size_t total = rowBytes * static_cast<std::size_t>(imported.height);
    const std::uint16_t* source =
        imported.words.data() + static_cast<std::size_t>(imported.offsets[index]);
    std::size_t at = 0;  // where the row starts in `pixels`
    for (int y = 0; y < imported.height; ++y, source += perRow, at += rowBytes) {
        for (std::size_t w = 0; w < perRow; ++w) {
            std::uint8_t sixteen[16];
            std::memcpy(sixteen, kBytePixels[source[w] >> 8].data(), 8);
            std::memcpy(sixteen + 8, kBytePixels[source[w] & 0xFF].data(), 8);
            const std::size_t first = at + w * 16;
            if (total - first >= 16) {
                std::memcpy(pixels + first, sixteen, 16);
            } else {
                std::memcpy(pixels + first, sixteen, total - first);
            }
        }
    }
}

// Writes the width x height pixels of the ByteBands character at `index` (its bitmap checked
// to lie inside the bit data) into `pixels`: row y comes from band y / 8, bit y % 8 of each
// column's byte. Eight columns at a time: shifting a word of eight column bytes right by the
// bit brings each byte's own bit to its lowest place (the bits carried in from its neighbour
// land above it and are masked off).
TYPELOOM_BULK_DATA void expandByteBands(const ImportedFont& imported, std::size_t index, int width,
                                        std::uint8_t* pixels) {
    constexpr std::uint64_t kLowBits = 0x0101010101010101u;
    const auto columns = static_cast<std::size_t>(width);
    const auto height = static_cast<std::size_t>(imported.height);
    const std::size_t total = columns * height;
    if (columns == 0) {
        return;  // the glyph's one blank column stays blank
    }
    const std::uint8_t* source =
        imported.bytes.data() + static_cast<std::size_t>(imported.offsets[index]);
    if (columns == 1) {
        // One column: a band's eight rows are eight pixels in a row.
        std::size_t y = 0;
        for (; y + 8 <= height; y += 8) {
            std::memcpy(pixels + y, kBandPixels[source[y / 8]].data(), 8);
        }
        if (y < height) {
            std::memcpy(pixels + y, kBandPixels[source[y / 8]].data(), height - y);
        }
        return;
    }
    if (columns < 8) {
        // Narrower than a word: a band's bytes gathered into one word give each of its rows.
        for (std::size_t top = 0; top < height; top += 8) {
            std::uint8_t gathered[8] = {};
            for (std::size_t x = 0; x < columns; ++x) {
                gathered[x] = source[top / 8 * columns + x];
            }
            std::uint64_t band = 0;
            std::memcpy(&band, gathered, 8);
            for (std::size_t y = top; y < top + 8 && y < height; ++y) {
                const std::uint64_t row = (band >> (y - top)) & kLowBits;
                const std::size_t at = y * columns;
                if (total - at >= 8) {
                    std::memcpy(pixels + at, &row, 8);
                } else {
                    std::memcpy(pixels + at, &row, columns);
                }
            }
        }
        return;
    }
    for (std::size_t y = 0; y < height; ++y, pixels += columns) {
        const std::uint8_t* band = source + y / 8 * columns;
        const auto bit = static_cast<int>(y % 8);
        std::size_t x = 0;
        for (; x + 8 <= columns; x += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, band + x, 8);
            w = (w >> bit) & kLowBits;
            std::memcpy(pixels + x, &w, 8);
        }
        for (; x < columns; ++x) {
            pixels[x] = static_cast<std::uint8_t>((band[x] >> bit) & 1);
        }
    }
}

// Which of an imported font's codes become characters: every present code up to 65535, except
// those that merely share the default character's bitmap. On a problem, `code` is the code
// that shows it.
struct CodeChoice {
    enum class Problem { None, BitmapOutside, TooManyPixels };
    Problem problem = Problem::None;
    int code = 0;
};

// Fills `codes` with the codes that become characters, in ascending order, and stops at the
// first whose bitmap lies outside the bit data or that takes the characters' pixels past
// `maxPixels`. Runs once per covered code.
TYPELOOM_BULK_DATA CodeChoice chooseCodes(const ImportedFont& imported, std::uint64_t maxPixels,
                                          std::vector<int>& codes) {
    const bool hasDefault = imported.isPresent(imported.defaultCode);
    const std::int64_t defaultOffset =
        hasDefault
            ? imported.offsets[static_cast<std::size_t>(imported.defaultCode - imported.firstCode)]
            : -1;
    codes.reserve(static_cast<std::size_t>(imported.codeCount));
    std::uint64_t pixels = 0;
    for (int k = 0; k < imported.codeCount; ++k) {
        const int code = imported.firstCode + k;
        if (code > 0xFFFF) {
            break;  // the font's codes are 16-bit
        }
        const std::int64_t offset = imported.offsets[static_cast<std::size_t>(k)];
        if (offset < 0 || (code != imported.defaultCode && offset == defaultOffset)) {
            continue;
        }
        // Without a width table every entry holds the maximum width.
        const int width = imported.widths[static_cast<std::size_t>(k)];
        if (!imported.bitmapFits(offset, width)) {
            return {CodeChoice::Problem::BitmapOutside, code};
        }
        pixels += std::uint64_t{static_cast<std::uint32_t>(width == 0 ? 1 : width)} *
                  static_cast<std::uint64_t>(imported.height);
        if (pixels > maxPixels) {
            return {CodeChoice::Problem::TooManyPixels, code};
        }
        codes.push_back(code);
    }
    return {};
}

// Stores the glyph of each chosen code (its bitmap checked to fit) in `font`, whose height is
// set, and appends the code to the font's code list. Codes that share one bitmap with the code
// before them (a run of characters drawn alike) copy its pixels instead of expanding the same
// bits again.
TYPELOOM_BULK_DATA void addGlyphs(const ImportedFont& imported, const std::vector<int>& codes,
                                  Font& font) {
    font.codeList.reserve(codes.size());
    const Glyph* previous = nullptr;
    std::size_t previousIndex = 0;
    for (int code : codes) {
        const auto index = static_cast<std::size_t>(code - imported.firstCode);
        const int width = imported.widths[index];
        Glyph glyph;
        if (previous != nullptr && imported.offsets[index] == imported.offsets[previousIndex] &&
            width == imported.widths[previousIndex]) {
            glyph = Glyph(static_cast<std::uint16_t>(code), previous->width, previous->pixels);
        } else {
            // A character of width 0 becomes one blank column, as packed rows of width 0 do.
            glyph.init(static_cast<std::uint16_t>(code),
                       static_cast<std::uint16_t>(width == 0 ? 1 : width), font.height);
            if (imported.layout == ImportedFont::BitLayout::WordRows) {
                expandWordRows(imported, index, width, glyph.pixels.data());
            } else {
                expandByteBands(imported, index, width, glyph.pixels.data());
            }
        }
        previous = &font.glyphs.insert(static_cast<std::uint16_t>(code), std::move(glyph));
        previousIndex = index;
        font.codeList.push_back(static_cast<std::uint16_t>(code));
    }
}

}  // namespace

TYPELOOM_BULK_DATA bool ImportedFont::bitmapFits(std::int64_t offset, int width) const {
    if (offset < 0 || width < 0 || height < 0) {
        return false;
    }
    const auto start = static_cast<std::uint64_t>(offset);
    if (layout == BitLayout::WordRows) {
        const std::uint64_t size = std::uint64_t{wordsPerRow(width)} * height;
        return start <= words.size() && size <= words.size() - start;
    }
    const std::uint64_t size = std::uint64_t{bands(height)} * static_cast<std::uint64_t>(width);
    return start <= bytes.size() && size <= bytes.size() - start;
}

bool ImportedFont::pixel(int code, int x, int y) const {
    const auto index = static_cast<std::size_t>(code - firstCode);
    const auto offset = static_cast<std::size_t>(offsets[index]);
    if (layout == BitLayout::WordRows) {
        const std::size_t perRow = wordsPerRow(widths[index]);
        const std::uint16_t word =
            words[offset + static_cast<std::size_t>(y) * perRow + static_cast<std::size_t>(x) / 16];
        return (word & (0x8000u >> (x % 16))) != 0;
    }
    const std::size_t width = widths[index];
    const std::uint8_t byte =
        bytes[offset + static_cast<std::size_t>(y / 8) * width + static_cast<std::size_t>(x)];
    return (byte & (1u << (y % 8))) != 0;
}

std::string importedFaceName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

void buildFromImported(const ImportedFont& imported, const std::string& path, Font& font) {
    if (imported.height <= 0 || imported.height > kMaxImportedHeight) {
        refuse("the font height " + std::to_string(imported.height) + " is not usable");
    }
    if (imported.ascent < 0 || imported.ascent > kMaxImportedAscent) {
        refuse("the font ascent " + std::to_string(imported.ascent) + " is not usable");
    }
    if (imported.codeCount < 0 || imported.firstCode < 0 ||
        static_cast<std::size_t>(imported.codeCount) > imported.widths.size() ||
        static_cast<std::size_t>(imported.codeCount) > imported.offsets.size()) {
        refuse("the covered codes do not match the width and offset tables");
    }

    // Decide which codes become characters before touching the font, so that a refusal
    // leaves the record as it was.
    std::vector<int> codes;
    const CodeChoice choice = chooseCodes(imported, kMaxImportedPixels, codes);
    if (choice.problem == CodeChoice::Problem::BitmapOutside) {
        refuse("the bitmap of code " + std::to_string(choice.code) + " lies outside the bit data");
    }
    if (choice.problem == CodeChoice::Problem::TooManyPixels) {
        refuse("the characters need more than " + std::to_string(kMaxImportedPixels) + " pixels");
    }
    if (codes.empty()) {
        refuse("the file holds no character with a code of 0-65535");
    }

    font.clearGlyphs();
    font.faceName = importedFaceName(path);
    LogFont source;
    source.height = imported.height;
    // The description carries the font's own name, which a project file keeps.
    source.faceName = logFontFaceName(font.faceName);
    font.setSourceFont(source);
    font.height = static_cast<std::uint16_t>(imported.height);
    font.ascent = static_cast<std::int16_t>(imported.ascent);
    font.fixedWidth = imported.hasWidths ? 0 : static_cast<std::uint16_t>(imported.maxWidth);
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingUnicode);
    addGlyphs(imported, codes, font);
    font.unicodeList = font.codeList;
    font.updateMaxWidth();
    font.charTable.buildFromUnicodeList(font.unicodeList, font.charSet, kEncodingUnicode);
}

}  // namespace typeloom
