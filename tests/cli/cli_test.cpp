#include "cli/cli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

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
    Font font;
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

    test::writeFile(dir.file("notes.txt"), {'h', 'i'});
    Result wrongName = runCli({"info", dir.file("notes.txt")});
    EXPECT_EQ(wrongName.status, kExitFailed);
    EXPECT_NE(wrongName.err.find("notes.txt"), std::string::npos);

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
    Font font;
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
    Font back;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(dir.file("old.tlf"), back, progress).ok());
    EXPECT_EQ(back.glyphs.find(0x35)->pixels[5], 1);
}

}  // namespace
}  // namespace typeloom::cli

namespace typeloom::cli {
namespace {

// Points the settings file the tool reads at a folder of the test's own.
class ScopedConfigHome {
  public:
    explicit ScopedConfigHome(const std::string& dir) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            m_old = old;
        }
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }
    ~ScopedConfigHome() {
        if (m_old) {
            setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

  private:
    std::optional<std::string> m_old;
};

TEST(CliExport, WritesTheChosenFormatWithLayoutOptions) {
    test::TempDir dir;
    ScopedConfigHome config(dir.file("config"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "--from", "0x41", "--to", "0x43", "--width", "5", "--height", "7",
                      "-o", project})
                  .status,
              kExitOk);
    const std::string out = dir.file("f.c");
    Result r = runCli({"export", project, "-o", out, "--format", "table-c", "--unit", "16",
                       "--bit-order", "lsb", "--scan", "column", "--packed", "--invert"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto bytes = test::readFile(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find(" * Data length: 16 bits"), std::string::npos);
    EXPECT_NE(text.find(" * Invert bits: Yes"), std::string::npos);
    EXPECT_NE(text.find(" * Data format: Little Endian, Column based, Row preferred, Packed"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n"), std::string::npos);

    // The numeric id names the same format.
    EXPECT_EQ(runCli({"export", project, "-o", dir.file("g.bin"), "--format", "32851"}).status,
              kExitOk);
}

TEST(CliExport, DashWritesTextFormatsToStandardOutput) {
    test::TempDir dir;
    ScopedConfigHome config(dir.file("config"));
    const std::string project = dir.file("My Font.tlf");
    ASSERT_EQ(runCli({"new", "--from", "0x41", "--to", "0x42", "-o", project}).status, kExitOk);
    for (const char* format : {"table-c", "v2-asm", "hex"}) {
        SCOPED_TRACE(format);
        Result piped = runCli({"export", project, "-o", "-", "--format", format, "--skip-wide"});
        ASSERT_EQ(piped.status, kExitOk) << piped.err;
        // The same text a file gets, the symbols named after the input file ("My Font"); only
        // the time in the header may differ.
        const std::string file = dir.file("My Font.out");
        ASSERT_EQ(runCli({"export", project, "-o", file, "--format", format, "--skip-wide"}).status,
                  kExitOk);
        const auto bytes = test::readFile(file);
        const auto withoutTime = [](std::string text) {
            const std::size_t at = text.find("Create time: ");
            return at == std::string::npos ? text : text.erase(at, 30);
        };
        EXPECT_EQ(withoutTime(piped.out), withoutTime(std::string(bytes.begin(), bytes.end())));
    }
    for (const char* format : {"table-bin", "v2-dat", "fnt", "bmp"}) {
        SCOPED_TRACE(format);
        Result r = runCli({"export", project, "-o", "-", "--format", format});
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("-o - takes a text format"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("-")));
}

TEST(CliExport, TakesItsDefaultsFromTheDesktopSettings) {
    test::TempDir dir;
    ScopedConfigHome config(dir.file("config"));
    std::filesystem::create_directories(dir.file("config/Typeloom"));
    std::ofstream(dir.file("config/Typeloom/Typeloom Studio.conf"))
        << "[Settings]\nBmpDataFlag=" << 0x01081110 << "\n";  // 32-bit units
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "-o", project}).status, kExitOk);
    Result r = runCli({"export", project, "-o", dir.file("f.c"), "--format", "general-c"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const auto bytes = test::readFile(dir.file("f.c"));
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find(" * Data length: 32 bits"),
              std::string::npos);
}

TEST(CliExport, RefusesBadOptionsWithoutWriting) {
    test::TempDir dir;
    ScopedConfigHome config(dir.file("config"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "-o", project}).status, kExitOk);
    const std::string out = dir.file("out.c");
    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const Row rows[] = {
        {{"export", project, "-o", out, "--format", "bogus"}, "unknown format 'bogus'"},
        // 2^32 + 32840: the id of Intel HEX in its low 32 bits.
        {{"export", project, "-o", out, "--format", "4295000136"}, "unknown format '4295000136'"},
        {{"export", project, "-o", out}, "needs --format"},
        {{"export", project, "--format", "table-c"}, "needs an output file"},
        {{"export", project, "-o", out, "--format", "table-c", "--unit", "12"}, "--unit"},
        {{"export", project, "-o", out, "--format", "table-c", "--scan", "diagonal"}, "--scan"},
        {{"export", project, "-o", out, "--format", "table-c", "--tables", "offset,bogus"},
         "--tables"},
        {{"export", project, "-o", out, "--format", "table-c", "--data-format", "zz"},
         "--data-format"},
        {{"export", project, "-o", out, "--format", "table-c", "--preset", "oled"},
         "unknown preset 'oled' (presets: page, page-column, row, row-stream, led-row)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        Result r = runCli(row.args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli({"export", dir.file("missing.tlf"), "-o", out, "--format", "table-c"}).status,
              kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace typeloom::cli

namespace typeloom::cli {
namespace {

TEST(CliExport, PresetsSetTheLayoutAndAreListedInTheHelp) {
    const Result help = runCli({"export", "--help"});
    EXPECT_NE(help.out.find("--preset NAME"), std::string::npos);
    for (const char* name : {"page", "page-column", "row", "row-stream", "led-row"}) {
        EXPECT_NE(help.out.find(std::string("\n  ") + name + " "), std::string::npos) << name;
    }
    test::TempDir dir;
    ScopedConfigHome config(dir.file("config"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "-o", project}).status, kExitOk);
    struct Row {
        std::vector<std::string> options;
        const char* format;
        const char* bits;
    };
    const Row rows[] = {
        {{"--preset", "page"}, "Little Endian, Column based, Row preferred, Unpacked", "8"},
        {{"--preset", "row-stream", "--invert"},
         "Big Endian, Row based, Row preferred, Packed",
         "8"},
        // The options after a preset change a part of it, whatever their order.
        {{"--unit", "16", "--preset", "led-row"},
         "Little Endian, Row based, Row preferred, Unpacked",
         "16"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        std::vector<std::string> args = {"export", project, "-o", "-", "--format", "table-c"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const Result r = runCli(args);
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_NE(r.out.find(std::string(" * Data format: ") + row.format), std::string::npos);
        EXPECT_NE(r.out.find(std::string(" * Data length: ") + row.bits + " bits"),
                  std::string::npos);
    }
}

TEST(CliExport, HexAsksItsQuestionsThroughOptions) {
    test::TempDir dir;
    const std::string tall = dir.file("tall.tlf");
    const std::string wide = dir.file("wide.tlf");
    ASSERT_EQ(runCli({"new", "--width", "8", "--height", "20", "-o", tall}).status, kExitOk);
    ASSERT_EQ(
        runCli({"new", "--from", "65", "--to", "66", "--width", "17", "--height", "12", "-o", wide})
            .status,
        kExitOk);
    const std::string out = dir.file("out.hex");
    Result r = runCli({"export", tall, "-o", out, "--format", "hex"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("Font Height must be [9..16]"), std::string::npos);

    r = runCli({"export", wide, "-o", out, "--format", "hex"});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("  0x0041       17"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    r = runCli({"export", wide, "-o", out, "--format", "hex", "--skip-wide"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    const auto bytes = test::readFile(out);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), ":00000001FF");  // nothing but the end
}

}  // namespace
}  // namespace typeloom::cli
