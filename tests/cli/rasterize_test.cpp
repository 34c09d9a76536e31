#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/freetype_renderer.h"
#include "model/project_file.h"
#include "model/rasteriser.h"
#include "test_support.h"

// `typeloom fonts` and `typeloom rasterize` on fonts of Debian packages (fonts-dejavu-core).

namespace typeloom::cli {
namespace {

class RasterizeCommand : public ::testing::Test {
  protected:
    // The program installs the FreeType rasteriser at start; so do these tests.
    void SetUp() override { installFreeTypeRenderer(); }
    void TearDown() override {
        setRendererFactory([](const LogFont& f) { return std::make_shared<BlankRenderer>(f); });
    }

    Font load(const std::string& path) {
        Font font;
        NullProgressSink progress;
        EXPECT_TRUE(loadProject(path, font, progress).ok()) << path;
        return font;
    }

    test::TempDir m_dir;
};

TEST_F(RasterizeCommand, FontsListsFamiliesWithTheirStyles) {
    Result r = runCli({"fonts", "DEJAVU SANS MONO"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out.rfind("DejaVu Sans Mono\n", 0), 0u) << r.out;
    for (const char* style : {"\n  Book\n", "\n  Bold\n", "\n  Oblique\n", "\n  Bold Oblique\n"}) {
        EXPECT_NE(r.out.find(style), std::string::npos) << style;
    }
    EXPECT_EQ(r.out.find("DejaVu Serif"), std::string::npos);

    Result scripts = runCli({"fonts", "DejaVu Sans Mono", "--scripts"});
    ASSERT_EQ(scripts.status, kExitOk);
    EXPECT_NE(scripts.out.find("  Book: Western, Central European, Cyrillic"), std::string::npos)
        << scripts.out;

    Result all = runCli({"fonts"});
    ASSERT_EQ(all.status, kExitOk);
    EXPECT_NE(all.out.find("\nDejaVu Serif\n"), std::string::npos);

    Result none = runCli({"fonts", "no such family anywhere"});
    EXPECT_EQ(none.status, kExitFailed);
    EXPECT_NE(none.err.find("no installed font family matches"), std::string::npos);
    EXPECT_EQ(runCli({"fonts", "a", "b"}).status, kExitUsage);
}

TEST_F(RasterizeCommand, TwelvePointsOfAFamilyMakeAProject) {
    const std::string out = m_dir.file("mono.tlf");
    Result r = runCli({"rasterize", "--family", "dejavu sans mono", "--points", "12", "-o", out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("height 19"), std::string::npos) << r.out;
    Font font = load(out);
    // 12 points at 96 dots per inch: an em of 16 pixels, in DejaVu's 15 + 4 pixel cell.
    EXPECT_EQ(font.sourceFont.height, -16);
    EXPECT_EQ(font.sourceFont.faceName, "DejaVu Sans Mono");
    EXPECT_EQ(font.sourceFont.weight, 400);
    EXPECT_EQ(font.sourceFont.italic, 0);
    EXPECT_EQ(font.height, 19);
    EXPECT_EQ(font.ascent, 15);
    EXPECT_EQ(font.encoding, 1u);
    EXPECT_GT(font.count(), 3000);  // the face's whole character map, not 256 blank codes
    std::uint16_t width = 0;
    ASSERT_TRUE(font.widthOf('M', width));
    EXPECT_EQ(width, 10);
    std::vector<std::uint8_t> pixels;
    ASSERT_TRUE(font.getPixels('M', pixels));
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 1), 20);
}

TEST_F(RasterizeCommand, PointsBecomeThePixelHeightTheSystemComputes) {
    // -MulDiv(points, 96, 72), rounded half away from zero.
    struct Row {
        const char* points;
        int height;
    };
    for (const Row& row :
         {Row{"4", -5}, Row{"10", -13}, Row{"11", -15}, Row{"0x0C", -16}, Row{"36", -48}}) {
        SCOPED_TRACE(row.points);
        const std::string out = m_dir.file("p.tlf");
        Result r =
            runCli({"rasterize", "--family", "DejaVu Sans", "--points", row.points, "-o", out});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(load(out).sourceFont.height, row.height);
    }
}

TEST_F(RasterizeCommand, StyleOrBoldAndItalicChooseTheFace) {
    const std::string styled = m_dir.file("styled.tlf");
    const std::string flagged = m_dir.file("flagged.tlf");
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans", "--style", "bold oblique", "--points",
                      "9", "-o", styled})
                  .status,
              kExitOk);
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans", "--bold", "--italic", "--points", "9",
                      "-o", flagged})
                  .status,
              kExitOk);
    Font a = load(styled);
    Font b = load(flagged);
    EXPECT_EQ(a.sourceFont.weight, 700);
    EXPECT_EQ(a.sourceFont.italic, 1);
    EXPECT_EQ(a.sourceFont, b.sourceFont);
    EXPECT_EQ(a.codeList, b.codeList);
    EXPECT_TRUE(a.glyphs.find('A') != nullptr && b.glyphs.find('A') != nullptr &&
                *a.glyphs.find('A') == *b.glyphs.find('A'));
    // The regular face draws 'A' differently.
    const std::string regular = m_dir.file("regular.tlf");
    ASSERT_EQ(
        runCli({"rasterize", "--family", "DejaVu Sans", "--points", "9", "-o", regular}).status,
        kExitOk);
    Font c = load(regular);
    EXPECT_FALSE(*c.glyphs.find('A') == *a.glyphs.find('A'));
    // A style whose weight and slant another face shares is still found by its family name.
    const std::string condensed = m_dir.file("condensed.tlf");
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans", "--style", "Condensed Bold",
                      "--points", "9", "-o", condensed})
                  .status,
              kExitOk);
    EXPECT_EQ(load(condensed).sourceFont.faceName, "DejaVu Sans Condensed");
}

TEST_F(RasterizeCommand, ScriptAndEffectsReachTheFont) {
    const std::string out = m_dir.file("effects.tlf");
    Result r = runCli({"rasterize", "--family", "DejaVu Sans", "--points", "12", "--script",
                       "cyrillic", "--underline", "--strikeout", "-o", out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    Font font = load(out);
    // The project keeps the source font's description (the Windows header values are not
    // part of it).
    EXPECT_EQ(font.sourceFont.charSet, 204);
    EXPECT_EQ(font.sourceFont.underline, 1);
    EXPECT_EQ(font.sourceFont.strikeOut, 1);
    // A space shows only the two strokes, each across its whole advance.
    std::vector<std::uint8_t> pixels;
    ASSERT_TRUE(font.getPixels(' ', pixels));
    std::uint16_t width = 0;
    ASSERT_TRUE(font.widthOf(' ', width));
    std::vector<int> inkedRows;
    for (int y = 0; y < font.height; ++y) {
        const auto row = pixels.begin() + y * width;
        const auto ink = std::count(row, row + width, 1);
        if (ink != 0) {
            EXPECT_EQ(ink, width) << y;
            inkedRows.push_back(y);
        }
    }
    EXPECT_EQ(inkedRows.size(), 2u);

    Result refused = runCli({"rasterize", "--family", "DejaVu Sans", "--points", "12", "--script",
                             "Japanese", "-o", out});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("offers no script \"Japanese\""), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("\"Cyrillic\""), std::string::npos);
}

TEST_F(RasterizeCommand, AFixedPitchFaceKeepsItsPitchUnlessToldOtherwise) {
    // DejaVu Sans Mono: every character 1233 units, 10 pixels at 12 points; U+0361 reaches
    // 2 pixels left of its origin and 3 past its advance (13 wide), a cell of 15 when widened.
    const std::string kept = m_dir.file("kept.tlf");
    Result r = runCli({"rasterize", "--family", "DejaVu Sans Mono", "--points", "12", "-o", kept});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("fixed pitch of 10 pixels kept"), std::string::npos) << r.out;
    // The report counts the characters the pitch clips, as the chooser does before rendering.
    LogFont monoFont;
    monoFont.faceName = "DejaVu Sans Mono";
    monoFont.height = -16;  // 12 points
    const int losing = countCharactersLosingInk(FreeTypeRenderer(monoFont));
    ASSERT_GT(losing, 1);
    EXPECT_NE(r.out.find("pixels kept; " + std::to_string(losing) +
                         " characters lose ink outside the cell (--no-keep-pitch widens the "
                         "cells to the ink)\n"),
              std::string::npos)
        << r.out;
    const std::string widened = m_dir.file("widened.tlf");
    Result w = runCli({"rasterize", "--family", "DejaVu Sans Mono", "--points", "12",
                       "--no-keep-pitch", "-o", widened});
    ASSERT_EQ(w.status, kExitOk) << w.err;
    EXPECT_EQ(w.out.find("pitch"), std::string::npos) << w.out;
    const std::string explicitly = m_dir.file("explicit.tlf");
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans Mono", "--points", "12", "--keep-pitch",
                      "-o", explicitly})
                  .status,
              kExitOk);
    EXPECT_EQ(test::readFile(explicitly), test::readFile(kept));

    Font a = load(kept);
    Font b = load(widened);
    EXPECT_EQ(a.fixedWidth, 10);
    EXPECT_EQ(b.fixedWidth, 0);
    ASSERT_EQ(a.codeList, b.codeList);
    std::uint16_t width = 0;
    ASSERT_TRUE(b.widthOf(0x0361, width));
    EXPECT_EQ(width, 15);
    // Kept, the mark is the widened cell's columns 2..11: its origin and the pitch after it.
    const Glyph* mark = a.glyphs.find(0x0361);
    const Glyph* wide = b.glyphs.find(0x0361);
    ASSERT_TRUE(mark != nullptr && wide != nullptr);
    ASSERT_EQ(mark->width, 10);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(mark->pixel(x, y), wide->pixel(x + 2, y)) << x << "," << y;
        }
    }
    // A character that fits its advance is the same under both rules.
    EXPECT_TRUE(*a.glyphs.find('M') == *b.glyphs.find('M'));

    // A proportional face widens by default, and has no pitch to keep.
    const std::string sans = m_dir.file("sans.tlf");
    const std::string sansWidened = m_dir.file("sans-widened.tlf");
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans", "--points", "9", "-o", sans}).status,
              kExitOk);
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans", "--points", "9", "--no-keep-pitch",
                      "-o", sansWidened})
                  .status,
              kExitOk);
    EXPECT_EQ(test::readFile(sans), test::readFile(sansWidened));
    Result refused = runCli({"rasterize", "--family", "DejaVu Sans", "--points", "9",
                             "--keep-pitch", "-o", m_dir.file("refused.tlf")});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find("proportional face"), std::string::npos) << refused.err;
    Result both = runCli({"rasterize", "--family", "DejaVu Sans Mono", "--points", "9",
                          "--keep-pitch", "--no-keep-pitch", "-o", m_dir.file("both.tlf")});
    EXPECT_EQ(both.status, kExitUsage);
}

TEST_F(RasterizeCommand, RefusesWhatItCannotRender) {
    const std::string out = m_dir.file("x.tlf");
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {{"rasterize", "--points", "12", "-o", out}, kExitUsage, "needs a font family"},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "12"},
         kExitUsage,
         "needs an output file"},
        {{"rasterize", "--family", "DejaVu Sans", "-o", out}, kExitUsage, "between 4 and 244"},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "3", "-o", out},
         kExitUsage,
         "between 4 and 244"},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "245", "-o", out},
         kExitUsage,
         "between 4 and 244"},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "big", "-o", out},
         kExitUsage,
         "between 4 and 244"},
        {{"rasterize", "--family", "DejaVu Sans", "--style", "Bold", "--bold", "--points", "12",
          "-o", out},
         kExitUsage,
         "cannot be combined"},
        {{"rasterize", "--family", "No Such Family Anywhere", "--points", "12", "-o", out},
         kExitFailed,
         "no installed font family"},
        {{"rasterize", "--family", "DejaVu Sans", "--style", "Wobbly", "--points", "12", "-o", out},
         kExitFailed,
         "has no style \"Wobbly\""},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "12", "-o",
          m_dir.file("no/such/folder/x.tlf")},
         kExitFailed,
         "typeloom: "},
        {{"rasterize", "--family", "DejaVu Sans", "--points", "12", "-o", "/dev/null"},
         kExitFailed,
         "not a regular file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        Result r = runCli(row.args);
        EXPECT_EQ(r.status, row.status);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
    }
    EXPECT_TRUE(test::listFolder(m_dir.path()).empty());
    for (const char* command : {"fonts", "rasterize"}) {
        Result help = runCli({command, "--help"});
        EXPECT_EQ(help.status, kExitOk);
        EXPECT_NE(help.out.find("Usage: typeloom " + std::string(command)), std::string::npos);
    }
}

}  // namespace
}  // namespace typeloom::cli
