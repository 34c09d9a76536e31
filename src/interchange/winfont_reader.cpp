#include "interchange/winfont_reader.h"

#include <algorithm>
#include <cstring>

#include "charset/code_pages.h"
#include "charset/encodings.h"
#include "common/byte_io.h"
#include "common/text.h"
#include "interchange/bdf_reader.h"
#include "interchange/imported_font.h"
#include "model/font.h"

namespace typeloom {

namespace {

constexpr std::uint16_t kVersion2 = 0x0200;
constexpr std::uint16_t kVersion3 = 0x0300;
constexpr std::uint16_t kMz = 0x5A4D;
constexpr std::uint16_t kNe = 0x454E;
constexpr std::uint16_t kFontType = 8;
// Alignment shifts beyond this would move a resource past any file the reader accepts.
constexpr std::uint16_t kMaxAlignmentShift = 24;

[[noreturn]] void refuse(const std::string& message, std::size_t offset) {
    throw FileError(FileError::Kind::BadFormat, message, offset);
}

bool isFntVersion(std::uint16_t v) {
    return v == kVersion2 || v == kVersion3;
}

// 8-bit text up to its first zero byte (or the end of the span), as UTF-8.
std::string eightBitText(std::span<const std::uint8_t> bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return utf16ToUtf8(ansiToUtf16(bytes.first(static_cast<std::size_t>(end - bytes.begin()))));
}

}  // namespace

std::size_t findFontResource(std::span<const std::uint8_t> file) {
    ByteReader r(file);
    const std::uint16_t first = r.u16();
    if (isFntVersion(first)) {
        return 0;
    }
    if (first != kMz) {
        refuse("the file is neither a font resource nor an \"MZ\" library", 0);
    }
    r.seek(0x3C);
    const std::uint32_t neOffset = r.u32();
    if (neOffset > file.size()) {
        refuse("the new-header position lies beyond the end of the file", 0x3C);
    }
    r.seek(neOffset);
    const std::uint16_t signature = r.u16();
    if (signature != kNe) {
        refuse(signature == 0x4550 ? "a 32-bit (\"PE\") library holds no 16-bit font resources"
                                   : "the library has no \"NE\" header",
               neOffset);
    }
    r.seek(std::size_t{neOffset} + 0x24);
    const std::size_t tableOffset = std::size_t{neOffset} + r.u16();
    r.seek(tableOffset);
    const std::uint16_t shift = r.u16();
    if (shift > kMaxAlignmentShift) {
        refuse("the resource alignment shift " + std::to_string(shift) + " is too large",
               tableOffset);
    }
    // Every type block moves the walk forward by at least 8 bytes, so the walk ends at the
    // end of the file at the latest.
    for (;;) {
        const std::size_t blockOffset = r.offset();
        const std::uint16_t type = r.u16();
        if (type == 0) {
            refuse("the library holds no FONT resource", blockOffset);
        }
        const std::uint16_t count = r.u16();
        r.skip(4);
        r.requireItems(count, 12, "resource entries");
        if ((type & 0x0FFF) != kFontType) {
            r.skip(std::size_t{count} * 12);
            continue;
        }
        if (count == 0) {
            refuse("the FONT resource type lists no resource", blockOffset);
        }
        const std::size_t entryOffset = r.offset();
        const std::uint64_t position = std::uint64_t{r.u16()} << shift;
        if (position + 2 > file.size()) {
            refuse("the first FONT resource lies beyond the end of the file", entryOffset);
        }
        const auto at = static_cast<std::size_t>(position);
        r.seek(at);
        if (!isFntVersion(r.u16())) {
            refuse("the first FONT resource is not a version 2.0 or 3.0 font", at);
        }
        return at;
    }
}

WindowsFontResource parseWindowsFontResource(std::span<const std::uint8_t> file) {
    const std::size_t start = findFontResource(file);
    ByteReader r(file);
    r.seek(start);
    WindowsFontResource res;
    FontHeaderInfo& h = res.header;
    h.version = r.u16();
    const std::size_t headerSize = h.version == kVersion3 ? kFntHeaderSize3 : kFntHeaderSize2;
    if (r.remaining() + 2 < headerSize) {
        throw FileError(FileError::Kind::EndOfFile, "the font header is cut short", start);
    }
    h.size = r.u32();
    std::memcpy(h.copyright, r.bytes(60).data(), 60);
    h.type = r.u16();
    r.u16();  // dfPoints: replaced by the points of the pixel height
    h.vertRes = r.u16();
    h.horizRes = r.u16();
    h.ascent = r.u16();
    h.internalLeading = r.u16();
    h.externalLeading = r.u16();
    h.italic = r.u8();
    h.underline = r.u8();
    h.strikeOut = r.u8();
    h.weight = r.u16();
    h.charSet = r.u8();
    h.pixWidth = r.u16();
    h.pixHeight = r.u16();
    h.pitchAndFamily = r.u8();
    h.avgWidth = r.u16();
    h.maxWidth = r.u16();
    h.firstChar = r.u8();
    h.lastChar = r.u8();
    h.defaultChar = r.u8();
    h.breakChar = r.u8();
    h.widthBytes = r.u16();
    h.device = r.u32();
    h.face = r.u32();
    h.bitsPointer = r.u32();
    h.bitsOffset = r.u32();
    h.points = static_cast<std::uint16_t>(std::size_t{h.pixHeight} * 72 / kScreenDpi);

    auto check = [&](bool ok, const std::string& what) {
        if (!ok) {
            refuse("the font header's " + what, start);
        }
    };
    check(h.points < 1000, "pixel height " + std::to_string(h.pixHeight) + " is too large");
    check(h.vertRes < 1000, "vertical resolution is 1000 or more");
    check(h.horizRes < 1000, "horizontal resolution is 1000 or more");
    check(h.ascent < 1000, "ascent is 1000 or more");
    check(h.ascent <= h.pixHeight, "ascent is larger than the pixel height");
    check(h.ascent >= h.internalLeading, "ascent is smaller than the internal leading");
    check(h.externalLeading < 1000, "external leading is 1000 or more");
    check(h.version != kVersion2 || h.bitsOffset <= 0x10000, "bits offset is beyond 64 KiB");
    // A font without rows has no pixels to hold; the font record needs at least one.
    check(h.pixHeight > 0, "pixel height is 0");
    check(h.firstChar <= h.lastChar, "first character comes after its last character");
    check(h.size >= headerSize, "size is smaller than the header");
    if (h.size > file.size() - start) {
        throw FileError(FileError::Kind::EndOfFile,
                        "the font resource is " + std::to_string(h.size) +
                            " bytes long but the file holds only " +
                            std::to_string(file.size() - start) + " from its start",
                        start);
    }

    // Every further read stays inside the resource; offsets count from its start.
    const std::span<const std::uint8_t> resource = file.subspan(start, h.size);
    ByteReader rr(resource);
    if (h.face != 0) {
        if (h.face >= resource.size()) {
            refuse("the face name lies beyond the end of the font resource", start);
        }
        h.headerFaceName = eightBitText(resource.subspan(h.face));
    }
    h.headerCopyright = eightBitText(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(h.copyright), sizeof h.copyright));

    rr.seek(headerSize);
    const int count = h.lastChar - h.firstChar + 1;
    const std::size_t entrySize = h.version == kVersion3 ? 6 : 4;
    rr.requireItems(static_cast<std::uint64_t>(count), entrySize, "glyph table");
    std::uint64_t pixels = 0;
    for (int k = 0; k < count; ++k) {
        const std::size_t entryAt = rr.offset();
        const std::uint16_t width = rr.u16();
        const std::uint32_t offset = h.version == kVersion3 ? rr.u32() : rr.u16();
        if (width == 0) {
            continue;
        }
        const std::uint64_t stripes = (std::uint64_t{width} + 7) / 8;
        const std::uint64_t size = stripes * h.pixHeight;
        if (offset > resource.size() || size > resource.size() - offset) {
            throw FileError(FileError::Kind::EndOfFile,
                            "the bitmap of character " + std::to_string(h.firstChar + k) +
                                " lies beyond the end of the font resource",
                            start + entryAt);
        }
        pixels += std::uint64_t{width} * h.pixHeight;
        if (pixels > kMaxImportedPixels) {
            refuse(
                "the characters need more than " + std::to_string(kMaxImportedPixels) + " pixels",
                start + entryAt);
        }
        WindowsFontResource::Character c;
        c.code = static_cast<std::uint16_t>(h.firstChar + k);
        c.width = width;
        c.pixels.assign(std::size_t{width} * h.pixHeight, 0);
        // Column stripes of 8 pixels, one byte per row; bit 7 is the stripe's leftmost pixel.
        // Bits of the last stripe beyond the width are ignored.
        const std::uint8_t* bitmap = resource.data() + offset;
        for (std::size_t y = 0; y < h.pixHeight; ++y) {
            for (std::size_t x = 0; x < width; ++x) {
                if ((bitmap[(x / 8) * h.pixHeight + y] & (0x80u >> (x % 8))) != 0) {
                    c.pixels[y * width + x] = 1;
                }
            }
        }
        res.characters.push_back(std::move(c));
    }
    if (res.characters.empty()) {
        refuse("the font resource holds no character of non-zero width", start);
    }
    return res;
}

WindowsFontResource readWindowsFontResource(const std::string& path) {
    return parseWindowsFontResource(readWholeFile(path, kMaxImportFileBytes));
}

void buildFromWindowsResource(const WindowsFontResource& res, Font& font) {
    const FontHeaderInfo& h = res.header;
    font.clearGlyphs();
    font.fontHeader = h;
    font.fontHeader.textsOfThisFont = true;

    LogFont lf;
    lf.height = h.pixHeight;
    lf.width = h.pixWidth;
    lf.weight = h.weight;
    lf.italic = h.italic;
    lf.underline = h.underline;
    lf.strikeOut = h.strikeOut;
    lf.charSet = h.charSet;
    lf.pitchAndFamily = h.pitchAndFamily;
    std::u16string face = utf8ToUtf16(h.headerFaceName);
    if (face.size() > kLogFontFaceNameMax) {
        face.resize(kLogFontFaceNameMax);
    }
    lf.faceName = utf16ToUtf8(face);
    font.setSourceFont(lf);

    font.faceName = h.headerFaceName;
    font.height = h.pixHeight;
    font.ascent = static_cast<std::int16_t>(h.ascent);
    font.setBitsPerPixel(1);
    font.charSet = h.charSet;
    font.setEncoding(kEncodingAnsi);

    // Keys: the code's Unicode value in the font's code page. Codes the page gives no
    // character (a lone lead byte of a double-byte page, an unknown page) or whose value an
    // earlier code already has get U+F700 + code, as undefined bytes of single-byte pages do;
    // without this two codes would share one glyph.
    const int codePage = charsetToCodePage(h.charSet);
    std::vector<bool> used(0x10000, false);
    std::vector<int> keyOfCode(256, -1);
    for (const WindowsFontResource::Character& c : res.characters) {
        std::uint16_t u = codeToUnicode(codePage, c.code);
        const bool none = u == 0xFFFD || (u == 0 && c.code != 0);
        if (none || used[u]) {
            u = static_cast<std::uint16_t>(0xF700 + c.code);
            if (used[u]) {
                continue;  // cannot happen with the pages known: private-use values are free
            }
        }
        used[u] = true;
        keyOfCode[c.code] = u;
        font.codeList.push_back(c.code);
        font.unicodeList.push_back(u);
        font.glyphs.insert(u, Glyph(u, c.width, c.pixels));
    }

    // A non-zero pixel width makes a fixed-width font only when every character has it;
    // otherwise the font is variable-width, so that the fixed width never contradicts the
    // characters.
    const bool allFixed = std::all_of(res.characters.begin(), res.characters.end(),
                                      [&](const auto& c) { return c.width == h.pixWidth; });
    font.fixedWidth = allFixed ? h.pixWidth : 0;
    font.updateMaxWidth();
    font.charTable.buildFromUnicodeList(font.unicodeList, h.charSet, kEncodingAnsi);
    // The table ties each listed code to its key; a code the font lacks whose value is a
    // listed key stays disabled, so enabling characters never lists one glyph twice.
    CodeMap& map = font.charTable.committed;
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<std::uint16_t>(code);
        if (keyOfCode[c] >= 0) {
            map.set(c, {static_cast<std::uint16_t>(keyOfCode[c]), true, true});
        } else if (map.contains(c) && map.get(c).enabled) {
            CodeEntry e = map.get(c);
            e.enabled = false;
            map.set(c, e);
        }
    }
    font.charTable.editing = font.charTable.committed;
    font.fromSystemFont = false;
}

}  // namespace typeloom
