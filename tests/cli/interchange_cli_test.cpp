// The import and font export commands end to end.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "interchange/font_import.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

void writeText(const std::string& path, const std::vector<std::string>& lines) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& l : lines) {
        bytes.insert(bytes.end(), l.begin(), l.end());
        bytes.push_back('\n');
    }
    test::writeFile(path, bytes);
}

const std::vector<std::string> kBdf = {
    "STARTFONT 2.1", "FONT_ASCENT 2", "FONT_DESCENT 0", "STARTCHAR A", "ENCODING 65",
    "DWIDTH 3 0",    "BBX 3 2 0 0",   "BITMAP",         "A0",          "40",
    "ENDCHAR",       "ENDFONT"};

TEST(CliInterchange, ImportWritesAProject) {
    test::TempDir dir;
    writeText(dir.file("tiny.bdf"), kBdf);
    Result r = runCli({"import", dir.file("tiny.bdf"), "-o", dir.file("tiny.tlf")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("1 characters, height 2, fixed width 3"), std::string::npos) << r.out;
    Font font;
    NullProgressSink progress;
    ASSERT_TRUE(loadProject(dir.file("tiny.tlf"), font, progress).ok());
    EXPECT_EQ(font.glyphs.find(0x41)->pixels, (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0}));

    Result info = runCli({"info", dir.file("tiny.bdf")});
    ASSERT_EQ(info.status, kExitOk) << info.err;
    EXPECT_NE(info.out.find("(imported BDF)"), std::string::npos);
    EXPECT_NE(info.out.find("Encoding:       1 Unicode"), std::string::npos);
}

TEST(CliInterchange, ImportReportsRefusals) {
    test::TempDir dir;
    std::vector<std::string> broken = kBdf;
    broken.erase(broken.begin() + 1);  // no FONT_ASCENT
    writeText(dir.file("broken.bdf"), broken);
    Result r = runCli({"import", dir.file("broken.bdf"), "-o", dir.file("out.tlf")});
    EXPECT_EQ(r.status, kExitFailed);
    EXPECT_NE(r.err.find("Failed to loaded this file."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("FONT_ASCENT"), std::string::npos) << r.err;
    writeText(dir.file("text.fnt"), {"not a font"});
    EXPECT_EQ(runCli({"import", dir.file("text.fnt"), "-o", dir.file("out.tlf")}).status,
              kExitFailed);
    EXPECT_EQ(runCli({"import", dir.file("broken.bdf")}).status, kExitUsage);
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"broken.bdf", "text.fnt"}));
}

TEST(CliInterchange, ExportFontWritesWindowsFontsAndBitmaps) {
    test::TempDir dir;
    Font font;
    font.setEncoding(0);
    font.createFromScratch(0x41, 0x43, 3, 8, "Cli Font");
    font.glyphs.find(0x42)->pixels[0] = 1;
    font.glyphs.find(0x42)->pixels[23] = 1;
    saveProject(dir.file("f.tlf"), font);

    for (const char* format : {"fnt", "fon"}) {
        SCOPED_TRACE(format);
        const std::string out = dir.file(std::string("f.") + format);
        Result r = runCli({"export", dir.file("f.tlf"), "-o", out, "--format", format});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        Font back;
        ASSERT_TRUE(importFontResource(out, back).ok());
        EXPECT_EQ(back.glyphs.find(0x42)->pixels, font.glyphs.find(0x42)->pixels);
    }
    Result bmp = runCli({"export", dir.file("f.fnt"), "-o", dir.file("bmp"), "--format", "bmp"});
    ASSERT_EQ(bmp.status, kExitOk) << bmp.err;
    EXPECT_EQ(test::listFolder(dir.path() / "bmp"),
              (std::vector<std::string>{"char0041.bmp", "char0042.bmp", "char0043.bmp"}));

    // A Unicode font cannot become a Windows font file.
    ASSERT_EQ(runCli({"new", "-o", dir.file("uni.tlf")}).status, kExitOk);
    Result refused =
        runCli({"export", dir.file("uni.tlf"), "-o", dir.file("uni.fon"), "--format", "fon"});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("Windows Bitmap Font (*.fon) file can ONLY be"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("uni.fon")));
    EXPECT_EQ(runCli({"export", dir.file("f.tlf"), "-o", dir.file("x"), "--format", "png"}).status,
              kExitUsage);
}

// A BDF file read with repairs imports with exit status 0 and says what it repaired on
// standard error, also when a command reads the .bdf directly.
TEST(CliInterchange, RepairedBdfCharactersAreReportedOnStandardError) {
    test::TempDir dir;
    std::vector<std::string> noBitmap = kBdf;
    noBitmap.erase(noBitmap.begin() + 7, noBitmap.begin() + 10);  // BITMAP and its rows
    writeText(dir.file("nobitmap.bdf"), noBitmap);
    const char* warning = ": warning: 1 character without BITMAP kept blank (line 4)";
    Result r = runCli({"import", dir.file("nobitmap.bdf"), "-o", dir.file("out.tlf")});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
    Result e =
        runCli({"export", dir.file("nobitmap.bdf"), "-o", dir.file("bmp"), "--format", "bmp"});
    EXPECT_EQ(e.status, kExitOk) << e.err;
    EXPECT_NE(e.err.find(warning), std::string::npos) << e.err;
    // A clean file prints nothing there.
    writeText(dir.file("tiny.bdf"), kBdf);
    EXPECT_EQ(runCli({"info", dir.file("tiny.bdf")}).err, "");
}

// True when this process can write into a folder of mode 0555 (it runs as root).
bool writesIgnorePermissions() {
    return ::geteuid() == 0;
}

// Each destination that cannot be written is reported once, with its cause.
TEST(CliInterchange, WriteFailuresOntoAFolderSayTheCauseOnce) {
    test::TempDir dir;
    Font font;
    font.setEncoding(0);
    font.createFromScratch(0x41, 0x42, 3, 8, "Cli Font");
    saveProject(dir.file("f.tlf"), font);
    std::filesystem::create_directory(dir.path() / "folder");

    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const Row folderRows[] = {
        {{"convert", dir.file("f.tlf"), dir.file("folder")}, "folder: it is a folder"},
        {{"export", dir.file("f.tlf"), "-o", dir.file("folder"), "--format", "fnt"},
         "folder: it is a folder"},
        {{"export", dir.file("f.tlf"), "-o", dir.file("folder"), "--format", "fon"},
         "folder: it is a folder"},
        {{"export", dir.file("f.tlf"), "-o", dir.file("f.tlf"), "--format", "bmp"},
         "f.tlf: it is not a folder"},
    };
    for (const Row& row : folderRows) {
        SCOPED_TRACE(row.args[0] + " " + row.args.back());
        Result r = runCli(row.args);
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("cannot write"), r.err.rfind("cannot write")) << r.err;
        EXPECT_EQ(r.err.find("busy"), std::string::npos) << r.err;
    }
}

TEST(CliInterchange, WriteFailuresInAReadOnlyFolderSayTheCauseOnce) {
    if (writesIgnorePermissions()) {
        GTEST_SKIP() << "running as root: a folder of mode 0555 does not stop writes";
    }
    test::TempDir dir;
    Font font;
    font.setEncoding(0);
    font.createFromScratch(0x41, 0x42, 3, 8, "Cli Font");
    saveProject(dir.file("f.tlf"), font);
    struct Row {
        std::vector<std::string> args;
        const char* message;
    };
    const auto locked = dir.path() / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms(0555));
    const Row lockedRows[] = {
        {{"convert", dir.file("f.tlf"), (locked / "x.tlf").string()}, "Permission denied"},
        {{"export", dir.file("f.tlf"), "-o", (locked / "x.fnt").string(), "--format", "fnt"},
         "Permission denied"},
        {{"export", dir.file("f.tlf"), "-o", locked.string(), "--format", "bmp"},
         "Permission denied"},
        {{"export", dir.file("f.tlf"), "-o", (locked / "sub").string(), "--format", "bmp"},
         "Permission denied"},
    };
    for (const Row& row : lockedRows) {
        SCOPED_TRACE(row.args.back());
        Result r = runCli(row.args);
        EXPECT_EQ(r.status, kExitFailed);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("No such file"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("cannot write"), r.err.rfind("cannot write")) << r.err;
    }
    std::filesystem::permissions(locked, std::filesystem::perms(0755));
}

// A font exported straight from a .bdf takes its name from the file name, which may hold a line
// break: the name must stay on the one comment line that names the font.
TEST(CliInterchange, ExportFromAFileNameWithALineBreak) {
    test::TempDir dir;
    const std::string bdf = dir.file("evil\nint injected = 1; *\r;injected.bdf");
    writeText(bdf, kBdf);
    const struct {
        const char* format;
        bool assembler;
    } kFormats[] = {{"table-c", false},
                    {"table-asm", true},
                    {"general-c", false},
                    {"v2-c", false},
                    {"v2-asm", true}};
    for (const auto& [format, assembler] : kFormats) {
        SCOPED_TRACE(format);
        const std::string out = dir.file(std::string("out.") + format);
        Result r = runCli({"export", bdf, "-o", out, "--format", format});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        const std::vector<std::uint8_t> bytes = test::readFile(out);
        std::istringstream text(std::string(bytes.begin(), bytes.end()));
        int named = 0;
        for (std::string line; std::getline(text, line);) {
            if (line.find("injected") == std::string::npos) {
                continue;
            }
            ++named;
            EXPECT_NE(line.find("Font name: evil?int injected = 1; *?;injected"), std::string::npos)
                << line;
            EXPECT_TRUE(!assembler || line[0] == ';') << line;
        }
        EXPECT_EQ(named, 1);
    }
}

}  // namespace
}  // namespace typeloom::cli
