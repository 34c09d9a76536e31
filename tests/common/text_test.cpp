#include "common/text.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

namespace typeloom {
namespace {

TEST(Utf, RoundTripsBmpAndSupplementaryCharacters) {
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
    std::u16string units = utf8ToUtf16(text);
    EXPECT_EQ(units, (std::u16string{u'A', 0x00E9, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(utf16ToUtf8(units), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(utf8ToUtf16("\xC3"), std::u16string{0xFFFD});        // cut sequence
    EXPECT_EQ(utf8ToUtf16("\xC0\x80"), (std::u16string{0xFFFD}));  // overlong NUL
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD800, u'a'}),
              "\xEF\xBF\xBD"
              "a");
}

// windows-1252 as ICU knows it is the independent reference for our own table.
TEST(Ansi, AgreesWithIcuForEveryByte) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open("ibm-5348_P100-1997", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        char byte = static_cast<char>(b);
        UChar out[4];
        status = U_ZERO_ERROR;
        int n = ucnv_toUChars(conv, out, 4, &byte, 1, &status);
        ASSERT_EQ(n, 1);
        EXPECT_EQ(ansiToUnicode(static_cast<std::uint8_t>(b)), out[0]);
        EXPECT_EQ(unicodeToAnsi(out[0]), b);
    }
    ucnv_close(conv);
}

TEST(AnsiTextSink, WritesCrLfAndQuestionMarksForMissingCharacters) {
    AnsiTextSink sink;
    sink << "const \xE2\x82\xAC";   // the euro sign is byte 0x80
    sink.line(" // \xE4\xB8\x80");  // a CJK ideograph has no windows-1252 byte
    sink << "a\nb\r\nc";
    sink << "\rd\r";  // a carriage return alone stays one
    EXPECT_EQ(sink.bytes(), std::string("const \x80 // ?\r\na\r\nb\r\nc\rd\r"));
}

}  // namespace
}  // namespace typeloom
