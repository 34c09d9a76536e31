// The unit decoder against the worked examples of the data layouts (units worked out by hand
// for three small glyphs), and its refusal of padding bits a glyph cannot produce.

#include "verify/unit_layout.h"

#include <gtest/gtest.h>

#include <map>

namespace typeloom::verify {
namespace {

struct Example {
    const char* glyph;
    std::uint32_t traversal;  // packed 0x1, row preferred 0x10, row based 0x100
    bool bigEndian;
    int bits;
    bool inverted;
    std::vector<std::uint32_t> units;
};

// Glyph A 3 x 2, B 10 x 3, C 3 x 10, as rows of '#' and '.'.
const std::map<std::string, std::vector<std::string>>& glyphs() {
    static const std::map<std::string, std::vector<std::string>> g = {
        {"A", {"#.#", ".##"}},
        {"B", {"##########", "#........#", "........##"}},
        {"C", {"###", "#..", ".#.", "..#", "##.", ".##", "#.#", "...", "###", "#.."}},
    };
    return g;
}

UnitLayout layoutOf(const Example& e) {
    UnitLayout l;
    l.unitBits = e.bits;
    l.bigEndian = e.bigEndian;
    l.rowBased = (e.traversal & 0x100) != 0;
    l.rowPreferred = (e.traversal & 0x10) != 0;
    l.packed = (e.traversal & 0x1) != 0;
    l.inverted = e.inverted;
    return l;
}

TEST(UnitLayout, DecodesTheWorkedExamples) {
    const std::vector<Example> examples = {
        {"A", 0x110, false, 8, false, {0x05, 0x06}},
        {"A", 0x100, true, 8, false, {0xA0, 0x60}},
        {"A", 0x111, false, 8, false, {0x35}},
        {"A", 0x101, true, 8, false, {0xAC}},
        {"A", 0x000, false, 8, false, {0x01, 0x02, 0x03}},
        {"A", 0x010, true, 8, false, {0x80, 0x40, 0xC0}},
        {"A", 0x001, false, 8, false, {0x39}},
        {"A", 0x011, true, 8, false, {0x9C}},
        {"A", 0x110, false, 8, true, {0xFA, 0xF9}},
        {"A", 0x110, false, 16, false, {0x0005, 0x0006}},
        {"A", 0x011, true, 16, false, {0x9C00}},
        {"B", 0x110, false, 8, false, {0xFF, 0x03, 0x01, 0x02, 0x00, 0x03}},
        {"B", 0x100, true, 8, false, {0xFF, 0x80, 0x00, 0xC0, 0x40, 0xC0}},
        {"B", 0x111, true, 8, false, {0xFF, 0xE0, 0x10, 0x0C}},
        {"B", 0x101, false, 8, false, {0xFF, 0x01, 0x00, 0x3B}},
        {"B", 0x101, true, 8, false, {0xFF, 0x80, 0x00, 0xDC}},
        {"B", 0x000, true, 8, false, {0xC0, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xA0, 0xE0}},
        {"B", 0x011, false, 8, false, {0x4B, 0x92, 0x24, 0x3D}},
        {"B", 0x110, false, 8, true, {0x00, 0xFC, 0xFE, 0xFD, 0xFF, 0xFC}},
        {"B", 0x110, false, 16, false, {0x03FF, 0x0201, 0x0300}},
        {"C", 0x111, true, 8, false, {0xF1, 0x1C, 0xE8, 0xF0}},
        {"C", 0x000, false, 8, false, {0x53, 0x03, 0x35, 0x01, 0x69, 0x01}},
        {"C", 0x010, true, 8, false, {0xCA, 0xAC, 0x96, 0xC0, 0x80, 0x80}},
        {"C", 0x001, true, 8, false, {0xCA, 0xEB, 0x29, 0x68}},
        {"C", 0x011, false, 8, false, {0x53, 0x35, 0x69, 0x17}},
        {"C", 0x011, true, 8, false, {0xCA, 0xAC, 0x96, 0xE8}},
    };
    for (const Example& e : examples) {
        const std::vector<std::string>& rows = glyphs().at(e.glyph);
        const int w = static_cast<int>(rows[0].size());
        const int h = static_cast<int>(rows.size());
        SCOPED_TRACE(std::string(e.glyph) + " traversal " + std::to_string(e.traversal) + " " +
                     std::to_string(e.bits) + (e.bigEndian ? " big" : " little"));
        const UnitLayout layout = layoutOf(e);
        EXPECT_EQ(unitCount(layout, w, h), e.units.size());
        std::vector<UnitProblem> problems;
        const std::vector<std::uint8_t> pixels = decodeUnits(layout, w, h, e.units, problems);
        EXPECT_TRUE(problems.empty());
        std::vector<std::string> decoded;
        for (int y = 0; y < h; ++y) {
            std::string row;
            for (int x = 0; x < w; ++x) {
                row += pixels[static_cast<std::size_t>(y * w + x)] != 0 ? '#' : '.';
            }
            decoded.push_back(row);
        }
        EXPECT_EQ(decoded, rows);
    }
}

TEST(UnitLayout, RefusesPaddingBitsAndNamesTheUnit) {
    UnitLayout l;  // big endian, row based, row preferred, unpacked, 8 bits
    std::vector<UnitProblem> problems;
    // Glyph A: A0 60; a bit below the three pixels of row 1 is padding.
    decodeUnits(l, 3, 2, std::vector<std::uint32_t>{0xA0, 0x61}, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].unit, 1u);
    // Inverted: the padding must be ones.
    l.inverted = true;
    problems.clear();
    decodeUnits(l, 3, 2, std::vector<std::uint32_t>{0x5F, 0x9E}, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].unit, 1u);
    // A 16-bit value in an 8-bit unit.
    l.inverted = false;
    problems.clear();
    decodeUnits(l, 3, 2, std::vector<std::uint32_t>{0x1A0, 0x60}, problems);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].unit, 0u);
}

TEST(UnitLayout, DescriptionReadsBack) {
    for (std::uint32_t word : {0x01121110u, 0x00040001u, 0x02081010u, 0x00020100u}) {
        const UnitLayout l = UnitLayout::fromWord(word);
        UnitLayout back = UnitLayout::fromWord(0);
        back.unitBits = l.unitBits;
        back.inverted = l.inverted;
        ASSERT_TRUE(back.parseDescription(l.describe()));
        EXPECT_EQ(back.word(), l.word()) << l.describe();
    }
}

}  // namespace
}  // namespace typeloom::verify
