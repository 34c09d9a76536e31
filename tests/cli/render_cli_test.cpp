// `typeloom render` end to end: the picture written, missing characters listed (exit 1 only
// with --strict), an export as the source of the pictures, and text that is not UTF-8.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

TEST(CliRender, WritesThePictureAndListsWhatIsMissing) {
    test::TempDir dir;
    Font font;
    font.createFromScratch(0x41, 0x43, 4, 6, "Cli");
    saveProject(dir.file("f.tlf"), font);
    const std::string project = dir.file("f.tlf");
    const Result ok =
        runCli({"render", project, "--text", "ABC", "--scale", "2", "-o", dir.file("a.png")});
    ASSERT_EQ(ok.status, kExitOk) << ok.err;
    EXPECT_EQ(ok.out, "Wrote " + dir.file("a.png") + ": 24 x 12 pixels, 3 characters\n");
    const std::vector<std::uint8_t> png = test::readFile(dir.file("a.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');

    const Result missing =
        runCli({"render", project, "--text", "A\xC2\xB0", "-o", dir.file("b.png"), "--strict"});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_NE(missing.err.find("missing U+00B0"), std::string::npos) << missing.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("b.png")));

    ASSERT_EQ(runCli({"export", project, "-o", dir.file("f.c"), "--format", "table-c"}).status,
              kExitOk);
    EXPECT_EQ(runCli({"render", project, "--text", "AB", "--from-export", dir.file("f.c"), "-o",
                      dir.file("c.png")})
                  .status,
              kExitOk);

    test::writeFile(dir.file("bad.txt"), {'A', 'B', 0xE2, 0x82});
    const Result bad =
        runCli({"render", project, "--text-file", dir.file("bad.txt"), "-o", dir.file("d.png")});
    EXPECT_EQ(bad.status, kExitFailed);
    EXPECT_NE(bad.err.find("bad.txt is not UTF-8 text: byte offset 2"), std::string::npos)
        << bad.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.png")));
    EXPECT_EQ(runCli({"render", project, "-o", dir.file("e.png")}).status, kExitUsage);
    EXPECT_EQ(
        runCli({"render", project, "--text", "A", "--scale", "0", "-o", dir.file("e.png")}).status,
        kExitUsage);
}

}  // namespace
}  // namespace typeloom::cli
