#include "export/general_format.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>

#include "charset/encodings.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "model/font.h"

namespace typeloom::exporters {

namespace {

// The most units (General C) or bytes (binary) a character's description counts.
constexpr std::uint32_t kLargestCharacterSize = 0xFFFF;

// A maximal run of consecutive codes and the font index of its first code.
struct CodeRange {
    std::uint16_t first;
    std::uint16_t last;
    int firstIndex;
};

std::vector<CodeRange> codeRanges(const Font& font) {
    std::vector<CodeRange> ranges;
    for (int i = 0; i < font.count(); ++i) {
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        if (ranges.empty() || code != ranges.back().last + 1) {
            ranges.push_back({code, code, i});
        } else {
            ranges.back().last = code;
        }
    }
    return ranges;
}

struct FontTypePart {
    std::uint32_t value;
    const char* name;
};

FontTypePart pixelDepthPart(std::uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 2:
            return {0x00000020, "FONTTYPE_PROP_AA2"};
        case 4:
            return {0x00000040, "FONTTYPE_PROP_AA4"};
        case 8:
            return {0x00000080, "FONTTYPE_PROP_AA8"};
        default:
            return {0x00000002, "FONTTYPE_PROP"};
    }
}

FontTypePart encodingPart(std::uint32_t encoding) {
    switch (encoding) {
        case kEncodingAnsi:
            return {0x00010000, "ENCODING_ASCII"};
        case kEncodingShiftJis:
            return {0x00040000, "ENCODING_SHIFTJIS"};
        case kEncodingBig5:
            return {0x00080000, "ENCODING_BIG5"};
        case kEncodingGbk:
            return {0x00100000, "ENCODING_GBK"};
        case kEncodingHangul:
            return {0x00200000, "ENCODING_JOHAB"};
        default:
            return {0x00020000, "ENCODING_UNICODE"};
    }
}

FontTypePart lengthPart(int unitBits) {
    switch (unitBits) {
        case 16:
            return {0x02000000, "DATALENGTH_16"};
        case 32:
            return {0x04000000, "DATALENGTH_32"};
        default:
            return {0x01000000, "DATALENGTH_8"};
    }
}

std::uint32_t fontTypeValue(const Font& font, int unitBits) {
    return pixelDepthPart(font.bitsPerPixel).value | encodingPart(font.encoding).value |
           lengthPart(unitBits).value;
}

std::string fontTypeText(const Font& font, int unitBits) {
    return std::string(pixelDepthPart(font.bitsPerPixel).name) + " | " +
           encodingPart(font.encoding).name + " | " + lengthPart(unitBits).name;
}

const char* unitTypeName(int unitBits) {
    return unitBits == 16 ? "USHORT" : unitBits == 32 ? "ULONG" : "UCHAR";
}

std::string unitText(std::uint32_t unit, int unitBits) {
    if (unitBits == 16) {
        return formatText("  0x%04X", unit);
    }
    if (unitBits == 32) {
        return formatText("  0x%08X", unit);
    }
    return formatText("  0x%02X", unit);
}

bool isRowMode(std::uint32_t word) {
    return (word & kTraversalMask) == 0x110;
}

// The pixel at column c of a row stored in `row` (the row's units), read back from the bits
// the encoder set, so an inverted export draws inverted.
bool storedPixel(std::span<const std::uint32_t> row, int c, int unitBits, bool bigEndian) {
    const std::uint32_t unit = row[static_cast<std::size_t>(c / unitBits)];
    const int k = c % unitBits;
    const int bit = bigEndian ? unitBits - 1 - k : k;
    return ((unit >> bit) & 1u) != 0;
}

// Large fonts also show the walk over the characters while the text is written.
bool showsWritingProgress(const Font& font) {
    return font.count() > 500 || font.height > 100;
}

// One character's data array "abc_B_CODE".
void writeDataArray(ExportContext& context, int index) {
    const Font& font = context.font;
    ExportStream& out = context.out;
    const int bits = context.encoder.unitBits();
    const auto code = static_cast<std::uint16_t>(font.codeAt(index));
    const auto unicode = static_cast<std::uint16_t>(font.unicodeAt(index));
    const std::span<const std::uint32_t> units = context.encoder.unitsOf(unicode);
    const int count = static_cast<int>(units.size());

    if (count == 0) {
        // ISO C has no arrays of size 0: a character without pixels gets one placeholder
        // unit, which its character information (0 units) leaves out.
        out << formatText("const %s abc_%s_%04X[%4d] = { /* code %04X */\n", unitTypeName(bits),
                          context.identifierBase.c_str(), code, 1, code);
        out << unitText(0, bits) << "  /* width 0: no data */\n";
        out << "};\n\n";
        return;
    }

    out << formatText("const %s abc_%s_%04X[%4d] = { /* code %04X */\n", unitTypeName(bits),
                      context.identifierBase.c_str(), code, count, code);
    if (isRowMode(font.dataFormat)) {
        const Glyph* glyph = font.glyphs.find(unicode);
        const int width = glyph != nullptr ? glyph->width : 0;
        const int perRow = context.encoder.unitsFor(width);
        for (int first = 0; perRow > 0 && first < count; first += perRow) {
            std::string line;
            for (int j = first; j < first + perRow && j < count; ++j) {
                line += unitText(units[static_cast<std::size_t>(j)], bits);
                line += j + 1 == count ? " " : ",";
            }
            if (font.bitsPerPixel <= 2) {
                line += " // ";
                const auto row =
                    units.subspan(static_cast<std::size_t>(first),
                                  static_cast<std::size_t>(std::min(perRow, count - first)));
                for (int c = 0; c < width && c / bits < static_cast<int>(row.size()); ++c) {
                    line += storedPixel(row, c, bits, context.encoder.bigEndian()) ? '#' : '.';
                }
            }
            out.line(line);
        }
    } else {
        const int perLine = 64 / bits;
        for (int j = 0; j < count; ++j) {
            out << unitText(units[static_cast<std::size_t>(j)], bits);
            if (j + 1 < count) {
                out << ",";
            }
            if ((j + 1) % perLine == 0 || j + 1 == count) {
                out << "\n";
            }
        }
    }
    out << "};\n\n";
}

// The character information counts a character's units (C) or bytes (binary) in 16 bits; a
// character with more would be described with a wrong size, so the font is refused.
void refuseLargeCharacters(const ExportContext& context, std::span<const std::uint32_t> offsets,
                           std::uint32_t bytesPerCount, const char* what) {
    const Font& font = context.font;
    for (int i = 0; i < font.count(); ++i) {
        const std::uint64_t size = std::uint64_t{offsets[static_cast<std::size_t>(i) + 1] -
                                                 offsets[static_cast<std::size_t>(i)]} *
                                   bytesPerCount;
        if (size > kLargestCharacterSize) {
            throw FileError(
                FileError::Kind::BadFormat,
                formatText("Character 0x%04X holds %llu %s; the General layout counts "
                           "them in 16 bits and holds at most %u. Make the character "
                           "smaller or choose another layout.",
                           static_cast<unsigned>(font.codeAt(i)),
                           static_cast<unsigned long long>(size), what, kLargestCharacterSize));
        }
    }
}

}  // namespace

bool writeGeneralC(ExportContext& context) {
    const Font& font = context.font;
    std::vector<std::uint32_t> offsets;
    if (!beginExport(context, offsets)) {
        return false;
    }
    refuseLargeCharacters(context, offsets, 1, "units");
    ExportStream& out = context.out;
    const std::string& base = context.identifierBase;
    const int bits = context.encoder.unitBits();

    writeHeaderComment(out, false, font, context.now);

    if (context.cancelled()) {
        return false;
    }
    out << "\n#include \"tlmfont.h\"\n\n";
    out << "/* The following line needs to be included in any file selecting the\n";
    out << "   font.\n";
    out << "*/\n";
    out << "extern const TLM_FONT " << base << ";\n\n";

    {
        ProgressRun run(context.progress, font.count(), showsWritingProgress(font));
        for (int i = 0; i < font.count(); ++i) {
            if (context.cancelled()) {
                return false;
            }
            writeDataArray(context, i);
            run.step();
        }
    }

    if (context.cancelled()) {
        return false;
    }
    const bool c99 = (context.pages() & kPageC99Braces) != 0;
    out << formatText("const TLM_CHARINFO %s_CharInfo[%d] = {\n", base.c_str(), font.count());
    for (int i = 0; i < font.count(); ++i) {
        if (context.cancelled()) {
            return false;
        }
        const auto code = static_cast<std::uint16_t>(font.codeAt(i));
        std::uint16_t width = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), width);
        const auto units = static_cast<int>(offsets[static_cast<std::size_t>(i) + 1] -
                                            offsets[static_cast<std::size_t>(i)]);
        const char separator = i + 1 < font.count() ? ',' : ' ';
        out << formatText(c99 ? "   {%4d,%4d, {abc_%s_%04X} }%c /* code %04X */\n"
                              : "   {%4d,%4d, abc_%s_%04X }%c /* code %04X */\n",
                          width, units, base.c_str(), code, separator, code);
    }
    out << "};\n\n";

    if (context.cancelled()) {
        return false;
    }
    // Written from the last range to the first, so that each record points only to records
    // already declared.
    const std::vector<CodeRange> ranges = codeRanges(font);
    for (std::size_t k = ranges.size(); k >= 1; --k) {
        const CodeRange& range = ranges[k - 1];
        out << formatText("const TLM_FONT_PROP %s_Prop%d = {\n", base.c_str(), static_cast<int>(k));
        out << formatText("   0x%04X, /* first character */\n", range.first);
        out << formatText("   0x%04X, /* last character  */\n", range.last);
        out << formatText("   &%s_CharInfo[%4d],  /* address of first character */\n", base.c_str(),
                          range.firstIndex);
        if (k == ranges.size()) {
            out << formatText(
                "   (const TLM_FONT_PROP *)%d\t\t\t\t/* pointer to next TLM_FONT_PROP */\n", 0);
        } else {
            out << formatText("   &%s_Prop%d\t\t\t/* pointer to next TLM_FONT_PROP */\n",
                              base.c_str(), static_cast<int>(k + 1));
        }
        out << "};\n\n";
    }

    if (context.cancelled()) {
        return false;
    }
    out << formatText("const TLM_FONT %s = {\n", base.c_str());
    out << formatText("   %s, /* font type */\n", fontTypeText(font, bits).c_str());
    out << formatText("   %-3d, /* font height in pixels   */\n", font.height);
    out << formatText("   %-3d, /* font ascent (baseline) in pixels  */\n", font.ascent);
    out << formatText("   %-3d, /* reversed, =0 */\n", 0);
    out << formatText("   {&%s_Prop1}  \n", base.c_str());
    out << "};\n";
    return !context.cancelled();
}

bool writeGeneralBin(ExportContext& context) {
    const Font& font = context.font;
    std::vector<std::uint32_t> offsets;
    if (!beginExport(context, offsets)) {
        return false;
    }
    ExportStream& out = context.out;
    const int bits = context.encoder.unitBits();
    const std::uint32_t unitBytes = static_cast<std::uint32_t>(bits) / 8;
    refuseLargeCharacters(context, offsets, unitBytes, "bytes");
    const std::vector<CodeRange> ranges = codeRanges(font);

    out.u32(fontTypeValue(font, bits));
    out.u16(font.height);
    out.u16(static_cast<std::uint16_t>(font.ascent));
    out.u16(0);
    out.u16(static_cast<std::uint16_t>(ranges.size()));
    for (const CodeRange& range : ranges) {
        out.u16(range.first);
        out.u16(range.last);
    }

    if (context.cancelled()) {
        return false;
    }
    // Each character's offset is where its data really starts; its size fits the 16-bit field
    // (larger characters were refused above).
    std::uint64_t position =
        12 + 4 * std::uint64_t{ranges.size()} + 8 * std::uint64_t(font.count());
    for (int i = 0; i < font.count(); ++i) {
        std::uint16_t width = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), width);
        const std::uint64_t size = std::uint64_t{offsets[static_cast<std::size_t>(i) + 1] -
                                                 offsets[static_cast<std::size_t>(i)]} *
                                   unitBytes;
        out.u16(width);
        out.u16(static_cast<std::uint16_t>(size));
        out.u32(static_cast<std::uint32_t>(position));
        position += size;
    }

    {
        ProgressRun run(context.progress, font.count(), showsWritingProgress(font));
        for (int i = 0; i < font.count(); ++i) {
            if (context.cancelled()) {
                return false;
            }
            for (std::uint32_t unit :
                 context.encoder.unitsOf(static_cast<std::uint16_t>(font.unicodeAt(i)))) {
                if (bits == 8) {
                    out.u8(static_cast<std::uint8_t>(unit));
                } else if (bits == 16) {
                    out.u16(static_cast<std::uint16_t>(unit));
                } else {
                    out.u32(unit);
                }
            }
            run.step();
        }
    }
    return !context.cancelled();
}

}  // namespace typeloom::exporters
