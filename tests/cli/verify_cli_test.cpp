// `typeloom verify` and the BDF export end to end: exports made by `typeloom export` verify,
// a changed unit is shown with both pictures, and the options that are wrong are refused.

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "interchange/font_import.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

TEST(CliVerify, ExportsVerifyAndAChangedUnitIsShown) {
    test::TempDir dir;
    Font font;
    font.createFromScratch(0x41, 0x43, 4, 6, "Cli");
    font.glyphs.find(0x42)->pixels[5] = 1;  // row 1, column 1 of 'B'
    saveProject(dir.file("f.tlf"), font);
    const std::string project = dir.file("f.tlf");
    for (const char* format : {"table-c", "general-bin", "bdf"}) {
        SCOPED_TRACE(format);
        const std::string out = dir.file(std::string("f.") + format);
        const Result r = runCli(
            {"export", project, "-o", out, "--format", format, "--unit", "16", "--scan", "column"});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        if (std::string(format) == "bdf") {
            Font back;
            ASSERT_TRUE(importFontResource(out, back).ok());
            EXPECT_EQ(back.glyphs.find(0x42)->pixels, font.glyphs.find(0x42)->pixels);
            continue;
        }
        // The C file states its layout; the binary one is told it.
        std::vector<std::string> args = {"verify", project, out};
        if (std::string(format) == "general-bin") {
            args.insert(args.end(),
                        {"--format", "general-bin", "--unit", "16", "--scan", "column"});
        }
        const Result v = runCli(args);
        EXPECT_EQ(v.status, kExitOk) << v.err;
        EXPECT_EQ(v.out.rfind("Verified 3 characters of f." + std::string(format) + " (", 0), 0u)
            << v.out;
    }
    // 'B' of the C file changed: its first unit (column 0, rows 0-5, big endian) gets ink in
    // row 0.
    std::vector<std::uint8_t> text = test::readFile(dir.file("f.table-c"));
    const std::string all(text.begin(), text.end());
    const std::size_t b = all.find("0x0042");
    const std::size_t unit = all.find("0x0000", all.find("*/", b));
    ASSERT_NE(unit, std::string::npos);
    text[unit + 2] = '8';
    test::writeFile(dir.file("f.table-c"), text);
    const Result v = runCli({"verify", project, dir.file("f.table-c")});
    EXPECT_EQ(v.status, kExitFailed);
    EXPECT_NE(v.err.find("Character 0x0042 'B'"), std::string::npos) << v.err;
    EXPECT_NE(v.err.find("project   export\n  ....      #...\n  .#..      .#..\n"),
              std::string::npos)
        << v.err;

    EXPECT_EQ(runCli({"verify", project}).status, kExitUsage);
    EXPECT_EQ(runCli({"verify", project, dir.file("f.table-c"), "--format", "png"}).status,
              kExitUsage);
    EXPECT_EQ(runCli({"verify", dir.file("none.tlf"), dir.file("f.table-c")}).status, kExitFailed);
    // A bare data file cannot be told apart.
    const Result unknown = runCli({"verify", project, dir.file("f.tlf")});
    EXPECT_EQ(unknown.status, kExitFailed);
    EXPECT_NE(unknown.err.find("--format"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace typeloom::cli
