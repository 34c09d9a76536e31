// Writes the seed corpora of the fuzz harnesses from fonts made with the core library:
//
//   make_fuzz_seeds OUT_DIR     (OUT_DIR/project_reader, OUT_DIR/table_text_reader)
//
// Each seed is a small file (well under 20 KB) that takes the readers down one of their paths:
// every project layout, a refused bit depth, truncations, and the text encodings a characters
// table file may use. Project seeds are made by the writers where one exists; the version 2
// layout, which is read but no longer written, is assembled from the shared record codecs.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "charset/character_table.h"
#include "charset/encodings.h"
#include "charset/table_text_file.h"
#include "common/byte_io.h"
#include "model/font.h"
#include "model/project_file.h"

namespace {

using namespace typeloom;
namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

void writeSeed(const fs::path& dir, const std::string& name, std::span<const std::uint8_t> bytes) {
    fs::create_directories(dir);
    const fs::path path = dir / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    std::cout << path.string() << " (" << bytes.size() << " bytes)\n";
}

Bytes truncated(const Bytes& bytes, std::size_t keep) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
}

// Puts a diagonal stroke of ink into every listed glyph, so that pixel data is not all zero.
void inkDiagonals(Font& font) {
    for (std::uint16_t u : font.unicodeList) {
        Glyph* g = font.glyphs.find(u);
        if (g == nullptr || g->width == 0) {
            continue;
        }
        for (std::size_t y = 0; y < font.height; ++y) {
            g->pixels[y * g->width + (y + u) % g->width] = 1;
        }
    }
}

// Replaces the character table by one holding only the listed codes (and two unmapped codes
// after them), so that fonts of the large encodings make small files.
void useSmallTable(Font& font) {
    CharacterTable& table = font.charTable;
    const int encoding = table.encoding();
    const int codePage = table.committed.codePage;
    table.clear();
    table.committed.encoding = encoding;
    table.committed.codePage = codePage;
    for (std::size_t i = 0; i < font.codeList.size(); ++i) {
        table.committed.set(font.codeList[i], {font.unicodeList[i], true, true});
    }
    const std::uint16_t after = font.codeList.empty() ? 0 : font.codeList.back();
    table.committed.set(static_cast<std::uint16_t>(after + 1), {0, false, false});
    table.committed.set(static_cast<std::uint16_t>(after + 2), {0x3000, true, false});
    table.codeOrder = font.codeList;
    table.supportedSet = font.unicodeList;
    std::sort(table.supportedSet.begin(), table.supportedSet.end());
    table.editing = table.committed;
}

Font newFont(int encoding, std::uint16_t first, std::uint16_t last, std::uint16_t width,
             std::uint16_t height, const std::string& name) {
    Font font;
    font.setEncoding(encoding);
    font.createFromScratch(first, last, width, height, name);
    inkDiagonals(font);
    return font;
}

// The version 2 layout: header, source font, metrics, encoding word, the Unicode list (and
// the code list unless the encoding word is 1), then one glyph per listed character.
Bytes version2File(std::uint32_t encodingWord, const std::vector<std::uint16_t>& unicodes,
                   const std::vector<std::uint16_t>& codes, std::uint16_t width,
                   std::uint16_t height) {
    ByteWriter w;
    for (char c : std::string_view("FDCL")) {
        w.u8(static_cast<std::uint8_t>(c));
    }
    w.u16(kVersion2);
    w.u16(0x0200);  // sub-version
    w.u32(0);       // high bits of the glyph count
    w.u32(0);       // reserved
    LogFont lf;
    lf.height = -static_cast<std::int32_t>(height);
    lf.weight = 400;
    lf.faceName = "Seed Two";
    writeLogFont(w, lf);
    w.u16(9);  // point size
    w.u16(width);
    w.u16(height);
    w.u16(static_cast<std::uint16_t>(height - 2));
    w.u32(encodingWord);
    writeArchiveCount(w, static_cast<std::uint32_t>(unicodes.size()));
    for (std::uint16_t u : unicodes) {
        w.u16(u);
    }
    if (encodingWord != 1) {
        writeArchiveCount(w, static_cast<std::uint32_t>(codes.size()));
        for (std::uint16_t c : codes) {
            w.u16(c);
        }
    }
    for (std::uint16_t u : unicodes) {
        w.u16(u);
        w.u16(width);
        writeArchiveCount(w, std::uint32_t{width} * height);
        for (std::uint32_t p = 0; p < std::uint32_t{width} * height; ++p) {
            w.u8(p % (width + 1) == 0 ? 1 : 0);
        }
    }
    return w.take();
}

void projectSeeds(const fs::path& dir) {
    // Version 3, encoding 0: the layout Save writes, with a full 256-code table.
    Font ansi = newFont(kEncodingAnsi, 'A', 'F', 5, 6, "Seed");
    const Bytes v3 = projectBytes(ansi);
    writeSeed(dir, "v3_ansi.tlf", v3);

    // Version 3 read alike (0x0320), variable widths, and a glyph that is not listed and has
    // fewer rows than the font (it is fitted to the font's height).
    Font variable = newFont(kEncodingAnsi, 0x20, 0x2F, 4, 7, "Seed Variable");
    for (std::uint16_t u = 0x20; u <= 0x2F; ++u) {
        const std::uint16_t width = static_cast<std::uint16_t>(1 + u % 6);
        variable.setGlyph(u, width, std::vector<std::uint8_t>(std::size_t{width} * 7, u & 1));
    }
    variable.glyphs.insert(0x2603, Glyph(0x2603, 3, std::vector<std::uint8_t>(3 * 4, 1)));
    variable.updateFixedWidth();
    variable.updateMaxWidth();
    Bytes v3b = projectBytes(variable);
    v3b[4] = static_cast<std::uint8_t>(kVersion3b & 0xFF);
    v3b[5] = static_cast<std::uint8_t>(kVersion3b >> 8);
    writeSeed(dir, "v3b_variable_width.tlf", v3b);

    // Version 3 of the other encodings, with tables cut down to the listed codes.
    Font unicode = newFont(kEncodingUnicode, 0x4E00, 0x4E07, 8, 8, "Seed CJK");
    useSmallTable(unicode);
    writeSeed(dir, "v3_unicode.tlf", projectBytes(unicode));

    Font sjis = newFont(kEncodingShiftJis, 0x8140, 0x8147, 8, 8, "Seed SJIS");
    useSmallTable(sjis);
    writeSeed(dir, "v3_shift_jis.tlf", projectBytes(sjis));

    // A font of another edition (2 bits per pixel) is refused.
    Font twoBits = newFont(kEncodingAnsi, 'A', 'B', 3, 4, "Seed Tonal");
    twoBits.setBitsPerPixel(2);
    writeSeed(dir, "v3_two_bits_refused.tlf", projectBytes(twoBits));

    // Version 2.0 (what Save As "Ver2.0" writes; encoding 0 only).
    Font old = newFont(kEncodingAnsi, 0x20, 0x7E, 4, 6, "Seed Old");
    const Bytes v20 = projectBytesVer20(old);
    writeSeed(dir, "v20_ansi.tlf", v20);

    // Version 2, with separate code and Unicode lists and with Unicode codes only.
    writeSeed(dir, "v2_ansi.tlf", version2File(0, {0x41, 0x42, 0x20AC}, {0x41, 0x42, 0x80}, 4, 5));
    writeSeed(dir, "v2_unicode.tlf", version2File(1, {0x30, 0x31, 0x3042}, {}, 5, 6));

    // Files cut short: inside the header, inside the glyphs, inside the table record.
    writeSeed(dir, "truncated_header.tlf", truncated(v3, 10));
    writeSeed(dir, "truncated_v3_glyphs.tlf", truncated(v3, v3.size() / 4));
    writeSeed(dir, "truncated_v3_table.tlf", truncated(v3, v3.size() - 7));
    writeSeed(dir, "truncated_v20.tlf", truncated(v20, v20.size() / 2));
}

// Table text seeds: the first byte picks the harness's table (0 encoding 0 A-Z, 1 Unicode,
// 2 Shift_JIS, 3 Hangul editing map, 4 encoding 0 with repeated characters).
Bytes tableSeed(std::uint8_t table, std::initializer_list<std::uint8_t> file) {
    Bytes bytes{table};
    bytes.insert(bytes.end(), file.begin(), file.end());
    return bytes;
}

void tableTextSeeds(const fs::path& dir) {
    writeSeed(dir, "ansi_ab_crlf", tableSeed(0, {'A', 'B', '\r', '\n'}));
    writeSeed(dir, "ansi_repeated_chars", tableSeed(4, {'B', 'A', 'B', 0xC1, 'Z'}));
    writeSeed(dir, "ansi_high_bytes",
              tableSeed(0, {0x80, 0x81, 0x8D, 0x9F, 0xA0, 0xC0, 0xE9, 0xFF, 0x00, 'Q'}));
    // UTF-16 LE with a byte-order mark: A, B, HIRAGANA A, a CJK ideograph.
    writeSeed(dir, "utf16_bom", tableSeed(1, {0xFF, 0xFE, 'A', 0, 'B', 0, 0x42, 0x30, 0x00, 0x4E}));
    // UTF-16 LE without a mark, recognised by its zero bytes; ends with half a unit.
    writeSeed(dir, "utf16_no_bom",
              tableSeed(2, {'A', 0, 0x42, 0x30, 0x01, 0x4E, 0x01, 0xFF, 0x7F}));
    // Without zero bytes, recognised by the reversed mark FE FF read as a unit.
    writeSeed(dir, "utf16_reversed_mark", tableSeed(1, {'A', 'B', 0xFE, 0xFF, 0x42, 0x30}));
    // Hangul syllables for the table whose editing map is Hangul.
    writeSeed(dir, "utf16_hangul", tableSeed(3, {0xFF, 0xFE, 0x00, 0xAC, 0x01, 0xAC, 'A', 0}));

    // A file as Save writes it, for the encoding 0 table.
    CharacterTable table;
    const std::vector<std::uint16_t> codes = {'A', 'C', 'E', 0xC9};
    table.buildFromCodeLists(codes, codes, kEncodingAnsi);
    Bytes saved{0};
    const Bytes text = tableTextBytes(table);
    saved.insert(saved.end(), text.begin(), text.end());
    writeSeed(dir, "saved_by_table_dialog", saved);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds OUT_DIR\n";
        return 2;
    }
    try {
        const fs::path out = argv[1];
        projectSeeds(out / "project_reader");
        tableTextSeeds(out / "table_text_reader");
    } catch (const std::exception& e) {
        std::cerr << "make_fuzz_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
