#include "export/char_data_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "charset/encodings.h"
#include "export/data_format.h"
#include "export/unit_text.h"
#include "rows_font.h"

namespace typeloom::exporters {
namespace {

using test::rowsFont;

constexpr std::uint32_t kC = 0x00100000;
constexpr std::uint32_t kDetail = 0x01000000;

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// In code order: 0, a control character; 1, 'A' (3 wide); 2, 'B' (10 wide); 3, 'Z' (empty);
// 4, code 0x80, the euro sign.
Font panelFont(std::uint32_t word) {
    return rowsFont("P", 3, kEncodingAnsi,
                    {{0x0A, 0x0A, {"#", ".", "#"}},
                     {0x41, 0x41, {"#.#", ".##", "..."}},
                     {0x42, 0x42, {"##########", "#........#", "........##"}},
                     {0x80, 0x20AC, {"#.", ".#", "##"}},
                     {0x5A, 0x5A, {"", "", ""}}},
                    word);
}

TEST(CharDataText, DetailHeadInCAndAssembler) {
    const Font font = panelFont(0x01121110);  // big endian rows of 8 bits
    EXPECT_EQ(characterDataText(font, 2, kC | kDetail, 0x6F),
              "/* character = 'B' */\r\n"
              "unsigned char Data0042[ ]= {\r\n"
              "/* ----------------------------------------\r\n"
              "   hexcode: 0042\r\n"
              "   width x height: 10 x 3\r\n"
              "   size: 6 bytes\r\n"
              " ---------------------------------------- */\r\n"
              "    0xFF, 0xC0, \r\n"
              "    0x80, 0x40, \r\n"
              "    0x00, 0xC0  \r\n"
              "};");
    EXPECT_EQ(characterDataText(font, 2, kDetail, 0x6F),
              "; character = 'B'  \r\n"
              "Data0042 \r\n"
              "; ----------------------------------------\r\n"
              " ; hexcode: 0042\r\n"
              " ; width x height: 10 x 3\r\n"
              " ; size: 6 bytes\r\n"
              "; ----------------------------------------\r\n"
              "    db 0ffh,  0c0h\r\n"
              "    db  80h,   40h\r\n"
              "    db  00h,  0c0h\r\n");
}

TEST(CharDataText, PureDataIsTheDetailTextWithoutHeadAndClosing) {
    for (std::uint32_t word : {0x01121110u, 0x02040001u, 0x00181000u}) {
        SCOPED_TRACE(testing::Message() << std::hex << word);
        const Font font = panelFont(word);
        for (int index = 0; index < font.count(); ++index) {
            SCOPED_TRACE(index);
            const std::string pureC = characterDataText(font, index, kC, 0x6F);
            const std::string detailC = characterDataText(font, index, kC | kDetail, 0x6F);
            ASSERT_GE(detailC.size(), pureC.size() + 2);
            EXPECT_EQ(detailC.substr(detailC.size() - pureC.size() - 2), pureC + "};");
            EXPECT_EQ(std::count(detailC.begin(), detailC.end(), '\n') -
                          std::count(pureC.begin(), pureC.end(), '\n'),
                      7);

            const std::string pureAsm = characterDataText(font, index, 0, 0x6F);
            const std::string detailAsm = characterDataText(font, index, kDetail, 0x6F);
            ASSERT_GE(detailAsm.size(), pureAsm.size());
            EXPECT_EQ(detailAsm.substr(detailAsm.size() - pureAsm.size()), pureAsm);
            // Seven head lines, each a comment or the label.
            const std::string head = detailAsm.substr(0, detailAsm.size() - pureAsm.size());
            EXPECT_EQ(std::count(head.begin(), head.end(), '\n'), 7);
            std::size_t start = 0;
            for (int line = 0; line < 7; ++line) {
                const std::string text = head.substr(start, head.find("\r\n", start) - start);
                if (line == 1) {
                    EXPECT_EQ(text.rfind("Data", 0), 0u) << text;
                } else {
                    EXPECT_TRUE(text.rfind(";", 0) == 0 || text.rfind(" ;", 0) == 0) << text;
                }
                start = head.find("\r\n", start) + 2;
            }
            EXPECT_EQ(detailAsm.find("};"), std::string::npos);
        }
    }
}

// Column 0 of a 10 x 9 glyph set: in column-major packing the first nine bits of the stream.
Font columnFont(std::uint32_t word) {
    std::vector<std::string> rows(9, "#.........");
    return rowsFont("Q", 9, kEncodingAnsi, {{0x51, 0x51, rows}}, word);
}

TEST(CharDataText, UnitsOfEveryLengthAndTheByteOption) {
    struct Case {
        const char* name;
        Font font;
        int index;
        int pages;
        std::uint32_t panel;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"8 bits C, eight to a line", columnFont(0x00020001), 0, 0x6F, kC,
         "    0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n"
         "    0x00, 0x00, 0x00, 0x00\r\n"},
        {"8 bits assembler", columnFont(0x00020001), 0, 0x6F, 0,
         "    db 0ffh,  01h,  00h,  00h,  00h,  00h,  00h,  00h\r\n"
         "    db  00h,  00h,  00h,  00h\r\n"},
        {"16 bits C, four to a line", columnFont(0x00040001), 0, 0x6F, kC,
         "    0x01FF, 0x0000, 0x0000, 0x0000, \r\n"
         "    0x0000, 0x0000\r\n"},
        {"16 bits C as bytes", columnFont(0x00040001), 0, 0x7F, kC,
         "    0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n"
         "    0x00, 0x00, 0x00, 0x00\r\n"},
        {"16 bits assembler", columnFont(0x00040001), 0, 0x6F, 0,
         "    dw  01ffh,  0000h,  0000h,  0000h\r\n"
         "    dw  0000h,  0000h\r\n"},
        {"16 bits assembler as bytes", columnFont(0x00040001), 0, 0x7F, 0,
         "    db  01h,  0ffh,  00h,   00h,  00h,   00h,  00h,   00h\r\n"
         "    db  00h,   00h,  00h,   00h\r\n"},
        {"16 bits big endian inverted", columnFont(0x02041001), 0, 0x6F, kC,
         "    0x007F, 0xFFFF, 0xFFFF, 0xFFFF, \r\n"
         "    0xFFFF, 0xFFFF\r\n"},
        {"16 bits big endian inverted assembler", columnFont(0x02041001), 0, 0x6F, 0,
         "    dw  007fh, 0ffffh, 0ffffh, 0ffffh\r\n"
         "    dw 0ffffh, 0ffffh\r\n"},
        {"32 bits C, two to a line", columnFont(0x00080001), 0, 0x6F, kC,
         "    0x000001FF, 0x00000000, \r\n"
         "    0x00000000\r\n"},
        {"32 bits assembler", columnFont(0x00080001), 0, 0x6F, 0,
         "    dd  000001ffh,  00000000h\r\n"
         "    dd  00000000h\r\n"},
        {"32 bits C as bytes", columnFont(0x00080001), 0, 0x7F, kC,
         "    0x00, 0x00, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, \r\n"
         "    0x00, 0x00, 0x00, 0x00\r\n"},
        {"rows of 16 bits as bytes", panelFont(0x00141110), 2, 0x7F, kC,
         "    0xFF, 0xC0, \r\n"
         "    0x80, 0x40, \r\n"
         "    0x00, 0xC0  \r\n"},
        {"rows of 16 bits assembler", panelFont(0x00141110), 2, 0x6F, 0,
         "    dw 0ffc0h\r\n"
         "    dw  8040h\r\n"
         "    dw  00c0h\r\n"},
        {"rows of 16 bits assembler as bytes", panelFont(0x00141110), 2, 0x7F, 0,
         "    db 0ffh,  0c0h\r\n"
         "    db  80h,   40h\r\n"
         "    db  00h,  0c0h\r\n"},
        {"rows little endian", panelFont(0x00121110 & ~0x1000u), 1, 0x6F, kC,
         "    0x05, \r\n"
         "    0x06, \r\n"
         "    0x00  \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(characterDataText(c.font, c.index, c.panel, c.pages), c.text);
    }
}

TEST(CharDataText, DetailTypeAndSizeFollowTheUnits) {
    struct Case {
        std::uint32_t word;
        int pages;
        const char* declaration;
        const char* size;
    };
    const Case cases[] = {
        {0x00020001, 0x6F, "unsigned char Data0051[ ]= {", "   size: 12 bytes"},
        {0x00040001, 0x6F, "unsigned short Data0051[ ]= {", "   size: 12 bytes"},
        {0x00040001, 0x7F, "unsigned char Data0051[ ]= {", "   size: 12 bytes"},
        {0x00080001, 0x6F, "unsigned long Data0051[ ]= {", "   size: 12 bytes"},
        {0x00080000, 0x6F, "unsigned long Data0051[ ]= {", "   size: 40 bytes"},
        {0x00021110, 0x6F, "unsigned char Data0051[ ]= {", "   size: 18 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.word);
        const std::string text = characterDataText(columnFont(c.word), 0, kC | kDetail, c.pages);
        EXPECT_NE(text.find(std::string("\r\n") + c.declaration + "\r\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("\r\n") + c.size + "\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("\r\n   width x height: 10 x 9\r\n"), std::string::npos);
    }
}

TEST(CharDataText, CharacterCodeAndUnicode) {
    const Font font = panelFont(0x01121110);
    // A control character is shown as a space.
    EXPECT_TRUE(startsWith(characterDataText(font, 0, kC | kDetail, 0x6F),
                           "/* character = ' ' */\r\nunsigned char Data000A[ ]"));
    EXPECT_TRUE(startsWith(characterDataText(font, 0, kDetail, 0x6F), "; character = ' '  \r\n"));
    // Code 0x80 is the euro sign: its code names the data, the text shows the character.
    const std::string euro = characterDataText(font, 4, kC | kDetail, 0x6F);
    EXPECT_TRUE(startsWith(euro,
                           "/* character = '\xE2\x82\xAC' */\r\n"
                           "unsigned char Data0080[ ]= {\r\n/* -"))
        << euro;
    EXPECT_NE(euro.find("\r\n   hexcode: 0080\r\n"), std::string::npos);

    // Saved to a file: windows-1252 with CR LF line ends; what the page lacks becomes '?'.
    const std::string saved = characterDataFileContents(euro);
    EXPECT_TRUE(startsWith(saved, "/* character = '\x80' */\r\nuns")) << saved;
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'),
              std::count(euro.begin(), euro.end(), '\n'));
    EXPECT_EQ(saved.find("\r\r"), std::string::npos);
    EXPECT_EQ(characterDataFileContents("/* character = '\xE4\xB8\x80' */\r\n    0x00"),
              "/* character = '?' */\r\n    0x00");
}

TEST(CharDataText, PixelsBeingEditedReplaceTheStoredOnes) {
    const Font font = panelFont(0x00121110);
    const std::vector<std::uint8_t> edited = {1, 1, 1, 0, 0, 0, 1, 0, 0};
    EXPECT_EQ(characterDataText(font, 1, kC, 0x6F, edited),
              "    0xE0, \r\n"
              "    0x00, \r\n"
              "    0x80  \r\n");
    // Pixels of another size are not the glyph's: its stored pixels are shown.
    const std::vector<std::uint8_t> wrongSize = {1, 1, 1, 1};
    EXPECT_EQ(characterDataText(font, 1, kC, 0x6F, wrongSize),
              "    0xA0, \r\n"
              "    0x60, \r\n"
              "    0x00  \r\n");
}

TEST(CharDataText, EmptyCharacterAndIndexOutsideTheFont) {
    const Font font = panelFont(0x00121110);
    // No rows without units (and no "db" without operands).
    EXPECT_EQ(characterDataText(font, 3, kC, 0x6F), "");
    EXPECT_EQ(characterDataText(font, 3, 0, 0x6F), "");
    EXPECT_NE(characterDataText(font, 3, kC | kDetail, 0x6F).find("   size: 0 bytes\r\n"),
              std::string::npos);
    const Font columns = panelFont(0x00020000);
    EXPECT_EQ(characterDataText(columns, 3, kC, 0x6F), "");
    EXPECT_TRUE(
        startsWith(characterDataText(columns, 3, kC | kDetail, 0x6F), "/* character = 'Z' */\r\n"));
    EXPECT_EQ(characterDataText(font, -1, kC | kDetail, 0x6F), "");
    EXPECT_EQ(characterDataText(font, font.count(), kC | kDetail, 0x6F), "");
}

// The bit inspector's view of the text: each unit's span holds exactly that unit's number,
// in C and assembler, with and without the head, also for a glyph edited to another width.
TEST(CharDataText, UnitSpansAndAnEditedWidth) {
    for (std::uint32_t word : {0x01121110u, 0x00181000u, 0x02040001u}) {
        const Font font = panelFont(word);
        for (std::uint32_t panel : {kC | kDetail, kC, kDetail, 0u}) {
            for (int pages : {0x6F, 0x7F}) {
                SCOPED_TRACE(testing::Message()
                             << std::hex << word << " " << panel << " " << pages);
                const CharacterData data = characterData(font, 4, panel, pages);  // the euro sign
                ASSERT_EQ(data.unitSpans.size(), data.units.size());
                ASSERT_FALSE(data.units.empty());
                for (std::size_t u = 0; u < data.units.size(); ++u) {
                    const std::string number =
                        data.text.substr(data.unitSpans[u].begin, data.unitSpans[u].length);
                    const bool asm_ = (panel & kC) == 0;
                    const std::string expected =
                        asm_ ? unitAsAsm(data.units[u], unitBits(word), (pages & 0x10) != 0)
                             : unitAsC(data.units[u], unitBits(word), (pages & 0x10) != 0);
                    EXPECT_EQ(number, expected.substr(expected.find_first_not_of(' ')));
                }
            }
        }
    }
    // 'A' (3 wide) edited to 4 columns: the text and the units follow the edit.
    const Font font = panelFont(0x00021110);  // big endian rows, C, pure data
    const std::vector<std::uint8_t> pixels = {1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1};
    const EditedGlyph edited{4, pixels};
    const CharacterData data = characterData(font, 1, kC | kDetail, 0x6F, &edited);
    EXPECT_EQ(data.width, 4);
    EXPECT_EQ(data.units, (std::vector<std::uint32_t>{0x90, 0x00, 0xF0}));
    EXPECT_NE(data.text.find("width x height: 4 x 3"), std::string::npos);
    ASSERT_EQ(data.places.size(), 12u);
    EXPECT_EQ(data.places[3], (BitPlace{0, 4}));
    // Pixels of the wrong size are ignored: the stored glyph is shown.
    const EditedGlyph wrong{4, std::span(pixels).first(8)};
    EXPECT_EQ(characterData(font, 1, kC, 0x6F, &wrong).units,
              (std::vector<std::uint32_t>{0xA0, 0x60, 0x00}));
}

}  // namespace
}  // namespace typeloom::exporters
