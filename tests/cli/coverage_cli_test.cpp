// `typeloom coverage` and `typeloom subset` end to end on a CJK font of 20,902 characters and
// a string table in C: the lacking characters listed, the subset keeping exactly the
// characters used (plus the space and --keep), and texts that are not UTF-8 refused.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/freetype_renderer.h"
#include "model/project_file.h"
#include "model/system_fonts.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

void writeText(const std::string& path, const std::string& text) {
    test::writeFile(path, {text.begin(), text.end()});
}

TEST(CliCoverage, ListsWhatIsMissingAndSubsetKeepsWhatIsUsed) {
    test::TempDir dir;
    const std::string project = dir.file("cjk.tlf");
    ASSERT_EQ(runCli({"new", "-o", project, "--from", "0x4E00", "--to", "0x9FA5", "--width", "12",
                      "--height", "12"})
                  .status,
              kExitOk);
    // 中文 (twice), 设置 and the digit 1, which the font lacks; a comment is passed over.
    writeText(dir.file("strings.c"),
              "/* \xE6\xB5\x8B */\nconst char* s[] = {\"\xE4\xB8\xAD\xE6\x96\x87\", "
              "\"\\u8BBE\\u7F6E1\", \"\xE4\xB8\xAD\"};\n");
    const Result missing = runCli({"coverage", project, dir.file("strings.c")});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_EQ(missing.out,
              "The font lacks 1 of the 5 characters the texts use:\n  Basic Latin (1): 1 U+0031\n");

    const Result subset = runCli({"subset", project, "--text-file", dir.file("strings.c"), "--keep",
                                  "0x4E00", "-o", dir.file("small.tlf")});
    ASSERT_EQ(subset.status, kExitOk) << subset.err;
    Font small;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(dir.file("small.tlf"), small, progress).ok());
    EXPECT_EQ(small.unicodeList,
              (std::vector<std::uint16_t>{0x4E00, 0x4E2D, 0x6587, 0x7F6E, 0x8BBE}));
    EXPECT_EQ(runCli({"coverage", dir.file("small.tlf"), dir.file("strings.c")}).status,
              kExitFailed);  // the digit is still missing

    writeText(dir.file("bad.po"), "msgid \"a\"\nmsgstr \"\xC3\"\n");
    const Result bad = runCli({"coverage", project, dir.file("bad.po")});
    EXPECT_EQ(bad.status, kExitFailed);
    EXPECT_NE(bad.err.find("bad.po: not UTF-8 text at byte offset 18"), std::string::npos)
        << bad.err;
    EXPECT_EQ(runCli({"subset", project, "-o", dir.file("x.tlf")}).status, kExitUsage);
    EXPECT_EQ(runCli({"subset", project, "--text-file", dir.file("strings.c"), "--keep", "z", "-o",
                      dir.file("x.tlf")})
                  .status,
              kExitUsage);
}

// A Chinese string table against a CJK font as rasterised: the subset holds exactly the
// characters the strings use, the space and the default character, with their pictures.
TEST(CliCoverage, SubsetOfARasterisedCjkFontKeepsExactlyTheCharactersUsed) {
    const char* family = "WenQuanYi Micro Hei";
    if (!findSystemFace(family, "Regular")) {
        GTEST_SKIP() << family << " is not installed (Debian package fonts-wqy-microhei)";
    }
    installFreeTypeRenderer();
    test::TempDir dir;
    const std::string project = dir.file("cjk.tlf");
    const Result made = runCli({"rasterize", "--family", family, "--points", "9", "-o", project});
    ASSERT_EQ(made.status, kExitOk) << made.err;
    // 设置, 保存文件, "温度: 21.5" and 确定 as \u escapes; a comment is passed over.
    writeText(dir.file("strings.c"),
              "/* \xE6\xB5\x8B\xE8\xAF\x95 */\n"
              "static const char* const kStrings[] = {\n"
              "    \"\xE8\xAE\xBE\xE7\xBD\xAE\",\n"
              "    \"\xE4\xBF\x9D\xE5\xAD\x98\xE6\x96\x87\xE4\xBB\xB6\",\n"
              "    \"\xE6\xB8\xA9\xE5\xBA\xA6: 21.5\",\n"
              "    \"\\u786E\\u5B9A\",\n"
              "};\n");
    const Result subset =
        runCli({"subset", project, "--text-file", dir.file("strings.c"), "-o", dir.file("s.tlf")});
    ASSERT_EQ(subset.status, kExitOk) << subset.err;

    NullProgressSink progress;
    Font full;
    ASSERT_TRUE(loadProject(project, full, progress).ok());
    Font small;
    ASSERT_TRUE(loadProject(dir.file("s.tlf"), small, progress).ok());
    std::vector<std::uint16_t> expected = {0x20,   0x2E,   0x31,   0x32,   0x35,   0x3A,
                                           0x4EF6, 0x4FDD, 0x5B58, 0x5B9A, 0x5EA6, 0x6587,
                                           0x6E29, 0x786E, 0x7F6E, 0x8BBE};
    const int defaultIndex = full.indexOfCode(full.fontHeader.defaultChar);
    if (defaultIndex >= 0) {
        expected.push_back(static_cast<std::uint16_t>(full.unicodeAt(defaultIndex)));
    }
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_GT(full.count(), 20000);
    EXPECT_EQ(small.unicodeList, expected);
    for (std::uint16_t u : expected) {
        SCOPED_TRACE(u);
        const Glyph* kept = small.glyphs.find(u);
        const Glyph* drawn = full.glyphs.find(u);
        ASSERT_TRUE(kept != nullptr && drawn != nullptr);
        EXPECT_EQ(kept->width, drawn->width);
        EXPECT_EQ(kept->pixels, drawn->pixels);
    }
    const Glyph* settings = small.glyphs.find(0x8BBE);
    EXPECT_NE(std::count(settings->pixels.begin(), settings->pixels.end(), 1), 0);
}

}  // namespace
}  // namespace typeloom::cli
