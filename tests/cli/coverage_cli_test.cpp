// `typeloom coverage` and `typeloom subset` end to end on a CJK font of 20,902 characters and
// a string table in C: the lacking characters listed, the subset keeping exactly the
// characters used (plus the space and --keep), and texts that are not UTF-8 refused.

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"
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

}  // namespace
}  // namespace typeloom::cli
