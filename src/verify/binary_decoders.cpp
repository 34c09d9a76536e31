// Decoders of the binary layouts: table-based binary, General binary, the Microchip image,
// the bare version 2.0 data file, Intel HEX, Windows .fnt/.fon and the folder of bitmaps.

#include <cstdio>
#include <string>

#include "common/byte_io.h"
#include "model/font.h"
#include "verify/decoding_support.h"

namespace typeloom::verify::detail {

namespace {

std::string hex4(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(v) & 0xFFFFu);
    return text;
}

// Runs `body`, turning the byte reader's errors into DecodeError with their offset.
template <class Body>
DecodedExport guarded(Body body) {
    try {
        return body();
    } catch (const FileError& e) {
        throw DecodeError(e.what(), e.offset());
    }
}

UnitLayout layoutWithBits(const DecodeOptions& o, int bits) {
    UnitLayout l = UnitLayout::fromWord(o.dataWord);
    l.unitBits = bits;
    return l;
}

// Characters stored one after another from `dataStart`, each with the units its width needs.
void sequentialCharacters(DecodedExport& out, ByteReader& r, const ProjectShape& shape,
                          const UnitLayout& layout, std::size_t dataEnd) {
    const std::size_t unitBytes = static_cast<std::size_t>(layout.unitBits / 8);
    PixelBudget budget(r.size());
    for (std::size_t i = 0; i < shape.codes.size(); ++i) {
        const std::size_t need = unitCount(layout, shape.widths[i], shape.height);
        const std::size_t at = r.offset();
        budget.take(shape.widths[i], shape.height, at);
        if (need > (dataEnd - at) / unitBytes) {
            DecodedCharacter c;
            c.code = shape.codes[i];
            c.width = shape.widths[i];
            c.offset = at;
            c.problem = "its data runs past the end of the file";
            out.characters.push_back(std::move(c));
            return;
        }
        const std::vector<std::uint32_t> units = readUnits(r, need, layout.unitBits);
        out.characters.push_back(decodeCharacter(shape.codes[i], shape.widths[i], shape.height,
                                                 layout, units, at, unitBytes));
    }
}

}  // namespace

DecodedExport decodeTableBinary(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    return guarded([&] {
        ByteReader r(bytes);
        DecodedExport out;
        out.layout = Layout::TableBin;
        if (r.size() < 44 || r.u16() != 0x6A5D) {
            fail("not a table-based binary file: no magic number 0x6A5D in a 44-byte header", 0);
        }
        r.skip(4);  // version, flags
        const int fixedWidth = r.u16();
        out.height = r.u16();
        r.skip(2);  // ascent
        const int first = r.u16();
        const int last = r.u16();
        const int count = r.u16();
        r.skip(1);
        const int bits = r.u8();
        if (bits != 8 && bits != 16 && bits != 32) {
            fail("the data length is " + std::to_string(bits) + " bits, not 8, 16 or 32", 19);
        }
        const std::uint32_t total = r.u32();
        const std::uint32_t dataAt = r.u32();
        const std::uint32_t offsetAt = r.u32();
        const std::uint32_t widthAt = r.u32();
        r.skip(4);  // ASCII index
        const std::uint32_t extendedAt = r.u32();
        const UnitLayout layout = layoutWithBits(o, bits);
        out.units = layout;
        const std::size_t unitBytes = static_cast<std::size_t>(bits / 8);
        if (dataAt > r.size() || total > (r.size() - dataAt) / unitBytes) {
            fail("the data table (" + std::to_string(total) + " units at " +
                     std::to_string(dataAt) + ") does not fit in the file",
                 20);
        }
        std::vector<int> codes;
        if (extendedAt != 0) {
            r.seek(extendedAt);
            r.skip(4);
            const int chars = r.u16();
            const int ranges = r.u16();
            const std::uint32_t rangesAt = r.u32();
            if (chars != count) {
                fail("the extended index counts " + std::to_string(chars) +
                         " characters, the header " + std::to_string(count),
                     extendedAt + 4);
            }
            r.seek(rangesAt);
            r.requireItems(static_cast<std::uint64_t>(ranges), 4, "glyph ranges");
            for (int k = 0; k < ranges; ++k) {
                const int low = r.u16();
                const int n = r.u16();
                if (static_cast<int>(codes.size()) + n > count || low + n > 0x10000) {
                    fail("glyph range " + std::to_string(k) + " runs past the characters",
                         r.offset() - 4);
                }
                for (int c = low; c < low + n; ++c) {
                    codes.push_back(c);
                }
            }
            if (static_cast<int>(codes.size()) != count) {
                fail("the glyph ranges hold " + std::to_string(codes.size()) +
                         " characters, the header " + std::to_string(count),
                     rangesAt);
            }
        } else if (last - first + 1 == count) {
            for (int c = first; c <= last; ++c) {
                codes.push_back(c);
            }
        } else {
            codes = projectShape(o, "the character codes").codes;
            out.assumed.emplace_back("character codes from the project (no extended index)");
            if (static_cast<int>(codes.size()) != count) {
                fail("the file holds " + std::to_string(count) + " characters, the project " +
                         std::to_string(codes.size()),
                     16);
            }
        }
        std::vector<int> widths;
        if (widthAt != 0) {
            r.seek(widthAt);
            r.requireItems(static_cast<std::uint64_t>(count), 2, "width table");
            for (int i = 0; i < count; ++i) {
                widths.push_back(r.u16());
            }
        } else if (fixedWidth != 0) {
            widths.assign(static_cast<std::size_t>(count), fixedWidth);
        } else {
            widths = projectShape(o, "the character widths").widths;
            out.assumed.emplace_back("character widths from the project (no width table)");
            widths.resize(static_cast<std::size_t>(count), 0);
        }
        std::vector<std::uint32_t> offsets;
        if (offsetAt != 0) {
            r.seek(offsetAt);
            r.requireItems(static_cast<std::uint64_t>(count) + 1, 4, "offset table");
            for (int i = 0; i <= count; ++i) {
                offsets.push_back(r.u32());
            }
        } else {
            std::uint64_t t = 0;
            offsets.push_back(0);
            for (int w : widths) {
                t += unitCount(layout, w, out.height);
                offsets.push_back(static_cast<std::uint32_t>(std::min<std::uint64_t>(t, total)));
            }
        }
        PixelBudget budget(bytes.size());
        for (int i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const std::uint32_t begin = offsets[k];
            const std::uint32_t end = offsets[k + 1];
            const std::size_t at = dataAt + std::size_t{begin} * unitBytes;
            budget.take(widths[k], out.height, offsetAt != 0 ? offsetAt + 4 * k : at);
            if (begin > end || end > total) {
                DecodedCharacter c;
                c.code = codes[k];
                c.width = widths[k];
                c.offset = offsetAt != 0 ? offsetAt + 4 * k : at;
                c.problem = "its offsets " + std::to_string(begin) + ".." + std::to_string(end) +
                            " lie outside the data table";
                out.characters.push_back(std::move(c));
                continue;
            }
            r.seek(at);
            const std::vector<std::uint32_t> units = readUnits(r, end - begin, bits);
            out.characters.push_back(
                decodeCharacter(codes[k], widths[k], out.height, layout, units, at, unitBytes));
        }
        return out;
    });
}

DecodedExport decodeGeneralBinary(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    return guarded([&] {
        ByteReader r(bytes);
        DecodedExport out;
        out.layout = Layout::GeneralBin;
        const std::uint32_t type = r.u32();
        const int bits = (type & 0x01000000) != 0   ? 8
                         : (type & 0x02000000) != 0 ? 16
                         : (type & 0x04000000) != 0 ? 32
                                                    : 0;
        if (bits == 0) {
            fail("not a General binary file: the font type names no data length", 0);
        }
        out.height = r.u16();
        r.skip(4);  // ascent, reserved
        const int ranges = r.u16();
        r.requireItems(static_cast<std::uint64_t>(ranges), 4, "ranges");
        std::vector<int> codes;
        for (int k = 0; k < ranges; ++k) {
            const int low = r.u16();
            const int high = r.u16();
            if (high < low) {
                fail("range " + std::to_string(k) + " ends before it starts", r.offset() - 4);
            }
            // Every character has an 8-byte entry after the ranges.
            r.requireItems(codes.size() + static_cast<std::size_t>(high - low + 1), 8,
                           "character entries");
            for (int c = low; c <= high; ++c) {
                codes.push_back(c);
            }
        }
        const UnitLayout layout = layoutWithBits(o, bits);
        out.units = layout;
        const std::size_t unitBytes = static_cast<std::size_t>(bits / 8);
        struct Entry {
            int width;
            std::size_t size;
            std::size_t at;
        };
        std::vector<Entry> entries;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const int width = r.u16();
            const std::size_t size = r.u16();
            const std::size_t at = r.u32();
            entries.push_back({width, size, at});
        }
        PixelBudget budget(bytes.size());
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const Entry& e = entries[i];
            budget.take(e.width, out.height, 12 + 4 * static_cast<std::size_t>(ranges) + 8 * i);
            if (e.size % unitBytes != 0 || e.at > r.size() || e.size > r.size() - e.at) {
                DecodedCharacter c;
                c.code = codes[i];
                c.width = e.width;
                c.offset = 12 + 4 * static_cast<std::size_t>(ranges) + 8 * i;
                c.problem = "its data (" + std::to_string(e.size) + " bytes at " +
                            std::to_string(e.at) + ") is not whole units inside the file";
                out.characters.push_back(std::move(c));
                continue;
            }
            r.seek(e.at);
            const std::vector<std::uint32_t> units = readUnits(r, e.size / unitBytes, bits);
            out.characters.push_back(
                decodeCharacter(codes[i], e.width, out.height, layout, units, e.at, unitBytes));
        }
        return out;
    });
}

DecodedExport decodeMicrochipImage(std::span<const std::uint8_t> bytes, const DecodeOptions& o,
                                   std::span<const std::size_t> byteOffsets) {
    auto fileOffset = [&](std::size_t at) {
        return at < byteOffsets.size() ? byteOffsets[at] : at;
    };
    try {
        ByteReader r(bytes);
        DecodedExport out;
        out.layout = byteOffsets.empty() ? Layout::MicrochipBin : Layout::MicrochipC;
        r.skip(2);  // Info, FontID
        const int first = r.u16();
        const int last = r.u16();
        out.height = r.u16();
        // The first character's data starts right after the table, so its offset value
        // counts the table: 4 x count + 8.
        const std::uint32_t firstEntry = r.u32();
        const std::uint32_t tableEnd = firstEntry >> 8;
        if (tableEnd < 12 || (tableEnd - 8) % 4 != 0) {
            fail("the first character's offset " + std::to_string(tableEnd) +
                     " is not the end of a character table",
                 fileOffset(8));
        }
        const std::size_t count = (tableEnd - 8) / 4;
        r.seek(8);
        r.requireItems(count, 4, "character table");
        const UnitLayout layout = UnitLayout::fromWord(o.dataWord);
        out.units = layout;
        out.assumed.emplace_back("data layout from the options (the image does not record it)");
        // A reader finds a character by its code less the first one.
        std::vector<int> codes;
        for (std::size_t i = 0; i < count; ++i) {
            codes.push_back(first + static_cast<int>(i));
        }
        if (last - first + 1 != static_cast<int>(count)) {
            fail("the Last Character ID " + hex4(last) + " does not follow from " +
                     std::to_string(count) + " characters from " + hex4(first),
                 fileOffset(4));
        }
        // Offsets count bytes from the start of the image whatever the unit length.
        std::vector<int> widths;
        std::vector<std::uint32_t> starts;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t entry = r.u32();
            widths.push_back(static_cast<int>(entry & 0xFF));
            const std::uint32_t value = entry >> 8;
            if (value < tableEnd) {
                fail("character " + hex4(codes[i]) + " has an offset inside the table",
                     fileOffset(8 + 4 * i));
            }
            starts.push_back(value);
        }
        const std::size_t unitBytes = static_cast<std::size_t>(layout.unitBits / 8);
        PixelBudget budget(bytes.size());
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t need = unitCount(layout, widths[i], out.height);
            const std::size_t at = starts[i];
            budget.take(widths[i], out.height, fileOffset(8 + 4 * i));
            DecodedCharacter c;
            if (at > r.size() || need > (r.size() - at) / unitBytes) {
                c.code = codes[i];
                c.width = widths[i];
                c.offset = fileOffset(std::min(at, r.size()));
                c.problem = "its data runs past the end of the image";
            } else {
                r.seek(at);
                const std::vector<std::uint32_t> units = readUnits(r, need, layout.unitBits);
                std::vector<std::size_t> offsets;
                for (std::size_t u = 0; u < need && !byteOffsets.empty(); ++u) {
                    offsets.push_back(fileOffset(at + u * unitBytes));
                }
                c = decodeCharacter(codes[i], widths[i], out.height, layout, units, fileOffset(at),
                                    unitBytes, offsets);
            }
            // A character's units end where the next one's begin.
            if (c.problem.empty() && i + 1 < count && starts[i + 1] != at + need * unitBytes) {
                c.problem = "the next character starts at byte " + std::to_string(starts[i + 1]) +
                            ", not " + std::to_string(at + need * unitBytes);
            }
            out.characters.push_back(std::move(c));
        }
        return out;
    } catch (const FileError& e) {
        throw DecodeError(e.what(), fileOffset(e.offset()));
    }
}

DecodedExport decodeVersion2Data(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    return guarded([&] {
        ByteReader r(bytes);
        DecodedExport out;
        out.layout = Layout::V2Dat;
        const ProjectShape shape = projectShape(o, "codes, widths or height");
        out.height = shape.height;
        out.assumed.emplace_back("codes, widths and height from the project");
        const UnitLayout layout = UnitLayout::fromWord(o.dataWord);
        out.units = layout;
        sequentialCharacters(out, r, shape, layout, r.size());
        if (!out.characters.empty() && out.characters.back().problem.empty() && !r.atEnd()) {
            out.characters.back().problem =
                std::to_string(r.remaining()) + " bytes follow the last character";
        }
        return out;
    });
}

DecodedExport decodeIntelHex(std::span<const std::uint8_t> bytes, const DecodeOptions& o) {
    DecodedExport out;
    out.layout = Layout::Hex;
    const ProjectShape shape = projectShape(o, "the height");
    out.height = shape.height;
    out.assumed.emplace_back("height from the project");
    UnitLayout bands;  // two row bands of column bytes, the top row in the high bit
    bands.unitBits = 8;
    bands.bigEndian = true;
    bands.rowBased = false;
    bands.rowPreferred = true;
    bands.packed = false;
    bands.inverted = UnitLayout::fromWord(o.dataWord).inverted;
    if (out.height < 9 || out.height > 16) {
        fail("HEX blocks hold 9 to 16 rows, the project has " + std::to_string(out.height), 0);
    }
    auto hexValue = [](std::uint8_t c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    };
    std::uint32_t upper = 0;
    bool ended = false;
    std::size_t pos = 0;
    PixelBudget budget(bytes.size());
    while (pos < bytes.size() && !ended) {
        const std::uint8_t ch = bytes[pos];
        if (ch == '\r' || ch == '\n') {
            ++pos;
            continue;
        }
        const std::size_t lineStart = pos;
        if (ch != ':') {
            fail("a record does not start with ':'", pos);
        }
        ++pos;
        std::vector<std::uint8_t> record;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n') {
            if (pos + 1 >= bytes.size() || hexValue(bytes[pos]) < 0 ||
                hexValue(bytes[pos + 1]) < 0) {
                fail("a record holds a character that is not a hexadecimal digit", pos);
            }
            record.push_back(
                static_cast<std::uint8_t>(hexValue(bytes[pos]) * 16 + hexValue(bytes[pos + 1])));
            pos += 2;
        }
        if (record.size() < 5 || record.size() != std::size_t{record[0]} + 5) {
            fail("a record's length does not match its byte count", lineStart);
        }
        std::uint8_t sum = 0;
        for (std::uint8_t b : record) {
            sum = static_cast<std::uint8_t>(sum + b);
        }
        const int type = record[3];
        const std::uint32_t address = (std::uint32_t{record[1]} << 8) | record[2];
        if (type == 1) {
            ended = true;
        } else if (type == 4) {
            if (sum != 0 || record[0] != 2) {
                fail("an extended address record is damaged", lineStart);
            }
            upper = (std::uint32_t{record[4]} << 8) | record[5];
        } else if (type == 0) {
            const std::uint32_t full = (upper << 16) + address;
            DecodedCharacter c;
            c.offset = lineStart;
            const std::uint32_t distance = full - o.hexStartAddress;
            c.code = full >= o.hexStartAddress && distance % 34 == 0 && distance / 34 <= 0xFFFF
                         ? static_cast<int>(distance / 34)
                         : -1;
            if (c.code < 0) {
                fail("a data record's address " + std::to_string(full) +
                         " is not the start address plus a multiple of 34",
                     lineStart);
            }
            const std::span<const std::uint8_t> block(record.data() + 4, record.size() - 5);
            c.width = block.empty() ? 0 : block[0];
            budget.take(std::min(c.width, 16), out.height, lineStart);
            if (block.size() != 34 || c.width > 16) {
                c.problem = "the block is not 34 bytes of a character at most 16 pixels wide";
                c.width = std::min(c.width, 16);
            } else {
                const auto w = static_cast<std::size_t>(c.width);
                std::vector<std::uint32_t> units;
                for (std::size_t k = 0; k < w; ++k) {
                    units.push_back(block[1 + w + k]);  // rows 0-7 (the second band)
                }
                for (std::size_t k = 0; k < w; ++k) {
                    units.push_back(block[1 + k]);  // rows 8 and below
                }
                std::vector<std::size_t> unitOffsets;
                const std::size_t data = lineStart + 9;
                for (std::size_t k = 0; k < w; ++k) {
                    unitOffsets.push_back(data + 2 * (1 + w + k));
                }
                for (std::size_t k = 0; k < w; ++k) {
                    unitOffsets.push_back(data + 2 * (1 + k));
                }
                c = decodeCharacter(c.code, c.width, out.height, bands, units, lineStart, 2,
                                    unitOffsets);
                c.offset = lineStart;
                std::uint8_t check = 0;
                for (std::size_t k = 0; k < 1 + 2 * w; ++k) {
                    check ^= block[k];
                }
                if (c.problem.empty() && check != block[1 + 2 * w]) {
                    c.problem = "its check byte does not match its data";
                }
                for (std::size_t k = 2 + 2 * w; k < 34 && c.problem.empty(); ++k) {
                    if (block[k] != 0) {
                        c.problem = "a byte after its check byte is not zero";
                    }
                }
            }
            if (c.problem.empty() && sum != 0) {
                c.problem = "the record's checksum does not match";
            }
            out.characters.push_back(std::move(c));
        } else {
            fail("a record of type " + std::to_string(type) + " is not written in these files",
                 lineStart);
        }
    }
    if (!ended) {
        fail("the end-of-file record is missing", bytes.size());
    }
    return out;
}

DecodedExport decodeFnt(std::span<const std::uint8_t> bytes, std::size_t base) {
    return guarded([&] {
        ByteReader r(bytes);
        DecodedExport out;
        out.layout = base == 0 ? Layout::Fnt : Layout::Fon;
        r.seek(base);
        const int version = r.u16();
        if (version != 0x0200 && version != 0x0300) {
            fail("not a Windows font resource: version " + hex4(version), base);
        }
        r.seek(base + 88);
        out.height = r.u16();
        r.seek(base + 95);
        const int first = r.u8();
        const int last = r.u8();
        if (last < first) {
            fail("the last character comes before the first", base + 96);
        }
        r.seek(base + (version == 0x0200 ? 118 : 148));
        const std::size_t entry = version == 0x0200 ? 4 : 6;
        r.requireItems(static_cast<std::uint64_t>(last - first + 1), entry, "character table");
        PixelBudget budget(bytes.size());
        for (int code = first; code <= last; ++code) {
            const std::size_t tableAt = r.offset();
            const int width = r.u16();
            budget.take(width, out.height, tableAt);
            const std::size_t at = base + (version == 0x0200 ? r.u16() : r.u32());
            DecodedCharacter c;
            c.code = code;
            c.width = width;
            c.offset = at;
            const std::size_t bandsBytes =
                static_cast<std::size_t>((width + 7) / 8) * static_cast<std::size_t>(out.height);
            if (at > r.size() || bandsBytes > r.size() - at) {
                c.problem = "its bitmap lies outside the file (table entry at " +
                            std::to_string(tableAt) + ")";
                out.characters.push_back(std::move(c));
                continue;
            }
            c.pixels.assign(static_cast<std::size_t>(width) * out.height, 0);
            for (int x = 0; x < width; ++x) {
                for (int y = 0; y < out.height; ++y) {
                    const std::uint8_t b = bytes[at + static_cast<std::size_t>(x / 8) * out.height +
                                                 static_cast<std::size_t>(y)];
                    c.pixels[static_cast<std::size_t>(y) * width + x] = (b >> (7 - x % 8)) & 1;
                }
            }
            // Columns of the last band beyond the width are never written as ink.
            for (int y = 0; y < out.height && width % 8 != 0 && c.problem.empty(); ++y) {
                const std::uint8_t b = bytes[at + static_cast<std::size_t>(width / 8) * out.height +
                                             static_cast<std::size_t>(y)];
                if ((b & (0xFF >> (width % 8))) != 0) {
                    c.problem = "row " + std::to_string(y) + " has ink beyond its width";
                }
            }
            out.characters.push_back(std::move(c));
        }
        return out;
    });
}

DecodedExport decodeFon(std::span<const std::uint8_t> bytes) {
    return guarded([&] {
        ByteReader r(bytes);
        if (r.u16() != 0x5A4D) {
            fail("not a Windows font library: no MZ header", 0);
        }
        r.seek(0x3C);
        const std::size_t ne = r.u32();
        r.seek(ne);
        if (r.u16() != 0x454E) {
            fail("not a Windows font library: no NE header", ne);
        }
        r.seek(ne + 0x24);
        const std::size_t table = ne + r.u16();
        r.seek(table);
        const int shift = r.u16();
        if (shift > 16) {
            fail("the resource alignment shift " + std::to_string(shift) + " is out of range",
                 table);
        }
        while (true) {
            const int type = r.u16();
            if (type == 0) {
                break;
            }
            const int count = r.u16();
            r.skip(4);
            r.requireItems(static_cast<std::uint64_t>(count), 12, "resources");
            if (type == 0x8008 && count > 0) {
                const std::size_t at = std::size_t{r.u16()} << shift;
                return decodeFnt(bytes, at);
            }
            r.skip(static_cast<std::size_t>(count) * 12);
        }
        fail("the library holds no font resource", table);
    });
}

}  // namespace typeloom::verify::detail
