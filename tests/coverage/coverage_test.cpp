// The characters firmware texts use, in each accepted form (hand-made texts whose characters
// are known), the missing ones grouped by block, and a subset that keeps exactly those used.

#include <gtest/gtest.h>

#include "coverage/font_coverage.h"
#include "coverage/text_sources.h"
#include "model/font.h"

namespace typeloom::coverage {
namespace {

std::vector<std::uint8_t> bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::u32string used(const std::string& text, TextForm form) {
    const std::vector<char32_t> c = charactersOf(bytes(text), form, "t");
    return {c.begin(), c.end()};
}

TEST(TextSources, EachFormYieldsTheCharactersItsStringsHold) {
    struct Case {
        const char* name;
        TextForm form;
        std::string text;
        std::u32string expected;
    };
    const std::vector<Case> cases = {
        {"plain", TextForm::Plain, "Temp\t21\xC2\xB0\r\n", U"Temp21\u00B0"},
        {"C literals and escapes", TextForm::CSource,
         "// \xE2\x82\xAC in a comment\n/* \"x\" */ const char* s = u8\"A\\u00B0\\x42\\n\\\"\";\n"
         "char c = 'Z'; int n = 1'000; auto r = R\"(q\\n)\";\n",
         U"A\u00B0B\"Zq\\n"},
        {"C \\U escape", TextForm::CSource, "L\"\\U00004E2D\\101\"", U"\u4E2DA"},
        {"gettext msgstr only", TextForm::Gettext,
         "msgid \"Hello\"\nmsgstr \"Hallo \"\n\"W\xC3\xB6rld\"\n\n#: x.c\nmsgid \"a\"\n"
         "msgstr[0] \"\\u00E9\"\n",
         U"Hallo W\u00F6rld\u00E9"},
        {"JSON values not keys", TextForm::Json,
         "{\"key\": \"v\\u00e9\", \"list\": [\"\\ud83d\\ude00\", 3], \"k2\" : \"\\n/\"}",
         U"v\u00E9\U0001F600/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(used(c.text, c.form), c.expected) << c.name;
    }
    EXPECT_EQ(textFormOf("strings.H"), TextForm::CSource);
    EXPECT_EQ(textFormOf("de.po"), TextForm::Gettext);
    EXPECT_EQ(textFormOf("ui.json"), TextForm::Json);
    EXPECT_EQ(textFormOf("notes.txt"), TextForm::Plain);
}

TEST(TextSources, BrokenTextNamesTheFileAndOffset) {
    const std::vector<std::pair<std::string, TextForm>> bad = {
        {"ab\xFF", TextForm::Plain},
        {"x = \"open\n\";", TextForm::CSource},
        {"s = \"\\u12\";", TextForm::CSource},
        {"{\"a\": \"b", TextForm::Json},
    };
    for (const auto& [text, form] : bad) {
        try {
            charactersOf(bytes(text), form, "strings.c");
            ADD_FAILURE() << text;
        } catch (const TextError& e) {
            EXPECT_NE(std::string(e.what()).find("strings.c"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find("byte offset"), std::string::npos);
        }
    }
}

TEST(FontCoverage, MissingCharactersGroupedByBlockAndASubsetKeepsWhatIsUsed) {
    Font font;
    font.createFromScratch(0x20, 0x7E, 5, 8, "Latin");
    const std::vector<char32_t> text = {'H', 'i', 0xB0, 0x4E2D, 'H', 0x1F600, 0xE9};
    const CoverageReport report = coverageOf(font, text);
    EXPECT_EQ(report.used, 6u);
    ASSERT_EQ(report.missing.size(), 3u);
    EXPECT_EQ(report.missing[0].block, "Latin-1 Supplement");
    EXPECT_EQ(report.missing[0].characters, (std::vector<char32_t>{0xB0, 0xE9}));
    EXPECT_EQ(report.missing[2].block, "Beyond U+FFFF");
    EXPECT_EQ(report.missingCount(), 4u);

    std::vector<std::pair<char32_t, char32_t>> keep;
    ASSERT_TRUE(parseRanges("0x30-0x32,65", keep));
    EXPECT_FALSE(parseRanges("0x40-0x30", keep));
    EXPECT_FALSE(parseRanges("x", keep));
    font.fontHeader.defaultChar = '?';
    EXPECT_EQ(keepOnly(font, text, {{0x30, 0x32}, {65, 65}}), 8);
    EXPECT_EQ(font.codeList,
              (std::vector<std::uint16_t>{0x20, 0x30, 0x31, 0x32, 0x3F, 0x41, 0x48, 0x69}));
    EXPECT_EQ(font.unicodeList, font.codeList);
    EXPECT_EQ(font.glyphs.size(), 8u);
    EXPECT_FALSE(font.charTable.committed.get('B').enabled);
    EXPECT_TRUE(font.charTable.committed.get('H').enabled);
}

}  // namespace
}  // namespace typeloom::coverage
