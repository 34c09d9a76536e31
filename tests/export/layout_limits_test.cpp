// Fields of the layouts that count in 8 or 16 bits: a font that would overflow one is refused
// with a message and no file, instead of being written with a wrapped value; one less fits.

#include <gtest/gtest.h>

#include <functional>

#include "export/export_driver.h"
#include "export_test_support.h"
#include "test_support.h"

namespace typeloom::exporters {
namespace {

// Characters first..last of width x height.
Font blankFont(std::uint16_t first, std::uint16_t last, std::uint16_t width, std::uint16_t height) {
    Font font;
    font.createFromScratch(first, last, width, height, "Limits");
    return font;
}

ExportResult exportTo(const Font& font, ExportFormat format, int pages, const std::string& path) {
    ExportRequest request;
    request.format = format;
    request.path = path;
    const CancelFlag never;
    NullProgressSink progress;
    return runExport(font, test::settingsWithPages(pages), request, never, progress);
}

TEST(LayoutLimits, FieldsThatWouldWrapAreRefused) {
    struct Case {
        const char* name;
        std::function<Font(bool fits)> font;  // fits: one less than the limit
        std::vector<ExportFormat> formats;
        int pages;
        const char* message;
    };
    const std::vector<Case> cases = {
        // The character count and the glyph range length have 16 bits.
        {"every code",
         [](bool fits) { return blankFont(fits ? 1 : 0, 0xFFFF, 1, 1); },
         {ExportFormat::TableC, ExportFormat::TableAsm, ExportFormat::TableBin},
         0x6F,
         "The font has 65536 characters; the table-based layout counts characters in 16 bits "
         "and holds at most 65535."},
        // The version 2.0 width table holds unsigned chars.
        {"width 256",
         [](bool fits) { return blankFont(0x41, 0x42, fits ? 255 : 256, 2); },
         {ExportFormat::V2C, ExportFormat::V2Asm},
         0x6F,
         "Character 0x0041 is 256 pixels wide; the width table of the version 2.0 layout holds "
         "widths of at most 255 pixels."},
        // A General character counts its units and bytes in 16 bits: 128 bytes a row.
        {"65,664 bytes",
         [](bool fits) { return blankFont(0x41, 0x41, 1024, fits ? 511 : 513); },
         {ExportFormat::GeneralC},
         0x6F,
         "Character 0x0041 holds 65664 units; the General layout counts them in 16 bits"},
        {"65,664 bytes",
         [](bool fits) { return blankFont(0x41, 0x41, 1024, fits ? 511 : 513); },
         {ExportFormat::GeneralBin},
         0x6F,
         "Character 0x0041 holds 65664 bytes; the General layout counts them in 16 bits"},
    };
    for (const Case& c : cases) {
        for (ExportFormat format : c.formats) {
            SCOPED_TRACE(std::string(c.name) + " format " + std::to_string(int(format)));
            typeloom::test::TempDir dir;
            const std::string path = dir.file("out");
            const ExportResult refused = exportTo(c.font(false), format, c.pages, path);
            EXPECT_EQ(refused.status, ExportResult::Status::Failed);
            EXPECT_NE(refused.message.find(c.message), std::string::npos) << refused.message;
            EXPECT_TRUE(typeloom::test::listFolder(dir.path()).empty());
            EXPECT_TRUE(exportTo(c.font(true), format, c.pages, path).ok());
        }
    }
    // Without the width table a version 2.0 file holds any width.
    typeloom::test::TempDir dir;
    EXPECT_TRUE(
        exportTo(blankFont(0x41, 0x42, 256, 2), ExportFormat::V2C, 0x01, dir.file("v2.c")).ok());
    // 65,535 characters: the count reads 0xFFFF at offset 16 of the binary header.
    const std::vector<std::uint8_t> bytes = [&] {
        EXPECT_TRUE(
            exportTo(blankFont(1, 0xFFFF, 1, 1), ExportFormat::TableBin, 0x01, dir.file("t.bin"))
                .ok());
        return typeloom::test::readFile(dir.file("t.bin"));
    }();
    ASSERT_GT(bytes.size(), 18u);
    EXPECT_EQ(bytes[16] | bytes[17] << 8, 0xFFFF);
}

}  // namespace
}  // namespace typeloom::exporters
