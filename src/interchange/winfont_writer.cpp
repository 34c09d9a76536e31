#include "interchange/winfont_writer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "charset/encodings.h"
#include "common/atomic_file.h"
#include "common/byte_io.h"
#include "common/file_error.h"
#include "common/text.h"
#include "interchange/winfont_reader.h"
#include "model/font.h"

namespace typeloom {

namespace {

[[noreturn]] void tooLarge(const std::string& why) {
    throw FileError(FileError::Kind::BadFormat, std::string(kFontTooLargeMessage) + ": " + why);
}

// UTF-8 text as windows-1252 bytes ('?' for characters the code page lacks).
std::vector<std::uint8_t> ansiBytes(const std::string& utf8) {
    std::vector<std::uint8_t> out;
    for (char16_t unit : utf8ToUtf16(utf8)) {
        out.push_back(unicodeToAnsi(unit));
    }
    return out;
}

const Glyph* glyphOfCode(const Font& font, int code) {
    const int index = font.indexOfCode(static_cast<std::uint16_t>(code));
    if (index < 0) {
        return nullptr;
    }
    return font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
}

void writeHeader(ByteWriter& w, const FontHeaderInfo& h, bool v3) {
    w.u16(h.version);
    w.u32(h.size);
    w.bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(h.copyright),
                                          sizeof h.copyright));
    w.u16(h.type);
    w.u16(h.points);
    w.u16(h.vertRes);
    w.u16(h.horizRes);
    w.u16(h.ascent);
    w.u16(h.internalLeading);
    w.u16(h.externalLeading);
    w.u8(h.italic);
    w.u8(h.underline);
    w.u8(h.strikeOut);
    w.u16(h.weight);
    w.u8(h.charSet);
    w.u16(h.pixWidth);
    w.u16(h.pixHeight);
    w.u8(h.pitchAndFamily);
    w.u16(h.avgWidth);
    w.u16(h.maxWidth);
    w.u8(h.firstChar);
    w.u8(h.lastChar);
    w.u8(h.defaultChar);
    w.u8(h.breakChar);
    w.u16(h.widthBytes);
    w.u32(h.device);
    w.u32(h.face);
    w.u32(h.bitsPointer);
    w.u32(h.bitsOffset);
    w.u8(0);  // dfReserved
    if (v3) {
        w.u32((h.pitchAndFamily & 1) != 0 ? 2 : 1);  // DFF_PROPORTIONAL or DFF_FIXED
        w.u16(0);                                    // A space
        w.u16(0);                                    // B space
        w.u16(0);                                    // C space
        w.u32(0);                                    // colour pointer
        w.zeros(16);
    }
}

std::vector<std::uint8_t> buildFnt(const Font& font) {
    if (font.count() == 0) {
        tooLarge("the font has no character");
    }
    if (font.height == 0) {
        tooLarge("the font has no rows");
    }
    FontHeaderInfo h = finishedFntHeader(font);
    const std::size_t height = font.height;
    const int first = h.firstChar;
    const int last = h.lastChar;
    const std::size_t n = static_cast<std::size_t>(last - first) + 1;

    // The character written for a code the font lacks: the default character (or, when the
    // font lacks that too, the first character) with a frame around its cell.
    const Glyph* fallback = glyphOfCode(font, h.defaultChar);
    if (fallback == nullptr) {
        fallback = glyphOfCode(font, first);
    }
    Glyph framed;
    if (fallback != nullptr) {
        framed = *fallback;
        framed.pixels.resize(std::size_t{framed.width} * height, 0);
        const std::size_t w = framed.width;
        for (std::size_t y = 0; y < height && w != 0; ++y) {
            framed.pixels[y * w] = 1;
            framed.pixels[y * w + w - 1] = 1;
        }
        if (w != 0) {
            for (std::size_t x = 0; x < w; ++x) {
                framed.pixels[x] = 1;
                framed.pixels[(height - 1) * w + x] = 1;
            }
        }
    }

    std::vector<const Glyph*> written(n, nullptr);
    std::uint64_t stripes = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const Glyph* g = glyphOfCode(font, first + static_cast<int>(k));
        if (g == nullptr || g->pixels.size() != std::size_t{g->width} * height) {
            g = &framed;
        }
        written[k] = g;
        stripes += (std::uint64_t{g->width} + 7) / 8;
    }
    stripes += 1;                     // the blank stripe of the extra entry
    stripes = (stripes + 3) / 4 * 4;  // a multiple of 4 stripes
    const std::uint64_t bitmapBytes = stripes * height;
    const std::vector<std::uint8_t> face = ansiBytes(h.headerFaceName);

    const bool v3 = !(118 + bitmapBytes + (n + 1) * 4 < 0xFFFE);
    const std::uint64_t headerSize = v3 ? kFntHeaderSize3 : kFntHeaderSize2;
    const std::uint64_t tableSize = (n + 1) * (v3 ? 6 : 4);
    const std::uint64_t bitsOffset = headerSize + tableSize;
    const std::uint64_t total = bitsOffset + bitmapBytes + face.size() + 1;
    if (total > 0xFFFFFFFFu) {
        tooLarge("the resource would be " + std::to_string(total) + " bytes long");
    }
    h.version = v3 ? 0x0300 : 0x0200;
    h.size = static_cast<std::uint32_t>(total);
    h.bitsOffset = static_cast<std::uint32_t>(bitsOffset);
    h.face = static_cast<std::uint32_t>(bitsOffset + bitmapBytes);
    h.device = 0;
    h.bitsPointer = 0;
    h.widthBytes = static_cast<std::uint16_t>(stripes);

    ByteWriter w;
    w.reserve(static_cast<std::size_t>(total));
    writeHeader(w, h, v3);
    std::uint64_t offset = bitsOffset;
    for (const Glyph* g : written) {
        w.u16(g->width);
        if (v3) {
            w.u32(static_cast<std::uint32_t>(offset));
        } else {
            w.u16(static_cast<std::uint16_t>(offset));
        }
        offset += (std::uint64_t{g->width} + 7) / 8 * height;
    }
    w.u16(8);  // the extra entry: 8 pixels wide, at the blank stripe
    if (v3) {
        w.u32(static_cast<std::uint32_t>(offset));
    } else {
        w.u16(static_cast<std::uint16_t>(offset));
    }
    // Column stripes of 8 pixels, one byte per row from the top, bit 7 the leftmost pixel.
    const std::size_t bitmapStart = w.size();
    for (const Glyph* g : written) {
        const std::size_t width = g->width;
        for (std::size_t s = 0; s < (width + 7) / 8; ++s) {
            for (std::size_t y = 0; y < height; ++y) {
                std::uint8_t byte = 0;
                for (std::size_t bit = 0; bit < 8 && s * 8 + bit < width; ++bit) {
                    if (g->pixels[y * width + s * 8 + bit] != 0) {
                        byte |= static_cast<std::uint8_t>(0x80u >> bit);
                    }
                }
                w.u8(byte);
            }
        }
    }
    w.zeros(static_cast<std::size_t>(bitmapBytes) - (w.size() - bitmapStart));
    w.bytes(face);
    w.u8(0);
    return w.take();
}

void padTo16(ByteWriter& w) {
    // 1 to 16 zero bytes: a full 16 when already aligned.
    w.zeros(16 - w.size() % 16);
}

}  // namespace

const char* windowsFontExportRefusal(const Font& font, bool fon) {
    if (font.encoding == kEncodingAnsi) {
        return nullptr;
    }
    return fon ? kFonEncodingMessage : kFntEncodingMessage;
}

std::string suggestedWindowsFontName(const Font& font) {
    std::string name = font.faceName + std::to_string(font.height) + "h";
    std::replace(name.begin(), name.end(), ' ', '_');
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

FontHeaderInfo finishedFntHeader(const Font& font) {
    FontHeaderInfo h = font.fontHeader;
    if (h.headerFaceName.empty()) {
        h.headerFaceName = font.faceName;
    }
    if (h.headerCopyright.empty()) {
        h.headerCopyright = kDefaultFntCopyright;
    }
    const std::vector<std::uint8_t> copyright = ansiBytes(h.headerCopyright);
    std::memset(h.copyright, 0, sizeof h.copyright);
    std::memcpy(h.copyright, copyright.data(), std::min(copyright.size(), sizeof h.copyright));
    if (font.count() == 0) {
        return h;
    }
    h.firstChar = static_cast<std::uint8_t>(font.codeAt(0) & 0xFF);
    h.lastChar = static_cast<std::uint8_t>(font.codeAt(font.lastIndex()) & 0xFF);
    if (h.defaultChar < h.firstChar || h.defaultChar > h.lastChar) {
        h.defaultChar = h.firstChar;
    }
    if (h.breakChar < h.firstChar || h.breakChar > h.lastChar) {
        h.breakChar = h.firstChar;
    }
    h.pixHeight = font.height;
    h.points = static_cast<std::uint16_t>(std::abs(int{font.height}) * 72 / kScreenDpi);
    h.ascent = static_cast<std::uint16_t>(font.ascent);
    if (h.internalLeading == 0) {
        h.internalLeading = static_cast<std::uint16_t>(font.height - font.ascent);
    }
    // The internal leading is room inside the ascent: a larger one (a font whose ascent is
    // under half its height, or an ascent lowered since the value was set) would make a file
    // that readers, this program's among them, refuse.
    h.internalLeading = std::min<std::uint16_t>(h.internalLeading, h.ascent);
    if (h.externalLeading == 0) {
        h.externalLeading = static_cast<std::uint16_t>(font.ascent);
    }
    h.pixWidth = font.fixedWidth;
    if (font.fixedWidth != 0) {
        h.avgWidth = font.fixedWidth;
        h.maxWidth = font.fixedWidth;
        h.pitchAndFamily = static_cast<std::uint8_t>((h.pitchAndFamily & 0xF0) | 2);
    } else {
        const Glyph* x = glyphOfCode(font, 0x58);
        if (x == nullptr) {
            x = glyphOfCode(font, font.codeAt(0));
        }
        h.avgWidth = x != nullptr ? x->width : 0;
        h.maxWidth = font.maxWidth;
        h.pitchAndFamily = static_cast<std::uint8_t>((h.pitchAndFamily & 0xF0) | 1);
    }
    return h;
}

std::vector<std::uint8_t> fntBytes(const Font& font) {
    try {
        return buildFnt(font);
    } catch (const std::bad_alloc&) {
        throw FileError(FileError::Kind::Io, kNotEnoughMemoryMessage);
    } catch (const std::length_error&) {
        throw FileError(FileError::Kind::Io, kNotEnoughMemoryMessage);
    }
}

std::vector<std::uint8_t> fonBytes(const Font& font) {
    std::vector<std::uint8_t> fnt;
    try {
        fnt = fntBytes(font);
    } catch (const FileError& e) {
        throw FileError(FileError::Kind::Io, std::string(kTempFntFailedMessage) + ": " + e.what());
    }
    const FontHeaderInfo h = finishedFntHeader(font);
    constexpr std::size_t kNe = 0x80;

    ByteWriter w;
    // MZ header.
    w.u8('M');
    w.u8('Z');
    w.u16(0x00F4);  // bytes in the last page
    w.u16(1);       // pages
    w.u16(0);       // relocations
    w.u16(4);       // header paragraphs
    w.u16(0);       // minimum extra paragraphs
    w.u16(0xFFFF);  // maximum extra paragraphs
    w.u16(0);       // SS
    w.u16(0x00B8);  // SP
    w.u16(0);       // checksum, filled at the end
    w.u16(0);       // IP
    w.u16(0);       // CS
    w.u16(0x0040);  // relocation table
    w.zeros(0x3C - w.size());
    w.u32(kNe);
    // DOS stub.
    for (std::uint8_t b :
         {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21}) {
        w.u8(b);
    }
    for (char c : std::string_view("This program cannot be run in DOS mode.\r\n$")) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    w.zeros(kNe - w.size());
    // NE header.
    w.u8('N');
    w.u8('E');
    w.u8(5);            // linker version
    w.u8(1);            // linker revision
    w.u16(0);           // 0x04 entry table offset, filled later
    w.u16(2);           // 0x06 entry table length
    w.u32(0x9938BC66);  // 0x08 checksum, replaced at the end
    w.u16(0x8300);      // 0x0C flags
    w.u16(0);           // automatic data segment
    w.u16(0);           // heap
    w.u16(0);           // stack
    w.u32(0);           // CS:IP
    w.u32(0);           // SS:SP
    w.u16(0);           // segments
    w.u16(0);           // module references
    w.u16(0);           // 0x20 non-resident name table length, filled later
    w.u16(64);          // 0x22 segment table
    w.u16(64);          // 0x24 resource table
    w.u16(0);           // 0x26 resident name table, filled later
    w.u16(0);           // 0x28 module reference table, filled later
    w.u16(0);           // 0x2A imported name table, filled later
    w.u32(0);           // 0x2C non-resident name table file position, filled later
    w.u16(0);           // movable entries
    w.u16(4);           // alignment shift
    w.u16(0);           // resource segments
    w.u8(2);            // target: Windows
    w.u8(0);            // other flags
    w.zeros(0x3E - (w.size() - kNe));
    w.u16(0x030A);  // expected Windows version
    // Resource table.
    w.u16(4);
    w.u16(0x8007);  // FONTDIR
    w.u16(1);
    w.u32(0);
    const std::size_t fontDirEntry = w.size();
    w.u16(0);
    w.u16(0);
    w.u16(0x0C50);
    w.u16(44);  // name offset: "FONTDIR" below
    w.u16(0);
    w.u16(0);
    w.u16(0x8008);  // FONT
    w.u16(1);
    w.u32(0);
    const std::size_t fontEntry = w.size();
    w.u16(0);
    w.u16(0);
    w.u16(0x1C30);
    w.u16(0x8001);
    w.u16(0);
    w.u16(0);
    w.u16(0);
    w.u8(7);
    for (char c : std::string_view("FONTDIR")) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    // Resident name table.
    const std::size_t residentNames = w.size();
    w.u8(7);
    for (char c : std::string_view("FONTRES")) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    w.u16(0);
    w.u8(0);
    // Entry table.
    const std::size_t entryTable = w.size();
    w.u16(0);
    // Non-resident name table: the description (a length byte limits it to 255 bytes).
    const std::size_t nonResident = w.size();
    std::vector<std::uint8_t> description =
        ansiBytes("FONTRES 100,96,96 : " + h.headerFaceName + " (VGA res)");
    if (description.size() > 255) {
        description.resize(255);
    }
    w.u8(static_cast<std::uint8_t>(description.size()));
    w.bytes(description);
    w.u16(0);
    w.u8(0);
    const std::size_t nonResidentLength = w.size() - nonResident;
    padTo16(w);
    w.patchU16(kNe + 0x04, static_cast<std::uint16_t>(entryTable - kNe));
    w.patchU16(kNe + 0x28, static_cast<std::uint16_t>(entryTable - kNe));
    w.patchU16(kNe + 0x2A, static_cast<std::uint16_t>(entryTable - kNe));
    w.patchU16(kNe + 0x20, static_cast<std::uint16_t>(nonResidentLength));
    w.patchU16(kNe + 0x26, static_cast<std::uint16_t>(residentNames - kNe));
    w.patchU32(kNe + 0x2C, static_cast<std::uint32_t>(nonResident));

    // FONTDIR resource: one font, ordinal 1, the first 109 header bytes, 4 zero bytes, an
    // empty device name and the face name (its zero comes with the padding).
    const std::size_t fontDir = w.size();
    w.u16(1);
    w.u16(1);
    w.bytes(std::span<const std::uint8_t>(fnt.data(), 109));
    w.u32(0);
    w.u8(0);
    w.bytes(ansiBytes(h.headerFaceName));
    padTo16(w);
    w.patchU16(fontDirEntry, static_cast<std::uint16_t>(fontDir / 16));
    w.patchU16(fontDirEntry + 2, static_cast<std::uint16_t>((w.size() - fontDir) / 16));

    // FONT resource. Its position and length are counted in 16-byte units in 16 bits.
    const std::size_t fontAt = w.size();
    const std::size_t fntSize = fnt.size();
    if (fontAt / 16 > 0xFFFF || (fntSize + 15) / 16 > 0xFFFF) {
        tooLarge("the font resource does not fit in a 16-bit library");
    }
    w.bytes(fnt);
    padTo16(w);
    w.patchU16(fontEntry, static_cast<std::uint16_t>(fontAt / 16));
    w.patchU16(fontEntry + 2, static_cast<std::uint16_t>((fntSize + 15) / 16));

    // Checksums over the bytes the MZ header describes (last-page + (pages - 1) x 512).
    std::vector<std::uint8_t>& bytes = w.data();
    const std::size_t lastPage = bytes[2] | (bytes[3] << 8);
    const std::size_t pages = bytes[4] | (bytes[5] << 8);
    const std::size_t covered = lastPage == 0 ? pages * 512 : lastPage + (pages - 1) * 512;
    std::uint16_t sum16 = 0;
    for (std::size_t i = 0; i < covered; i += 2) {
        sum16 = static_cast<std::uint16_t>(
            sum16 + (i + 1 < covered ? bytes[i] | (bytes[i + 1] << 8) : bytes[i]));
    }
    w.patchU16(0x12, sum16);
    std::uint32_t sum32 = 0;
    std::size_t i = 0;
    for (; i + 4 <= covered; i += 4) {
        if (i == kNe + 0x08) {
            continue;  // the checksum field itself
        }
        sum32 += std::uint32_t{bytes[i]} | (std::uint32_t{bytes[i + 1]} << 8) |
                 (std::uint32_t{bytes[i + 2]} << 16) | (std::uint32_t{bytes[i + 3]} << 24);
    }
    std::uint32_t rest = 0;
    for (std::size_t k = 0; i + k < covered; ++k) {
        rest |= std::uint32_t{bytes[i + k]} << (8 * k);
    }
    w.patchU32(kNe + 0x08, sum32 + rest);
    return w.take();
}

namespace {

FontWriteResult writeWith(const std::string& path, std::vector<std::uint8_t> (*build)(const Font&),
                          const Font& font) {
    FontWriteResult result;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = build(font);
    } catch (const FileError& e) {
        result.ok = false;
        const std::string what = e.what();
        result.message = kFontTooLargeMessage;
        for (const char* m : {kTempFntFailedMessage, kNotEnoughMemoryMessage}) {
            if (what.rfind(m, 0) == 0) {
                result.message = m;
            }
        }
        result.detail = what;
        return result;
    }
    try {
        writeFileAtomically(path, bytes);
    } catch (const FileError& e) {
        // A destination that cannot be written shows nothing.
        result.ok = false;
        result.detail = e.what();
    }
    return result;
}

}  // namespace

FontWriteResult writeFnt(const Font& font, const std::string& path) {
    return writeWith(path, &fntBytes, font);
}

FontWriteResult writeFon(const Font& font, const std::string& path) {
    // The .fnt image is made in memory rather than in a temporary file; when it cannot be
    // made, the message that reports a failed temporary .fnt is shown.
    return writeWith(path, &fonBytes, font);
}

}  // namespace typeloom
