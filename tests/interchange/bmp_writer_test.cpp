// Character bitmaps: compared with bytes worked out by hand from the BMP layout and read back
// by a small BMP reader written here from the format.

#include "interchange/bmp_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "charset/encodings.h"
#include "common/settings_store.h"
#include "interchange_test_support.h"
#include "model/font.h"
#include "model/font_settings.h"
#include "test_support.h"

namespace typeloom {
namespace {

using test::TempDir;
using Art = std::vector<std::string>;

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) |
           (std::uint32_t{b.at(at + 3)} << 24);
}

// Reads a 1-bit uncompressed BMP into rows of '#' (palette black) and '.' (palette white).
Art readMonoBmp(const std::vector<std::uint8_t>& b) {
    EXPECT_EQ(b.at(0), 'B');
    EXPECT_EQ(b.at(1), 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    const std::uint32_t dataAt = le32(b, 10);
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    EXPECT_EQ(b.at(28), 1);
    EXPECT_EQ(le32(b, 30), 0u);
    const std::size_t stride = static_cast<std::size_t>((width + 31) / 32 * 4);
    const bool zeroIsBlack = b.at(54) == 0;
    Art rows(static_cast<std::size_t>(height));
    for (std::int32_t fileRow = 0; fileRow < height; ++fileRow) {
        std::string& row = rows[static_cast<std::size_t>(height - 1 - fileRow)];
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t byte = b.at(dataAt + static_cast<std::size_t>(fileRow) * stride +
                                           static_cast<std::size_t>(x / 8));
            const bool set = (byte & (0x80 >> (x % 8))) != 0;
            row += set != zeroIsBlack ? '#' : '.';
        }
    }
    return rows;
}

TEST(BmpWriter, WritesTheWorkedExampleByteForByte) {
    const std::vector<std::uint8_t> px = test::pixelsOfArt({"#.#.#", ".#.#."});
    const std::vector<std::uint8_t> expected = {
        'B',  'M', 70, 0, 0,    0, 0, 0, 0,    0,    62,   0, 0, 0,  // file header
        40,   0,   0,  0, 5,    0, 0, 0, 2,    0,    0,    0, 1, 0, 1, 0,
        0,    0,   0,  0, 8,    0, 0, 0, 0,    0,    0,    0, 0, 0, 0, 0,
        0,    0,   0,  0, 0,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0,  // palette
        0x50, 0,   0,  0, 0xA8, 0, 0, 0};                                  // bottom row first
    EXPECT_EQ(bmpBytes(5, 2, 1, px), expected);
}

TEST(BmpWriter, RowsArePaddedTo32Bits) {
    struct Case {
        int width;
        std::size_t rowBytes;
    };
    for (Case c : {Case{1, 4}, Case{5, 4}, Case{32, 4}, Case{33, 8}, Case{65, 12}}) {
        SCOPED_TRACE(c.width);
        std::vector<std::uint8_t> px(static_cast<std::size_t>(c.width) * 3, 1);
        const std::vector<std::uint8_t> b = bmpBytes(c.width, 3, 1, px);
        EXPECT_EQ(b.size(), 62 + 3 * c.rowBytes);
        EXPECT_EQ(le32(b, 34), 3 * c.rowBytes);
        // Unused bits of the last byte and the padding stay zero.
        const std::size_t last = 62 + c.rowBytes - 1;
        const int usedInLast = c.width - static_cast<int>((c.rowBytes - 1) * 8);
        const std::uint8_t expectedLast =
            usedInLast >= 8
                ? 0xFF
                : (usedInLast <= 0 ? 0 : static_cast<std::uint8_t>(0xFF << (8 - usedInLast)));
        EXPECT_EQ(b[last], expectedLast);
        EXPECT_EQ(readMonoBmp(b), Art(3, std::string(static_cast<std::size_t>(c.width), '#')));
    }
}

TEST(BmpWriter, TwoBitsAreStoredAsFourWithFourGreys) {
    const std::vector<std::uint8_t> b = bmpBytes(3, 1, 2, std::vector<std::uint8_t>{0, 1, 3});
    EXPECT_EQ(b.at(28), 4);
    EXPECT_EQ(le32(b, 10), 54u + 64u);
    const std::uint8_t greys[] = {255, 192, 128, 0};
    for (std::size_t k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        const std::uint8_t g = k < 4 ? greys[k] : 0;
        EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 54 + 4 * k, b.begin() + 58 + 4 * k),
                  (std::vector<std::uint8_t>{g, g, g, 0}));
    }
    EXPECT_EQ(b.at(118), 0x01);
    EXPECT_EQ(b.at(119), 0x30);
}

TEST(BmpWriter, NamesFilesByCodeInLowerCaseHex) {
    EXPECT_EQ(characterBitmapName(0x41), "char0041.bmp");
    EXPECT_EQ(characterBitmapName(0xE9), "char00e9.bmp");
    EXPECT_EQ(characterBitmapName(0xABCD), "charabcd.bmp");
}

Font threeCharacters() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.charSet = 204;
    font.createFromScratch(0x41, 0x43, 3, 2, "Three");
    font.glyphs.find(0x41)->pixels = test::pixelsOfArt({"#..", "..#"});
    font.glyphs.find(0x42)->pixels = test::pixelsOfArt({".#.", "###"});
    return font;
}

TEST(BmpWriter, ExportsEveryCharacter) {
    TempDir dir;
    const Font font = threeCharacters();
    BitmapExportResult r = exportCharacterBitmaps(font, dir.path().string());
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.written, 3);
    EXPECT_EQ(test::listFolder(dir.path()),
              (std::vector<std::string>{"char0041.bmp", "char0042.bmp", "char0043.bmp"}));
    EXPECT_EQ(readMonoBmp(test::readFile(dir.file("char0041.bmp"))), (Art{"#..", "..#"}));
    EXPECT_EQ(readMonoBmp(test::readFile(dir.file("char0042.bmp"))), (Art{".#.", "###"}));
    // An existing file is replaced.
    test::writeFile(dir.file("char0043.bmp"), {1, 2, 3});
    ASSERT_TRUE(exportCharacterBitmaps(font, dir.path().string()).ok);
    EXPECT_EQ(readMonoBmp(test::readFile(dir.file("char0043.bmp"))), (Art{"...", "..."}));
}

TEST(BmpWriter, StopsAtTheFirstFileThatCannotBeWritten) {
    TempDir dir;
    Font font = threeCharacters();
    // Code 0x42 of a font keyed differently: the message names the Unicode value.
    font.unicodeList[1] = 0x0411;
    font.glyphs.insert(0x0411, *font.glyphs.find(0x42));
    std::filesystem::create_directory(dir.path() / "char0042.bmp");
    BitmapExportResult r = exportCharacterBitmaps(font, dir.path().string());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(r.message, "File exception happened when exporting bitmap file of character 1041");
    EXPECT_EQ(test::listFolder(dir.path()),
              (std::vector<std::string>{"char0041.bmp", "char0042.bmp"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "char0042.bmp"));
}

TEST(BmpWriter, AsksForTheFolderUnlessAStoredOneExists) {
    TempDir dir;
    MemorySettingsStore settings;
    EXPECT_TRUE(bitmapFolderChoice(settings).askUser);  // AlwaysAsk defaults to 1
    settings.writeInteger(kSettingsSection, kAlwaysAskSetting, 0);
    EXPECT_TRUE(bitmapFolderChoice(settings).askUser);  // no folder stored
    rememberBitmapFolder(settings, dir.path().string());
    BitmapFolderChoice c = bitmapFolderChoice(settings);
    EXPECT_FALSE(c.askUser);
    EXPECT_EQ(c.folder, dir.path().string());
    rememberBitmapFolder(settings, (dir.path() / "deleted").string());
    EXPECT_TRUE(bitmapFolderChoice(settings).askUser);
    settings.writeInteger(kSettingsSection, kAlwaysAskSetting, 1);
    rememberBitmapFolder(settings, dir.path().string());
    EXPECT_TRUE(bitmapFolderChoice(settings).askUser);
}

}  // namespace
}  // namespace typeloom
