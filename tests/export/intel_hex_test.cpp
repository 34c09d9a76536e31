#include "export/intel_hex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "export/export_driver.h"
#include "export_test_support.h"
#include "rows_font.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

using test::RowGlyph;
using test::rowsFont;

std::vector<std::string> patternRows(int width, int height, int seed) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            row += (x * 5 + y * 3 + seed) % 7 < 3 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// 'A' has a known picture: the diagonal in rows 0-7, all of row 8 and column 0 of row 11.
std::vector<std::string> letterA() {
    std::vector<std::string> rows;
    for (int y = 0; y < 8; ++y) {
        std::string row(8, '.');
        row[static_cast<std::size_t>(y)] = '#';
        rows.push_back(row);
    }
    rows.push_back("########");
    rows.push_back("........");
    rows.push_back("........");
    rows.push_back("#.......");
    return rows;
}

// Unicode font of height 12: 'A'; 'C' too wide (17); U+0787, whose block crosses from
// 0xFFEE into the next 64 KiB at start address 0; U+0790 above it; an empty U+4E00; U+4E01.
Font hexFont(std::uint32_t word = 0x01121110) {
    return rowsFont("Hex", 12, kEncodingUnicode,
                    {{0x41, 0x41, letterA()},
                     {0x43, 0x43, patternRows(17, 12, 1)},
                     {0x787, 0x787, patternRows(16, 12, 2)},
                     {0x790, 0x790, patternRows(3, 12, 3)},
                     {0x4E00, 0x4E00, std::vector<std::string>(12, "")},
                     {0x4E01, 0x4E01, patternRows(5, 12, 4)}},
                    word);
}

std::string hexOf(const Font& font, const HexOptions& options) {
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    return exportToMemory(font, settings, ExportFormat::Hex, "fontHex", test::fixedNow(), options)
        .value_or("<failed>");
}

TEST(IntelHexChecks, MonochromeFontsOfHeight9To16) {
    struct Case {
        std::uint16_t height;
        std::uint32_t bpp;
        const char* message;
    };
    const char* height =
        "To generate Hex File in this version\r\n\r\nFont Height must be [9..16]\r\n";
    const char* mono =
        "To generate Hex File in this version\r\n\r\nFont must be \"Monochrome, 1-bpp\"\r\n";
    const Case cases[] = {{9, 1, ""},      {16, 1, ""},   {8, 1, height},
                          {17, 1, height}, {12, 2, mono}, {8, 4, mono}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " rows, " << c.bpp << " bpp");
        Font font = rowsFont("C", c.height, kEncodingUnicode,
                             {{0x41, 0x41, patternRows(4, c.height, 0)}}, 0x01121110);
        font.bitsPerPixel = c.bpp;
        EXPECT_EQ(hexExportProblem(font), c.message);
        // The writer itself refuses what the checks refuse.
        const std::string out = hexOf(font, {});
        EXPECT_EQ(out == "<failed>", *c.message != '\0');
    }
}

TEST(IntelHexChecks, WideCharacterQueryAndList) {
    const Font font = hexFont();
    EXPECT_EQ(hexWideCharacters(font), std::vector<std::uint16_t>{0x43});
    EXPECT_EQ(hexWideCharacterList(font), "Character     Width   \r\n\r\n  0x0043       17");

    const Font two = rowsFont("W", 10, kEncodingUnicode,
                              {{0x20, 0x20, patternRows(16, 10, 0)},
                               {0x21, 0x21, patternRows(30, 10, 0)},
                               {0x3042, 0x3042, patternRows(17, 10, 0)}},
                              0x01121110);
    EXPECT_EQ(hexWideCharacters(two), (std::vector<std::uint16_t>{0x21, 0x3042}));
    EXPECT_EQ(hexWideCharacterList(two),
              "Character     Width   \r\n\r\n  0x0021       30\r\n  0x3042       17");
    EXPECT_TRUE(hexWideCharacters(test::fixedFont()).empty());
    EXPECT_EQ(hexWideCharacterList(test::fixedFont()), "Character     Width   \r\n\r\n");
}

TEST(IntelHex, RecordOfLetterA) {
    // Width 08; lower band: row 8 in bit 7 of every column and row 11 in bit 4 of column 0;
    // upper band: the diagonal; XOR E7; 16 zero bytes; checksum 36.
    const std::string expected =
        ":2208A20008"
        "9080808080808080"
        "8040201008040201"
        "E7" +
        std::string(32, '0') + "36\r\n";
    const std::string hex = hexOf(hexFont(), {});
    EXPECT_EQ(hex.substr(0, expected.size()), expected);
    // Nothing but records: CR LF after each but the last, the end record.
    EXPECT_EQ(hex.substr(hex.size() - 13), "\r\n:00000001FF");
}

TEST(IntelHex, StartAddressAboveSixtyFourKilobytes) {
    HexOptions options;
    options.startAddress = 0x00012000;
    const std::string hex = hexOf(hexFont(), options);
    EXPECT_EQ(hex.substr(0, 17), ":020000040001F9\r\n");
    // 'A' at 0x2000 + 0x8A2 in the segment 0x0001.
    EXPECT_EQ(hex.substr(17, 9), ":2228A200");
}

TEST(IntelHex, WideCharactersAreLeftOutOrTheRunFails) {
    const Font font = hexFont();
    HexOptions skip;
    skip.skipWide = true;
    const std::string hex = hexOf(font, skip);
    // The wide 'C' would be at 0x43 x 34 = 0x08E6.
    EXPECT_EQ(hex.find(":2208E600"), std::string::npos);
    EXPECT_NE(hex.find(":2208A200"), std::string::npos);

    HexOptions refuse;
    refuse.skipWide = false;
    EXPECT_EQ(hexOf(font, refuse), "<failed>");
    // Without wide characters the decision does not matter.
    const Font narrow =
        rowsFont("N", 10, kEncodingUnicode, {{0x41, 0x41, patternRows(16, 10, 0)}}, 0x01121110);
    EXPECT_EQ(hexOf(narrow, refuse), hexOf(narrow, skip));
    EXPECT_NE(hexOf(narrow, refuse), "<failed>");
}

// ----- Reading the file back with srec_cat.

int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveSrecCat() {
    return shell("command -v srec_cat > /dev/null 2>&1") == 0;
}

// The block of a character, built from its pixels.
std::vector<std::uint8_t> expectedBlock(const Font& font, std::uint16_t u, bool invert) {
    const int w = font.glyphs.find(u)->width;
    std::vector<std::uint8_t> block(34, 0);
    block[0] = static_cast<std::uint8_t>(w);
    for (int c = 0; c < w; ++c) {
        std::uint8_t lower = 0;
        std::uint8_t upper = 0;
        for (int r = 0; r < font.height; ++r) {
            if (test::pixelOf(font, u, c, r) != 0) {
                if (r < 8) {
                    upper |= static_cast<std::uint8_t>(0x80 >> r);
                } else {
                    lower |= static_cast<std::uint8_t>(0x80 >> (r - 8));
                }
            }
        }
        block[static_cast<std::size_t>(1 + c)] = invert ? static_cast<std::uint8_t>(~lower) : lower;
        block[static_cast<std::size_t>(1 + w + c)] =
            invert ? static_cast<std::uint8_t>(~upper) : upper;
    }
    std::uint8_t check = 0;
    for (int i = 0; i < 1 + 2 * w; ++i) {
        check ^= block[static_cast<std::size_t>(i)];
    }
    block[static_cast<std::size_t>(1 + 2 * w)] = check;
    return block;
}

TEST(IntelHex, SrecCatReadsEveryBlockAtItsAddress) {
    ASSERT_TRUE(haveSrecCat()) << "srec_cat is missing: run scripts/deps.sh test";
    struct Case {
        const char* name;
        Font font;
        std::uint32_t start;
        bool invert;
    };
    std::vector<std::string> nine(9, "");
    const std::vector<Case> cases = {
        {"start 0", hexFont(), 0, false},
        {"start 0x12000", hexFont(), 0x12000, false},
        {"start 0xFFFF inverted", hexFont(0x03121110), 0xFFFF, true},
        {"start 0x3FFFF", hexFont(), 0x3FFFF, false},
        // Code order is not Unicode order here: 0x80 is U+20AC (segment 4), 0x9F is U+0178
        // (segment 0 again).
        {"code page font",
         rowsFont("Ansi", 9, kEncodingAnsi,
                  {{0x41, 0x41, patternRows(7, 9, 0)},
                   {0x80, 0x20AC, patternRows(9, 9, 1)},
                   {0x9F, 0x0178, patternRows(16, 9, 2)}},
                  0x00080000),
         0x1000, false},
        {"height 9 inverted",
         rowsFont("Nine", 9, kEncodingUnicode,
                  {{0x31, 0x31, patternRows(6, 9, 5)}, {0x32, 0x32, patternRows(1, 9, 0)}},
                  0x02000000),
         0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        typeloom::test::TempDir dir;
        const std::string hexPath = dir.file("font.hex");
        HexOptions options;
        options.startAddress = c.start;
        const std::string hex = hexOf(c.font, options);
        ASSERT_NE(hex, "<failed>");
        {
            std::ofstream out(hexPath, std::ios::binary);
            out << hex;
        }
        // srec_cat checks every record's checksum and syntax as it reads.
        ASSERT_EQ(shell("srec_cat '" + hexPath + "' -Intel -o /dev/null -Intel 2> '" +
                        dir.file("check.log") + "'"),
                  0);

        // Every byte from 0 to past the last block: the blocks, 0xEE elsewhere.
        std::uint32_t end = 0;
        for (int i = 0; i < c.font.count(); ++i) {
            end = std::max(end,
                           c.start + 34u * static_cast<std::uint32_t>(c.font.unicodeAt(i)) + 34u);
        }
        const std::string binPath = dir.file("font.bin");
        ASSERT_EQ(shell("srec_cat '" + hexPath + "' -Intel -fill 0xEE 0 " + std::to_string(end) +
                        " -o '" + binPath + "' -Binary 2> '" + dir.file("bin.log") + "'"),
                  0);
        std::vector<std::uint8_t> image = typeloom::test::readFile(binPath);
        ASSERT_EQ(image.size(), end);
        std::vector<bool> inBlock(image.size(), false);
        int records = 0;
        for (int i = 0; i < c.font.count(); ++i) {
            const auto u = static_cast<std::uint16_t>(c.font.unicodeAt(i));
            if (c.font.glyphs.find(u)->width > 16) {
                continue;
            }
            ++records;
            const std::size_t at = c.start + 34u * u;
            const std::vector<std::uint8_t> block(image.begin() + static_cast<long>(at),
                                                  image.begin() + static_cast<long>(at + 34));
            EXPECT_EQ(block, expectedBlock(c.font, u, c.invert)) << "U+" << std::hex << u;
            std::fill(inBlock.begin() + static_cast<long>(at),
                      inBlock.begin() + static_cast<long>(at + 34), true);
        }
        for (std::size_t a = 0; a < image.size(); ++a) {
            if (!inBlock[a] && image[a] != 0xEE) {
                ADD_FAILURE() << "stray byte at 0x" << std::hex << a;
                break;
            }
        }
        // One data record per character that fits.
        std::size_t dataRecords = 0;
        for (std::size_t p = hex.find(":22"); p != std::string::npos; p = hex.find(":22", p + 1)) {
            ++dataRecords;
        }
        EXPECT_EQ(dataRecords, static_cast<std::size_t>(records));
    }
}

TEST(IntelHex, SrecCatRefusesAWrongChecksum) {
    // The reader used above does notice a damaged record.
    ASSERT_TRUE(haveSrecCat()) << "srec_cat is missing: run scripts/deps.sh test";
    std::string hex = hexOf(hexFont(), {});
    const std::size_t lineEnd = hex.find("\r\n");
    hex[lineEnd - 1] = hex[lineEnd - 1] == '0' ? '1' : '0';
    typeloom::test::TempDir dir;
    {
        std::ofstream out(dir.file("bad.hex"), std::ios::binary);
        out << hex;
    }
    EXPECT_NE(shell("srec_cat '" + dir.file("bad.hex") + "' -Intel -o /dev/null -Intel 2> '" +
                    dir.file("log") + "'"),
              0);
}

using test::CancellingSink;

TEST(IntelHexExport, CancelOrRefusalLeavesNoFileAndKeepsAnEarlierOne) {
    const Font font = hexFont();
    const MemorySettingsStore settings = test::settingsWithPages(0x6F);
    typeloom::test::TempDir dir;
    ExportRequest request;
    request.format = ExportFormat::Hex;
    request.path = dir.file("font.hex");
    CancelFlag cancel;
    CancellingSink counter(cancel, -1);
    ASSERT_TRUE(runExport(font, settings, request, cancel, counter).ok());
    ASSERT_GT(counter.calls(), 6);

    const std::vector<std::uint8_t> earlier = {'o', 'l', 'd'};
    // Runs the export with a fresh sink cancelling at call `limit` (0: never) into a new
    // file and over an existing one.
    auto check = [&](const std::string& name, const ExportRequest& r, int limit) {
        for (bool existing : {false, true}) {
            ExportRequest copy = r;
            copy.path = dir.file((existing ? "kept-" : "new-") + name);
            if (existing) {
                typeloom::test::writeFile(copy.path, earlier);
            }
            CancelFlag flag;
            CancellingSink sink(flag, limit);
            const ExportResult result = runExport(font, settings, copy, flag, sink);
            // A cancelled run reports the cancel; a refused one only that nothing was written.
            if (limit != 0) {
                EXPECT_EQ(result.status, ExportResult::Status::Cancelled);
            } else {
                EXPECT_FALSE(result.ok());
            }
            if (existing) {
                EXPECT_EQ(typeloom::test::readFile(copy.path), earlier);
            } else {
                EXPECT_FALSE(std::filesystem::exists(copy.path));
            }
        }
    };
    for (int limit = 1; limit <= counter.calls(); ++limit) {
        SCOPED_TRACE(limit);
        check(std::to_string(limit) + ".hex", request, limit);
    }
    // "No" to leaving out the wide characters.
    ExportRequest refuse = request;
    refuse.hex.skipWide = false;
    check("refused.hex", refuse, 0);
}

}  // namespace
}  // namespace typeloom::exporters
