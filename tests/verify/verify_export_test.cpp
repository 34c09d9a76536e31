// Every export read back by the decoders: for every layout, a set of data words and three
// fonts (variable width, all 65,536 codes, encoding Ascii+ISO8859) export then verify
// succeeds; a flipped bit in the data of a binary export is found in the right character;
// damaged and truncated files are refused with a reason and never read past their end.

#include "verify/verify_export.h"

#include <gtest/gtest.h>

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
        exporters::BitmapEncoder encoder(font);
        std::vector<std::uint32_t> offsets;
        const CancelFlag never;
        NullProgressSink progress;
        ASSERT_TRUE(encoder.encodeAll(offsets, -1, never, progress));
        const std::size_t unitBytes = static_cast<std::size_t>(encoder.unitBits() / 8);
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
    // A character's data cut off names that character.
    test::writeFile(dir.file("cut"), {bytes.begin(), bytes.begin() + 44 + 20});
    DecodeOptions options;
    options.dataWord = font.dataFormat;
    const VerifyReport cut = verifyExport(font, dir.file("cut"), Layout::TableBin, options);
    EXPECT_FALSE(cut.ok);
    EXPECT_NE(cut.text().find("offset"), std::string::npos) << cut.text();
}

}  // namespace
}  // namespace typeloom::verify
