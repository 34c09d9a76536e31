#include "export/intel_hex.h"

#include <array>
#include <span>

#include "export/unit_text.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

int glyphWidth(const Font& font, std::uint16_t unicode) {
    const Glyph* glyph = font.glyphs.find(unicode);
    return glyph != nullptr ? glyph->width : 0;
}

// One record: ":" count, address, type, data, checksum (the two's complement of the low byte
// of the sum of all the other bytes), in uppercase hexadecimal.
std::string record(std::uint16_t address, std::uint8_t type, std::span<const std::uint8_t> data) {
    std::string line =
        formatText(":%02X%04X%02X", static_cast<unsigned>(data.size()), address, type);
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFFu) + type;
    for (std::uint8_t b : data) {
        line += formatText("%02X", b);
        sum += b;
    }
    line += formatText("%02X", (0x100u - (sum & 0xFFu)) & 0xFFu);
    return line;
}

std::string extendedLinearAddress(std::uint16_t upper) {
    const std::uint8_t data[2] = {static_cast<std::uint8_t>(upper >> 8),
                                  static_cast<std::uint8_t>(upper)};
    return record(0, 4, data);
}

// A character's block from its units of the column-based, row-preferred traversal: units
// 0 .. W-1 hold rows 0-7 of each column, units W .. 2W-1 rows 8-15.
std::array<std::uint8_t, kHexBlockSize> characterBlock(int width,
                                                       std::span<const std::uint32_t> units) {
    std::array<std::uint8_t, kHexBlockSize> block{};
    const auto unit = [&](std::size_t i) -> std::uint8_t {
        return i < units.size() ? static_cast<std::uint8_t>(units[i]) : 0;
    };
    const auto w = static_cast<std::size_t>(width);
    block[0] = static_cast<std::uint8_t>(width);
    for (std::size_t c = 0; c < w; ++c) {
        block[1 + c] = unit(w + c);  // lower band: rows 8 ..
        block[1 + w + c] = unit(c);  // upper band: rows 0 .. 7
    }
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < 1 + 2 * w; ++i) {
        check ^= block[i];
    }
    block[1 + 2 * w] = check;
    return block;
}

}  // namespace

std::string hexExportProblem(const Font& font) {
    if (font.bitsPerPixel != 1) {
        return kHexNeedsMonochrome;
    }
    if (font.height < 9 || font.height > 16) {
        return kHexNeedsHeight;
    }
    return {};
}

std::vector<std::uint16_t> hexWideCharacters(const Font& font) {
    std::vector<std::uint16_t> wide;
    for (int i = 0; i < font.count(); ++i) {
        const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(i));
        if (glyphWidth(font, unicode) > kHexMaxWidth) {
            wide.push_back(unicode);
        }
    }
    return wide;
}

std::string hexWideCharacterList(const Font& font) {
    std::string list = "Character     Width   \r\n\r\n";
    const std::vector<std::uint16_t> wide = hexWideCharacters(font);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (i != 0) {
            list += "\r\n";
        }
        list += formatText("  0x%04X       %d", wide[i], glyphWidth(font, wide[i]));
    }
    return list;
}

bool writeIntelHex(ExportContext& context) {
    const Font& font = context.font;
    // Other heights do not give the two 8-row bands a block holds.
    if (!hexExportProblem(font).empty()) {
        return false;
    }
    BitmapEncoder& encoder = context.encoder;
    encoder.setUnitBits(8);
    encoder.setBigEndian(true);
    // A font without characters is exported too: its file holds no character blocks.
    std::vector<std::uint32_t> offsets;
    if (!encodeForExport(context, offsets, 0x010)) {
        return false;
    }
    // Wide characters are left out only when the user agreed to it.
    if (!context.hex.skipWide && !hexWideCharacters(font).empty()) {
        return false;
    }

    const std::uint32_t start = context.hex.startAddress;
    const std::uint32_t base = start >> 16;
    // The upper address part in force: a record is placed at (upper << 16) + its address.
    std::uint32_t upper = base;
    if (start > 0xFFFF) {
        context.out.line(extendedLinearAddress(static_cast<std::uint16_t>(base)));
    }
    for (int i = 0; i < font.count(); ++i) {
        if (context.cancelled()) {
            return false;
        }
        const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(i));
        const int width = glyphWidth(font, unicode);
        if (width > kHexMaxWidth) {
            continue;
        }
        const std::uint32_t address = (start & 0xFFFFu) + kHexBlockSize * std::uint32_t{unicode};
        // Characters come in code order, which is not Unicode order in every encoding: the
        // upper part is written whenever it changes, downwards too, so that no block lands
        // in the segment of the one before it. Addresses wrap at 4 GiB.
        const std::uint32_t blockUpper = (base + (address >> 16)) & 0xFFFFu;
        if (blockUpper != upper) {
            context.out.line(extendedLinearAddress(static_cast<std::uint16_t>(blockUpper)));
            upper = blockUpper;
        }
        const auto block = characterBlock(width, encoder.unitsOf(unicode));
        context.out.line(record(static_cast<std::uint16_t>(address), 0, block));
    }
    context.out << ":00000001FF";
    return !context.cancelled();
}

}  // namespace typeloom::exporters
