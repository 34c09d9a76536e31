#include "interchange/rb_reader.h"

#include <algorithm>
#include <cstring>

#include "common/bulk_data.h"
#include "common/byte_io.h"
#include "interchange/bdf_reader.h"

namespace typeloom {

namespace {

constexpr std::size_t kRb11HeaderSize = 356;
constexpr std::size_t kRb12HeaderSize = 36;
// Largest RB12 bit data that is followed by 16-bit offsets.
constexpr std::uint32_t kRb12ShortOffsetLimit = 65498;
constexpr std::uint32_t kNoCharacter = 0xFFFFFFFFu;

[[noreturn]] void refuse(const std::string& message, std::size_t offset) {
    throw FileError(FileError::Kind::BadFormat, message, offset);
}

// Sets the bitmap offset of each of the font's covered codes (left at -1 for a code the file
// has no character for), from the file's offset table (`offsets`, empty when it has none) or,
// without one, one character of the header's maximum width after another. Returns the index of the
// first code whose bitmap lies beyond the bit data, or the number of codes when every bitmap fits.
// Runs once per code.
TYPELOOM_BULK_DATA std::size_t placeBitmaps(ImportedFont& font,
                                            const std::vector<std::uint32_t>& offsets,
                                            bool shortOffsets, int maxWidth) {
    const std::size_t count = font.offsets.size();
    const bool rb11 = font.layout == ImportedFont::BitLayout::WordRows;
    for (std::size_t k = 0; k < count; ++k) {
        std::int64_t offset = 0;
        const int width = font.widths[k];
        if (!offsets.empty()) {
            if (!shortOffsets && offsets[k] == kNoCharacter) {
                continue;  // a 16-bit 0xFFFF is an ordinary offset
            }
            offset = offsets[k];
        } else if (rb11) {
            // Fixed-width files without offsets place the characters one after another.
            offset = static_cast<std::int64_t>(k) * font.height * ((maxWidth + 15) / 16);
        } else {
            offset = static_cast<std::int64_t>(k) * maxWidth * ((font.height + 7) / 8);
        }
        if (!font.bitmapFits(offset, width)) {
            return k;
        }
        font.offsets[k] = offset;
    }
    return count;
}

std::string fixedText(std::span<const std::uint8_t> bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

}  // namespace

ImportedFont parseRbFont(std::span<const std::uint8_t> bytes, const std::string& path) {
    if (bytes.size() < kRb12HeaderSize) {  // the smaller of the two headers
        throw FileError(FileError::Kind::EndOfFile, "the file is too short for a font header", 0);
    }
    ByteReader r(bytes);
    const auto magic = r.bytes(4);
    const bool rb11 = std::memcmp(magic.data(), "RB11", 4) == 0;
    const bool rb12 = std::memcmp(magic.data(), "RB12", 4) == 0;
    if (!rb11 && !rb12) {
        refuse("the file does not begin with \"RB11\" or \"RB12\"", 0);
    }
    ImportedFont font;
    if (rb11) {
        r.requireItems(kRb11HeaderSize - 4, 1, "font header");
        font.fontName = fixedText(r.bytes(64));
        font.copyright = fixedText(r.bytes(256));
    }
    (void)path;  // the import names the font after the file, not after the name field
    const int maxWidth = r.u16();
    font.height = r.u16();
    font.ascent = r.u16();
    const std::size_t paddingAt = r.offset();
    if (r.u16() != 0) {
        refuse(rb11 ? "the header's padding is not 0" : "the font's depth is not 0 (1 bit)",
               paddingAt);
    }
    const std::uint32_t firstCode = r.u32();
    const std::uint32_t defaultCode = r.u32();
    const std::uint32_t codeCount = r.u32();
    const std::uint32_t bitCount = r.u32();
    const std::uint32_t offsetCount = r.u32();
    const std::uint32_t widthCount = r.u32();
    const std::size_t dataAt = r.offset();

    if (font.height == 0) {
        refuse("the font height is 0", dataAt - 26);
    }
    if (font.ascent > font.height) {
        refuse("the ascent is larger than the height", dataAt - 24);
    }
    if (firstCode > 0xFFFF) {
        refuse("the first code " + std::to_string(firstCode) + " is beyond 65535", dataAt - 24);
    }
    if (codeCount == 0) {
        refuse("the font covers no code", dataAt - 16);
    }
    if ((offsetCount != 0 && offsetCount < codeCount) ||
        (widthCount != 0 && widthCount < codeCount)) {
        refuse("the offset or width table has fewer entries than the font has codes", dataAt - 8);
    }

    // Bit data.
    if (rb11) {
        r.requireItems(bitCount, 2, "bit data");
        font.layout = ImportedFont::BitLayout::WordRows;
        font.words.resize(bitCount);
        for (std::uint16_t& w : font.words) {
            w = r.u16();
        }
    } else {
        r.requireItems(bitCount, 1, "bit data");
        font.layout = ImportedFont::BitLayout::ByteBands;
        const auto data = r.bytes(bitCount);
        font.bytes.assign(data.begin(), data.end());
    }

    // Padding before the offset table, counted from the start of the file (the header sizes
    // are multiples of 4): RB11 and large RB12 files align to 4 bytes, small RB12 files to 2.
    const bool shortOffsets = rb12 && bitCount <= kRb12ShortOffsetLimit;
    const std::size_t alignment = shortOffsets ? 2 : 4;
    const std::size_t padding = (alignment - r.offset() % alignment) % alignment;
    const bool hasTables = offsetCount != 0 || widthCount != 0;
    if (hasTables) {
        r.skip(padding);
    }

    // Only codes up to 65535 can be characters of the font; counts beyond that are read no
    // further than the tables they need.
    const std::uint32_t usable = std::min<std::uint32_t>(codeCount, 0x10000 - firstCode);
    font.firstCode = static_cast<int>(firstCode);
    font.codeCount = static_cast<int>(usable);
    font.defaultCode = defaultCode <= 0xFFFF ? static_cast<int>(defaultCode) : -1;
    font.offsets.assign(usable, -1);
    font.widths.assign(usable, 0);

    std::vector<std::uint32_t> offsets;
    if (offsetCount != 0) {
        const std::size_t entrySize = shortOffsets ? 2 : 4;
        r.requireItems(offsetCount, entrySize, "offset table");
        offsets.resize(usable);
        for (std::uint32_t k = 0; k < usable; ++k) {
            offsets[k] = shortOffsets ? r.u16() : r.u32();
        }
        r.skip(std::size_t{offsetCount - usable} * entrySize);
    }
    if (widthCount != 0) {
        r.requireItems(widthCount, 1, "width table");
        const auto widths = r.bytes(usable);
        std::copy(widths.begin(), widths.end(), font.widths.begin());
    } else {
        if (maxWidth > 255) {
            refuse("the characters are " + std::to_string(maxWidth) +
                       " pixels wide; at most 255 can be imported",
                   kRb11HeaderSize - 32);
        }
        std::fill(font.widths.begin(), font.widths.end(), static_cast<std::uint8_t>(maxWidth));
    }
    font.maxWidth = maxWidth;
    if (rb12 && widthCount != 0) {
        font.maxWidth = *std::max_element(font.widths.begin(), font.widths.end());
    }

    if (const std::size_t k = placeBitmaps(font, offsets, shortOffsets, maxWidth); k < usable) {
        refuse("the bitmap of code " + std::to_string(firstCode + k) + " lies beyond the bit data",
               dataAt);
    }

    bool allMaximal = true;
    for (std::uint8_t w : font.widths) {
        allMaximal = allMaximal && w == font.maxWidth;
    }
    font.hasWidths = !allMaximal;
    return font;
}

ImportedFont readRbFont(const std::string& path) {
    return parseRbFont(readWholeFile(path, kMaxImportFileBytes), path);
}

}  // namespace typeloom
