#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "charset/encodings.h"
#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/project_file.h"
#include "test_support.h"

namespace typeloom::cli {
namespace {

// A fixed-width font of 'A' and 'B', 4 x 8, ascent 6. 'A' has ink at its top-left pixel and
// at (2, 7); 'B' is blank. A glyph for 'C', inked at (1, 0), is kept outside the lists.
Font sampleFont() {
    Font font;
    font.setEncoding(kEncodingUnicode);
    font.createFromScratch('A', 'B', 4, 8, "Sample");
    font.glyphs.find('A')->pixels[0] = 1;
    font.glyphs.find('A')->pixels[2 + 7 * 4] = 1;
    font.addBlankGlyph('C', 4);
    font.glyphs.find('C')->pixels[1] = 1;
    return font;
}

Font load(const std::string& path) {
    Font font;
    NullProgressSink progress;
    EXPECT_TRUE(loadProject(path, font, progress).ok()) << path;
    return font;
}

class TransformCli : public ::testing::Test {
  protected:
    void SetUp() override { saveProject(in(), sampleFont()); }
    std::string in() const { return m_dir.file("in.tlf"); }
    std::string out() const { return m_dir.file("out.tlf"); }
    Result transform(std::vector<std::string> ops) const {
        std::vector<std::string> args = {"transform", in(), "-o", out()};
        args.insert(args.end(), ops.begin(), ops.end());
        return runCli(args);
    }
    bool wroteOutput() const { return std::filesystem::exists(out()); }

  private:
    test::TempDir m_dir;
};

TEST_F(TransformCli, HelpDescribesEveryOperation) {
    Result r = runCli({"transform", "--help"});
    EXPECT_EQ(r.status, kExitOk);
    for (const char* text :
         {"Usage: typeloom transform", "--height reduce:TOP,BOTTOM", "--width increase:LEFT,RIGHT",
          "--ascent N", "--resize PCT_H,PCT_V", "--resize-px W,H", "--fixed", "--variable",
          "--trim", "--center", "--mirror h|v", "--invert"}) {
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
    }
    EXPECT_NE(runCli({"--help"}).out.find("transform"), std::string::npos);
}

TEST_F(TransformCli, IncreasesTheHeightOfEveryGlyphAndTheAscent) {
    Result r = transform({"--height", "increase:2,1"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    Font font = load(out());
    EXPECT_EQ(font.height, 11);
    EXPECT_EQ(font.ascent, 8);
    std::vector<std::uint8_t> a(44, 0);
    a[0 + 2 * 4] = 1;
    a[2 + 9 * 4] = 1;
    EXPECT_EQ(font.glyphs.find('A')->pixels, a);
    // The glyph outside the lists gets the same rows.
    std::vector<std::uint8_t> c(44, 0);
    c[1 + 2 * 4] = 1;
    EXPECT_EQ(font.glyphs.find('C')->pixels, c);
}

TEST_F(TransformCli, RunsOperationsInTheOrderGiven) {
    // Add a column on the right, mirror, then clip one on the left: 'A' row 0 is
    // "#..." -> "#...." -> "....#" -> "...#", row 7 "..#." -> "..#.." -> "..#.." -> ".#..".
    // In another order the ink would land elsewhere (mirror first: row 0 "..#.", row 7
    // "#...").
    Result r = transform({"--width", "increase:0,1", "--mirror", "h", "--width=reduce:1,0"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    Font font = load(out());
    EXPECT_EQ(font.fixedWidth, 4);
    std::vector<std::uint8_t> a(32, 0);
    a[3] = 1;
    a[1 + 7 * 4] = 1;
    EXPECT_EQ(font.glyphs.find('A')->pixels, a);

    // Variable width first makes trimming possible; trimming first is refused.
    r = transform({"--variable", "--trim"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(load(out()).glyphs.find('A')->width, 3);  // ink in columns 0..2
    EXPECT_EQ(transform({"--trim", "--variable"}).status, kExitUsage);
}

TEST_F(TransformCli, ResizesAndMirrorsAndInverts) {
    Result r = transform({"--resize", "50,50", "--mirror", "v", "--invert"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    Font font = load(out());
    EXPECT_EQ(font.height, 4);
    EXPECT_EQ(font.ascent, 3);
    EXPECT_EQ(font.fixedWidth, 2);
    // Halved: ink at (0, 0) and (1, 3); mirrored: (0, 3) and (1, 0); then inverted.
    EXPECT_EQ(font.glyphs.find('A')->pixels, (std::vector<std::uint8_t>{1, 0, 1, 1, 1, 1, 0, 1}));
    EXPECT_EQ(font.glyphs.find('B')->pixels, std::vector<std::uint8_t>(8, 1));

    r = transform({"--resize-px", "6,12", "--ascent", "11"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    font = load(out());
    EXPECT_EQ(font.height, 12);
    EXPECT_EQ(font.fixedWidth, 6);
    EXPECT_EQ(font.ascent, 11);
}

TEST_F(TransformCli, RefusalsAreUsageErrorsWithTheDialogsMessagesAndWriteNothing) {
    struct Row {
        std::vector<std::string> ops;
        const char* message;
    };
    const Row rows[] = {
        {{"--height", "reduce:2,2"},
         "The font height is clipped too much.\nThe font height must be large than 4."},
        {{"--height", "increase:200,48"},
         "The font height is increased too much.\nThe font height must be smaller than 256."},
        {{"--width", "reduce:1,0"},
         "The font width is clipped too much.\nThe width of a fixed-width font must be large "
         "than 3."},
        {{"--width", "increase:252,0"},
         "The font width is increased too much.\nThe width of a fixed-width font must be smaller "
         "than 256."},
        {{"--height", "reduce:1,257"}, "Please enter an integer between 0 and 256."},
        {{"--ascent", "8"}, "Font Ascent must be smaller than font Height"},
        {{"--resize", "100,12"}, "Failed to resize the font.\r\nThe new font height is zero"},
        {{"--resize", "501,100"}, "Please enter an integer between 0 and 500."},
        {{"--resize-px", "4,0"}, "Failed to resize the font.\r\nThe new font height is zero"},
        {{"--variable", "--resize-px", "4,4"}, "--resize-px needs a fixed-width font"},
        {{"--variable", "--width", "increase:1,1"}, "--width needs a fixed-width font"},
        {{"--variable", "--center"}, "--center needs a fixed-width font"},
        {{"--fixed"}, "--fixed needs a variable-width font"},
        {{"--trim"}, "--trim needs a variable-width font"},
        {{"--height", "shrink:1,1"}, "--height takes reduce:TOP,BOTTOM or increase:TOP,BOTTOM"},
        {{"--width", "reduce:1"}, "--width takes reduce:LEFT,RIGHT or increase:LEFT,RIGHT"},
        {{"--resize", "50"}, "--resize takes PCT_H,PCT_V"},
        {{"--mirror", "d"}, "--mirror takes h or v"},
        {{}, "transform needs at least one operation"},
        {{"--bogus"}, "unknown option --bogus"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        Result r = transform(row.ops);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_FALSE(wroteOutput());
    }
}

TEST_F(TransformCli, NothingToChangeIsReportedAndTheFontWritten) {
    Result r = transform({"--height", "reduce:0,0", "--width", "increase:0,0"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("Font height is not changed\n"), std::string::npos);
    EXPECT_NE(r.out.find("Font width is not changed\n"), std::string::npos);
    Font font = load(out());
    EXPECT_EQ(font.height, 8);
    EXPECT_EQ(font.glyphs, sampleFont().glyphs);
}

TEST_F(TransformCli, FileProblemsExitWithStatusOne) {
    test::TempDir dir;
    Result missing = runCli({"transform", dir.file("none.tlf"), "-o", out(), "--invert"});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_NE(missing.err.find("none.tlf"), std::string::npos);
    Result unwritable =
        runCli({"transform", in(), "-o", dir.file("no/such/folder/out.tlf"), "--invert"});
    EXPECT_EQ(unwritable.status, kExitFailed);
    EXPECT_EQ(runCli({"transform", in(), "--invert"}).status, kExitUsage);
    EXPECT_EQ(runCli({"transform", "-o", out(), "--invert"}).status, kExitUsage);
}

}  // namespace
}  // namespace typeloom::cli
