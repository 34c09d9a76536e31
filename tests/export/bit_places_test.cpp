// Where each pixel lands in the data (the bit inspector's map and the data-format dialog's
// picture), checked against the encoder itself: flip one pixel, encode again, and see which
// unit and which bit changed.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "export/bitmap_encoder.h"
#include "export/data_format.h"
#include "export/format_picture.h"

namespace typeloom::exporters {
namespace {

constexpr std::uint32_t kTraversals[] = {0x000, 0x001, 0x010, 0x011, 0x100, 0x101, 0x110, 0x111};

std::vector<std::uint32_t> encode(const std::vector<std::uint8_t>& pixels, int w, int h,
                                  std::uint32_t traversal, int bits, bool big, bool invert) {
    std::vector<std::uint32_t> units;
    BitmapEncoder::encodePixels(pixels.data(), w, h, traversal, bits, big, invert, units);
    return units;
}

// For every pixel: the one unit and the one bit that flipping it changes, or a failure text.
void expectPlacesMatchFlips(const std::vector<std::uint8_t>& pixels, int w, int h,
                            std::uint32_t traversal, int bits, bool big, bool invert,
                            const std::vector<BitPlace>& places) {
    ASSERT_EQ(places.size(), pixels.size());
    const std::vector<std::uint32_t> base = encode(pixels, w, h, traversal, bits, big, invert);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::vector<std::uint8_t> flipped = pixels;
        flipped[i] ^= 1;
        const std::vector<std::uint32_t> units =
            encode(flipped, w, h, traversal, bits, big, invert);
        ASSERT_EQ(units.size(), base.size());
        BitPlace changed;
        int changedUnits = 0;
        for (std::size_t u = 0; u < units.size(); ++u) {
            const std::uint32_t diff = units[u] ^ base[u];
            if (diff != 0) {
                ++changedUnits;
                changed.unit = static_cast<int>(u);
                ASSERT_EQ(diff & (diff - 1), 0u) << "more than one bit of unit " << u;
                changed.bit = std::countr_zero(diff);
            }
        }
        ASSERT_EQ(changedUnits, 1) << "pixel " << i;
        ASSERT_EQ(places[i], changed)
            << "pixel " << i << " (row " << i / w << ", column " << i % w << ")";
    }
}

TEST(BitPlaces, FlippingAPixelChangesExactlyTheBitTheMapNames) {
    struct Size {
        int w, h;
    };
    // Single pixels, bands with and without remainders, and lines longer than two units.
    const Size sizes[] = {{1, 1}, {3, 2}, {9, 11}, {10, 3}, {17, 9}, {33, 5}, {4, 40}};
    for (const Size size : sizes) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.w * size.h));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = (i * 5 + i / 3) % 7 < 3 ? 1 : 0;
        }
        for (std::uint32_t traversal : kTraversals) {
            for (int bits : {8, 16, 32}) {
                for (bool big : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                                 << size.w << "x" << size.h << " traversal " << std::hex
                                 << traversal << std::dec << " " << bits << " bits"
                                 << (big ? " big" : " little") << " endian");
                    const std::vector<BitPlace> places =
                        BitmapEncoder::placePixels(size.w, size.h, traversal, bits, big);
                    expectPlacesMatchFlips(pixels, size.w, size.h, traversal, bits, big,
                                           size.w == 3, places);
                }
            }
        }
    }
    EXPECT_TRUE(BitmapEncoder::placePixels(0, 5, 0x110, 8, true).empty());
}

// The worked glyph B (10 x 3) in big-endian rows of 8 bits: the first row's first eight
// pixels are unit 0, bits 7 down to 0; its last two are unit 1, bits 7 and 6; row 1 starts
// unit 2. In columns of 8 (0x000) column c is unit c, its top pixel bit 7.
TEST(BitPlaces, WorkedGlyphPlacesByHand) {
    const auto rows = BitmapEncoder::placePixels(10, 3, 0x110, 8, true);
    EXPECT_EQ(rows[0], (BitPlace{0, 7}));
    EXPECT_EQ(rows[7], (BitPlace{0, 0}));
    EXPECT_EQ(rows[8], (BitPlace{1, 7}));
    EXPECT_EQ(rows[9], (BitPlace{1, 6}));
    EXPECT_EQ(rows[10], (BitPlace{2, 7}));
    const auto columns = BitmapEncoder::placePixels(10, 3, 0x000, 8, false);
    EXPECT_EQ(columns[4], (BitPlace{4, 0}));
    EXPECT_EQ(columns[2 * 10 + 9], (BitPlace{9, 2}));
    // Packed rows, column preferred (0x101) with W = 10: the full band of 8 columns gives
    // units 0..2 (one per row); the two columns left over are one stream, unit 3.
    const auto packed = BitmapEncoder::placePixels(10, 3, 0x101, 8, true);
    EXPECT_EQ(packed[1 * 10 + 0], (BitPlace{1, 7}));
    EXPECT_EQ(packed[0 * 10 + 8], (BitPlace{3, 7}));
    EXPECT_EQ(packed[2 * 10 + 9], (BitPlace{3, 2}));
}

TEST(FormatPicture, ShowsWhatTheEncoderWritesForEveryWordClass) {
    std::vector<std::uint32_t> words;
    for (std::uint32_t length : {0x10000u, 0x20000u, 0x40000u, 0x80000u, 0x00000u, 0x30000u}) {
        for (std::uint32_t traversal : kTraversals) {
            for (std::uint32_t big : {0u, kBigEndian}) {
                words.push_back(length | traversal | big);
            }
        }
    }
    words.push_back(0x02021110);  // inverted
    for (std::uint32_t word : words) {
        SCOPED_TRACE(testing::Message() << std::hex << word);
        const FormatPicture pic = formatPicture(word);
        const int bits = unitBits(word);
        EXPECT_EQ(pic.unitBits, bits);
        EXPECT_EQ(pic.units, encode(pic.ink, pic.width, pic.height, word & kTraversalMask, bits,
                                    isBigEndian(word), isInverted(word)));
        expectPlacesMatchFlips(pic.ink, pic.width, pic.height, word & kTraversalMask, bits,
                               isBigEndian(word), isInverted(word), pic.places);
        // Every unit is numbered at the pixel it takes first.
        ASSERT_EQ(pic.firstPixel.size(), pic.units.size());
        for (std::size_t u = 0; u < pic.units.size(); ++u) {
            ASSERT_GE(pic.firstPixel[u], 0);
            const BitPlace first = pic.places[static_cast<std::size_t>(pic.firstPixel[u])];
            EXPECT_EQ(first.unit, static_cast<int>(u));
            EXPECT_EQ(first.bit, isBigEndian(word) ? bits - 1 : 0);
        }
        const std::uint32_t length = word & kLengthMask;
        EXPECT_EQ(pic.note.empty(), length == 0x20000 || length == 0x40000 || length == 0x80000);
    }
    EXPECT_EQ(formatPicture(0x00021110).caption,
              "Big Endian, Row based, Row preferred, Unpacked, 8-bit units");
    EXPECT_EQ(formatPicture(0x02080001).caption,
              "Little Endian, Column based, Column preferred, Packed, 32-bit units, inverted");
    EXPECT_EQ(pictureUnitText(0xAB, 8), "0xAB");
    EXPECT_EQ(pictureUnitText(0xAB, 32), "0x000000AB");
}

}  // namespace
}  // namespace typeloom::exporters
