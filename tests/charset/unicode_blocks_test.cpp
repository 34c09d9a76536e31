#include "charset/unicode_blocks.h"

#include <gtest/gtest.h>

#include <string_view>

using typeloom::unicodeRowLabel;

TEST(UnicodeBlocks, RowsCarryTheLabelOfTheirBlock) {
    struct Case {
        int row;
        std::string_view label;
    };
    // First and last rows of blocks, the ends of the table and the blocks that repeat a label.
    const Case cases[] = {
        {0x000, "Control"},
        {0x002, "Basic Latin"},
        {0x007, "Basic Latin"},
        {0x008, "Control"},
        {0x00A, "Latin-1 Supplement"},
        {0x03C, "Basic Greek"},
        {0x03D, "Greek Symbol and Coptic"},
        {0x08F, "Unassigned"},
        {0x20D, "[Symbols] Combining Diacritical Marks"},
        {0x2FE, "[East Asian] Unassigned"},
        {0x4DB, "[East Asian] CJK Unified Ideographs Extension-A"},
        {0x4E0, "[East Asian] CJK Unified Ideographs"},
        {0xD7A, "Hangul Syllables"},
        {0xD7B, "Hangul Jamo Extended-B"},
        {0xDB8, "[Surrogates] High Private Use Surrogates"},
        {0xF8F, "Private Use Area"},
        {0xFFE, "Halfwidth and Fullwidth Forms"},
        {0xFFF, "Specials"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unicodeRowLabel(c.row), c.label) << "row " << std::hex << c.row;
    }
}

TEST(UnicodeBlocks, EveryRowHasALabelAndOtherRowsNone) {
    for (int row = 0; row <= 0xFFF; ++row) {
        EXPECT_FALSE(unicodeRowLabel(row).empty()) << row;
    }
    for (int row : {-1, 4096, -4096, 1 << 20}) {
        EXPECT_TRUE(unicodeRowLabel(row).empty()) << row;
    }
}
