// Windows font resources (.fnt) and libraries (.fon) assembled byte by byte from the published
// layout; pixels derived by hand.

#include "interchange/winfont_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "charset/encodings.h"
#include "interchange/font_import.h"
#include "interchange_test_support.h"
#include "model/font.h"
#include "model/font_information.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::glyphArt;
using test::LeBytes;
using test::TempDir;
using Art = std::vector<std::string>;

struct FntChar {
    std::uint16_t width = 0;
    Art rows;  // pixHeight rows of '#' and '.', at least `width` long; longer rows set bits
               // beyond the width
};

// The fields a test changes; the rest is written as a plain 2.0/3.0 resource.
struct Fnt {
    std::uint16_t version = 0x0200;
    std::uint16_t points = 60000;  // ignored by the reader
    std::uint16_t vertRes = 96;
    std::uint16_t horizRes = 96;
    std::uint16_t ascent = 3;
    std::uint16_t internalLeading = 0;
    std::uint16_t externalLeading = 0;
    std::uint8_t charSet = 0;
    std::uint16_t pixWidth = 0;
    std::uint16_t pixHeight = 4;
    std::uint8_t first = 0x41;
    std::vector<FntChar> chars = {
        {5, {"#...#", ".#.#.", "..#..", "....."}},
        {0, {}},
        {10, {"#........#", ".########.", "#.#.#.#.#.", ".........#"}},
    };
    std::string face = "Tiny";
    std::string copyright = "(c) nobody";
    std::int64_t sizeDelta = 0;         // added to dfSize
    std::uint32_t bitsOffset = 0;       // 0: the real one
    std::int64_t firstOffsetDelta = 0;  // added to the first character's bitmap offset
    std::int64_t faceDelta = 0;         // added to dfFace

    std::vector<std::uint8_t> bytes() const {
        const bool v3 = version == 0x0300;
        const std::size_t headerSize = v3 ? 148 : 118;
        const std::size_t entrySize = v3 ? 6 : 4;
        const std::size_t tableEnd = headerSize + (chars.size() + 1) * entrySize;
        // Bitmaps: column stripes of 8 pixels, one byte per row, bit 7 leftmost.
        std::vector<std::uint8_t> bitmaps;
        std::vector<std::size_t> offsets;
        for (const FntChar& c : chars) {
            offsets.push_back(tableEnd + bitmaps.size());
            std::size_t columns = 0;
            for (const auto& row : c.rows) {
                columns = std::max(columns, row.size());
            }
            const std::size_t stripes = (std::max<std::size_t>(columns, c.width) + 7) / 8;
            for (std::size_t s = 0; s < stripes; ++s) {
                for (std::size_t y = 0; y < pixHeight; ++y) {
                    std::uint8_t b = 0;
                    for (std::size_t bit = 0; bit < 8; ++bit) {
                        const std::size_t x = s * 8 + bit;
                        if (y < c.rows.size() && x < c.rows[y].size() && c.rows[y][x] == '#') {
                            b |= static_cast<std::uint8_t>(0x80 >> bit);
                        }
                    }
                    bitmaps.push_back(b);
                }
            }
        }
        const std::size_t extra = tableEnd + bitmaps.size();
        bitmaps.resize(bitmaps.size() + pixHeight, 0);
        const std::size_t faceAt = tableEnd + bitmaps.size();
        const std::size_t size = faceAt + face.size() + 1;

        LeBytes b;
        b.u16(version).u32(static_cast<std::uint32_t>(static_cast<std::int64_t>(size) + sizeDelta));
        std::string cr = copyright;
        cr.resize(60, '\0');
        b.text(cr);
        b.u16(0).u16(points).u16(vertRes).u16(horizRes).u16(ascent).u16(internalLeading);
        b.u16(externalLeading).u8(0).u8(0).u8(0).u16(400).u8(charSet).u16(pixWidth);
        b.u16(pixHeight).u8(0x31).u16(5).u16(10).u8(first);
        b.u8(static_cast<std::uint8_t>(first + chars.size() - 1)).u8(first).u8(first);
        b.u16(0).u32(0);
        b.u32(static_cast<std::uint32_t>(static_cast<std::int64_t>(faceAt) + faceDelta));
        b.u32(0).u32(bitsOffset != 0 ? bitsOffset : static_cast<std::uint32_t>(tableEnd)).u8(0);
        if (v3) {
            b.zeros(30);
        }
        EXPECT_EQ(b.size(), headerSize);
        for (std::size_t k = 0; k <= chars.size(); ++k) {
            const std::uint16_t w = k < chars.size() ? chars[k].width : 8;
            std::int64_t o = static_cast<std::int64_t>(k < chars.size() ? offsets[k] : extra);
            if (k == 0) {
                o += firstOffsetDelta;
            }
            b.u16(w);
            if (v3) {
                b.u32(static_cast<std::uint32_t>(o));
            } else {
                b.u16(static_cast<std::uint16_t>(o));
            }
        }
        b.raw(bitmaps).text(face).u8(0);
        return b.bytes();
    }
};

// A 16-bit library: MZ header pointing at an NE header whose resource table lists `types`
// (type id, resource offsets in 16-byte units) and holds the given resources.
struct Fon {
    struct Type {
        std::uint16_t id;
        std::vector<std::uint16_t> offsets;  // in units of 1 << shift bytes
    };
    std::uint16_t shift = 4;
    std::vector<Type> types;
    std::vector<std::pair<std::size_t, std::vector<std::uint8_t>>> blobs;  // position, bytes
    std::string newHeader = "NE";
    bool endTable = true;

    std::vector<std::uint8_t> bytes() const {
        LeBytes b;
        b.text("MZ").zeros(0x3A).u32(0x40);       // new header at 0x40
        b.text(newHeader).zeros(0x22).u16(0x40);  // resource table at NE + 0x40
        b.zeros(0x80 - b.size());
        b.u16(shift);
        for (const Type& t : types) {
            b.u16(t.id).u16(static_cast<std::uint16_t>(t.offsets.size())).u32(0);
            for (std::uint16_t o : t.offsets) {
                b.u16(o).u16(1).u16(0x1C30).u16(0x8001).u16(0).u16(0);
            }
        }
        if (endTable) {
            b.u16(0);
        }
        for (const auto& [at, blob] : blobs) {
            if (b.size() < at) {
                b.zeros(at - b.size());
            }
            b.raw(blob);
        }
        return b.bytes();
    }
};

struct Imported {
    ImportOutcome outcome;
    Font font;
};

Imported importBytes(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    TempDir dir;
    test::writeFile(dir.file(name), bytes);
    Imported r{{}, test::openFont()};
    r.outcome = importFontResource(dir.file(name), r.font);
    return r;
}

TEST(WinFontReader, ImportsAVersion2Resource) {
    Imported r = importBytes(Fnt{}.bytes(), "tiny.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    const Font& f = r.font;
    EXPECT_EQ(f.encoding, static_cast<std::uint32_t>(kEncodingAnsi));
    EXPECT_EQ(f.faceName, "Tiny");
    EXPECT_EQ(f.height, 4);
    EXPECT_EQ(f.ascent, 3);
    EXPECT_EQ(f.fixedWidth, 0);
    EXPECT_EQ(f.maxWidth, 10);
    // The zero-width character 0x42 is not part of the font.
    EXPECT_EQ(f.codeList, (std::vector<std::uint16_t>{0x41, 0x43}));
    EXPECT_EQ(f.unicodeList, (std::vector<std::uint16_t>{0x41, 0x43}));
    EXPECT_EQ(glyphArt(f, 0x41), (Art{"#...#", ".#.#.", "..#..", "....."}));
    EXPECT_EQ(glyphArt(f, 0x43), (Art{"#........#", ".########.", "#.#.#.#.#.", ".........#"}));
    EXPECT_EQ(f.fontHeader.headerFaceName, "Tiny");
    EXPECT_EQ(f.fontHeader.headerCopyright, "(c) nobody");
    EXPECT_EQ(f.fontHeader.weight, 400);
    EXPECT_EQ(f.fontHeader.points, 3);  // 4 pixels at 96 dpi, not the file's 60000
    EXPECT_EQ(f.sourceFont.faceName, "Tiny");
    EXPECT_EQ(f.sourceFont.height, 4);
    EXPECT_EQ(f.sourceFont.weight, 400);
    EXPECT_EQ(f.sourceFont.pitchAndFamily, 0x31);
    EXPECT_TRUE(f.charTable.committed.get(0x41).enabled);
    EXPECT_FALSE(f.charTable.committed.get(0x42).enabled);
    EXPECT_FALSE(f.fromSystemFont);
}

// Font Info opens with the file's own name and copyright, so that a re-export keeps them; a
// font made afterwards is not the file's and opens with its own name and the placeholder.
TEST(WinFontReader, FontInfoOpensWithTheImportedNameAndCopyright) {
    Imported r = importBytes(Fnt{}.bytes(), "tiny.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    FontInfoFields f = openFontInfo(r.font);
    EXPECT_EQ(f.name, "Tiny");
    EXPECT_EQ(f.copyright, "(c) nobody");
    f.copyright = "(c) somebody";
    applyFontInfo(r.font, f, false);
    EXPECT_EQ(openFontInfo(r.font).copyright, "(c) somebody");

    r.font.createFromScratch(32, 126, 8, 12, "Demo");
    f = openFontInfo(r.font);
    EXPECT_EQ(f.name, "Demo12h");
    EXPECT_EQ(f.copyright, "Copyright (c) 2014 by ...");
}

TEST(WinFontReader, Version3ReadsLikeVersion2) {
    Fnt v3;
    v3.version = 0x0300;
    Imported a = importBytes(Fnt{}.bytes(), "a.fnt");
    Imported b = importBytes(v3.bytes(), "b.FNT");
    ASSERT_TRUE(b.outcome.ok()) << b.outcome.detail;
    EXPECT_TRUE(a.font.glyphs == b.font.glyphs);
    EXPECT_EQ(a.font.codeList, b.font.codeList);
}

TEST(WinFontReader, IgnoresBitsBeyondTheWidth) {
    Fnt fnt;
    fnt.chars = {{3, {"########", "#.#.####", "...#####", "########"}}};
    Imported r = importBytes(fnt.bytes(), "t.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(glyphArt(r.font, 0x41), (Art{"###", "#.#", "...", "###"}));
}

TEST(WinFontReader, PixelWidthDecidesFixedWidth) {
    Fnt fixed;
    fixed.chars = {{4, {"#..#"}}, {4, {".##."}}};
    fixed.pixWidth = 4;
    Imported r = importBytes(fixed.bytes(), "t.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.fixedWidth, 4);
    EXPECT_EQ(r.font.maxWidth, 4);
    // A pixel width the characters do not have gives a variable-width font.
    fixed.pixWidth = 6;
    r = importBytes(fixed.bytes(), "t.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.fixedWidth, 0);
    EXPECT_EQ(r.font.maxWidth, 4);
    fixed.pixWidth = 0;
    r = importBytes(fixed.bytes(), "t.fnt");
    EXPECT_EQ(r.font.fixedWidth, 0);
}

TEST(WinFontReader, KeysCodesByTheirCharacterSetAndNeverTwice) {
    // Cyrillic: code 0xC0 is U+0410.
    Fnt cyrillic;
    cyrillic.charSet = 204;
    cyrillic.first = 0xC0;
    cyrillic.chars = {{1, {"#"}}};
    Imported r = importBytes(cyrillic.bytes(), "t.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.unicodeList, (std::vector<std::uint16_t>{0x0410}));
    EXPECT_EQ(r.font.charSet, 204);
    EXPECT_TRUE(r.font.charTable.committed.get(0xC0).enabled);

    // Shift_JIS: the lead bytes 0x81 and 0x82 stand for no character on their own; each gets
    // a private-use key of its own instead of sharing one.
    Fnt japanese;
    japanese.charSet = 128;
    japanese.first = 0x80;
    japanese.chars = {{1, {"#"}}, {1, {"."}}, {1, {"#"}}};
    r = importBytes(japanese.bytes(), "t.fnt");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.codeList, (std::vector<std::uint16_t>{0x80, 0x81, 0x82}));
    const std::vector<std::uint16_t>& keys = r.font.unicodeList;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_NE(keys[0], keys[1]);
    EXPECT_NE(keys[1], keys[2]);
    EXPECT_NE(keys[0], keys[2]);
    EXPECT_EQ(r.font.glyphs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const CodeEntry e = r.font.charTable.committed.get(r.font.codeList[i]);
        EXPECT_EQ(e.unicode, keys[i]);
        EXPECT_TRUE(e.enabled);
    }
}

std::vector<std::uint8_t> withAt(std::size_t at, const std::vector<std::uint8_t>& blob) {
    std::vector<std::uint8_t> b(at, 0);
    b.insert(b.end(), blob.begin(), blob.end());
    return b;
}

TEST(WinFontReader, LibraryImportsTheFirstFontResource) {
    Fnt second;
    second.face = "Second";
    Fon fon;
    // A type of two other resources comes first; the FONT type lists two fonts.
    fon.types = {{0x8007, {0x20, 0x21}}, {0x8008, {0x10, 0x30}}};
    fon.blobs = {{0x100, Fnt{}.bytes()}, {0x300, second.bytes()}};
    Imported r = importBytes(fon.bytes(), "lib.fon");
    ASSERT_TRUE(r.outcome.ok()) << r.outcome.detail;
    EXPECT_EQ(r.font.faceName, "Tiny");
    EXPECT_EQ(glyphArt(r.font, 0x41), (Art{"#...#", ".#.#.", "..#..", "....."}));
    // A bare resource in a .fon file is read as well.
    EXPECT_TRUE(importBytes(Fnt{}.bytes(), "bare.FON").outcome.ok());
}

TEST(WinFontReader, RefusesDamagedResourcesAndKeepsTheOpenFont) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* fileName = "bad.fnt";
    };
    auto fnt = [](const std::function<void(Fnt&)>& change) {
        Fnt f;
        change(f);
        return f.bytes();
    };
    const std::vector<std::uint8_t> plain = Fnt{}.bytes();
    auto fon = [&plain](const std::function<void(Fon&)>& change) {
        Fon f;
        f.types = {{0x8008, {0x10}}};
        f.blobs = {{0x100, plain}};
        change(f);
        return f.bytes();
    };
    std::vector<std::uint8_t> truncatedHeader = Fnt{}.bytes();
    truncatedHeader.resize(100);
    std::vector<std::uint8_t> truncatedV3 = fnt([](Fnt& f) { f.version = 0x0300; });
    truncatedV3.resize(130);
    // The count of the first type block (after the shift and the type id) says 65,535.
    std::vector<std::uint8_t> hugeCount = fon([](Fon& f) {
        f.types = {{0x8007, {0x10}}, {0x8008, {0x10}}};
    });
    hugeCount[0x80 + 4] = 0xFF;
    hugeCount[0x80 + 5] = 0xFF;
    const Case cases[] = {
        {"ascent above the pixel height", fnt([](Fnt& f) { f.ascent = 5; })},
        {"ascent below the internal leading", fnt([](Fnt& f) { f.internalLeading = 4; })},
        {"vertical resolution", fnt([](Fnt& f) { f.vertRes = 1000; })},
        {"horizontal resolution", fnt([](Fnt& f) { f.horizRes = 1000; })},
        {"external leading", fnt([](Fnt& f) { f.externalLeading = 1000; })},
        {"height of 1000 points", fnt([](Fnt& f) {
             f.pixHeight = 1334;
             f.chars = {{1, {"#"}}};
         })},
        {"no rows", fnt([](Fnt& f) {
             f.pixHeight = 0;
             f.ascent = 0;
         })},
        {"version 2.0 bits offset beyond 64 KiB", fnt([](Fnt& f) { f.bitsOffset = 0x10001; })},
        {"size beyond the file", fnt([](Fnt& f) { f.sizeDelta = 1; })},
        {"size smaller than the header", fnt([](Fnt& f) { f.sizeDelta = -55; })},
        {"huge size", fnt([](Fnt& f) { f.sizeDelta = 0xFFFFFF00; })},
        {"bitmap beyond the resource", fnt([](Fnt& f) { f.firstOffsetDelta = 60; })},
        {"face name beyond the resource", fnt([](Fnt& f) { f.faceDelta = 100; })},
        {"no character of non-zero width", fnt([](Fnt& f) {
             f.chars = {{0, {}}, {0, {}}};
         })},
        {"truncated header", truncatedHeader},
        {"truncated version 3.0 header", truncatedV3},
        {"32-bit library", fon([](Fon& f) { f.newHeader = "PE"; }), "bad.fon"},
        {"unknown new header", fon([](Fon& f) { f.newHeader = "LE"; }), "bad.fon"},
        {"no FONT type", fon([](Fon& f) {
             f.types = {{0x8007, {0x10}}};
         }),
         "bad.fon"},
        {"FONT type without resources", fon([](Fon& f) {
             f.types = {{0x8008, {}}};
         }),
         "bad.fon"},
        {"resource table runs off the file", fon([](Fon& f) {
             f.endTable = false;
             f.types = {{0x8007, {0x10}}};
             f.blobs.clear();
         }),
         "bad.fon"},
        {"huge resource count", hugeCount, "bad.fon"},
        {"font resource beyond the file", fon([](Fon& f) {
             f.types = {{0x8008, {0xFFFF}}};
         }),
         "bad.fon"},
        {"font resource is not a font", fon([](Fon& f) {
             f.types = {{0x8008, {0x01}}};
         }),
         "bad.fon"},
        {"huge alignment shift", fon([](Fon& f) { f.shift = 200; }), "bad.fon"},
        {"new header beyond the file", withAt(0, {'M', 'Z'}), "bad.fon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Imported r = importBytes(c.bytes, c.fileName);
        EXPECT_EQ(r.outcome.status, ImportOutcome::Status::Failed);
        EXPECT_EQ(r.outcome.messages,
                  (std::vector<std::string>{"Failed to loaded this .fnt file."}));
        EXPECT_FALSE(r.outcome.detail.empty());
        test::expectOpenFontUnchanged(r.font);
    }
}

TEST(WinFontReader, HeaderPointsDoNotMatter) {
    Fnt f;
    f.points = 0;
    EXPECT_TRUE(importBytes(f.bytes(), "t.fnt").outcome.ok());
    f.points = 65535;
    EXPECT_TRUE(importBytes(f.bytes(), "t.fnt").outcome.ok());
}

}  // namespace
}  // namespace typeloom
