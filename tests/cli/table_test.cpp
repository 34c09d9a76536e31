#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "common/progress_sink.h"
#include "interchange/freetype_reference.h"
#include "model/font.h"
#include "model/freetype_renderer.h"
#include "model/project_file.h"
#include "test_support.h"

// `typeloom table`, `typeloom info --table` and `typeloom paste`.

namespace typeloom::cli {
namespace {

class TableCommand : public ::testing::Test {
  protected:
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

    // A Unicode font of blank characters first..last, width x height, saved as `name`.
    std::string save(const char* name, std::uint16_t first, std::uint16_t last, std::uint16_t width,
                     std::uint16_t height, Font* made = nullptr) {
        Font font;
        font.createFromScratch(first, last, width, height, name);
        if (made != nullptr) {
            *made = font;
        }
        const std::string path = m_dir.file(std::string(name) + ".tlf");
        saveProject(path, font);
        return path;
    }

    test::TempDir m_dir;
};

std::vector<std::uint16_t> codesFrom(std::uint16_t first, std::uint16_t last) {
    std::vector<std::uint16_t> codes;
    for (std::uint32_t c = first; c <= last; ++c) {
        codes.push_back(static_cast<std::uint16_t>(c));
    }
    return codes;
}

std::vector<std::string> art(const Font& font, std::uint16_t key) {
    const Glyph* g = font.glyphs.find(key);
    std::vector<std::string> rows;
    for (int y = 0; g != nullptr && y < font.height; ++y) {
        std::string row;
        for (int x = 0; x < g->width; ++x) {
            row += g->pixels[static_cast<std::size_t>(y * g->width + x)] != 0 ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// The way out of a Unicode font: a rasterised font becomes Ascii+ISO8859, exports as .fon, and
// FreeType reads back every character of the font as it is in the project.
TEST_F(TableCommand, RasterisedFontBecomesAsciiAndExportsToFon) {
    const std::string raster = m_dir.file("raster.tlf");
    ASSERT_EQ(runCli({"rasterize", "--family", "DejaVu Sans Mono", "--points", "10", "-o", raster})
                  .status,
              kExitOk);
    const std::string fon = m_dir.file("raster.fon");
    EXPECT_EQ(runCli({"export", raster, "-o", fon, "--format", "fon"}).status, kExitFailed);

    const std::string ansi = m_dir.file("ansi.tlf");
    Result r = runCli({"table", raster, "--encoding", "ascii-iso8859", "-o", ansi});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const Font font = load(ansi);
    const Font before = load(raster);
    ASSERT_EQ(font.encoding, 0u);
    // A scalable face counts as drawing all of 0x00-0xFF; the control codes 0x00-0x1F and
    // 0x80-0x9F stay disabled.
    std::vector<std::uint16_t> expected = codesFrom(0x20, 0x7F);
    for (std::uint16_t c : codesFrom(0xA0, 0xFF)) {
        expected.push_back(c);
    }
    EXPECT_EQ(font.codeList, expected);
    EXPECT_EQ(font.unicodeAt(font.indexOfCode(0xE9)), 0xE9);
    EXPECT_EQ(art(font, 0xE9), art(before, 0xE9));
    EXPECT_EQ(art(font, 'g'), art(before, 'g'));

    Result exported = runCli({"export", ansi, "-o", fon, "--format", "fon"});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    const test::ReferenceFace face = test::freetypeFace(test::readFile(fon));
    ASSERT_TRUE(face.ok) << face.error;
    const int first = font.codeAt(0);
    for (int i = 0; i < font.count(); ++i) {
        const int code = font.codeAt(i);
        SCOPED_TRACE(code);
        // The font driver numbers the characters from 1 after the first code; 0 is the default.
        const auto index = static_cast<std::size_t>(code - first + 1);
        ASSERT_LT(index, face.glyphs.size());
        EXPECT_EQ(face.glyphs[index].rows,
                  art(font, static_cast<std::uint16_t>(font.unicodeAt(i))));
    }
}

TEST_F(TableCommand, RangesTableFilesAndInfo) {
    const std::string latin = save("latin", 0x20, 0x7E, 6, 8);
    const std::string out = m_dir.file("out.tlf");
    const std::string saved = m_dir.file("saved.txt");
    Result r = runCli({"table", latin, "--disable", "0x30-0x39,0x7E", "--enable", "0x410", "--save",
                       saved, "-o", out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    Font font = load(out);
    std::vector<std::uint16_t> expected = codesFrom(0x20, 0x2F);
    for (std::uint16_t c : codesFrom(0x3A, 0x7D)) {
        expected.push_back(c);
    }
    expected.push_back(0x410);
    EXPECT_EQ(font.codeList, expected);
    EXPECT_EQ(font.glyphs.find(0x410)->width, 6);
    // The digits keep their characters for later.
    EXPECT_TRUE(font.glyphs.contains('5'));

    // The table text file: a byte-order mark, then each enabled character in code order.
    const std::vector<std::uint8_t> bytes = test::readFile(saved);
    ASSERT_EQ(bytes.size(), 2 + 2 * expected.size());
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 0x20);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x10);
    EXPECT_EQ(bytes[bytes.size() - 1], 0x04);

    Result info = runCli({"info", out, "--table"});
    ASSERT_EQ(info.status, kExitOk);
    EXPECT_NE(info.out.find("Enabled codes:  0x0020-0x002F, 0x003A-0x007D, 0x0410\n"),
              std::string::npos)
        << info.out;

    // Loading an 8-bit table file enables exactly its characters; the last option wins over
    // the earlier ones in command-line order.
    test::writeFile(m_dir.file("ab.txt"), {'B', 'A', 'B'});
    ASSERT_EQ(runCli({"table", out, "--enable", "all", "--load", m_dir.file("ab.txt"), "--enable",
                      "0x7E", "-o", out})
                  .status,
              kExitOk);
    EXPECT_EQ(load(out).codeList, (std::vector<std::uint16_t>{0x41, 0x42, 0x7E}));
}

// A character that has a glyph but no code yet (pasted) keeps its pixels when an encoding
// change and an enabled code give it one.
TEST_F(TableCommand, EncodingAndScriptChangesKeepEveryGlyphThatHasACode) {
    Font source;
    source.createFromScratch(0x410, 0x411, 5, 8, "Cyr");
    source.glyphs.find(0x410)->pixels.assign(40, 1);
    saveProject(m_dir.file("cyr.tlf"), source);
    Font latinFont;
    const std::string latin = save("latin", 0x20, 0x7E, 6, 8, &latinFont);
    const std::string merged = m_dir.file("merged.tlf");
    ASSERT_EQ(
        runCli({"paste", latin, m_dir.file("cyr.tlf"), "--codes", "0x410", "-o", merged}).status,
        kExitOk);
    const std::string ansi = m_dir.file("ansi.tlf");
    Result r = runCli({"table", merged, "--encoding", "ascii-iso8859", "--script", "cyrillic",
                       "--enable", "0xC0", "-o", ansi});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const Font font = load(ansi);
    EXPECT_EQ(font.sourceFont.charSet, 204);
    ASSERT_GE(font.indexOfCode(0xC0), 0);
    EXPECT_EQ(font.unicodeAt(font.indexOfCode(0xC0)), 0x410);
    EXPECT_EQ(font.glyphs.find(0x410)->pixels, std::vector<std::uint8_t>(40, 1));
    EXPECT_EQ(font.glyphs.find(0x410)->width, 5);
    EXPECT_EQ(font.count(), 0x7E - 0x20 + 2);
}

TEST_F(TableCommand, PasteKeepsCodeOrderAndWidths) {
    Font source;
    source.createFromScratch(0x41, 0x5A, 9, 8, "Wide");
    source.glyphs.find(0x42)->pixels.assign(72, 1);
    saveProject(m_dir.file("wide.tlf"), source);
    const std::string dest = save("narrow", 0x20, 0x7E, 6, 8);
    save("tall", 0x20, 0x7E, 6, 12);
    const std::string out = m_dir.file("out.tlf");

    Result r =
        runCli({"paste", dest, m_dir.file("wide.tlf"), "--codes", "0x42,0x20-0x40", "-o", out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("pasted 1 characters"), std::string::npos) << r.out;
    const Font font = load(out);
    EXPECT_EQ(font.codeList, codesFrom(0x20, 0x7E));
    EXPECT_EQ(font.glyphs.find(0x42)->pixels, std::vector<std::uint8_t>(72, 1));
    EXPECT_EQ(font.fixedWidth, 0);
    EXPECT_EQ(font.maxWidth, 9);

    // A taller source is refused unless the question is answered; nothing is written.
    const std::string tallOut = m_dir.file("tall-out.tlf");
    Result refused = runCli({"paste", m_dir.file("tall.tlf"), m_dir.file("wide.tlf"), "--codes",
                             "0x41", "-o", tallOut});
    EXPECT_EQ(refused.status, kExitUsage);
    EXPECT_NE(refused.err.find("is very smaller"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(tallOut));
    EXPECT_EQ(runCli({"paste", m_dir.file("tall.tlf"), m_dir.file("wide.tlf"), "--codes", "0x41",
                      "-o", tallOut, "--yes"})
                  .status,
              kExitOk);
    EXPECT_EQ(load(tallOut).glyphs.find(0x41)->width, 9);
}

TEST_F(TableCommand, BadInputLeavesEveryFileAsItWas) {
    const std::string latin = save("latin", 0x20, 0x7E, 6, 8);
    const std::vector<std::uint8_t> original = test::readFile(latin);
    test::writeFile(m_dir.file("empty.txt"), {});
    const std::string out = m_dir.file("out.tlf");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"table", latin, "--enable", "0x7E-0x20", "-o", out}, kExitUsage, "is above its last"},
        {{"table", latin, "--encoding", "ascii-iso8859", "--enable", "0x20-0x100", "-o", out},
         kExitUsage,
         "beyond the encoding's last code 0x00FF"},
        {{"table", latin, "--enable", "0x20-", "-o", out}, kExitUsage, "is not one"},
        {{"table", latin, "--encoding", "latin1", "-o", out}, kExitUsage, "is none of them"},
        {{"table", latin, "--disable", "all", "-o", out}, kExitUsage, "no code is enabled"},
        {{"table", latin, "--script", "Cyrillic", "-o", out}, kExitUsage, "Ascii+ISO8859"},
        {{"table", latin, "--load", m_dir.file("none.txt"), "-o", out},
         kExitFailed,
         "File could not be opened."},
        {{"table", latin, "--load", m_dir.file("empty.txt"), "-o", out},
         kExitUsage,
         "holds no characters"},
        {{"table", latin, "--enable", "0x41"}, kExitUsage, "needs an output file"},
        {{"paste", latin, latin, "--codes", "0x0400", "-o", out}, kExitUsage, "has no character"},
        {{"paste", latin, latin, "-o", out}, kExitUsage, "--codes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2] + " " + c.args[3]);
        Result r = runCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_EQ(test::readFile(latin), original);
}

}  // namespace
}  // namespace typeloom::cli
