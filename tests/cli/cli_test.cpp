#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/progress_sink.h"
#include "model/font_info.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    int status = run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, EveryCommandHasHelp) {
    for (const char* command : {"new", "info", "convert"}) {
        SCOPED_TRACE(command);
        Result r = runCli({command, "--help"});
        EXPECT_EQ(r.status, kExitOk);
        EXPECT_NE(r.out.find("Usage: typeloom " + std::string(command)), std::string::npos);
    }
    EXPECT_EQ(runCli({"--help"}).status, kExitOk);
    EXPECT_EQ(runCli({}).status, kExitUsage);
    EXPECT_EQ(runCli({"frobnicate"}).status, kExitUsage);
}

TEST(Cli, NewRefusesBadValuesAsUsageErrors) {
    test::TempDir dir;
    const std::string out = dir.file("x.tlf");
    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const Row rows[] = {
        {{"new", "--from", "65", "--to", "65", "-o", out},
         "Last character must be larger than First character"},
        {{"new", "--height", "3", "-o", out}, "between 4 and 512"},
        {{"new", "--width", "wide", "-o", out}, "between 1 and 512"},
        {{"new"}, "needs an output file"},
        {{"new", "--bogus", "-o", out}, "unknown option --bogus"},
        {{"new", "-o"}, "needs a value"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        Result r = runCli(row.args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    }
    EXPECT_TRUE(test::listFolder(dir.path()).empty());
}

TEST(Cli, NewAcceptsHexadecimalCodes) {
    test::TempDir dir;
    const std::string out = dir.file("hex.tlf");
    Result r = runCli({"new", "--from", "0x41", "--to", "0x5A", "--width", "8", "--height", "8",
                       "--name", "Caps", "-o", out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    CFontInfo font;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(out, font, progress).ok());
    EXPECT_EQ(font.count(), 26);
    EXPECT_EQ(font.codeAt(0), 0x41);
}

TEST(Cli, InfoAndConvertReportFailuresWithStatusOne) {
    test::TempDir dir;
    Result missing = runCli({"info", dir.file("missing.tlf")});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_NE(missing.err.find("missing.tlf"), std::string::npos);

    Result wrongName = runCli({"info", dir.file("font.bdf")});
    EXPECT_EQ(wrongName.status, kExitFailed);
    EXPECT_NE(wrongName.err.find("This is not a valid Typeloom document"), std::string::npos);

    const std::string uni = dir.file("uni.tlf");
    ASSERT_EQ(runCli({"new", "-o", uni}).status, kExitOk);
    Result to20 = runCli({"convert", uni, dir.file("old.tlf"), "--layout", "2.0"});
    EXPECT_EQ(to20.status, kExitFailed);
    EXPECT_NE(to20.err.find("Ascii+ISO8859 only"), std::string::npos);
    EXPECT_EQ(runCli({"convert", uni, dir.file("o.tlf"), "--layout", "4"}).status, kExitUsage);
    EXPECT_EQ(runCli({"info", uni, uni}).status, kExitUsage);
}

TEST(Cli, ConvertWritesTheVersion20Layout) {
    test::TempDir dir;
    CFontInfo font;
    font.setEncoding(0);
    font.createFromScratch(0x30, 0x39, 4, 6, "Digits");
    font.glyphs.find(0x35)->pixels[5] = 1;
    saveProject(dir.file("digits.tlf"), font);

    Result r = runCli({"convert", dir.file("digits.tlf"), dir.file("old.tlf"), "--layout", "2.0"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto bytes = test::readFile(dir.file("old.tlf"));
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "NOFW");

    Result info = runCli({"info", dir.file("old.tlf")});
    ASSERT_EQ(info.status, kExitOk);
    EXPECT_NE(info.out.find("layout 2.0"), std::string::npos);
    EXPECT_NE(info.out.find("Characters:     10\n"), std::string::npos);
    EXPECT_NE(info.out.find("Encoding:       0 Ascii+ISO8859"), std::string::npos);
    CFontInfo back;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(dir.file("old.tlf"), back, progress).ok());
    EXPECT_EQ(back.glyphs.find(0x35)->pixels[5], 1);
}

}  // namespace
}  // namespace typeloom::cli
