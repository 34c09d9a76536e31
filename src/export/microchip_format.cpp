#include "export/microchip_format.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "common/file_error.h"
#include "common/progress_sink.h"
#include "common/text.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

constexpr std::uint32_t kLargestOffset = 0xFFFFFF;  // 24 bits
constexpr int kWidestCharacter = 255;               // 8 bits

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// "7 December 2026": day, full English month name and year of the time in its zone; empty when
// the date is omitted.
std::string dateText(const CreateTime& now) {
    std::tm local{};
    if (!now.brokenDown(local)) {
        return {};
    }
    const int month = std::clamp(local.tm_mon, 0, 11);
    return std::to_string(local.tm_mday) + " " + kMonthNames[month] + " " +
           std::to_string(local.tm_year + 1900);
}

bool isRowMode(std::uint32_t word) {
    return (word & kTraversalMask) == 0x110;
}

// A unit as its bytes, least significant first.
std::string unitBytesText(std::uint32_t unit, int unitBits) {
    if (unitBits == 16) {
        return formatText("0x%02X, 0x%02X", unit & 0xFF, (unit >> 8) & 0xFF);
    }
    if (unitBits == 32) {
        return formatText("0x%02X, 0x%02X, 0x%02X, 0x%02X", unit & 0xFF, (unit >> 8) & 0xFF,
                          (unit >> 16) & 0xFF, unit >> 24);
    }
    return formatText("0x%02X", unit & 0xFF);
}

// All pixels of a unit, padding included, read back from its bits in the order they were
// stored.
std::string drawnUnit(std::uint32_t unit, int unitBits, bool bigEndian) {
    std::string drawing;
    for (int k = 0; k < unitBits; ++k) {
        const int bit = bigEndian ? unitBits - 1 - k : k;
        drawing += ((unit >> bit) & 1u) != 0 ? '#' : '.';
    }
    return drawing;
}

void writeUnitLe(ExportStream& out, std::uint32_t unit, int unitBits) {
    if (unitBits == 8) {
        out.u8(static_cast<std::uint8_t>(unit));
    } else if (unitBits == 16) {
        out.u16(static_cast<std::uint16_t>(unit));
    } else {
        out.u32(unit);
    }
}

// Large fonts also show the walk over the characters while the file is written.
bool showsWritingProgress(const Font& font) {
    return font.count() > 500 || font.height > 100;
}

const char* const kRule = "//////////////////////////////////////////\n";

}  // namespace

MicrochipLayout microchipLayout(const Font& font, std::span<const std::uint32_t> unitOffsets,
                                int unitBits) {
    MicrochipLayout layout;
    const int count = font.count();
    if (count == 0 || unitOffsets.size() != static_cast<std::size_t>(count) + 1) {
        throw FileError(FileError::Kind::BadFormat, "The font has no data to export.");
    }
    const auto first = static_cast<std::uint16_t>(font.codeAt(0));
    const auto last = static_cast<std::uint16_t>(font.codeAt(count - 1));
    layout.firstCode = first;
    layout.lastCode = last;

    // One entry per code from the first to the last: the codes are ascending.
    const std::uint64_t entryCount = std::uint64_t{last} - first + 1;
    const std::uint64_t unitBytes = static_cast<std::uint64_t>(unitBits) / 8;
    const std::uint64_t tableEnd = 8 + 4 * entryCount;
    layout.entries.reserve(static_cast<std::size_t>(entryCount));
    // Offsets count bytes whatever the unit length: the image is a byte array.
    auto offsetOf = [&](int i, std::uint16_t code) {
        const std::uint64_t offset =
            tableEnd + unitOffsets[static_cast<std::size_t>(i)] * unitBytes;
        if (offset > kLargestOffset) {
            throw FileError(FileError::Kind::BadFormat,
                            formatText("The font's bitmaps are too large for the Microchip layout: "
                                       "character 0x%04X would start at byte %llu, beyond its "
                                       "24-bit offsets.",
                                       code, static_cast<unsigned long long>(offset)));
        }
        return static_cast<std::uint32_t>(offset << 8);
    };
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        std::uint16_t width = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), width);
        if (width > kWidestCharacter) {
            throw FileError(FileError::Kind::BadFormat,
                            formatText("Character 0x%04X is %d pixels wide; the Microchip layout "
                                       "holds characters of at most %d pixels.",
                                       code, width, kWidestCharacter));
        }
        const std::uint32_t offset = offsetOf(i, code);
        // The codes the font lacks before this one: empty, pointing at this bitmap.
        while (first + layout.entries.size() < code) {
            layout.entries.push_back(offset);
            ++layout.missingCodes;
        }
        layout.entries.push_back(offset | width);
    }
    layout.imageSize = tableEnd + std::uint64_t{unitOffsets.back()} * unitBytes;
    return layout;
}

std::string microchipGapWarning(const Font& font) {
    if (font.count() == 0) {
        return {};
    }
    const int first = font.codeAt(0);
    const int last = font.codeAt(font.lastIndex());
    const auto missing = static_cast<std::uint32_t>(last - first + 1 - font.count());
    if (missing <= kMicrochipGapWarningCodes) {
        return {};
    }
    return formatText(
        "The font's codes run from 0x%04X to 0x%04X with %u codes missing between them. The "
        "Microchip character table holds an entry for every code in that range, so the missing "
        "codes take %u empty entries: %u bytes more than the characters need.",
        first, last, missing, missing, 4 * missing);
}

bool writeMicrochipC(ExportContext& context) {
    const Font& font = context.font;
    std::vector<std::uint32_t> offsets;
    if (!beginExport(context, offsets)) {
        return false;
    }
    const int bits = context.encoder.unitBits();
    const bool bigEndian = context.encoder.bigEndian();
    const MicrochipLayout layout = microchipLayout(font, offsets, bits);
    ExportStream& out = context.out;
    const char* base = context.identifierBase.c_str();

    out << "//\n";
    out << "// Font file created using Typeloom Studio v3.5\n";
    out << "// Typeloom Studio - bitmap fonts for embedded displays\n";
    out << "// Date: " << dateText(context.now) << "\n";
    out << formatText("// Font size: %llu bytes\n",
                      static_cast<unsigned long long>(layout.imageSize));
    out << "//\n\n";

    if (context.cancelled()) {
        return false;
    }
    out << formatText("extern const char __%s[] __attribute__((aligned(2)));\n\n", base);
    out << formatText("const FONT_FLASH %s =\n{\n\t(FLASH | COMP_NONE),\n\t__%s\n};\n\n", base,
                      base);
    out << formatText("const char __%s[] __attribute__((aligned(2))) = \n{\n", base);
    out << "\n";

    if (context.cancelled()) {
        return false;
    }
    out << kRule << "// FONT HEADER\n" << kRule;
    out << "0x00,\t\t// Info\n";
    out << "0x00,\t\t// FontID\n";
    out << formatText("0x%02X,0x%02X,\t// First Character ID\n", layout.firstCode & 0xFF,
                      layout.firstCode >> 8);
    out << formatText("0x%02X,0x%02X,\t// Last Character ID\n", layout.lastCode & 0xFF,
                      layout.lastCode >> 8);
    out << formatText("0x%02X,0x%02X,\t// Height\n", font.height & 0xFF, font.height >> 8);
    out << "\n";

    if (context.cancelled()) {
        return false;
    }
    out << kRule << "// CHARACTER TABLE\n" << kRule;
    out << "\n";
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        const std::uint32_t e = layout.entries[i];
        out << formatText(i == 0 ? "0x%02X,0x%02X,0x%02X,0x%02X,\t//Width, LSB Offset, MSB Offset\n"
                                 : "0x%02X,0x%02X,0x%02X,0x%02X,\n",
                          e & 0xFF, (e >> 8) & 0xFF, (e >> 16) & 0xFF, e >> 24);
    }
    out << "\n";

    if (context.cancelled()) {
        return false;
    }
    out << kRule << "// FONT BITMAP\n" << kRule << "\n";
    const bool rowMode = isRowMode(font.dataFormat);
    const bool drawRows = rowMode && font.bitsPerPixel <= 2;
    const std::uint32_t total = offsets.back();
    std::uint32_t written = 0;  // units so far, to find the last one of the array
    auto unitText = [&](std::uint32_t unit) {
        ++written;
        return unitBytesText(unit, bits) + (written == total ? "  " : ", ");
    };
    ProgressRun run(context.progress, font.count(), showsWritingProgress(font));
    for (int i = 0; i < font.count(); ++i) {
        if (context.cancelled()) {
            return false;
        }
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(i));
        // The index of the character's entry in the table, which a reader takes as code - first.
        const int index = code - layout.firstCode;
        out << formatText(drawRows
                              ? "//\t\t\t\t\t\t\t\t\t\t\tIndex: %d (0x%04X)  Character: 0x%04X ("
                              : "// Index: %d (0x%04X)  Character: 0x%04X (",
                          index, index, code);
        // Control codes would break the comment line or put a byte the code page lacks into
        // it, so they are shown as '.'.
        out << "'" << characterText(code, '.') << "')\n";

        const std::span<const std::uint32_t> units = context.encoder.unitsOf(unicode);
        const int count = static_cast<int>(units.size());
        if (rowMode) {
            std::uint16_t width = 0;
            font.widthOf(unicode, width);
            const int perRow = context.encoder.unitsFor(width);
            for (int first = 0; perRow > 0 && first < count; first += perRow) {
                std::string line;
                std::string drawing;
                for (int j = first; j < first + perRow && j < count; ++j) {
                    line += unitText(units[static_cast<std::size_t>(j)]);
                    drawing += drawnUnit(units[static_cast<std::size_t>(j)], bits, bigEndian);
                }
                if (drawRows) {
                    line += " // " + drawing;
                }
                out.line(line);
            }
        } else {
            const int perLine = 64 / bits;
            for (int j = 0; j < count; ++j) {
                out << unitText(units[static_cast<std::size_t>(j)]);
                if ((j + 1) % perLine == 0 || j + 1 == count) {
                    out << "\n";
                }
            }
        }
        out << "\n";
        run.step();
    }

    if (context.cancelled()) {
        return false;
    }
    out << "};\n\n";
    return !context.cancelled();
}

bool writeMicrochipBin(ExportContext& context) {
    const Font& font = context.font;
    std::vector<std::uint32_t> offsets;
    if (!beginExport(context, offsets)) {
        return false;
    }
    const int bits = context.encoder.unitBits();
    const MicrochipLayout layout = microchipLayout(font, offsets, bits);
    ExportStream& out = context.out;

    out.u8(0);  // Info
    out.u8(0);  // FontID
    out.u16(layout.firstCode);
    out.u16(layout.lastCode);
    out.u16(font.height);

    if (context.cancelled()) {
        return false;
    }
    for (std::uint32_t entry : layout.entries) {
        out.u32(entry);
    }

    ProgressRun run(context.progress, font.count(), showsWritingProgress(font));
    for (int i = 0; i < font.count(); ++i) {
        if (context.cancelled()) {
            return false;
        }
        for (std::uint32_t unit :
             context.encoder.unitsOf(static_cast<std::uint16_t>(font.unicodeAt(i)))) {
            writeUnitLe(out, unit, bits);
        }
        run.step();
    }
    return !context.cancelled();
}

}  // namespace typeloom::exporters
