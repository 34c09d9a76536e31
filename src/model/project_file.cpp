#include "model/project_file.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "charset/code_pages.h"
#include "charset/encodings.h"
#include "common/atomic_file.h"
#include "common/bulk_data.h"
#include "common/progress_sink.h"
#include "common/text.h"
#include "model/font.h"

namespace typeloom {

namespace {

constexpr std::uint8_t kMagicV3[4] = {'F', 'D', 'C', 'L'};
constexpr std::uint8_t kMagicV20[4] = {'N', 'O', 'F', 'W'};
constexpr std::uint16_t kSubVersion = 0x0200;
constexpr const char* kVer20Copyright = "Copyright 2014 by ...";

// Glyph walks longer than these show the "%d of %d" progress.
constexpr std::size_t kGlyphProgressThreshold = 256;
constexpr std::size_t kTableProgressThreshold = 5120;

TYPELOOM_BULK_DATA void writeWordList(ByteWriter& w, const std::vector<std::uint16_t>& list) {
    writeArchiveCount(w, static_cast<std::uint32_t>(list.size()));
    for (std::uint16_t v : list) {
        w.u16(v);
    }
}

TYPELOOM_BULK_DATA std::vector<std::uint16_t> readWordList(ByteReader& r, const char* what) {
    std::uint32_t n = readArchiveCount(r);
    r.requireItems(n, 2, what);
    const std::span<const std::uint8_t> raw = r.bytes(std::size_t{n} * 2);
    std::vector<std::uint16_t> list(n);
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i] = static_cast<std::uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    }
    return list;
}

TYPELOOM_BULK_DATA void writeGlyph(ByteWriter& w, const Glyph& g) {
    w.u16(g.code);
    w.u16(g.width);
    writeArchiveCount(w, static_cast<std::uint32_t>(g.pixels.size()));
    w.bytes(g.pixels);
}

// Reads a glyph record. Pixel values other than 0 are ink (this edition is 1 bit deep).
// Stores 1 for every non-zero byte of `in` and 0 for every zero byte, eight bytes at a time:
// folding each byte's high bits onto its lowest bit leaves 1 there exactly when the byte is
// not zero (the shifts carry bits of the next byte only into bits that are masked off).
TYPELOOM_BULK_DATA void copyAsPixels(std::span<const std::uint8_t> in, std::uint8_t* out) {
    constexpr std::uint64_t kLowBits = 0x0101010101010101u;
    std::size_t i = 0;
    for (; i + 8 <= in.size(); i += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, in.data() + i, 8);
        w |= w >> 4;
        w |= w >> 2;
        w |= w >> 1;
        w &= kLowBits;
        std::memcpy(out + i, &w, 8);
    }
    for (; i < in.size(); ++i) {
        out[i] = in[i] != 0 ? 1 : 0;
    }
}

TYPELOOM_BULK_DATA Glyph readGlyph(ByteReader& r) {
    Glyph g;
    g.code = r.u16();
    g.width = r.u16();
    std::uint32_t n = readArchiveCount(r);
    r.requireItems(n, 1, "glyph pixels");
    g.pixels.resize(n);
    copyAsPixels(r.bytes(n), g.pixels.data());
    return g;
}

// A listed glyph must hold exactly width x height pixels.
void requireGlyphSize(const ByteReader& r, const Glyph& g, std::uint16_t height) {
    if (g.pixels.size() != std::size_t{g.width} * height) {
        r.fail("glyph " + std::to_string(g.code) + " holds " + std::to_string(g.pixels.size()) +
               " pixels where width " + std::to_string(g.width) + " x height " +
               std::to_string(height) + " are needed");
    }
}

// A glyph outside the character lists may keep the row count of an earlier height: it is
// brought to the font's height (rows cut at the bottom or blank rows added) so that every
// glyph of the font has the same height. The blank rows are the only pixels a file does not
// hold byte for byte, so they may not take the font (fontPixels so far) beyond what the
// importers let a font hold, or twice the file's bytes for a larger font: a few bytes could
// otherwise ask for gigabytes.
void fitUnlistedGlyph(const ByteReader& r, Glyph& g, std::uint16_t height,
                      std::uint64_t fontPixels) {
    const std::size_t wanted = std::size_t{g.width} * height;
    if (g.pixels.size() == wanted) {
        return;
    }
    if (g.width == 0 || g.pixels.size() % g.width != 0) {
        requireGlyphSize(r, g, height);  // throws
    }
    const std::uint64_t limit =
        std::max<std::uint64_t>(kMaxFontPixels, 2 * std::uint64_t{r.size()});
    if (wanted > g.pixels.size() && fontPixels + wanted > limit) {
        r.fail("glyph " + std::to_string(g.code) + " would need " + std::to_string(wanted) +
               " pixels at the font's height of " + std::to_string(height) +
               " rows, taking the font beyond " + std::to_string(limit) + " pixels");
    }
    g.pixels.resize(wanted, 0);
}

void requireAscending(const ByteReader& r, const std::vector<std::uint16_t>& list, bool strict,
                      const char* what) {
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (strict ? list[i] <= list[i - 1] : list[i] < list[i - 1]) {
            r.fail(std::string(what) + " is not in ascending order");
        }
    }
}

struct Header {
    std::uint8_t magic[4];
    std::uint16_t version;
    std::uint16_t subVersion;
    std::uint32_t countHigh;
};

Header readHeader(ByteReader& r) {
    Header h{};
    auto magic = r.bytes(4);
    std::memcpy(h.magic, magic.data(), 4);
    h.version = r.u16();
    h.subVersion = r.u16();
    h.countHigh = r.u32();
    r.u32();  // reserved
    return h;
}

void writeHeader(ByteWriter& w, const std::uint8_t (&magic)[4], std::uint16_t version,
                 std::uint16_t subVersion, std::uint32_t countHigh) {
    w.bytes(magic);
    w.u16(version);
    w.u16(subVersion);
    w.u32(countHigh);
    w.u32(0);
}

// The font's cell: characters need at least one row, and the baseline lies within the cell
// (0 to height rows above its bottom). `offset` is where the height field starts in the file;
// the ascent follows it at `ascentOffset`.
void requireCell(std::size_t offset, std::size_t ascentOffset, std::uint16_t height,
                 std::int32_t ascent, bool hasCharacters) {
    if (height == 0 && hasCharacters) {
        throw FileError(FileError::Kind::BadFormat,
                        "the font height is 0 but the font has characters", offset);
    }
    if (ascent < 0 || ascent > height) {
        throw FileError(FileError::Kind::BadFormat,
                        "the ascent " + std::to_string(ascent) + " lies outside the height " +
                            std::to_string(height),
                        ascentOffset);
    }
}

void applyLogFont(Font& font, const LogFont& lf) {
    font.setSourceFont(lf);
    font.faceName = lf.faceName;
}

// The table's entries, six bytes each: the code (u16) and the packed entry (u32).
TYPELOOM_BULK_DATA void readTableEntries(ByteReader& r, std::uint32_t n, CodeMap& map,
                                         ProgressRun& run) {
    const std::size_t start = r.offset();
    const std::span<const std::uint8_t> raw = r.bytes(std::size_t{n} * 6);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = raw.data() + 6 * i;
        const auto code = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        const std::uint32_t packed = std::uint32_t{p[2]} | (std::uint32_t{p[3]} << 8) |
                                     (std::uint32_t{p[4]} << 16) | (std::uint32_t{p[5]} << 24);
        if (!CodeEntry::isWellFormed(packed)) {
            r.seek(start + 6 * (i + 1));  // the offset just past the entry
            r.fail("character table entry for code " + std::to_string(code) +
                   " has flags other than 0 and 1");
        }
        map.setPacked(code, packed);
        run.step();
    }
}

void readTableRecord(ByteReader& r, Font& font, ProgressSink& progress) {
    CharacterTable& table = font.charTable;
    table.codeOrder = readWordList(r, "character table code order");
    requireAscending(r, table.codeOrder, true, "the character table's code order");
    table.supportedSet = readWordList(r, "character table supported set");
    requireAscending(r, table.supportedSet, false, "the character table's supported set");
    std::uint32_t encoding = r.u32();
    std::uint32_t codePage = r.u32();
    std::uint32_t n = r.u32();
    r.requireItems(n, 6, "character table entries");
    table.committed.clear();
    table.committed.encoding = static_cast<int>(encoding);
    table.committed.codePage = static_cast<int>(codePage);
    ProgressRun run(progress, static_cast<int>(n), n > kTableProgressThreshold);
    readTableEntries(r, n, table.committed, run);
    table.editing = table.committed;
}

void readVersion3(ByteReader& r, const Header& header, Font& font, ProgressSink& progress) {
    LogFont lf = readLogFont(r);
    std::uint16_t pointSize = r.u16();
    std::uint16_t fixedWidth = r.u16();
    const std::size_t heightOffset = r.offset();
    std::uint16_t height = r.u16();
    std::uint16_t ascent = r.u16();
    std::uint32_t encodingWord = r.u32();
    std::uint32_t bits = encodingWord >> 16;
    if (bits != 1) {
        throw ProjectRefused{bits == 2 || bits == 4 || bits == 8 ? kAntialiasedMessage
                                                                 : kUnknownFileFormatMessage};
    }
    applyLogFont(font, lf);
    font.pointSize = static_cast<std::int16_t>(pointSize);
    font.fixedWidth = fixedWidth;
    font.height = height;
    font.ascent = static_cast<std::int16_t>(ascent);
    font.clearGlyphs();
    const std::uint16_t fileEncoding = static_cast<std::uint16_t>(encodingWord & 0xFFFF);
    if (!isValidEncoding(fileEncoding)) {
        r.fail("unknown encoding " + std::to_string(fileEncoding));
    }
    font.setEncoding(fileEncoding);
    font.setBitsPerPixel(bits);
    font.unicodeList = readWordList(r, "Unicode list");
    if (fileEncoding != kEncodingUnicode) {
        font.codeList = readWordList(r, "code list");
        if (font.codeList.size() != font.unicodeList.size()) {
            r.fail("the code list and the Unicode list differ in length");
        }
    } else {
        font.codeList = font.unicodeList;
    }
    requireAscending(r, font.codeList, true, "the code list");
    requireCell(heightOffset, heightOffset + 2, height, font.ascent, !font.unicodeList.empty());
    font.maxWidth = r.u16();
    const std::uint32_t glyphCount = (header.countHigh << 16) | r.u16();
    // Every glyph record needs at least 8 bytes (key, code, width, pixel count).
    r.requireItems(glyphCount, 8, "glyphs");
    if (glyphCount > 0x10000) {
        r.fail("the glyph count " + std::to_string(glyphCount) + " exceeds 65536");
    }

    std::vector<bool> listed(0x10000, false);
    for (std::uint16_t u : font.unicodeList) {
        listed[u] = true;
    }
    ProgressRun run(progress, static_cast<int>(glyphCount), glyphCount > kGlyphProgressThreshold);
    std::uint64_t pixels = 0;
    for (std::uint32_t i = 0; i < glyphCount; ++i) {
        std::uint16_t key = r.u16();
        Glyph g = readGlyph(r);
        if (listed[key]) {
            requireGlyphSize(r, g, height);
        } else {
            fitUnlistedGlyph(r, g, height, pixels);
        }
        pixels += g.pixels.size();
        font.glyphs.insert(key, std::move(g));
        run.step();
    }
    readTableRecord(r, font, progress);
}

void readVersion2(ByteReader& r, Font& font, ProgressSink& progress) {
    applyLogFont(font, readLogFont(r));
    font.pointSize = static_cast<std::int16_t>(r.u16());
    font.fixedWidth = r.u16();
    const std::size_t heightOffset = r.offset();
    font.height = r.u16();
    font.ascent = static_cast<std::int16_t>(r.u16());
    std::uint32_t encodingWord = r.u32();
    if (!isValidEncoding(encodingWord & 0xFFFF)) {
        r.fail("unknown encoding " + std::to_string(encodingWord & 0xFFFF));
    }
    // Characters missing from the file are rendered at the font's height.
    if (font.height > kMaxRenderHeight) {
        r.fail("the font height " + std::to_string(font.height) + " is larger than " +
               std::to_string(kMaxRenderHeight));
    }
    font.clearGlyphs();
    font.unicodeList = readWordList(r, "Unicode list");
    if (encodingWord != 1) {
        font.codeList = readWordList(r, "code list");
        if (font.codeList.size() != font.unicodeList.size()) {
            r.fail("the code list and the Unicode list differ in length");
        }
    } else {
        font.codeList = font.unicodeList;
    }
    // The file carries a code list whenever its encoding word is not 1 as a whole, also for a
    // font that stays Unicode (1 in the low half): such a font's codes are its Unicode values.
    if ((encodingWord & 0xFFFF) == kEncodingUnicode && font.codeList != font.unicodeList) {
        r.fail("the code list of a Unicode font differs from its Unicode list");
    }
    requireAscending(r, font.codeList, true, "the code list");
    requireCell(heightOffset, heightOffset + 2, font.height, font.ascent,
                !font.unicodeList.empty());
    font.setEncoding(kEncodingUnicode);
    r.requireItems(font.unicodeList.size(), 6, "glyphs");
    for (std::uint16_t u : font.unicodeList) {
        Glyph g = readGlyph(r);
        requireGlyphSize(r, g, font.height);
        font.glyphs.insert(u, std::move(g));
    }

    // Version 2 files keep no character table: it is rebuilt from the source font, every
    // listed value enabled and every other supported value rendered.
    const GlyphRenderer& renderer = font.renderer();
    const RenderMetrics m = renderer.metrics();
    CharacterTable& table = font.charTable;
    table.clear();
    table.supportedSet =
        CharacterTable::supportedSetOf(m.scalable, renderer.unicodeRanges(), m.charSet);
    table.committed.encoding = kEncodingUnicode;
    table.committed.codePage = charsetToCodePage(m.charSet);
    table.committed.setEveryCodeToItself();
    for (std::uint16_t u : table.supportedSet) {
        table.committed.set(u, {u, true, false});
    }
    for (std::uint16_t u : font.unicodeList) {
        table.committed.set(u, {u, true, true});
    }
    std::vector<bool> listed(0x10000, false);
    for (std::uint16_t u : font.unicodeList) {
        listed[u] = true;
    }
    std::vector<std::uint16_t> missing;
    for (std::uint16_t u : table.supportedSet) {
        if (!listed[u]) {
            missing.push_back(u);
        }
    }
    // A source face can support tens of thousands of characters, each up to kMaxRenderHeight
    // rows: a file of a few bytes must not make the reader render gigabytes. The face's widest
    // character bounds the work before any is drawn; the pixels drawn are counted as well, in
    // case a character comes out wider than the face says.
    const std::uint64_t widest =
        static_cast<std::uint64_t>(std::clamp(m.maxWidth, 1, kMaxRenderWidth));
    const auto tooMany = [&](std::uint64_t pixels) {
        r.fail("the source font would render " + std::to_string(missing.size()) +
               " characters of " + std::to_string(font.height) + " rows, more than " +
               std::to_string(kMaxFontPixels) + " pixels (" + std::to_string(pixels) +
               " at least)");
    };
    std::uint64_t pixels = 0;
    for (std::uint16_t u : font.unicodeList) {
        pixels += font.glyphs.find(u)->pixels.size();
    }
    if (const std::uint64_t estimate = pixels + missing.size() * widest * font.height;
        estimate > kMaxFontPixels) {
        tooMany(estimate);
    }
    {
        ProgressRun run(progress, static_cast<int>(missing.size()));
        for (std::uint16_t u : missing) {
            font.addRenderedGlyph(u);
            pixels += font.glyphs.find(u)->pixels.size();
            if (pixels > kMaxFontPixels) {
                tooMany(pixels);
            }
            run.step();
        }
    }
    // The table is keyed by Unicode value: its code order is the listed values, ascending
    // (a font of another encoding lists them in code order, which need not be ascending).
    table.codeOrder = font.unicodeList;
    std::sort(table.codeOrder.begin(), table.codeOrder.end());
    table.codeOrder.erase(std::unique(table.codeOrder.begin(), table.codeOrder.end()),
                          table.codeOrder.end());
    table.editing = table.committed;
    if ((encodingWord & 0xFFFF) != 1) {
        font.setEncoding(encodingWord & 0xFFFF);
    }
}

void readVersion20(ByteReader& r, Font& font) {
    applyLogFont(font, readLogFont(r));
    readArchiveString(r);  // font name: the LOGFONT's face name is used
    readArchiveString(r);  // copyright text
    FontHeaderInfo& h = font.fontHeader;
    h.firstChar = r.u8();
    h.lastChar = r.u8();
    h.defaultChar = r.u8();
    h.breakChar = r.u8();
    const std::size_t heightOffset = r.offset();
    h.pixHeight = r.u16();
    h.pixWidth = r.u16();
    h.ascent = r.u16();
    h.points = r.u16();
    h.internalLeading = r.u16();
    h.externalLeading = r.u16();
    h.italic = r.u8();
    h.underline = r.u8();
    h.strikeOut = r.u8();
    h.strikeOut = r.u8();  // written twice; the second copy wins
    h.weight = r.u16();
    h.charSet = r.u8();
    h.pitchAndFamily = r.u8();
    h.version = r.u16();
    h.type = r.u16();
    h.vertRes = r.u16();
    h.horizRes = r.u16();
    h.avgWidth = r.u16();
    h.maxWidth = r.u16();
    const int codePage = static_cast<int>(r.u32());

    font.clearGlyphs();
    font.pointSize = static_cast<std::int16_t>(h.points);
    font.fixedWidth = h.pixWidth;
    font.height = h.pixHeight;
    font.ascent = static_cast<std::int16_t>(h.ascent);
    requireCell(heightOffset, heightOffset + 4, font.height, font.ascent,
                h.firstChar <= h.lastChar);
    for (int c = h.firstChar; c <= h.lastChar; ++c) {
        font.codeList.push_back(static_cast<std::uint16_t>(c));
        font.unicodeList.push_back(codeToUnicode(codePage, static_cast<std::uint16_t>(c)));
    }
    r.requireItems(font.codeList.size(), 6, "glyphs");
    for (std::uint16_t u : font.unicodeList) {
        Glyph g = readGlyph(r);
        requireGlyphSize(r, g, font.height);
        font.glyphs.insert(u, std::move(g));
    }
    // The last glyph ends the file: anything after it is damage, not data of this layout.
    if (!r.atEnd()) {
        r.fail("the file goes on after the last glyph (" + std::to_string(r.remaining()) +
               " more byte(s))");
    }
    font.setBitsPerPixel(1);
    font.setEncoding(kEncodingAnsi);
    // The table is built in the code page the file names, the one its Unicode values came
    // from.
    font.charTable.buildFromUnicodeListInCodePage(font.unicodeList, codePage, kEncodingAnsi);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Record codecs

void writeArchiveCount(ByteWriter& w, std::uint32_t count) {
    if (count < 0xFFFF) {
        w.u16(static_cast<std::uint16_t>(count));
    } else {
        w.u16(0xFFFF);
        w.u32(count);
    }
}

std::uint32_t readArchiveCount(ByteReader& r) {
    std::uint16_t n = r.u16();
    return n != 0xFFFF ? n : r.u32();
}

namespace {

void writeStringLength(ByteWriter& w, std::uint32_t n) {
    if (n < 0xFF) {
        w.u8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        w.u8(0xFF);
        w.u16(static_cast<std::uint16_t>(n));
    } else {
        w.u8(0xFF);
        w.u16(0xFFFF);
        w.u32(n);
    }
}

// Reads a string length; sets `unicode` when the Unicode marker precedes it.
std::uint32_t readStringLength(ByteReader& r, bool& unicode) {
    unicode = false;
    std::uint8_t b = r.u8();
    if (b < 0xFF) {
        return b;
    }
    std::uint16_t w = r.u16();
    if (w == 0xFFFE) {
        unicode = true;
        b = r.u8();
        if (b < 0xFF) {
            return b;
        }
        w = r.u16();
    }
    if (w < 0xFFFF) {
        return w;
    }
    return r.u32();
}

}  // namespace

void writeArchiveString(ByteWriter& w, std::string_view utf8) {
    std::u16string units = utf8ToUtf16(utf8);
    w.u8(0xFF);
    w.u16(0xFFFE);
    writeStringLength(w, static_cast<std::uint32_t>(units.size()));
    for (char16_t u : units) {
        w.u16(u);
    }
}

std::string readArchiveString(ByteReader& r) {
    bool unicode = false;
    std::uint32_t n = readStringLength(r, unicode);
    if (unicode) {
        r.requireItems(n, 2, "string");
        std::u16string units(n, u'\0');
        for (char16_t& u : units) {
            u = r.u16();
        }
        return utf16ToUtf8(units);
    }
    r.requireItems(n, 1, "string");
    return utf16ToUtf8(ansiToUtf16(r.bytes(n)));
}

void writeLogFont(ByteWriter& w, const LogFont& f) {
    w.i32(f.height);
    w.i32(f.width);
    w.i32(f.escapement);
    w.i32(f.orientation);
    w.i32(f.weight);
    for (std::uint8_t b : {f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision,
                           f.clipPrecision, f.quality, f.pitchAndFamily}) {
        w.u8(b);
    }
    std::u16string name = utf8ToUtf16(f.faceName);
    if (name.size() > kLogFontFaceNameMax) {
        name.resize(kLogFontFaceNameMax);
    }
    writeArchiveString(w, utf16ToUtf8(name));
}

LogFont readLogFont(ByteReader& r) {
    LogFont f;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32();
    f.orientation = r.i32();
    f.weight = r.i32();
    f.italic = r.u8();
    f.underline = r.u8();
    f.strikeOut = r.u8();
    f.charSet = r.u8();
    f.outPrecision = r.u8();
    f.clipPrecision = r.u8();
    f.quality = r.u8();
    f.pitchAndFamily = r.u8();
    std::u16string name = utf8ToUtf16(readArchiveString(r));
    if (name.size() > kLogFontFaceNameMax) {
        name.resize(kLogFontFaceNameMax);
    }
    f.faceName = utf16ToUtf8(name);
    return f;
}

// ---------------------------------------------------------------------------------------------
// Names

bool isProjectFileName(std::string_view path) {
    if (path.size() < 5) {
        return false;
    }
    std::string_view tail = path.substr(path.size() - 4);
    for (std::size_t i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != kProjectExtension[i]) {
            return false;
        }
    }
    return true;
}

std::string suggestedProjectName(const Font& font) {
    std::string name = font.faceName + std::to_string(font.height) + "h";
    std::replace(name.begin(), name.end(), ' ', '_');
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// ---------------------------------------------------------------------------------------------
// Reading

std::uint16_t readProject(std::span<const std::uint8_t> bytes, Font& font, ProgressSink& progress) {
    ByteReader r(bytes);
    Header h = readHeader(r);
    const bool fdcl = std::memcmp(h.magic, kMagicV3, 4) == 0;
    const bool nofw = std::memcmp(h.magic, kMagicV20, 4) == 0;
    if (nofw) {
        if (h.version != kVersion20 || h.subVersion != kVersion20) {
            throw FileError(FileError::Kind::BadFormat, "unexpected file format", 4);
        }
        readVersion20(r, font);
        font.updateMaxWidth();
        return h.version;
    }
    const bool knownVersion =
        h.version == kVersion2 || h.version == kVersion3 || h.version == kVersion3b;
    if ((fdcl && (!knownVersion || h.subVersion != kSubVersion)) || (!fdcl && !knownVersion)) {
        // A file of another kind that merely carries a known version number is still read by
        // that number; anything else is not a project file.
        throw FileError(FileError::Kind::BadFormat, "unexpected file format", 4);
    }
    if (h.version == kVersion2) {
        readVersion2(r, font, progress);
        font.setBitsPerPixel(1);
    } else {
        readVersion3(r, h, font, progress);
    }
    font.updateMaxWidth();
    return h.version;
}

ProjectLoadResult loadProject(const std::string& path, Font& font, ProgressSink& progress) {
    ProjectLoadResult result;
    if (!isProjectFileName(path)) {
        result.status = ProjectLoadResult::Status::BadName;
        result.message = kNotAProjectMessage;
        return result;
    }
    Font fresh;
    fresh.inheritUnsavedState(font);
    try {
        std::vector<std::uint8_t> bytes = readWholeFile(path);
        result.version = readProject(bytes, fresh, progress);
    } catch (const FileError& e) {
        result.status = ProjectLoadResult::Status::Failed;
        result.message = describeReadFailure(path, e);
        return result;
    } catch (const ProjectRefused& refused) {
        result.status = ProjectLoadResult::Status::Refused;
        result.message = refused.message;
        result.closeMainWindow = true;
        return result;
    }
    font = std::move(fresh);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

// The table's entries in ascending code order, six bytes each, written in one sweep.
TYPELOOM_BULK_DATA void writeTableEntries(ByteWriter& w, const CodeMap& map) {
    std::vector<std::uint8_t>& out = w.data();
    std::size_t at = out.size();
    out.resize(at + map.size() * 6);
    map.forEachPacked([&](std::uint16_t code, std::uint32_t v) {
        std::uint8_t* p = out.data() + at;
        p[0] = static_cast<std::uint8_t>(code);
        p[1] = static_cast<std::uint8_t>(code >> 8);
        for (int k = 0; k < 4; ++k) {
            p[2 + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
        at += 6;
    });
}

}  // namespace

namespace {

// Glyph records are passed on to a file in blocks of about this size.
constexpr std::size_t kSaveBlock = std::size_t{1} << 20;

// The version 3 layout up to the first glyph record, for a font of glyphCount glyphs.
void writeProjectHead(const Font& font, std::uint32_t glyphCount, ByteWriter& w) {
    writeHeader(w, kMagicV3, kVersion3, kSubVersion, glyphCount >> 16);
    writeLogFont(w, font.sourceFont);
    w.u16(static_cast<std::uint16_t>(font.pointSize));
    w.u16(font.fixedWidth);
    w.u16(font.height);
    w.u16(static_cast<std::uint16_t>(font.ascent));
    w.u32((font.encoding & 0xFFFF) | (font.bitsPerPixel << 16));
    writeWordList(w, font.unicodeList);
    if (font.encoding != kEncodingUnicode) {
        writeWordList(w, font.codeList);
    }
    w.u16(font.maxWidth);
    w.u16(static_cast<std::uint16_t>(glyphCount & 0xFFFF));
}

void writeGlyphRecord(ByteWriter& w, std::uint16_t key, const Glyph& g) {
    w.u16(key);
    writeGlyph(w, g);
}

// The version 3 layout after the last glyph record: the character table.
void writeProjectTail(const Font& font, ByteWriter& w) {
    const CharacterTable& table = font.charTable;
    writeWordList(w, table.codeOrder);
    writeWordList(w, table.supportedSet);
    w.u32(font.encoding);
    w.u32(static_cast<std::uint32_t>(table.committed.codePage));
    w.u32(static_cast<std::uint32_t>(table.committed.size()));
    writeTableEntries(w, table.committed);
}

}  // namespace

std::vector<std::uint8_t> projectBytes(const Font& font) {
    ByteWriter w;
    std::size_t pixelBytes = 0;
    font.glyphs.forEach([&](std::uint16_t, const Glyph& g) { pixelBytes += g.pixels.size(); });
    w.reserve(256 + pixelBytes + font.glyphs.size() * 12 + font.unicodeList.size() * 4 +
              font.charTable.committed.size() * 6 + font.charTable.codeOrder.size() * 2 +
              font.charTable.supportedSet.size() * 2);
    writeProjectHead(font, static_cast<std::uint32_t>(font.glyphs.size()), w);
    font.glyphs.forEach([&](std::uint16_t key, const Glyph& g) { writeGlyphRecord(w, key, g); });
    writeProjectTail(font, w);
    return w.take();
}

std::vector<std::uint8_t> projectBytesVer20(Font& font) {
    ByteWriter w;
    writeHeader(w, kMagicV20, kVersion20, kVersion20, 0);
    writeLogFont(w, font.sourceFont);
    font.syncHeaderInfo();
    const FontHeaderInfo& h = font.fontHeader;
    writeArchiveString(w, font.faceName);
    writeArchiveString(w, kVer20Copyright);
    w.u8(h.firstChar);
    w.u8(h.lastChar);
    w.u8(h.defaultChar);
    w.u8(h.breakChar);
    w.u16(h.pixHeight);
    w.u16(h.pixWidth);
    w.u16(h.ascent);
    w.u16(h.points);
    w.u16(h.internalLeading);
    w.u16(h.externalLeading);
    w.u8(h.italic);
    w.u8(h.underline);
    w.u8(h.strikeOut);
    w.u8(h.strikeOut);
    w.u16(h.weight);
    w.u8(h.charSet);
    w.u8(h.pitchAndFamily);
    w.u16(h.version);
    w.u16(h.type);
    w.u16(h.vertRes);
    w.u16(h.horizRes);
    w.u16(h.avgWidth);
    w.u16(h.maxWidth);
    w.u32(static_cast<std::uint32_t>(charsetToCodePage(font.charSet)));

    Glyph blank;
    blank.init(0, 1, font.height);
    for (int c = h.firstChar; c <= h.lastChar; ++c) {
        const auto code = static_cast<std::uint16_t>(c);
        const Glyph* g = nullptr;
        int index = font.indexOfCode(code);
        if (index >= 0) {
            g = font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(index)));
        } else if (font.charTable.committed.contains(code)) {
            g = font.glyphs.find(font.charTable.committed.get(code).unicode);
        }
        Glyph record = g != nullptr ? *g : blank;
        record.code = code;
        writeGlyph(w, record);
    }
    return w.take();
}

// Written in blocks rather than built whole: a font of tens of thousands of characters is
// several megabytes, and the file takes them as they come.
void saveProject(const std::string& path, const Font& font) {
    ProjectStreamWriter writer(path);
    writer.begin(font, font.glyphs.size());
    font.glyphs.forEach([&](std::uint16_t key, const Glyph& g) { writer.glyph(key, g); });
    writer.finish(font);
}

ProjectStreamWriter::ProjectStreamWriter(const std::string& path) : m_file(path) {
    m_bytes.reserve(kSaveBlock + (std::size_t{1} << 16));
}

ProjectStreamWriter::~ProjectStreamWriter() = default;

void ProjectStreamWriter::begin(const Font& font, std::size_t glyphCount) {
    if (m_begun || glyphCount > 0xFFFFFFFFu) {
        throw std::logic_error("a project is begun once, with a 32-bit glyph count");
    }
    m_begun = true;
    m_expected = glyphCount;
    writeProjectHead(font, static_cast<std::uint32_t>(glyphCount), m_bytes);
    m_headSize = m_bytes.size();
}

void ProjectStreamWriter::glyph(std::uint16_t key, const Glyph& g) {
    if (!m_begun || m_count == m_expected || (m_count > 0 && key <= m_lastKey)) {
        throw std::logic_error("project glyphs come after begin, once each, keys ascending");
    }
    writeGlyphRecord(m_bytes, key, g);
    m_lastKey = key;
    ++m_count;
    if (m_bytes.size() >= kSaveBlock) {
        m_file.write(m_bytes.data());
        m_file.startWriteback();
        m_bytes.data().clear();
    }
}

// The head is written again from the finished font, so that the widths its glyphs decided (and
// anything else that changed) are what the file says; only its length may not have changed.
void ProjectStreamWriter::finish(const Font& font) {
    if (!m_begun || m_count != m_expected) {
        throw std::logic_error("a project is finished after all of its glyphs");
    }
    writeProjectTail(font, m_bytes);
    m_file.write(m_bytes.data());
    m_bytes.data().clear();
    ByteWriter head;
    writeProjectHead(font, static_cast<std::uint32_t>(m_expected), head);
    if (head.size() != m_headSize) {
        throw std::logic_error("the font's lists changed while it was being saved");
    }
    m_file.overwrite(0, head.data());
    m_file.commit();
}

void saveProjectVer20(const std::string& path, Font& font) {
    writeFileAtomically(path, projectBytesVer20(font));
}

}  // namespace typeloom
