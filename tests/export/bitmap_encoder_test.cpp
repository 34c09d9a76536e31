#include "export/bitmap_encoder.h"

#include <gtest/gtest.h>

#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "export/data_format.h"
#include "model/font.h"

namespace typeloom::exporters {
namespace {

struct Bitmap {
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
};

Bitmap fromRows(const std::vector<std::string>& rows) {
    Bitmap b{static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), {}};
    for (const std::string& row : rows) {
        for (char c : row) {
            b.pixels.push_back(c == '1' ? 1 : 0);
        }
    }
    return b;
}

const Bitmap kGlyphA = fromRows({"101", "011"});
const Bitmap kGlyphB = fromRows({"1111111111", "1000000001", "0000000011"});
const Bitmap kGlyphC =
    fromRows({"111", "100", "010", "001", "110", "011", "101", "000", "111", "100"});

struct Example {
    const char* name;
    const Bitmap* glyph;
    std::uint32_t mode;
    bool bigEndian;
    int bits;
    bool invert;
    std::vector<std::uint32_t> units;
};

std::vector<std::uint32_t> encode(const Bitmap& b, std::uint32_t mode, bool big, int bits,
                                  bool invert) {
    std::vector<std::uint32_t> out;
    BitmapEncoder::encodePixels(b.pixels.data(), b.width, b.height, mode, bits, big, invert, out);
    return out;
}

// The worked examples of the encoder, mode by mode.
const std::vector<Example> kExamples = {
    // Glyph A: 3 x 2
    {"A 0x110 LE", &kGlyphA, 0x110, false, 8, false, {0x05, 0x06}},
    {"A 0x100 LE", &kGlyphA, 0x100, false, 8, false, {0x05, 0x06}},
    {"A 0x110 BE", &kGlyphA, 0x110, true, 8, false, {0xA0, 0x60}},
    {"A 0x100 BE", &kGlyphA, 0x100, true, 8, false, {0xA0, 0x60}},
    {"A 0x111 LE", &kGlyphA, 0x111, false, 8, false, {0x35}},
    {"A 0x101 LE", &kGlyphA, 0x101, false, 8, false, {0x35}},
    {"A 0x111 BE", &kGlyphA, 0x111, true, 8, false, {0xAC}},
    {"A 0x101 BE", &kGlyphA, 0x101, true, 8, false, {0xAC}},
    {"A 0x000 LE", &kGlyphA, 0x000, false, 8, false, {0x01, 0x02, 0x03}},
    {"A 0x010 LE", &kGlyphA, 0x010, false, 8, false, {0x01, 0x02, 0x03}},
    {"A 0x000 BE", &kGlyphA, 0x000, true, 8, false, {0x80, 0x40, 0xC0}},
    {"A 0x010 BE", &kGlyphA, 0x010, true, 8, false, {0x80, 0x40, 0xC0}},
    {"A 0x001 LE", &kGlyphA, 0x001, false, 8, false, {0x39}},
    {"A 0x011 LE", &kGlyphA, 0x011, false, 8, false, {0x39}},
    {"A 0x001 BE", &kGlyphA, 0x001, true, 8, false, {0x9C}},
    {"A 0x011 BE", &kGlyphA, 0x011, true, 8, false, {0x9C}},
    {"A 0x110 LE invert", &kGlyphA, 0x110, false, 8, true, {0xFA, 0xF9}},
    {"A 0x110 LE 16", &kGlyphA, 0x110, false, 16, false, {0x0005, 0x0006}},
    {"A 0x011 BE 16", &kGlyphA, 0x011, true, 16, false, {0x9C00}},
    {"A 0x110 BE 16", &kGlyphA, 0x110, true, 16, false, {0xA000, 0x6000}},
    {"A 0x110 BE 32", &kGlyphA, 0x110, true, 32, false, {0xA0000000, 0x60000000}},
    {"A 0x110 LE 32 invert", &kGlyphA, 0x110, false, 32, true, {0xFFFFFFFA, 0xFFFFFFF9}},
    // Glyph B: 10 x 3
    {"B 0x110 LE", &kGlyphB, 0x110, false, 8, false, {0xFF, 0x03, 0x01, 0x02, 0x00, 0x03}},
    {"B 0x110 BE", &kGlyphB, 0x110, true, 8, false, {0xFF, 0xC0, 0x80, 0x40, 0x00, 0xC0}},
    {"B 0x100 LE", &kGlyphB, 0x100, false, 8, false, {0xFF, 0x01, 0x00, 0x03, 0x02, 0x03}},
    {"B 0x100 BE", &kGlyphB, 0x100, true, 8, false, {0xFF, 0x80, 0x00, 0xC0, 0x40, 0xC0}},
    {"B 0x111 LE", &kGlyphB, 0x111, false, 8, false, {0xFF, 0x07, 0x08, 0x30}},
    {"B 0x111 BE", &kGlyphB, 0x111, true, 8, false, {0xFF, 0xE0, 0x10, 0x0C}},
    {"B 0x101 LE", &kGlyphB, 0x101, false, 8, false, {0xFF, 0x01, 0x00, 0x3B}},
    {"B 0x101 BE", &kGlyphB, 0x101, true, 8, false, {0xFF, 0x80, 0x00, 0xDC}},
    {"B 0x000 LE",
     &kGlyphB,
     0x000,
     false,
     8,
     false,
     {0x03, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x05, 0x07}},
    {"B 0x010 LE",
     &kGlyphB,
     0x010,
     false,
     8,
     false,
     {0x03, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x05, 0x07}},
    {"B 0x000 BE",
     &kGlyphB,
     0x000,
     true,
     8,
     false,
     {0xC0, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xA0, 0xE0}},
    {"B 0x010 BE",
     &kGlyphB,
     0x010,
     true,
     8,
     false,
     {0xC0, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xA0, 0xE0}},
    {"B 0x001 LE", &kGlyphB, 0x001, false, 8, false, {0x4B, 0x92, 0x24, 0x3D}},
    {"B 0x011 LE", &kGlyphB, 0x011, false, 8, false, {0x4B, 0x92, 0x24, 0x3D}},
    {"B 0x001 BE", &kGlyphB, 0x001, true, 8, false, {0xD2, 0x49, 0x24, 0xBC}},
    {"B 0x011 BE", &kGlyphB, 0x011, true, 8, false, {0xD2, 0x49, 0x24, 0xBC}},
    {"B 0x110 LE invert", &kGlyphB, 0x110, false, 8, true, {0x00, 0xFC, 0xFE, 0xFD, 0xFF, 0xFC}},
    {"B 0x110 LE 16", &kGlyphB, 0x110, false, 16, false, {0x03FF, 0x0201, 0x0300}},
    // Glyph C: 3 x 10
    {"C 0x110 LE",
     &kGlyphC,
     0x110,
     false,
     8,
     false,
     {0x07, 0x01, 0x02, 0x04, 0x03, 0x06, 0x05, 0x00, 0x07, 0x01}},
    {"C 0x100 LE",
     &kGlyphC,
     0x100,
     false,
     8,
     false,
     {0x07, 0x01, 0x02, 0x04, 0x03, 0x06, 0x05, 0x00, 0x07, 0x01}},
    {"C 0x110 BE",
     &kGlyphC,
     0x110,
     true,
     8,
     false,
     {0xE0, 0x80, 0x40, 0x20, 0xC0, 0x60, 0xA0, 0x00, 0xE0, 0x80}},
    {"C 0x111 LE", &kGlyphC, 0x111, false, 8, false, {0x8F, 0x38, 0x17, 0x0F}},
    {"C 0x101 LE", &kGlyphC, 0x101, false, 8, false, {0x8F, 0x38, 0x17, 0x0F}},
    {"C 0x111 BE", &kGlyphC, 0x111, true, 8, false, {0xF1, 0x1C, 0xE8, 0xF0}},
    {"C 0x101 BE", &kGlyphC, 0x101, true, 8, false, {0xF1, 0x1C, 0xE8, 0xF0}},
    {"C 0x000 LE", &kGlyphC, 0x000, false, 8, false, {0x53, 0x03, 0x35, 0x01, 0x69, 0x01}},
    {"C 0x000 BE", &kGlyphC, 0x000, true, 8, false, {0xCA, 0xC0, 0xAC, 0x80, 0x96, 0x80}},
    {"C 0x010 LE", &kGlyphC, 0x010, false, 8, false, {0x53, 0x35, 0x69, 0x03, 0x01, 0x01}},
    {"C 0x010 BE", &kGlyphC, 0x010, true, 8, false, {0xCA, 0xAC, 0x96, 0xC0, 0x80, 0x80}},
    {"C 0x001 LE", &kGlyphC, 0x001, false, 8, false, {0x53, 0xD7, 0x94, 0x16}},
    {"C 0x001 BE", &kGlyphC, 0x001, true, 8, false, {0xCA, 0xEB, 0x29, 0x68}},
    {"C 0x011 LE", &kGlyphC, 0x011, false, 8, false, {0x53, 0x35, 0x69, 0x17}},
    {"C 0x011 BE", &kGlyphC, 0x011, true, 8, false, {0xCA, 0xAC, 0x96, 0xE8}},
};

TEST(BitmapEncoder, ReproducesTheWorkedExamples) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(encode(*e.glyph, e.mode, e.bigEndian, e.bits, e.invert), e.units);
    }
}

// A straightforward reference: lists the pixel coordinates of every unit as the traversal
// table describes them (null for padding), then packs them.
std::vector<std::uint32_t> reference(const Bitmap& b, std::uint32_t mode, bool big, int L,
                                     bool invert) {
    const int W = b.width;
    const int H = b.height;
    std::vector<std::vector<int>> units;  // pixel indices, -1 padding
    auto band = [&](std::vector<int> idx) {
        idx.resize(static_cast<std::size_t>(L), -1);
        units.push_back(idx);
    };
    auto stream = [&](const std::vector<int>& all) {
        for (std::size_t i = 0; i < all.size(); i += static_cast<std::size_t>(L)) {
            band(std::vector<int>(all.begin() + static_cast<long>(i),
                                  all.begin() + static_cast<long>(std::min(all.size(), i + L))));
        }
    };
    auto at = [&](int r, int c) { return (r < H && c < W) ? r * W + c : -1; };
    const int cb = (W + L - 1) / L;
    const int rb = (H + L - 1) / L;
    std::vector<int> all;
    switch (mode) {
        case 0x110:
        case 0x100:
            for (int o = 0; o < (mode == 0x110 ? H : cb); ++o) {
                for (int i = 0; i < (mode == 0x110 ? cb : H); ++i) {
                    int r = mode == 0x110 ? o : i;
                    int bnd = mode == 0x110 ? i : o;
                    std::vector<int> idx;
                    for (int k = 0; k < L; ++k)
                        idx.push_back(at(r, bnd * L + k));
                    band(idx);
                }
            }
            break;
        case 0x000:
        case 0x010:
            for (int o = 0; o < (mode == 0x000 ? W : rb); ++o) {
                for (int i = 0; i < (mode == 0x000 ? rb : W); ++i) {
                    int c = mode == 0x000 ? o : i;
                    int bnd = mode == 0x000 ? i : o;
                    std::vector<int> idx;
                    for (int k = 0; k < L; ++k)
                        idx.push_back(at(bnd * L + k, c));
                    band(idx);
                }
            }
            break;
        case 0x111:
            for (int r = 0; r < H; ++r)
                for (int c = 0; c < W; ++c)
                    all.push_back(at(r, c));
            stream(all);
            break;
        case 0x001:
            for (int c = 0; c < W; ++c)
                for (int r = 0; r < H; ++r)
                    all.push_back(at(r, c));
            stream(all);
            break;
        case 0x101:
            for (int bnd = 0; bnd < W / L; ++bnd)
                for (int r = 0; r < H; ++r) {
                    std::vector<int> idx;
                    for (int k = 0; k < L; ++k)
                        idx.push_back(at(r, bnd * L + k));
                    band(idx);
                }
            for (int r = 0; r < H; ++r)
                for (int c = W / L * L; c < W; ++c)
                    all.push_back(at(r, c));
            stream(all);
            break;
        case 0x011:
            for (int bnd = 0; bnd < H / L; ++bnd)
                for (int c = 0; c < W; ++c) {
                    std::vector<int> idx;
                    for (int k = 0; k < L; ++k)
                        idx.push_back(at(bnd * L + k, c));
                    band(idx);
                }
            for (int c = 0; c < W; ++c)
                for (int r = H / L * L; r < H; ++r)
                    all.push_back(at(r, c));
            stream(all);
            break;
    }
    std::vector<std::uint32_t> out;
    for (const auto& idx : units) {
        std::uint64_t v = 0;
        for (int k = 0; k < L; ++k) {
            if (idx[static_cast<std::size_t>(k)] >= 0 &&
                b.pixels[static_cast<std::size_t>(idx[static_cast<std::size_t>(k)])] != 0) {
                v |= std::uint64_t{1} << (big ? L - 1 - k : k);
            }
        }
        if (invert)
            v = ~v;
        out.push_back(static_cast<std::uint32_t>(v & ((std::uint64_t{1} << L) - 1)));
    }
    return out;
}

TEST(BitmapEncoder, AgreesWithABitByBitReferenceAcrossSizesAndModes) {
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int W : {1, 7, 8, 9, 16, 17, 33}) {
        for (int H : {1, 5, 8, 16, 31, 40}) {
            Bitmap b{W, H, {}};
            for (int i = 0; i < W * H; ++i)
                b.pixels.push_back(next() % 3 == 0 ? 1 : 0);
            for (std::uint32_t mode :
                 {0x110u, 0x100u, 0x111u, 0x101u, 0x000u, 0x010u, 0x001u, 0x011u}) {
                for (int L : {8, 16, 32}) {
                    for (int flags = 0; flags < 4; ++flags) {
                        bool big = (flags & 1) != 0;
                        bool invert = (flags & 2) != 0;
                        SCOPED_TRACE(testing::Message()
                                     << W << "x" << H << " mode " << std::hex << mode << std::dec
                                     << " L" << L << " big " << big << " inv " << invert);
                        ASSERT_EQ(encode(b, mode, big, L, invert),
                                  reference(b, mode, big, L, invert));
                    }
                }
            }
        }
    }
}

TEST(BitmapEncoder, UnitCountsOfTheCrossPreferredPackedModes) {
    Bitmap wide = fromRows({"1111111111111111", "1000000000000001"});  // W = 16 = 2P
    EXPECT_EQ(encode(wide, 0x101, true, 8, false).size(), 2u * 16 / 8);
    Bitmap narrow = fromRows({"10110", "01101", "11100"});  // W < P
    EXPECT_EQ(encode(narrow, 0x101, true, 8, false), encode(narrow, 0x111, true, 8, false));
    Bitmap tall = fromRows({"10", "01", "11", "00", "10", "01", "11", "00"});  // H = P
    EXPECT_EQ(encode(tall, 0x011, false, 8, false).size(), 2u * 8 / 8);
    EXPECT_EQ(encode(kGlyphA, 0x011, false, 8, false), encode(kGlyphA, 0x001, false, 8, false));
    // Mode 0x100 sends all rows of the first band before the second band.
    EXPECT_EQ(encode(kGlyphB, 0x100, true, 8, false)[1], 0x80u);
}

TEST(DataFormat, UnitLengthAndDescriptions) {
    EXPECT_EQ(unitBits(0x01121110), 8);
    EXPECT_EQ(unitBits(0x00040000), 16);
    EXPECT_EQ(unitBits(0x00080000), 32);
    EXPECT_EQ(unitBits(0x00010000), 8);  // 4-bit units are encoded as 8-bit
    EXPECT_EQ(unitBits(0), 8);
    EXPECT_EQ(describeDataFormat(0x01121110), "Big Endian, Row based, Row preferred, Unpacked");
    EXPECT_EQ(describeDataFormat(0x00000001),
              "Little Endian, Column based, Column preferred, Packed");
    EXPECT_EQ(withUnitBits(0x010F1110, 16), 0x01041110u);
    EXPECT_EQ(applyDataFormatRadio(0x01121110, DataFormatRadio::ScanColumn), 0x01121010u);
    EXPECT_EQ(applyDataFormatRadio(0x01121110, DataFormatRadio::LittleEndian), 0x01120110u);
    EXPECT_EQ(applyDataFormatRadio(0x01121110, DataFormatRadio::PackedYes), 0x01121111u);
    EXPECT_EQ(applyDataFormatRadio(0x01121110, DataFormatRadio::Bits32), 0x01181110u);
}

// A font of three characters: glyph A, a zero-width character, glyph B (heights differ, so B
// is cut to A's two rows by building the font at height 2).
Font smallFont(std::uint32_t word) {
    Font font;
    font.height = 2;
    font.dataFormat = word;
    font.glyphs.insert('A', Glyph('A', 3, kGlyphA.pixels));
    font.glyphs.insert('B', Glyph('B', 0, {}));
    font.glyphs.insert(
        'C', Glyph('C', 10,
                   std::vector<std::uint8_t>(kGlyphB.pixels.begin(), kGlyphB.pixels.begin() + 20)));
    for (std::uint16_t c : {'A', 'B', 'C'})
        font.insertCode(c, c);
    return font;
}

TEST(BitmapEncoder, EncodeAllGivesRunningOffsetsAndHonoursTheFontWord) {
    Font font = smallFont(0x02021010);  // big endian, column preferred, invert, 8 bits
    BitmapEncoder encoder(font);
    std::vector<std::uint32_t> offsets;
    CancelFlag cancel;
    NullProgressSink progress;
    ASSERT_TRUE(encoder.encodeAll(offsets, 0x110, cancel, progress));
    EXPECT_EQ(offsets, (std::vector<std::uint32_t>{0, 2, 2, 6}));
    // Traversal from the format argument; bit order and invert from the font's word.
    EXPECT_EQ(std::vector<std::uint32_t>(encoder.unitsOf('A').begin(), encoder.unitsOf('A').end()),
              (std::vector<std::uint32_t>{0x5F, 0x9F}));
    EXPECT_TRUE(encoder.unitsOf('B').empty());
    EXPECT_TRUE(encoder.hasUnits('B'));
    EXPECT_FALSE(encoder.hasUnits('Z'));
    // -1 takes the traversal from the font: column preferred, row based (0x010 & 0x111 = 0x010).
    EXPECT_EQ(encoder.encodeGlyph('A'), 3);
}

TEST(BitmapEncoder, ReplacementPixelsAndWriterSettings) {
    Font font = smallFont(0x00020110);  // little endian, row based
    BitmapEncoder encoder(font);
    const std::uint8_t others[] = {0, 1, 0, 1, 0, 0};
    EXPECT_EQ(encoder.encodeGlyph('A', others), 2);
    EXPECT_EQ(encoder.unitsOf('A')[0], 0x02u);
    encoder.setUnitBits(16);
    encoder.setBigEndian(true);
    EXPECT_EQ(encoder.unitsFor(17), 2);
    encoder.encodeGlyph('A');
    EXPECT_EQ(encoder.unitsOf('A')[0], 0xA000u);
}

TEST(BitmapEncoder, CancelStopsBeforeTheNextCharacter) {
    Font font = smallFont(0x01121110);
    BitmapEncoder encoder(font);
    std::vector<std::uint32_t> offsets;
    CancelFlag stop;
    stop.requestCancel();
    NullProgressSink progress;
    EXPECT_FALSE(encoder.encodeAll(offsets, -1, stop, progress));
    EXPECT_EQ(offsets, std::vector<std::uint32_t>{0});
}

}  // namespace
}  // namespace typeloom::exporters
