#include "model/character_lookup.h"

#include <gtest/gtest.h>

#include "charset/encodings.h"
#include "model/font.h"

namespace typeloom {
namespace {

// A Shift_JIS font, so that codes and Unicode values differ: the codes 0x41 ('A') and 0x82A0
// (U+3042 HIRAGANA LETTER A) at indices 0 and 1.
Font shiftJisFont() {
    Font font;
    font.setEncoding(kEncodingShiftJis);
    font.height = 1;
    font.insertCode(0x41, 0x41);
    font.insertCode(0x82A0, 0x3042);
    return font;
}

TEST(CharacterLookup, FindsCharactersCodesAndUnicodeValues) {
    const Font font = shiftJisFont();
    const struct {
        const char* typed;
        int index;
        const char* message;
    } rows[] = {
        {"A", 0, ""},
        {" A ", 0, ""},
        {"\xE3\x81\x82", 1, ""},  // the character itself, in UTF-8
        {"0x82A0", 1, ""},
        {"0x82a0", 1, ""},
        {"33440", 1, ""},  // 0x82A0 in decimal
        {"65", 0, ""},
        {"U+3042", 1, ""},
        {"u+0041", 0, ""},
        {"U+82A0", -1, "The font has no character U+82A0."},
        {"0x3042", -1, "The font has no character of code 0x3042."},
        {"B", -1, "The font has no character U+0042."},
        {"5", -1, "The font has no character U+0035."},  // one digit is the digit
        {"70000", -1, "Codes run from 0 to 65535 (0xFFFF)."},
        {"0x12345", -1, "Type a character, its code (65 or 0x41) or its Unicode value (U+0041)."},
        {"", -1, "Type a character, its code (65 or 0x41) or its Unicode value (U+0041)."},
        {"AB", -1, "Type a character, its code (65 or 0x41) or its Unicode value (U+0041)."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        const CharacterLookup found = lookUpCharacter(font, row.typed);
        EXPECT_EQ(found.index, row.index);
        EXPECT_EQ(found.message, row.message);
    }
}

}  // namespace
}  // namespace typeloom
