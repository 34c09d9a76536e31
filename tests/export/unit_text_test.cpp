#include "export/unit_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace typeloom::exporters {
namespace {

// The C library's printf is the reference for the hand-written number spelling.
std::string printed(const char* format, std::uint32_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, format, width, value);
    return text;
}

TEST(UnitText, NumbersSpelledAsPrintfSpellsThem) {
    const std::uint32_t values[] = {0,      1,       9,       10,         0xA,        0xF,
                                    0x10,   0x9F,    0xA0,    0xFF,       0x100,      0x1234,
                                    0xFFFF, 0x10000, 0xABCDE, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (const std::uint32_t value : values) {
        for (const int width : {0, 1, 2, 4, 5, 7, 8, 9}) {
            SCOPED_TRACE(testing::Message() << value << " in " << width);
            std::string hex = "x";
            appendHex(hex, value, width, true);
            EXPECT_EQ(hex, "x" + printed("%0*X", value, width));
            hex.clear();
            appendHex(hex, value, width, false);
            EXPECT_EQ(hex, printed("%0*x", value, width));
            std::string decimal;
            appendDecimal(decimal, value, width);
            EXPECT_EQ(decimal, printed("%*u", value, width));
        }
    }
    std::string negative;
    appendDecimal(negative, -12, 5);
    EXPECT_EQ(negative, "  -12");
}

TEST(UnitText, UnitsInEveryLengthAndSpelling) {
    struct Case {
        std::uint32_t unit;
        int bits;
        bool asBytes;
        const char* c;
        const char* assembler;
    };
    const Case cases[] = {
        {0x0A, 8, false, "0x0A", " 0ah"},
        {0xA5, 8, true, "0xA5", "0a5h"},
        {0x1FA5, 8, false, "0xA5", "0a5h"},  // only the unit's own bits
        {0x9FA5, 16, false, "0x9FA5", " 9fa5h"},
        {0xA005, 16, false, "0xA005", "0a005h"},
        {0xA005, 16, true, "0xA0, 0x05", "0a0h,   05h"},
        {0x1234ABCD, 32, false, "0x1234ABCD", " 1234abcdh"},
        {0xB234ABCD, 32, false, "0xB234ABCD", "0b234abcdh"},
        {0x1234ABCD, 32, true, "0x12, 0x34, 0xAB, 0xCD", " 12h,   34h,  0abh,  0cdh"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c);
        EXPECT_EQ(unitAsC(c.unit, c.bits, c.asBytes), c.c);
        EXPECT_EQ(unitAsAsm(c.unit, c.bits, c.asBytes), c.assembler);
    }
}

TEST(UnitText, CharacterTextOfControlsSurrogatesAndWideCharacters) {
    EXPECT_EQ(characterText(0x0A, '.'), ".");
    EXPECT_EQ(characterText(0x7F, '.'), ".");
    EXPECT_EQ(characterText(0x85, '.'), "?");
    EXPECT_EQ(characterText('A', '.'), "A");
    EXPECT_EQ(characterText(0xE9, '.'), "\xC3\xA9");
    EXPECT_EQ(characterText(0x4E00, '.'), "\xE4\xB8\x80");
    EXPECT_EQ(characterText(0xD800, '.'), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace typeloom::exporters
