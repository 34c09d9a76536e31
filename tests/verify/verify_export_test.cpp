// Every export read back by the decoders: for every layout, a set of data words and three
// fonts (variable width, all 65,536 codes, encoding Ascii+ISO8859) export then verify
// succeeds; a flipped bit in the data of a binary export is found in the right character;
// damaged and truncated files are refused with a reason and never read past their end.

#include "verify/verify_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>

#include "charset/encodings.h"
#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/bitmap_encoder.h"
#include "export/export_driver.h"
#include "interchange/bmp_writer.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"
#include "test_support.h"

namespace typeloom::verify {
namespace {

using exporters::ExportFormat;

// Pixel (x, y) of the character at index i is ink when (x * 5 + y * 3 + i) % 7 < 3.
void drawPattern(Font& font) {
    for (int i = 0; i < font.count(); ++i) {
        Glyph* g = font.glyphs.find(static_cast<std::uint16_t>(font.unicodeAt(i)));
        for (std::size_t k = 0; k < g->pixels.size(); ++k) {
            const int x = static_cast<int>(k % std::max<int>(g->width, 1));
            const int y = static_cast<int>(k / std::max<int>(g->width, 1));
            g->pixels[k] = (x * 5 + y * 3 + i) % 7 < 3 ? 1 : 0;
        }
    }
}

// Unicode, height 11, widths 0 to 20: codes 0x20-0x2F, 0x41-0x44 and 0x4E00, or without gaps
// 0x20-0x34.
// The first unit of every character (and the end) under the font's data word, and the bytes
// of one unit: where a flipped bit of the data lands.
bool encodeUnits(const Font& font, std::vector<std::uint32_t>& offsets, std::size_t& unitBytes) {
    exporters::BitmapEncoder encoder(font);
    const CancelFlag never;
    NullProgressSink progress;
    unitBytes = static_cast<std::size_t>(encoder.unitBits() / 8);
    return encoder.encodeAll(offsets, -1, never, progress) && offsets.size() > 1;
}

Font variableFont(bool gaps = true) {
    Font font;
    font.createFromScratch(0x20, gaps ? 0x2F : 0x34, 4, 11, "Variable");
    for (std::uint16_t c : {0x41, 0x42, 0x43, 0x44, 0x4E00}) {
        if (gaps) {
            font.insertCode(c, c);
            font.addBlankGlyph(c, 4);
        }
    }
    for (int i = 0; i < font.count(); ++i) {
        const auto u = static_cast<std::uint16_t>(font.unicodeAt(i));
        const auto w = static_cast<std::uint16_t>(i == 3 ? 0 : (i * 7) % 21);
        font.setGlyph(u, w, std::vector<std::uint8_t>(std::size_t{w} * 11, 0));
    }
    font.ascent = 8;
    font.updateFixedWidth();
    font.updateMaxWidth();
    drawPattern(font);
    return font;
}

Font everyCodeFont() {
    Font font;
    font.createFromScratch(0x0000, 0xFFFF, 3, 9, "Every");
    drawPattern(font);
    return font;
}

Font ansiFont() {
    Font font;
    font.setEncoding(kEncodingAnsi);
    font.createFromScratch(0x20, 0xFF, 6, 10, "Ansi");
    font.ascent = 8;
    drawPattern(font);
    return font;
}

const std::vector<ExportFormat> kDataFormats = {
    ExportFormat::TableC,       ExportFormat::TableAsm,   ExportFormat::TableBin,
    ExportFormat::GeneralC,     ExportFormat::GeneralBin, ExportFormat::MicrochipC,
    ExportFormat::MicrochipBin, ExportFormat::V2C,        ExportFormat::V2Asm,
    ExportFormat::V2Dat,        ExportFormat::Hex};

// Big endian row/row unpacked 8; little endian column/column packed 16; row based column
// preferred packed 32 inverted; column based row preferred unpacked 8 big endian.
const std::vector<std::uint32_t> kWords = {0x01121110, 0x00040001, 0x02080101, 0x00021010};

std::string exportFile(const Font& font, ExportFormat format, int pages, const test::TempDir& dir) {
    MemorySettingsStore settings;
    settings.writeInteger("Settings", exporters::kPagesOptionKey, pages);
    const exporters::FormatInfo* info = exporters::findFormat(static_cast<int>(format));
    const std::string path = dir.file(std::string("out.") + info->extension);
    exporters::ExportRequest request;
    request.path = path;
    request.format = format;
    request.hex.skipWide = true;
    const CancelFlag never;
    NullProgressSink progress;
    EXPECT_TRUE(exporters::runExport(font, settings, request, never, progress).ok());
    return path;
}

void expectVerified(const Font& font, const std::string& path, Layout layout) {
    DecodeOptions options;
    options.dataWord = font.dataFormat;
    const VerifyReport report = verifyExport(font, path, layout, options);
    EXPECT_TRUE(report.ok) << report.text();
    std::size_t expected = 0;
    for (int i = 0; i < font.count(); ++i) {
        std::uint16_t w = 0;
        font.widthOf(static_cast<std::uint16_t>(font.unicodeAt(i)), w);
        expected += layout != Layout::Hex || w <= 16 ? 1 : 0;
    }
    EXPECT_EQ(report.verified, expected);
}

TEST(VerifyExport, EveryLayoutOfEveryWordVerifies) {
    test::TempDir dir;
    for (Font font : {variableFont(), ansiFont()}) {
        for (std::uint32_t word : kWords) {
            font.dataFormat = word;
            for (ExportFormat format : kDataFormats) {
                // A Microchip table is indexed by code less the first: a font with gaps is
                // checked by the Microchip tests.
                const bool microchip =
                    format == ExportFormat::MicrochipC || format == ExportFormat::MicrochipBin;
                if (microchip && font.faceName == "Variable") {
                    continue;
                }
                for (int pages : {0x6F, 0x01}) {
                    SCOPED_TRACE(font.faceName + " word " + std::to_string(word) + " format " +
                                 std::to_string(static_cast<int>(format)) + " pages " +
                                 std::to_string(pages));
                    const std::string path = exportFile(font, format, pages, dir);
                    const auto layout =
                        layoutOfName(exporters::findFormat(static_cast<int>(format))->shortName);
                    ASSERT_TRUE(layout);
                    expectVerified(font, path, *layout);
                    // The text layouts are recognised without being named.
                    if (*layout != Layout::V2Dat && *layout != Layout::GeneralBin &&
                        *layout != Layout::MicrochipBin) {
                        EXPECT_EQ(detectLayout(path), layout);
                    }
                }
            }
        }
    }
    const Font ansi = ansiFont();
    test::writeFile(dir.file("out.fnt"), fntBytes(ansi));
    expectVerified(ansi, dir.file("out.fnt"), Layout::Fnt);
    test::writeFile(dir.file("out.fon"), fonBytes(ansi));
    expectVerified(ansi, dir.file("out.fon"), Layout::Fon);
    ASSERT_TRUE(exportCharacterBitmaps(ansi, dir.path().string()).ok);
    expectVerified(ansi, dir.path().string(), Layout::BmpFolder);
}

TEST(VerifyExport, AFontOfEveryCodeVerifies) {
    test::TempDir dir;
    Font font = everyCodeFont();
    for (std::uint32_t word : {kWords[0], kWords[2]}) {
        font.dataFormat = word;
        for (ExportFormat format : {ExportFormat::GeneralBin, ExportFormat::MicrochipBin,
                                    ExportFormat::V2Dat, ExportFormat::Hex}) {
            SCOPED_TRACE(static_cast<int>(format));
            const std::string path = exportFile(font, format, 0x6F, dir);
            expectVerified(
                font, path,
                *layoutOfName(exporters::findFormat(static_cast<int>(format))->shortName));
        }
    }
    // The table-based layouts count characters in 16 bits and refuse this font.
}

// Where the units of a binary export begin, from the layouts' headers.
std::size_t dataStart(const Font& font, ExportFormat format) {
    const std::size_t count = static_cast<std::size_t>(font.count());
    switch (format) {
        case ExportFormat::TableBin:
            return 44;
        case ExportFormat::MicrochipBin:
            return 8 + 4 * count;
        case ExportFormat::GeneralBin: {
            std::size_t ranges = 1;
            for (int i = 1; i < font.count(); ++i) {
                ranges += font.codeAt(i) != font.codeAt(i - 1) + 1 ? 1 : 0;
            }
            return 12 + 4 * ranges + 8 * count;
        }
        default:
            return 0;
    }
}

TEST(VerifyExport, AnyFlippedDataBitIsFoundInItsCharacter) {
    test::TempDir dir;
    std::mt19937 random(15);
    Font font = variableFont(false);
    for (std::uint32_t word : kWords) {
        font.dataFormat = word;
        std::vector<std::uint32_t> offsets;
        std::size_t unitBytes = 0;
        ASSERT_TRUE(encodeUnits(font, offsets, unitBytes));
        for (ExportFormat format : {ExportFormat::TableBin, ExportFormat::GeneralBin,
                                    ExportFormat::MicrochipBin, ExportFormat::V2Dat}) {
            const std::string path = exportFile(font, format, 0x6F, dir);
            const std::vector<std::uint8_t> original = test::readFile(path);
            const Layout layout =
                *layoutOfName(exporters::findFormat(static_cast<int>(format))->shortName);
            for (int trial = 0; trial < 60; ++trial) {
                const std::size_t unit = random() % offsets.back();
                const std::size_t bit = random() % (unitBytes * 8);
                std::size_t index = 0;
                while (offsets[index + 1] <= unit) {
                    ++index;
                }
                std::vector<std::uint8_t> damaged = original;
                damaged.at(dataStart(font, format) + unit * unitBytes + bit / 8) ^=
                    static_cast<std::uint8_t>(1u << (bit % 8));
                test::writeFile(path, damaged);
                DecodeOptions options;
                options.dataWord = word;
                const VerifyReport report = verifyExport(font, path, layout, options);
                SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) + " word " +
                             std::to_string(word) + " unit " + std::to_string(unit) + " bit " +
                             std::to_string(bit));
                ASSERT_FALSE(report.ok);
                ASSERT_EQ(report.differences.size(), 1u) << report.text();
                EXPECT_EQ(report.differences[0].code, font.codeAt(static_cast<int>(index)));
            }
        }
    }
}

// One number of the data part of a text export: where its digits stand, how many, in which
// case, and which unit of the data table it belongs to.
struct DataToken {
    std::size_t at = 0;  // first digit
    std::size_t digits = 0;
    bool assembler = false;  // "0a0h" style: a '0' or a space before the digits
    std::size_t unit = 0;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The numbers of the data part of a C or assembler export, in file order, each `perUnit` of
// them one unit. The data part starts after a line holding `start` and runs to "};" (C) or
// to the next line that does not start with a blank (assembler); comments are left out, and
// so is the placeholder of a General C character without data.
std::vector<DataToken> dataTokens(const std::string& text, const char* start, bool assembler,
                                  std::size_t perUnit) {
    std::vector<DataToken> tokens;
    bool inside = false;
    std::size_t lineAt = 0;
    for (const std::string& line : linesOf(text)) {
        const std::size_t at = lineAt;
        lineAt += line.size();
        if (!inside) {
            inside = line.find(start) != std::string::npos;
            continue;
        }
        if ((!assembler && line.rfind("};", 0) == 0) ||
            (assembler && !line.empty() && line[0] != ' ' && line[0] != '\r' && line[0] != ';')) {
            inside = false;
            continue;
        }
        if (line.find("no data") != std::string::npos) {
            continue;
        }
        const std::size_t end = std::min({line.find("//"), line.find("/*"), line.find(';')});
        const std::string code = line.substr(0, end);
        std::size_t k = assembler ? code.find_first_of("dD") : 0;  // past db/dw/dd
        k = k == std::string::npos ? code.size() : k + (assembler ? 2 : 0);
        while (k < code.size()) {
            std::size_t digits = k;
            if (!assembler && code.compare(k, 2, "0x") == 0) {
                digits = k + 2;
            } else if (!assembler || !isHexDigit(code[k])) {
                ++k;
                continue;
            }
            std::size_t e = digits;
            while (e < code.size() && isHexDigit(code[e])) {
                ++e;
            }
            DataToken t{at + digits, e - digits, assembler, tokens.size() / perUnit};
            // An assembler number whose first digit is a letter has a '0' before it.
            if (assembler && t.digits > 2 && code[digits] == '0' &&
                std::isalpha(static_cast<unsigned char>(code[digits + 1])) != 0) {
                ++t.at;
                --t.digits;
            }
            tokens.push_back(t);
            k = e + 1;
        }
    }
    return tokens;
}

// Flips bit `bit` of the number, written back with as many digits, in the same case and, in
// assembler, with the '0' or space before it that its first digit calls for.
void flipToken(std::string& text, const DataToken& t, std::size_t bit) {
    std::uint64_t value = std::stoull(text.substr(t.at, t.digits), nullptr, 16);
    value ^= std::uint64_t{1} << bit;
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, t.assembler ? "%0*llx" : "%0*llX",
                  static_cast<int>(t.digits), static_cast<unsigned long long>(value));
    text.replace(t.at, t.digits, buffer);
    if (t.assembler) {
        text[t.at - 1] = std::isalpha(static_cast<unsigned char>(buffer[0])) != 0 ? '0' : ' ';
    }
}

// Flips one bit of a band byte of the HEX record `record` (a line without its ':'), then
// writes the block's check byte and the record's checksum again, so that only the pixels
// differ. Returns the character value of the block.
int flipHexBit(std::string& record, std::size_t pick) {
    std::vector<unsigned> bytes;
    for (std::size_t k = 0; k + 1 < record.size() && isHexDigit(record[k]); k += 2) {
        bytes.push_back(static_cast<unsigned>(std::stoul(record.substr(k, 2), nullptr, 16)));
    }
    const unsigned width = bytes[4];
    const std::size_t band = 5 + pick / 8 % (2 * width);
    bytes[band] ^= 1u << (pick % 8);
    unsigned check = 0;
    for (unsigned b = 0; b < 1 + 2 * width; ++b) {
        check ^= bytes[4 + b];
    }
    bytes[5 + 2 * width] = check;
    unsigned sum = 0;
    for (std::size_t k = 0; k + 1 < bytes.size(); ++k) {
        sum += bytes[k];
    }
    bytes.back() = (0x100 - (sum & 0xFF)) & 0xFF;
    std::string text;
    for (unsigned b : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        text += two;
    }
    record.replace(0, text.size(), text);
    return static_cast<int>((bytes[1] << 8 | bytes[2]) / 34);
}

TEST(VerifyExport, AnyFlippedDataBitOfATextExportIsFoundInItsCharacter) {
    struct Case {
        ExportFormat format;
        int pages;
        const char* start;  // the line the data part follows
        bool assembler;
        bool byteTokens;  // units written as their bytes
    };
    const Case cases[] = {
        {ExportFormat::TableC, 0x6F, "_data_table[]", false, false},
        {ExportFormat::TableC, 0x7F, "_data_table[]", false, true},
        {ExportFormat::TableAsm, 0x7F, "_data_table ", true, true},
        {ExportFormat::GeneralC, 0x6F, "] = { /* code", false, false},
        {ExportFormat::MicrochipC, 0x6F, "FONT BITMAP", false, true},
        {ExportFormat::V2C, 0x6F, "_data_table[]", false, false},
        {ExportFormat::V2Asm, 0x6F, "_data_table ", true, false},
        {ExportFormat::Hex, 0x6F, nullptr, false, false},
    };
    test::TempDir dir;
    std::mt19937 random(15);
    Font font = variableFont(false);
    for (std::uint32_t word : kWords) {
        font.dataFormat = word;
        std::vector<std::uint32_t> offsets;
        std::size_t unitBytes = 0;
        ASSERT_TRUE(encodeUnits(font, offsets, unitBytes));
        for (const Case& c : cases) {
            const std::string path = exportFile(font, c.format, c.pages, dir);
            const std::vector<std::uint8_t> bytes = test::readFile(path);
            const std::string original(bytes.begin(), bytes.end());
            const Layout layout =
                *layoutOfName(exporters::findFormat(static_cast<int>(c.format))->shortName);
            const std::vector<DataToken> tokens =
                c.start == nullptr
                    ? std::vector<DataToken>{}
                    : dataTokens(original, c.start, c.assembler, c.byteTokens ? unitBytes : 1);
            const std::vector<std::string> lines = linesOf(original);
            if (c.start != nullptr) {
                ASSERT_EQ(tokens.size() / (c.byteTokens ? unitBytes : 1), offsets.back());
            }
            for (int trial = 0; trial < 20; ++trial) {
                std::string damaged = original;
                int code = -1;
                std::string where;
                if (c.start == nullptr) {
                    // A data record of a character with pixels (the last record ends the file).
                    std::size_t line = 0;
                    do {
                        line = random() % (lines.size() - 1);
                    } while (lines[line].compare(7, 2, "00") != 0 || lines[line].size() < 12 ||
                             lines[line].compare(9, 2, "00") == 0);
                    std::string record = lines[line].substr(1);
                    code = flipHexBit(record, random());
                    damaged.clear();
                    for (std::size_t k = 0; k < lines.size(); ++k) {
                        damaged += k == line ? ":" + record : lines[k];
                    }
                    where = "line " + std::to_string(line);
                } else {
                    const DataToken& t = tokens[random() % tokens.size()];
                    const std::size_t bit = random() % (4 * t.digits);
                    flipToken(damaged, t, bit);
                    std::size_t index = 0;
                    while (offsets[index + 1] <= t.unit) {
                        ++index;
                    }
                    code = font.codeAt(static_cast<int>(index));
                    where = "offset " + std::to_string(t.at) + " bit " + std::to_string(bit);
                }
                test::writeFile(path, std::vector<std::uint8_t>(damaged.begin(), damaged.end()));
                DecodeOptions options;
                options.dataWord = word;
                const VerifyReport report = verifyExport(font, path, layout, options);
                SCOPED_TRACE("format " + std::to_string(static_cast<int>(c.format)) + " pages " +
                             std::to_string(c.pages) + " word " + std::to_string(word) + " " +
                             where);
                ASSERT_FALSE(report.ok);
                ASSERT_EQ(report.differences.size(), 1u) << report.text();
                EXPECT_EQ(report.differences[0].code, code);
            }
        }
    }
}

TEST(VerifyExport, DamagedFilesAreRefusedWithAReason) {
    test::TempDir dir;
    Font font = variableFont();
    const std::string table = exportFile(font, ExportFormat::TableBin, 0x6F, dir);
    std::vector<std::uint8_t> bytes = test::readFile(table);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Layout layout;
    };
    std::vector<Case> cases;
    cases.push_back({"truncated header", {bytes.begin(), bytes.begin() + 30}, Layout::TableBin});
    cases.push_back({"truncated data", {bytes.begin(), bytes.begin() + 60}, Layout::TableBin});
    cases.push_back({"other layout", bytes, Layout::GeneralBin});
    cases.push_back({"binary as C", bytes, Layout::TableC});
    cases.push_back({"empty", {}, Layout::Fon});
    cases.push_back({"text as HEX", {'x', 'y'}, Layout::Hex});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("damaged");
        test::writeFile(path, c.bytes);
        DecodeOptions options;
        options.dataWord = font.dataFormat;
        const VerifyReport report = verifyExport(font, path, c.layout, options);
        EXPECT_FALSE(report.ok);
        EXPECT_FALSE(report.text().empty());
    }
    // A General binary file of 56 bytes whose five characters hold no data but claim 65,535
    // columns of 65,535 rows: refused before gigabytes of pixels are made for them.
    std::vector<std::uint8_t> huge = {0, 0, 0, 1, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0x41, 0, 0x45, 0};
    for (int k = 0; k < 5; ++k) {
        huge.insert(huge.end(), {0xFF, 0xFF, 0, 0, 0, 0, 0, 0});
    }
    test::writeFile(dir.file("huge"), huge);
    const VerifyReport hugeReport = verifyExport(font, dir.file("huge"), Layout::GeneralBin, {});
    EXPECT_FALSE(hugeReport.ok);
    EXPECT_NE(hugeReport.text().find("more than the file can hold"), std::string::npos)
        << hugeReport.text();
    // A character's data cut off names that character.
    test::writeFile(dir.file("cut"), {bytes.begin(), bytes.begin() + 44 + 20});
    DecodeOptions options;
    options.dataWord = font.dataFormat;
    const VerifyReport cut = verifyExport(font, dir.file("cut"), Layout::TableBin, options);
    EXPECT_FALSE(cut.ok);
    EXPECT_NE(cut.text().find("offset"), std::string::npos) << cut.text();
    // A .fnt whose one character 'A' lies outside the file has no data to draw: the project's
    // picture stands alone (a blank one would be as large as the damaged file claims).
    std::vector<std::uint8_t> fnt(122, 0);
    fnt[1] = 0x02;               // version 0x0200
    fnt[88] = 11;                // height
    fnt[95] = fnt[96] = 0x41;    // first and last character
    fnt[118] = 4;                // its width
    fnt[120] = fnt[121] = 0xF0;  // its bitmap at 0xF0F0
    const VerifyReport outside =
        compareWithProject(font, decodeExportBytes(Layout::Fnt, fnt, {}), "outside.fnt");
    const auto damaged = std::find_if(
        outside.differences.begin(), outside.differences.end(),
        [](const auto& d) { return d.what.find("outside the file") != std::string::npos; });
    ASSERT_NE(damaged, outside.differences.end()) << outside.text();
    ASSERT_EQ(damaged->pictures.size(), 12u);  // the heading and 11 rows
    for (std::size_t k = 1; k < damaged->pictures.size(); ++k) {
        EXPECT_EQ(damaged->pictures[k].substr(damaged->pictures[k].size() - 3), "   ")
            << damaged->pictures[k];
    }
}

}  // namespace
}  // namespace typeloom::verify
