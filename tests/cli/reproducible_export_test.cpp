// Exports a build can rely on: the same project and options give the same bytes run after run
// (a fixed date from SOURCE_DATE_EPOCH or --date), and the C headers come with the file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_test_support.h"
#include "export/export_driver.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

// Sets an environment variable for the scope of a test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~ScopedEnv() { set(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            setenv(m_name, value->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string fileText(const std::string& path) {
    const auto bytes = test::readFile(path);
    return {bytes.begin(), bytes.end()};
}

// The date line of each text format, written out by hand for 1700000000 seconds
// (2023-11-14 22:13:20 UTC); the local zone is set far from UTC so that it cannot show.
const char* dateLineOf(const std::string& format) {
    if (format == "microchip-c") {
        return "// Date: 14 November 2023";
    }
    if (format == "v2-c" || format == "v2-asm") {
        return "  Create time: 22:13 11-14-2023  by";
    }
    if (format == "table-c" || format == "studio-c" || format == "general-c" ||
        format == "table-asm" || format == "studio-asm") {
        return " * Create time: 22:13 11-14-2023 ";
    }
    return nullptr;  // binary files and HEX carry no date
}

TEST(ReproducibleExport, EveryFormatGivesTheSameBytesWithSourceDateEpoch) {
    test::TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    ScopedEnv zone("TZ", std::string("IST-5:30"));
    ScopedEnv epoch("SOURCE_DATE_EPOCH", std::string("1700000000"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "--from", "0x41", "--to", "0x43", "--width", "5", "--height", "9",
                      "-o", project})
                  .status,
              kExitOk);
    // Every data layout (the Windows font files and bitmaps carry no date).
    std::vector<std::string> formats;
    for (const exporters::FormatInfo& f : exporters::exportFormats()) {
        formats.emplace_back(f.shortName);
    }
    for (const std::string& format : formats) {
        SCOPED_TRACE(format);
        std::string runs[2];
        for (int run = 0; run < 2; ++run) {
            const std::string out = dir.file("out" + std::to_string(run) + "/f." + format);
            std::filesystem::create_directories(std::filesystem::path(out).parent_path());
            const Result r = runCli({"export", project, "-o", out, "--format", format});
            ASSERT_EQ(r.status, kExitOk) << r.err;
            runs[run] = fileText(out);
        }
        EXPECT_EQ(runs[0], runs[1]);
        if (const char* line = dateLineOf(format)) {
            EXPECT_NE(runs[0].find(line), std::string::npos) << runs[0].substr(0, 1300);
        }
    }
}

TEST(ReproducibleExport, DateOptionOverridesTheEnvironment) {
    test::TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    ScopedEnv epoch("SOURCE_DATE_EPOCH", std::string("1700000000"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "--from", "0x41", "--to", "0x42", "-o", project}).status, kExitOk);
    struct Row {
        const char* date;
        std::string expected;  // in the table-based C file
    };
    const Row rows[] = {
        {"2024-02-29", " * Create time: 00:00 02-29-2024" + std::string(47, ' ') + "*\r\n"},
        {"none", " * Create time: " + std::string(63, ' ') + "*\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.date);
        const Result r =
            runCli({"export", project, "-o", "-", "--format", "table-c", "--date", row.date});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_NE(r.out.find(row.expected), std::string::npos);
    }
    // Malformed dates are usage errors, and nothing is written.
    const std::string out = dir.file("bad.c");
    for (const char* date : {"2023-02-29", "yesterday", ""}) {
        SCOPED_TRACE(date);
        const Result r =
            runCli({"export", project, "-o", out, "--format", "table-c", "--date", date});
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("--date"), std::string::npos) << r.err;
    }
    ScopedEnv broken("SOURCE_DATE_EPOCH", std::string("17e8"));
    const Result r = runCli({"export", project, "-o", out, "--format", "table-c"});
    EXPECT_EQ(r.status, kExitUsage);
    EXPECT_NE(r.err.find("SOURCE_DATE_EPOCH"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ReproducibleExport, WithHeadersWritesTheIncludedHeaderBesideTheFile) {
    test::TempDir dir;
    ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    const std::string project = dir.file("f.tlf");
    ASSERT_EQ(runCli({"new", "--from", "0x41", "--to", "0x42", "-o", project}).status, kExitOk);
    struct Row {
        const char* format;
        const char* header;
    };
    for (const Row& row : {Row{"table-c", "tlmtype.h"}, Row{"studio-c", "tlmtype.h"},
                           Row{"general-c", "tlmfont.h"}}) {
        SCOPED_TRACE(row.format);
        const std::string folder = dir.file(row.format);
        std::filesystem::create_directories(folder);
        const Result r = runCli({"export", project, "-o", folder + "/font.c", "--format",
                                 row.format, "--tables", "offset", "--c99", "--with-headers"});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(fileText(folder + "/" + row.header), test::readShippedHeader(row.header));
        EXPECT_EQ(test::listFolder(folder).size(), 2u);
    }
    for (const char* format : {"table-asm", "general-bin", "microchip-c", "v2-c"}) {
        SCOPED_TRACE(format);
        const Result r = runCli(
            {"export", project, "-o", dir.file("x.out"), "--format", format, "--with-headers"});
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find("include no header"), std::string::npos) << r.err;
    }
    const Result piped =
        runCli({"export", project, "-o", "-", "--format", "table-c", "--with-headers"});
    EXPECT_EQ(piped.status, kExitUsage);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.out")));
}

}  // namespace
}  // namespace typeloom::cli
